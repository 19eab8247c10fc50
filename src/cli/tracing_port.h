#pragma once

#include <chrono>
#include <string>

#include "core/regular_file.h"
#include "core/serial_port.h"

namespace tarvek::cli {

// A serial port that writes down every command and answer (--trace): one line each, with
// the seconds since the trace began, the bytes printable or as "\xNN", and what an
// answer lacked and how long it was waited for. Failed openings and port failures are
// written down with their reasons. The operations see the port they were given.
class TracingPort : public SerialPort {
 public:
  // `file` is open for writing; `heading` is its first line.
  TracingPort(SerialPort& port, files::RegularFile file, const std::string& heading);

  // Closes the trace; false (with the reason) when a line of it could not be written.
  bool finish(std::string& error);

  void pin(int portNumber) override;
  void unpin() override;
  bool open() override;
  void transmit(const std::string& bytes) override;
  std::string read(std::size_t length, std::chrono::milliseconds timeout, std::optional<AnswerEnd> end) override;
  void close() override;
  bool isOpen() const override;
  std::string openFailure() const override;

 private:
  void line(const std::string& text);

  SerialPort& m_port;
  files::RegularFile m_file;
  std::chrono::steady_clock::time_point m_start;
  bool m_failed = false;
  std::string m_error;
};

// The bytes with everything but printable ASCII (and the backslash) as "\xNN".
std::string escapedBytes(const std::string& bytes);

}  // namespace tarvek::cli
