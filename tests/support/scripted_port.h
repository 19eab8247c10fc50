#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/serial_port.h"

namespace tarvek::test {

// A serial port double that answers each command from a script and logs every call,
// so tests can check the exact bytes, read lengths, time-outs and open/close order. Like
// the real port it opens only inside an operation's pin (std::logic_error otherwise), and
// an operation pins once.
class ScriptedPort : public SerialPort {
 public:
  struct Exchange {
    std::string sent;
    std::size_t readLength = 0;
    std::chrono::milliseconds timeout{0};
    std::optional<AnswerEnd> end;  // where the read was told the answer may end
  };

  void pin(int portNumber) override;
  void unpin() override;
  bool open() override;
  void transmit(const std::string& bytes) override;
  std::string read(std::size_t length, std::chrono::milliseconds timeout, std::optional<AnswerEnd> end) override;
  void close() override;
  bool isOpen() const override { return m_open; }
  std::string openFailure() const override { return "scripted port refused to open"; }

  // The answer to a command; nullopt: nothing arrives before the time-out.
  std::function<std::optional<std::string>(const std::string& sent)> responder;
  // Whether the n-th open (counted from 1) succeeds.
  std::function<bool(int openNumber)> opens;
  // Whether reading the answer to this command fails as a dead port would.
  std::function<bool(const std::string& sent)> failsOnRead;

  std::vector<Exchange> exchanges;  // one per transmitted command
  std::vector<std::string> calls;   // "pin 3", "open 3", "transmit HI", "read 2 2000", "close", "unpin"
  int openCount = 0;
  int closeCount = 0;

 private:
  bool m_open = false;
  std::optional<int> m_pinned;  // the port of the operation that runs
  std::optional<std::string> m_pending;
};

}  // namespace tarvek::test
