#include "core/save_questions.h"

#include <filesystem>

#include "core/record_check.h"

namespace tarvek::settings {

std::optional<SaveMode> askOverwrite(Prompts& prompts) {
  const Answer answer = prompts.show(Message{
      "Do you want to overwrite the existing file? ", "Existing File", Buttons::YesNoCancel, Icon::Question, {}});
  if (answer == Answer::Yes) return SaveMode::Replace;
  if (answer == Answer::No) return SaveMode::Append;
  return std::nullopt;
}

bool confirmIncomplete(Prompts& prompts, const Programming& record) {
  if (isComplete(record)) return true;
  const Answer answer = prompts.show(Message{
      "The programming on the Main screen is incomplete: the parts listed below are missing. Send will refuse it "
      "when it is opened from the file. Save it anyway?",
      {},
      Buttons::YesNoCancel,
      Icon::Question,
      entry::problemList(entry::checkRecord(record, false))});
  return answer == Answer::Yes;
}

std::optional<SaveTarget> saveAsTarget(const std::string& chosen, const std::function<bool(const std::string&)>& exists,
                                       Prompts& prompts) {
  SaveTarget target{std::filesystem::path(chosen).has_extension() ? chosen : chosen + ".txt"};
  if (!exists(target.path)) return target;
  const std::optional<SaveMode> mode = askOverwrite(prompts);
  if (!mode) return std::nullopt;
  target.mode = *mode;
  return target;
}

bool mayLeaveChanged(Prompts& prompts, const std::function<bool()>& save) {
  const Answer answer = prompts.show(
      Message{"The programming has changed since it was last read, opened, saved or sent. Save it before leaving?",
              {},
              Buttons::SaveDiscardCancel,
              Icon::Question,
              {}});
  if (answer == Answer::Save) return save();
  return answer == Answer::Discard;
}

}  // namespace tarvek::settings
