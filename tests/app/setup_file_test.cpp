#include "app/setup_file.h"

#include <gtest/gtest.h>

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

TEST(StartUp, FirstRunWritesTheDefaultAndCreatesSaved) {
  test::TempDir dir;
  EXPECT_EQ(readPortAtStartUp(dir.path()), 1);
  EXPECT_EQ(test::readFile(dir / "setup.txt"), "CommPort=1\n");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "Saved"));
}

TEST(StartUp, ReadsTheFirstLineOnly) {
  test::TempDir dir;
  test::writeFile(dir / "setup.txt", "CommPort=12\nCommPort=3\n");
  EXPECT_EQ(readPortAtStartUp(dir.path()), 12);
  EXPECT_EQ(test::readFile(dir / "setup.txt"), "CommPort=12\nCommPort=3\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "Saved"));
}

TEST(StartUp, AWindowsLineEndDoesNotCount) {
  test::TempDir dir;
  test::writeFile(dir / "setup.txt", "CommPort=12\r\n");
  EXPECT_EQ(readPortAtStartUp(dir.path()), 12);
}

TEST(StartUp, AnEmptyFileTakesTheFirstRunBranchAppending) {
  test::TempDir dir;
  test::writeFile(dir / "setup.txt", "");
  EXPECT_EQ(readPortAtStartUp(dir.path()), 1);
  EXPECT_EQ(test::readFile(dir / "setup.txt"), "CommPort=1\n");
}

TEST(StartUp, GarbageGivesPortZeroWithoutFailing) {
  test::TempDir dir;
  test::writeFile(dir / "setup.txt", std::string("\x01\xff\x00zz", 5));
  EXPECT_EQ(readPortAtStartUp(dir.path()), 0);
}

TEST(Apply, ReplacesTheFileWithOneLine) {
  test::TempDir dir;
  test::writeFile(dir / "setup.txt", "CommPort=12\nold\n");
  std::string error;
  ASSERT_TRUE(writeSetup(dir.path(), 3, error));
  EXPECT_EQ(test::readFile(dir / "setup.txt"), "CommPort=3\n");
}

TEST(Apply, AnUnwritableFolderReportsTheReason) {
  test::TempDir dir;
  std::string error;
  EXPECT_FALSE(writeSetup(dir / "missing-folder", 3, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace tarvek
