#include "cli/terminal.h"

#include <unistd.h>

#include <QEventLoop>
#include <QSocketNotifier>
#include <algorithm>
#include <cctype>

namespace tarvek::cli {

namespace {

constexpr int kBarWidth = 30;
// An answer is a word; a longer line is no answer.
constexpr std::size_t kLongestAnswer = 64;

bool isYes(const std::string& line) {
  std::string word;
  for (const unsigned char c : line)
    if (!std::isspace(c)) word += static_cast<char>(std::tolower(c));
  return word == "y" || word == "yes";
}

}  // namespace

Terminal::Terminal(bool assumeYes, std::FILE* out)
    : m_assumeYes(assumeYes), m_out(out), m_drawBar(::isatty(::fileno(out)) == 1) {}

bool Terminal::interactive() { return ::isatty(STDIN_FILENO) == 1 && ::isatty(STDERR_FILENO) == 1; }

void Terminal::endQuestions() {
  m_questionsEnded = true;
  if (m_asking) m_asking->quit();
}

Answer Terminal::show(const Message& message) {
  clearBar();
  if (message.buttons != Buttons::Ok) return ask(message);
  std::fprintf(m_out, "%s\n", message.text.c_str());
  // The detail, one step in, under the message it explains.
  std::string detail = message.detail;
  std::size_t start = 0;
  while (start < detail.size()) {
    const std::size_t end = std::min(detail.find('\n', start), detail.size());
    std::fprintf(m_out, "  %s\n", detail.substr(start, end - start).c_str());
    start = end + 1;
  }
  std::fflush(m_out);
  return Answer::Ok;
}

Answer Terminal::ask(const Message& message) {
  const Answer yes = message.buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
  const Answer no = message.buttons == Buttons::OkCancel ? Answer::Cancel : Answer::No;
  if (m_questionsEnded) return Answer::Cancel;
  if (m_assumeYes) return yes;
  if (!interactive()) return Answer::Cancel;
  if (!message.detail.empty()) std::fprintf(m_out, "%s\n", message.detail.c_str());
  std::fprintf(m_out, "%s[y/N] ", message.text.c_str());
  std::fflush(m_out);
  const auto line = readAnswer();
  if (!line) {
    std::fprintf(m_out, "\n");
    return Answer::Cancel;
  }
  return isYes(*line) ? yes : no;
}

std::optional<std::string> Terminal::readAnswer() {
  // In the event loop, so that a termination signal is seen while the question waits.
  QEventLoop loop;
  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  std::string line;
  bool answered = false;
  QObject::connect(&input, &QSocketNotifier::activated, &loop, [&] {
    char buffer[256];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (count <= 0) return loop.quit();  // the end of the input: no answer
    if (line.size() < kLongestAnswer) line.append(buffer, static_cast<std::size_t>(count));
    const auto end = line.find('\n');
    if (end == std::string::npos && line.size() < kLongestAnswer) return;
    answered = end != std::string::npos;
    line.resize(std::min(end, line.size()));
    loop.quit();
  });
  m_asking = &loop;
  loop.exec();
  m_asking = nullptr;
  if (!answered) return std::nullopt;
  return line;
}

void Terminal::showProgress(ProgressKind kind) {
  m_barLabel = kind == ProgressKind::Loading ? "Loading" : "Sending";
  setProgress(0);
}

void Terminal::setProgress(double value) {
  if (!m_drawBar || !m_barLabel) return;
  const double clamped = std::clamp(value, 0.0, 100.0);
  const int filled = static_cast<int>(clamped * kBarWidth / 100.0);
  std::fprintf(m_out, "\r%s [%s%s] %3d%%", m_barLabel, std::string(static_cast<std::size_t>(filled), '#').c_str(),
               std::string(static_cast<std::size_t>(kBarWidth - filled), '.').c_str(), static_cast<int>(clamped));
  std::fflush(m_out);
}

void Terminal::closeProgress() {
  clearBar();
  m_barLabel = nullptr;
}

void Terminal::clearBar() {
  if (!m_drawBar || !m_barLabel) return;
  std::fprintf(m_out, "\r%*s\r", kBarWidth + 16, "");
  std::fflush(m_out);
}

}  // namespace tarvek::cli
