#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/phone_rules.h"
#include "gui/screen.h"

class QCheckBox;

namespace tarvek {

class EntryBox;
class Prompts;
struct Session;

// frmNumbers: edits the eight phone numbers of each input on a working copy of the
// list; Back to Main hands the whole list back.
class PhoneNumbersEditor : public Screen {
  Q_OBJECT

 public:
  PhoneNumbersEditor(const std::vector<std::string>& phoneNumbers, Session& session, Prompts& prompts, HelpDesk* help,
                     QWidget* parent = nullptr);

 signals:
  void backAccepted(const std::vector<std::string>& phoneNumbers);

 private:
  EntryBox* addNumberBox(int row, int top);

  entry::PhoneRows rows() const;
  void showRows(const entry::PhoneRows& rows);
  void lengthLimit(EntryBox* box);
  void step(int (*next)(int));
  void clearNumbers();
  void back();

  Session& m_session;
  Prompts& m_prompts;
  std::vector<std::string> m_working;  // the list with the edits of every input left
  QLabel* m_number;
  std::array<QCheckBox*, kNumbersPerInput> m_pagers{};
  std::array<EntryBox*, kNumbersPerInput> m_boxes{};
};

}  // namespace tarvek
