#pragma once

#include <array>

#include "core/input_spec_rules.h"
#include "gui/stepping_editor.h"

class QRadioButton;

namespace tarvek {

class EntryBox;
class Prompts;

// frmInputSpecs: edits the Input specifications one input at a time; each step and Back
// check the shown input first.
class InputSpecsEditor : public SteppingEditor {
  Q_OBJECT

 public:
  InputSpecsEditor(const Programming& record, Session& session, Prompts& prompts, HelpDesk* help,
                   QWidget* parent = nullptr);

 private:
  EntryBox* addBox(QWidget* parent, const char* name, int left, int top);
  QRadioButton* addOption(QWidget* frame, const char* name, const QString& caption, int top);
  void addTimerFrame(const char* frameName, const QString& caption, int top, std::size_t firstBox,
                     const std::array<const char*, 6>& names);

  entry::InputSpecEntries entries() const;
  void showInput() override;
  bool takeInput() override;

  Prompts& m_prompts;
  QLabel* m_number;
  QRadioButton* m_normallyOpen;
  QRadioButton* m_normallyClosed;
  QRadioButton* m_disabled;
  QRadioButton* m_momentary;
  QRadioButton* m_continuous;
  std::array<EntryBox*, entry::kInputBoxCount> m_boxes{};
};

}  // namespace tarvek
