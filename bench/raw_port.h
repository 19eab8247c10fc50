#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

namespace tarvek::test {

// A serial port opened the plain POSIX way, as a programmer opens it for one exchange:
// raw mode, input flushed, and closed again when the object goes. The benchmark's client
// without QSerialPort, to tell the simulator's own cost from the Qt port's.
class RawPort {
 public:
  // Throws std::system_error (with the errno of open) when the port cannot be opened.
  explicit RawPort(const std::filesystem::path& device);
  ~RawPort();
  RawPort(const RawPort&) = delete;
  RawPort& operator=(const RawPort&) = delete;

  void send(std::string_view bytes);
  // Waits until `length` bytes have arrived or the time-out has passed; returns what arrived.
  std::string read(std::size_t length, std::chrono::milliseconds timeout);
  std::string exchange(std::string_view command, std::size_t length, std::chrono::milliseconds timeout) {
    send(command);
    return read(length, timeout);
  }

 private:
  int m_fd = -1;
  bool m_hungUp = false;
};

}  // namespace tarvek::test
