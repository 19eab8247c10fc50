#include "core/setup_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/temp_dir.h"

namespace tarvek {
namespace {

TEST(SetupLine, PortNumberFromTheTakenCharacters) {
  const std::pair<const char*, int> cases[] = {{"CommPort=7", 7},
                                               {"CommPort=12", 12},
                                               {"CommPort=16", 16},
                                               {"CommPort==7", 0},  // 11 characters
                                               {"CommPort= 7", 7},
                                               {"CommPort=3x", 3},
                                               {"garbage", 0},
                                               {"", 0},
                                               {"x", 0},
                                               {"9", 9},
                                               {"CommPort=1 ", 1},
                                               {"Com=99", 99}};
  for (const auto& [line, port] : cases) EXPECT_EQ(portFromSetupLine(line), port) << '"' << line << '"';
}

// What start-up makes of setup.txt: the port of its first line, read up to 4 KiB, or the
// first-run branch, which appends "CommPort=1" to a regular file and creates Saved. A
// named pipe or a device in its place must neither hold start-up nor fill its memory.
TEST(StartUp, PortFromTheFirstLineOrTheFirstRunBranch) {
  enum class Kind { Missing, Text, NamedPipe, LinkToZero };
  const struct {
    const char* name;
    Kind kind;
    std::string content;
    int port;
    std::string after;  // setup.txt's content afterwards
    bool saved;         // whether Saved was created
  } cases[] = {
      {"missing: first run", Kind::Missing, "", 1, "CommPort=1\n", true},
      {"the first line only", Kind::Text, "CommPort=12\nCommPort=3\n", 12, "CommPort=12\nCommPort=3\n", false},
      {"a Windows line end", Kind::Text, "CommPort=12\r\n", 12, "CommPort=12\r\n", false},
      {"empty: first run, appending", Kind::Text, "", 1, "CommPort=1\n", true},
      {"garbage gives port 0", Kind::Text, std::string("\x01\xff\x00zz", 5), 0, std::string("\x01\xff\x00zz", 5),
       false},
      {"a first line longer than 4 KiB", Kind::Text, std::string(4094, 'x') + "1234\n", 12,
       std::string(4094, 'x') + "1234\n", false},
      {"a named pipe", Kind::NamedPipe, "", 1, "", true},
      {"a link to /dev/zero", Kind::LinkToZero, "", 1, "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    const std::filesystem::path setup = dir / "setup.txt";
    if (c.kind == Kind::Text) test::writeFile(setup, c.content);
    if (c.kind == Kind::NamedPipe) {
      ASSERT_EQ(::mkfifo(setup.c_str(), 0600), 0);
    }
    if (c.kind == Kind::LinkToZero) std::filesystem::create_symlink("/dev/zero", setup);
    EXPECT_EQ(readPortAtStartUp(dir.path()), c.port);
    if (c.kind == Kind::NamedPipe)
      EXPECT_TRUE(std::filesystem::is_fifo(setup));
    else if (c.kind == Kind::LinkToZero)
      EXPECT_TRUE(std::filesystem::is_symlink(setup));
    else
      EXPECT_EQ(test::readFile(setup), c.after);
    EXPECT_EQ(std::filesystem::is_directory(dir / "Saved"), c.saved);
  }
}

TEST(Apply, ReplacesTheFileWithOneLine) {
  test::TempDir dir;
  test::writeFile(dir / "setup.txt", "CommPort=12\nold\n");
  std::string error;
  ASSERT_TRUE(writeSetup(dir.path(), 3, error));
  EXPECT_EQ(test::readFile(dir / "setup.txt"), "CommPort=3\n");
}

TEST(Apply, AFileThatCannotBeWrittenReportsTheReason) {
  test::TempDir dir;
  std::string error;
  EXPECT_FALSE(writeSetup(dir / "missing-folder", 3, error));
  EXPECT_EQ(error, "No such file or directory");
  ASSERT_EQ(::mkfifo((dir / "setup.txt").c_str(), 0600), 0);
  EXPECT_FALSE(writeSetup(dir.path(), 3, error));
  EXPECT_EQ(error, "Is a named pipe, not a regular file");
  EXPECT_TRUE(std::filesystem::is_fifo(dir / "setup.txt"));
}

}  // namespace
}  // namespace tarvek
