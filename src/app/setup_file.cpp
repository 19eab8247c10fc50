#include "app/setup_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

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

bool readFirstLine(const fs::path& file, std::string& line) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();  // a file written on Windows
  return true;
}

void firstRun(const fs::path& programDir, const fs::path& savedDir) {
  {
    std::ofstream out(programDir / kSetupFileName, std::ios::app | std::ios::binary);
    out << "CommPort=1\n";
  }
  std::error_code ignored;
  fs::create_directories(savedDir.empty() ? programDir / kSavedFolderName : savedDir, ignored);
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
  const fs::path file = programDir / kSetupFileName;
  std::ofstream out(file, std::ios::trunc | std::ios::binary);
  if (out) out << "CommPort=" << port << '\n';
  if (out) out.flush();
  if (!out) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace tarvek
