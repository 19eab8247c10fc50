#pragma once

#include <array>

#include "core/phone_rules.h"
#include "gui/stepping_editor.h"

class QCheckBox;

namespace tarvek {

class EntryBox;
class Prompts;

// frmNumbers: edits the eight phone numbers of each input, one input at a time.
class PhoneNumbersEditor : public SteppingEditor {
  Q_OBJECT

 public:
  PhoneNumbersEditor(const Programming& record, Session& session, Prompts& prompts, HelpDesk* help,
                     QWidget* parent = nullptr);

 private:
  EntryBox* addNumberBox(int row, int top);

  entry::PhoneRows rows() const;
  void showRows(const entry::PhoneRows& rows);
  void lengthLimit(EntryBox* box);
  void clearNumbers();
  void showInput() override;
  bool takeInput() override;

  Prompts& m_prompts;
  QLabel* m_number;
  std::array<QCheckBox*, kNumbersPerInput> m_pagers{};
  std::array<EntryBox*, kNumbersPerInput> m_boxes{};
};

}  // namespace tarvek
