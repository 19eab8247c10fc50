#include "core/setup_file.h"

#include <system_error>

#include "core/regular_file.h"

namespace tarvek {

namespace fs = std::filesystem;

int portFromSetupLine(std::string_view line) {
  std::string_view taken = line.size() == 10 ? line.substr(9) : line.substr(line.size() < 2 ? 0 : line.size() - 2);
  std::size_t i = 0;
  while (i < taken.size() && taken[i] == ' ') ++i;
  int value = 0;
  for (; i < taken.size() && taken[i] >= '0' && taken[i] <= '9'; ++i) value = value * 10 + (taken[i] - '0');
  return value;
}

namespace {

using files::FileError;
using files::RegularFile;

// setup.txt holds one short line; nothing past its first 4 KiB is looked at.
constexpr std::size_t kReadLimit = 4096;

bool readFirstLine(const fs::path& file, std::string& line) {
  std::string content;
  FileError ignored;
  if (!files::readStart(file, kReadLimit, content, ignored) || content.empty()) return false;
  line = content.substr(0, content.find('\n'));
  if (!line.empty() && line.back() == '\r') line.pop_back();  // a file written on Windows
  return true;
}

// A setup.txt that is no regular file (a named pipe, a device) is left as it is.
void firstRun(const fs::path& programDir, const fs::path& savedDir) {
  FileError ignored;
  RegularFile out = RegularFile::open(programDir / kSetupFileName, RegularFile::Mode::Append, ignored);
  if (out.isOpen()) out.write("CommPort=1\n", ignored);
  std::error_code ec;
  fs::create_directories(savedDir.empty() ? programDir / kSavedFolderName : savedDir, ec);
}

}  // namespace

int readPortAtStartUp(const fs::path& programDir, const fs::path& savedDir) {
  std::string line;
  if (!readFirstLine(programDir / kSetupFileName, line)) {
    firstRun(programDir, savedDir);
    return 1;
  }
  return portFromSetupLine(line);
}

bool writeSetup(const fs::path& programDir, int port, std::string& error) {
  FileError problem;
  RegularFile out = RegularFile::open(programDir / kSetupFileName, RegularFile::Mode::Write, problem);
  if (out.isOpen() && out.truncate(problem) && out.write("CommPort=" + std::to_string(port) + "\n", problem) &&
      out.close(problem))
    return true;
  error = problem.reason;
  return false;
}

}  // namespace tarvek
