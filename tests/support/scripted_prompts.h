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
  Answer show(const Message& message) override;
  std::optional<std::string> openFileName(const FileRequest& request) override;
  std::optional<std::string> saveFileName(const FileRequest& request) override;

  std::vector<std::string> texts() const;  // the texts of every message shown, in order
  std::string lastText() const;

  std::deque<Answer> answers;
  std::deque<std::optional<std::string>> fileNames;
  std::vector<Message> shown;
  std::vector<FileRequest> fileRequests;
};

}  // namespace tarvek::test
