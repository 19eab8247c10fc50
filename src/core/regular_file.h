#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

// Files that come from outside: the settings files, setup.txt, the help texts. Only a
// regular file (or a link to one) is opened; a named pipe or a device is refused before
// it can hold the program up (a pipe without a writer) or flood it (/dev/zero), and no
// open ever waits.
namespace tarvek::files {

inline constexpr std::size_t kMiB = 1024 * 1024;

struct FileError {
  std::string reason;    // the system's reason, or what kind of file stands there
  bool special = false;  // the file is there, but is a named pipe, a device or a socket
};

// An open regular file, closed when it goes.
class RegularFile {
 public:
  enum class Mode {
    Read,
    ReadWrite,  // an existing file, neither created nor cut
    Write,      // created when missing, not cut: truncate() once it is known to be regular
    Append,     // created when missing; every write goes to the end
  };

  RegularFile() = default;
  ~RegularFile();
  RegularFile(RegularFile&& other) noexcept;
  RegularFile& operator=(RegularFile&& other) noexcept;
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  // On failure the file is not open and `error` says why.
  static RegularFile open(const std::filesystem::path& path, Mode mode, FileError& error);

  bool isOpen() const { return m_fd >= 0; }

  // Up to `limit` bytes from where the file stands; fewer only at its end.
  bool read(std::size_t limit, std::string& content, FileError& error);
  bool write(std::string_view bytes, FileError& error);
  bool truncate(FileError& error);
  // Closing can report a write that failed late (a full disk on a network folder).
  bool close(FileError& error);

 private:
  explicit RegularFile(int fd) : m_fd(fd) {}

  int m_fd = -1;
};

// The first `limit` bytes of a regular file.
bool readStart(const std::filesystem::path& path, std::size_t limit, std::string& content, FileError& error);

}  // namespace tarvek::files
