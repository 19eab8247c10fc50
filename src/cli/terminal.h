#pragma once

#include <cstdio>
#include <string>

#include "core/progress.h"
#include "core/prompts.h"

class QEventLoop;

namespace tarvek::cli {

// The program's messages and questions, and its progress bar, on standard error. A
// question is asked on a terminal (standard input and standard error both one) and
// answered with a line; `--yes` answers Yes without asking. The progress bar is drawn
// only on a terminal, so a script's log holds the messages alone.
class Terminal : public Prompts, public Progress {
 public:
  Terminal(bool assumeYes, std::FILE* out = stderr);

  // Whether a question can be put to a person.
  static bool interactive();

  // A termination signal came: a question waiting for its answer, and any later one, gets
  // Cancel. Messages are still shown: writing them never holds the program up.
  void endQuestions();

  Answer show(const Message& message) override;
  std::optional<std::string> openFileName(const FileRequest&) override { return std::nullopt; }
  std::optional<std::string> saveFileName(const FileRequest&) override { return std::nullopt; }

  void showProgress(ProgressKind kind) override;
  void setProgress(double value) override;
  void closeProgress() override;

 private:
  Answer ask(const Message& message);
  // Reads one line from standard input while the event loop runs; nullopt on end of input
  // or a cancelled question.
  std::optional<std::string> readAnswer();
  void clearBar();

  bool m_assumeYes;
  std::FILE* m_out;
  bool m_drawBar;
  const char* m_barLabel = nullptr;  // set while a bar stands on the line
  QEventLoop* m_asking = nullptr;
  bool m_questionsEnded = false;
};

}  // namespace tarvek::cli
