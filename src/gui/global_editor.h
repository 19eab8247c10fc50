#pragma once

#include "core/global_rules.h"
#include "gui/record_editor.h"

class QGroupBox;
class QRadioButton;

namespace tarvek {

class EntryBox;
class Prompts;

// frmGlobal: edits the nine Global settings; Back checks the entries.
class GlobalEditor : public RecordEditor {
  Q_OBJECT

 public:
  GlobalEditor(const Programming& record, bool reducedFeatures, Prompts& prompts, HelpDesk* help,
               QWidget* parent = nullptr);

 private:
  EntryBox* addBox(QWidget* frame, const char* name, entry::GlobalBox which, int left, int top, int width);
  QRadioButton* addOption(QWidget* frame, const char* name, const QString& caption, int top, int left = 240);

  entry::GlobalEntries entries() const;
  void display(const entry::GlobalEntries& entries);
  void lengthLimit(EntryBox* box, entry::GlobalBox which);
  EntryBox* box(entry::GlobalBox which) const;
  void back() override;

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
