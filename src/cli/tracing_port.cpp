#include "cli/tracing_port.h"

#include <cstdio>

namespace tarvek::cli {

using Clock = std::chrono::steady_clock;

std::string escapedBytes(const std::string& bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7f && c != '\\') {
      out += c;
    } else {
      char code[8];
      std::snprintf(code, sizeof code, "\\x%02x", byte);
      out += code;
    }
  }
  return out;
}

TracingPort::TracingPort(SerialPort& port, files::RegularFile file, const std::string& heading)
    : m_port(port), m_file(std::move(file)), m_start(Clock::now()) {
  files::FileError error;
  if (!m_file.write(heading + '\n', error)) {
    m_failed = true;
    m_error = error.reason;
  }
}

bool TracingPort::finish(std::string& error) {
  files::FileError closing;
  if (!m_file.close(closing) && !m_failed) {
    m_failed = true;
    m_error = closing.reason;
  }
  error = m_error;
  return !m_failed;
}

void TracingPort::line(const std::string& text) {
  if (m_failed || !m_file.isOpen()) return;
  const double seconds = std::chrono::duration<double>(Clock::now() - m_start).count();
  char time[32];
  std::snprintf(time, sizeof time, "%10.3f ", seconds);
  files::FileError error;
  if (!m_file.write(time + text + '\n', error)) {
    m_failed = true;
    m_error = error.reason;
  }
}

void TracingPort::pin(int portNumber) { m_port.pin(portNumber); }

void TracingPort::unpin() { m_port.unpin(); }

bool TracingPort::open() {
  const bool opened = m_port.open();
  if (!opened) line("! the port did not open: " + m_port.openFailure());
  return opened;
}

void TracingPort::transmit(const std::string& bytes) {
  line("> " + escapedBytes(bytes));
  try {
    m_port.transmit(bytes);
  } catch (const LinkError& error) {
    line(std::string("! ") + error.what());
    throw;
  }
}

std::string TracingPort::read(std::size_t length, std::chrono::milliseconds timeout, std::optional<AnswerEnd> end) {
  const auto asked = Clock::now();
  std::string answer;
  try {
    answer = m_port.read(length, timeout, end);
  } catch (const LinkError& error) {
    line(std::string("! ") + error.what());
    throw;
  }
  std::string text = "< " + escapedBytes(answer);
  // An answer that reached its end (a short unit's carriage return) lacks nothing.
  const bool ended = end && answer.size() == end->position && answer.back() == end->byte;
  if (answer.size() < length && !ended) {
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - asked);
    text += "  (" + std::to_string(answer.size()) + " of " + std::to_string(length) + " bytes in " +
            std::to_string(waited.count()) + " ms)";
  }
  line(text);
  return answer;
}

void TracingPort::close() { m_port.close(); }

bool TracingPort::isOpen() const { return m_port.isOpen(); }

std::string TracingPort::openFailure() const { return m_port.openFailure(); }

}  // namespace tarvek::cli
