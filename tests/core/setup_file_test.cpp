#include "core/setup_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "support/temp_dir.h"

namespace tarvek {
namespace {

namespace fs = std::filesystem;

TEST(SetupFile, PortFromTheTakenCharactersOfTheFirstLine) {
  const std::pair<const char*, int> lines[] = {
      {"CommPort=7", 7},  {"CommPort=12", 12},
      {"CommPort==7", 0}, {"CommPort= 7", 7},
      {"CommPort=3x", 3}, {"", 0},
      {"x", 0},           {"9", 9},
      {"Com=99", 99},
  };
  for (const auto& [line, port] : lines) EXPECT_EQ(portFromSetupLine(line), port) << '"' << line << '"';
}

// Start-up takes the port from the first line, read up to 4 KiB; else the first run appends
// "CommPort=1" to a regular file and creates Saved. A named pipe or a device in its place
// must neither hold start-up nor fill its memory, and stays as it is.
TEST(SetupFile, StartUpReadsThePortOrTakesTheFirstRunBranch) {
  const std::string garbage("\x01\xff\x00zz", 5);
  const std::string longLine = std::string(4094, 'x') + "1234\n";
  // What stands at setup.txt's place, the port, setup.txt afterwards (empty: no regular file,
  // left alone), whether Saved was created.
  const std::tuple<const char*, std::function<void(const fs::path&)>, int, std::string, bool> rows[] = {
      {"missing: first run", [](const fs::path&) {}, 1, "CommPort=1\n", true},
      {"the first line only", [](const fs::path& f) { test::writeFile(f, "CommPort=12\nCommPort=3\n"); }, 12,
       "CommPort=12\nCommPort=3\n", false},
      {"a Windows line end", [](const fs::path& f) { test::writeFile(f, "CommPort=12\r\n"); }, 12, "CommPort=12\r\n",
       false},
      {"empty: first run, appending", [](const fs::path& f) { test::writeFile(f, ""); }, 1, "CommPort=1\n", true},
      {"garbage gives port 0", [&](const fs::path& f) { test::writeFile(f, garbage); }, 0, garbage, false},
      {"a first line longer than 4 KiB", [&](const fs::path& f) { test::writeFile(f, longLine); }, 12, longLine, false},
      {"a named pipe", [](const fs::path& f) { ::mkfifo(f.c_str(), 0600); }, 1, "", true},
      {"a link to /dev/zero", [](const fs::path& f) { fs::create_symlink("/dev/zero", f); }, 1, "", true},
  };
  for (const auto& [name, make, port, after, saved] : rows) {
    test::TempDir dir;
    make(dir / "setup.txt");
    const auto type = fs::symlink_status(dir / "setup.txt").type();
    EXPECT_EQ(readPortAtStartUp(dir.path()), port) << name;
    EXPECT_EQ(fs::symlink_status(dir / "setup.txt").type(), after.empty() ? type : fs::file_type::regular) << name;
    EXPECT_EQ(after.empty() ? after : test::readFile(dir / "setup.txt"), after) << name;
    EXPECT_EQ(fs::is_directory(dir / "Saved"), saved) << name;
  }
}

TEST(SetupFile, ApplyReplacesTheFileWithOneLineOrSaysWhyNot) {
  test::TempDir dir;
  test::writeFile(dir / "setup.txt", "CommPort=12\nold\n");
  std::string error;
  ASSERT_TRUE(writeSetup(dir.path(), 3, error)) << error;
  EXPECT_EQ(test::readFile(dir / "setup.txt"), "CommPort=3\n");
  EXPECT_FALSE(writeSetup(dir / "missing-folder", 3, error));
  EXPECT_EQ(error, "No such file or directory");
  fs::remove(dir / "setup.txt");
  ASSERT_EQ(::mkfifo((dir / "setup.txt").c_str(), 0600), 0);
  EXPECT_FALSE(writeSetup(dir.path(), 3, error));
  EXPECT_EQ(error, "Is a named pipe, not a regular file");
  EXPECT_TRUE(fs::is_fifo(dir / "setup.txt"));
}

}  // namespace
}  // namespace tarvek
