#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarvek {

enum class Buttons { Ok, OkCancel, YesNoCancel, SaveDiscardCancel };
enum class Icon { None, Question, Warning, Critical };
enum class Answer { Ok, Cancel, Yes, No, Save, Discard };

// The texts of messages and file requests are UTF-8, the encoding of the file names and
// of the system's reasons that they quote; the program's own sentences are plain ASCII.
// Record text (Windows-1252) is never put in as it is.
struct Message {
  std::string text;
  std::string title;  // empty: the program's name
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
  std::string detail;  // shown apart from the text, for the reason behind a failure
};

struct FileRequest {
  std::string title;                 // empty: the dialog's own title
  std::vector<std::string> filters;  // e.g. "Text documents (*.txt)"
  std::string folder;                // where the dialog starts
};

// Every message box, question and file dialog goes through here, so tests can
// answer them without a modal dialog ever blocking.
class Prompts {
 public:
  virtual ~Prompts() = default;

  virtual Answer show(const Message& message) = 0;
  virtual std::optional<std::string> openFileName(const FileRequest& request) = 0;
  virtual std::optional<std::string> saveFileName(const FileRequest& request) = 0;

  // A plain message with an OK button and the program's title.
  void inform(const std::string& text, const std::string& detail = {}) {
    show(Message{text, {}, Buttons::Ok, Icon::None, detail});
  }
};

}  // namespace tarvek
