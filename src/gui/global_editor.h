#pragma once

#include "core/global_rules.h"
#include "core/programming.h"
#include "gui/screen.h"

class QGroupBox;
class QRadioButton;

namespace tarvek {

class EntryBox;
class Prompts;

// frmGlobal: edits the nine Global settings on a copy; Back checks the entries and
// hands the values back.
class GlobalEditor : public Screen {
  Q_OBJECT

 public:
  GlobalEditor(const GlobalSettings& settings, bool reducedFeatures, Prompts& prompts, HelpDesk* help,
               QWidget* parent = nullptr);

 signals:
  // The checks passed: the values to write into the record, and whether the Main
  // screen's Hookswitch Flash row is to be greyed.
  void backAccepted(const tarvek::GlobalSettings& settings, bool greyHookswitch);

 private:
  EntryBox* addBox(QWidget* frame, const char* name, entry::GlobalBox which, int left, int top, int width);
  QRadioButton* addOption(QWidget* frame, const char* name, const QString& caption, int top, int left = 240);

  entry::GlobalEntries entries() const;
  void display(const entry::GlobalEntries& entries);
  void lengthLimit(EntryBox* box, entry::GlobalBox which);
  EntryBox* box(entry::GlobalBox which) const;
  void back();

  Prompts& m_prompts;
  bool m_reducedFeatures;
  EntryBox* m_security;
  EntryBox* m_access;
  EntryBox* m_ringDelay;
  EntryBox* m_ringbackLimit;
  EntryBox* m_forced;
  QRadioButton* m_alarmDialer;
  QRadioButton* m_noBeeps;
  QRadioButton* m_aislecall;
  QRadioButton* m_normal;
  QRadioButton* m_fast;
  QRadioButton* m_hookswitchEnabled;
  QRadioButton* m_hookswitchDisabled;
  QRadioButton* m_callProgressEnabled;
  QRadioButton* m_callProgressDisabled;
  QLabel* m_accessCaption;
  QLabel* m_ringbackCaption;
  QLabel* m_dialingSpeedCaption;
  QLabel* m_forcedCaption;
  QLabel* m_secondsCaption;
  QGroupBox* m_hookswitchFrame;
  QGroupBox* m_callProgressFrame;
};

}  // namespace tarvek
