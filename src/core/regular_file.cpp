#include "core/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace tarvek::files {

namespace {

FileError systemError() { return {errno != 0 ? std::strerror(errno) : "Input/output error", false}; }

// Why a file that is not regular is refused. A folder fails as the system would say.
FileError refusal(mode_t type) {
  if (S_ISDIR(type)) return {std::strerror(EISDIR), false};
  const char* kind = S_ISFIFO(type)   ? "a named pipe"
                     : S_ISCHR(type)  ? "a character device"
                     : S_ISBLK(type)  ? "a block device"
                     : S_ISSOCK(type) ? "a socket"
                                      : "a special file";
  return {std::string("Is ") + kind + ", not a regular file", true};
}

int openFlags(RegularFile::Mode mode) {
  // Without O_NONBLOCK, opening a named pipe waits for its other end, for good.
  const int always = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  switch (mode) {
    case RegularFile::Mode::Read:
      return always | O_RDONLY;
    case RegularFile::Mode::ReadWrite:
      return always | O_RDWR;
    case RegularFile::Mode::Write:
      return always | O_WRONLY | O_CREAT;
    case RegularFile::Mode::Append:
      return always | O_WRONLY | O_CREAT | O_APPEND;
  }
  return always | O_RDONLY;
}

}  // namespace

RegularFile::~RegularFile() {
  if (m_fd >= 0) ::close(m_fd);
}

RegularFile::RegularFile(RegularFile&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept {
  if (this != &other) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = std::exchange(other.m_fd, -1);
  }
  return *this;
}

RegularFile RegularFile::open(const std::filesystem::path& path, Mode mode, FileError& error) {
  // Asked of the name first, so that a device is not even opened (opening a serial line
  // moves its control lines); asked again of what was opened, as the name may have been
  // given to something else in between.
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
    error = refusal(status.st_mode);
    return {};
  }
  errno = 0;
  int fd = -1;
  do fd = ::open(path.c_str(), openFlags(mode), 0666);
  while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    error = systemError();
    return {};
  }
  RegularFile file(fd);
  if (::fstat(fd, &status) != 0) {
    error = systemError();
    return {};
  }
  if (!S_ISREG(status.st_mode)) {
    error = refusal(status.st_mode);
    return {};
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    error = systemError();
    return {};
  }
  return file;
}

bool RegularFile::read(std::size_t limit, std::string& content, FileError& error) {
  content.clear();
  constexpr std::size_t kChunk = 64 * 1024;
  while (content.size() < limit) {
    const std::size_t had = content.size();
    content.resize(had + std::min(kChunk, limit - had));
    errno = 0;
    const ssize_t got = ::read(m_fd, content.data() + had, content.size() - had);
    if (got < 0 && errno == EINTR) {
      content.resize(had);
      continue;
    }
    if (got < 0) {
      content.resize(had);
      error = systemError();
      return false;
    }
    content.resize(had + static_cast<std::size_t>(got));
    if (got == 0) break;
  }
  return true;
}

bool RegularFile::write(std::string_view bytes, FileError& error) {
  while (!bytes.empty()) {
    errno = 0;
    const ssize_t put = ::write(m_fd, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      error = systemError();
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

bool RegularFile::truncate(FileError& error) {
  errno = 0;
  if (::ftruncate(m_fd, 0) == 0) return true;
  error = systemError();
  return false;
}

bool RegularFile::close(FileError& error) {
  if (m_fd < 0) return true;
  errno = 0;
  const int result = ::close(std::exchange(m_fd, -1));
  if (result == 0) return true;
  error = systemError();
  return false;
}

bool readStart(const std::filesystem::path& path, std::size_t limit, std::string& content, FileError& error) {
  RegularFile file = RegularFile::open(path, RegularFile::Mode::Read, error);
  return file.isOpen() && file.read(limit, content, error);
}

}  // namespace tarvek::files
