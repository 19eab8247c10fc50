#include "simulator/pty_line.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>

namespace tarvek::sim {
namespace {

[[noreturn]] void throwErrno(const std::string& what) { throw std::system_error(errno, std::generic_category(), what); }

void closeIfOpen(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

PtyLine::PtyLine() {
  if (::openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0) throwErrno("cannot open a pseudo-terminal");
  try {
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    if (::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK) != 0) throwErrno("fcntl");

    // Raw from the start: a client restores the settings it found when it closes the
    // port, and a cooked line in between would echo our answers back to us.
    termios settings{};
    if (::tcgetattr(m_slave, &settings) != 0) throwErrno("tcgetattr");
    ::cfmakeraw(&settings);
    ::cfsetspeed(&settings, B9600);
    if (::tcsetattr(m_slave, TCSANOW, &settings) != 0) throwErrno("tcsetattr");

    std::array<char, 256> name{};
    if (::ttyname_r(m_slave, name.data(), name.size()) != 0) throwErrno("ttyname");
    m_devicePath = name.data();

    m_watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_watch >= 0 && ::inotify_add_watch(m_watch, m_devicePath.c_str(), IN_OPEN | IN_CLOSE) < 0) {
      closeIfOpen(m_watch);
    }
  } catch (...) {
    closeIfOpen(m_watch);
    closeIfOpen(m_slave);
    closeIfOpen(m_master);
    throw;
  }
}

PtyLine::~PtyLine() {
  closeIfOpen(m_watch);
  closeIfOpen(m_slave);
  // Closing the master hangs the line up for a client that still has the port open.
  closeIfOpen(m_master);
}

std::vector<bool> PtyLine::takePortChanges() {
  std::vector<bool> changes;
  if (m_watch < 0) return changes;
  alignas(inotify_event) std::array<char, 4096> buffer;
  while (true) {
    const ssize_t n = ::read(m_watch, buffer.data(), buffer.size());
    if (n <= 0) break;
    for (ssize_t at = 0; at < n;) {
      inotify_event event;
      std::copy_n(buffer.data() + at, sizeof event, reinterpret_cast<char*>(&event));
      at += static_cast<ssize_t>(sizeof event + event.len);
      if (event.mask & IN_OPEN) {
        if (++m_clientOpens == 1) changes.push_back(true);
      }
      if ((event.mask & IN_CLOSE) && m_clientOpens > 0) {
        if (--m_clientOpens == 0) changes.push_back(false);
      }
    }
  }
  return changes;
}

void PtyLine::discardUnread() {
  ::tcflush(m_slave, TCIFLUSH);
  ::ioctl(m_slave, TIOCNXCL);
}

std::string PtyLine::read() {
  std::string bytes;
  std::array<char, 4096> buffer;
  while (true) {
    const ssize_t n = ::read(m_master, buffer.data(), buffer.size());
    if (n > 0) {
      bytes.append(buffer.data(), static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) throwErrno("cannot read the pseudo-terminal");
    return bytes;
  }
}

std::size_t PtyLine::write(std::string_view bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(m_master, bytes.data() + written, bytes.size() - written);
    if (n > 0) {
      written += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    break;
  }
  return written;
}

}  // namespace tarvek::sim
