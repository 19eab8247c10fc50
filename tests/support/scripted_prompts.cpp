#include "support/scripted_prompts.h"

namespace tarvek::test {

Answer ScriptedPrompts::show(const Message& message) {
  shown.push_back(message);
  if (!answers.empty()) {
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  return message.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

std::optional<std::string> ScriptedPrompts::openFileName(const FileRequest& request) {
  fileRequests.push_back(request);
  if (fileNames.empty()) return std::nullopt;
  auto name = fileNames.front();
  fileNames.pop_front();
  return name;
}

std::optional<std::string> ScriptedPrompts::saveFileName(const FileRequest& request) { return openFileName(request); }

std::vector<std::string> ScriptedPrompts::texts() const {
  std::vector<std::string> result;
  for (const auto& message : shown) result.push_back(message.text);
  return result;
}

std::string ScriptedPrompts::lastText() const { return shown.empty() ? std::string() : shown.back().text; }

}  // namespace tarvek::test
