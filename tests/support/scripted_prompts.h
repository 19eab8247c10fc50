#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/prompts.h"

namespace tarvek::test {

// Answers message boxes and file dialogs from queues and remembers what was asked.
// A question with no queued answer is answered Cancel; a plain message, OK.
class ScriptedPrompts : public Prompts {
 public:
  Answer show(const Message& message) override {
    shown.push_back(message);
    if (answers.empty()) return message.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::optional<std::string> openFileName(const FileRequest& request) override {
    fileRequests.push_back(request);
    if (fileNames.empty()) return std::nullopt;
    auto name = fileNames.front();
    fileNames.pop_front();
    return name;
  }
  std::optional<std::string> saveFileName(const FileRequest& request) override { return openFileName(request); }

  // The texts of every message shown, in order.
  std::vector<std::string> texts() const {
    std::vector<std::string> result;
    for (const auto& message : shown) result.push_back(message.text);
    return result;
  }
  std::string lastText() const { return shown.empty() ? std::string() : shown.back().text; }

  std::deque<Answer> answers;
  std::deque<std::optional<std::string>> fileNames;
  std::vector<Message> shown;
  std::vector<FileRequest> fileRequests;
};

}  // namespace tarvek::test
