#include "simulator/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace tarvek::sim {
namespace {

[[noreturn]] void throwErrno(const std::string& what) { throw std::system_error(errno, std::generic_category(), what); }

}  // namespace

std::filesystem::path temporaryBeside(const std::filesystem::path& file) {
  // Built by appending: GCC 12 at -O3 warns falsely about "literal" + std::string.
  std::string name = ".";
  name += file.filename().string();
  name += ".tmp-";
  name += std::to_string(getpid());
  return file.parent_path() / name;
}

void writeFileAtomically(const std::filesystem::path& file, std::string_view content) {
  const std::filesystem::path temporary = temporaryBeside(file);
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) throwErrno("cannot create " + temporary.string());
  std::size_t written = 0;
  while (written < content.size()) {
    const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      ::unlink(temporary.c_str());
      throw std::system_error(error, std::generic_category(), "cannot write " + temporary.string());
    }
    written += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    throw std::system_error(error, std::generic_category(), "cannot write " + temporary.string());
  }
  if (::rename(temporary.c_str(), file.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    throw std::system_error(error, std::generic_category(), "cannot replace " + file.string());
  }
}

}  // namespace tarvek::sim
