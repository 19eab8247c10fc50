#include "raw_port.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace tarvek::test {

RawPort::RawPort(const std::filesystem::path& device) {
  m_fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (m_fd < 0) throw std::system_error(errno, std::generic_category(), "cannot open " + device.string());
  termios settings{};
  ::tcgetattr(m_fd, &settings);
  ::cfmakeraw(&settings);
  ::cfsetspeed(&settings, B9600);
  ::tcsetattr(m_fd, TCSANOW, &settings);
  ::tcflush(m_fd, TCIFLUSH);
}

RawPort::~RawPort() { ::close(m_fd); }

void RawPort::send(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      pollfd out{m_fd, POLLOUT, 0};
      ::poll(&out, 1, 100);
      continue;
    }
    if (n < 0) throw std::system_error(errno, std::generic_category(), "cannot write to the port");
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

std::string RawPort::read(std::size_t length, std::chrono::milliseconds timeout) {
  std::string received;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (received.size() < length && !m_hungUp) {
    const auto left =
        std::chrono::duration_cast<std::chrono::microseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd in{m_fd, POLLIN, 0};
    const timespec wait{static_cast<time_t>(left.count() / 1'000'000),
                        static_cast<long>(left.count() % 1'000'000) * 1000};
    if (::ppoll(&in, 1, &wait, nullptr) <= 0) continue;
    char buffer[256];
    const ssize_t n = ::read(m_fd, buffer, std::min(sizeof buffer, length - received.size()));
    if (n > 0) {
      received.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
      m_hungUp = true;
    }
  }
  return received;
}

}  // namespace tarvek::test
