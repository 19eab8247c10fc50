#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/input_spec_rules.h"
#include "gui/screen.h"

class QRadioButton;

namespace tarvek {

class EntryBox;
class Prompts;
struct Session;

// frmInputSpecs: edits the Input specifications one input at a time on a working copy
// of the list; Back checks the shown input and hands the whole list back.
class InputSpecsEditor : public Screen {
  Q_OBJECT

 public:
  InputSpecsEditor(const std::vector<std::string>& inputSpecs, Session& session, Prompts& prompts, HelpDesk* help,
                   QWidget* parent = nullptr);

 signals:
  void backAccepted(const std::vector<std::string>& inputSpecs);

 private:
  EntryBox* addBox(QWidget* parent, const char* name, int left, int top);
  QRadioButton* addOption(QWidget* frame, const char* name, const QString& caption, int top);
  void addTimerFrame(const char* frameName, const QString& caption, int top, std::size_t firstBox,
                     const std::array<const char*, 6>& names);

  entry::InputSpecEntries entries() const;
  void showInput();
  // Runs the checks on the shown input; on success returns the rebuilt list.
  std::optional<std::vector<std::string>> leaveInput();
  void step(int (*next)(int));
  void back();

  Session& m_session;
  Prompts& m_prompts;
  std::vector<std::string> m_working;  // the list as of the last accepted step
  QLabel* m_number;
  QRadioButton* m_normallyOpen;
  QRadioButton* m_normallyClosed;
  QRadioButton* m_disabled;
  QRadioButton* m_momentary;
  QRadioButton* m_continuous;
  std::array<EntryBox*, entry::kInputBoxCount> m_boxes{};
};

}  // namespace tarvek
