#include "core/settings_storage.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "support/sample_records.h"
#include "support/temp_dir.h"

namespace tarvek {
namespace {

namespace fs = std::filesystem;
using settings::SaveMode;

bool save(const fs::path& file, const std::string& text, SaveMode mode, std::string& error) {
  return settings::saveText(file, text, mode, error);
}

TEST(SettingsStorage, ReplacesOrAppendsAndLeavesNoTemporaryFile) {
  // The longest name a file may have: the temporary file's name must not pass it.
  const std::string longest = std::string(251, 'L') + ".txt";
  const struct {
    const char* name;
    std::string file;
    const char* old;  // nullptr: no file there before
    SaveMode mode;
    const char* expected;
  } cases[] = {
      {"new replaced", "Site A.txt", nullptr, SaveMode::Replace, "new\r\n"},
      {"old replaced", "Site A.txt", "old\r\n", SaveMode::Replace, "new\r\n"},
      {"new appended", "Site A.txt", nullptr, SaveMode::Append, "new\r\n"},
      {"old appended", "Site A.txt", "old\r\n", SaveMode::Append, "old\r\nnew\r\n"},
      {"longest name replaced", longest, "old\r\n", SaveMode::Replace, "new\r\n"},
      {"longest name appended", longest, "old\r\n", SaveMode::Append, "old\r\nnew\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir folder;
    const fs::path file = folder / c.file;
    if (c.old) test::writeFile(file, c.old);
    std::string error;
    EXPECT_TRUE(save(file, "new\r\n", c.mode, error)) << error;
    EXPECT_EQ(test::readFile(file), c.expected);
    EXPECT_FALSE(fs::exists(settings::temporaryPathFor(file)));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
  }
  // Long names that differ only past the cut still get temporary files of their own.
  EXPECT_NE(settings::temporaryPathFor(longest), settings::temporaryPathFor(std::string(251, 'L') + ".TXT"));
}

// Permissions do not stop root, so the failures are made by what stands in the way: a
// folder where the temporary file goes, or a named pipe in the file's place, which must
// neither hold the save up nor be replaced by a file.
TEST(SettingsStorage, AFailedSaveKeepsTheOldFileWhole) {
  for (const bool pipe : {false, true}) {
    for (SaveMode mode : {SaveMode::Replace, SaveMode::Append}) {
      SCOPED_TRACE(pipe ? "a named pipe in the file's place" : "a folder where the temporary file goes");
      test::TempDir folder;
      const fs::path file = folder / "Site A.txt";
      if (pipe) {
        ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
      } else {
        test::writeFile(file, "old report\r\n");
        fs::create_directory(settings::temporaryPathFor(file));
      }
      std::string error;
      EXPECT_FALSE(save(file, "new report\r\n", mode, error));
      EXPECT_EQ(error, pipe ? "Is a named pipe, not a regular file" : "Is a directory");
      if (pipe) {
        EXPECT_TRUE(fs::is_fifo(file));
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
      } else {
        EXPECT_EQ(test::readFile(file), "old report\r\n");
        EXPECT_TRUE(fs::is_directory(settings::temporaryPathFor(file))) << "what stood in the way is left alone";
      }
    }
  }
}

TEST(SettingsStorage, APathUnderAPlainFileFailsWithItsReason) {
  test::TempDir folder;
  test::writeFile(folder / "plain", "x");
  std::string error;
  EXPECT_FALSE(save(folder / "plain" / "Site A.txt", "new\r\n", SaveMode::Replace, error));
  EXPECT_EQ(error, "Not a directory");
  EXPECT_EQ(test::readFile(folder / "plain"), "x");
}

TEST(SettingsStorage, AFolderInPlaceOfTheFileIsNotReplaced) {
  test::TempDir folder;
  const fs::path file = folder / "Site A.txt";
  fs::create_directory(file);
  test::writeFile(file / "inside", "kept");
  std::string error;
  EXPECT_FALSE(save(file, "new\r\n", SaveMode::Replace, error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(test::readFile(file / "inside"), "kept");
  EXPECT_FALSE(fs::exists(settings::temporaryPathFor(file)));
}

TEST(SettingsStorage, ALinkKeepsPointingAtTheFileItNames) {
  test::TempDir folder;
  const fs::path target = folder / "real.txt";
  const fs::path link = folder / "link.txt";
  test::writeFile(target, "old\r\n");
  fs::create_symlink(target, link);
  std::string error;
  ASSERT_TRUE(save(link, "new\r\n", SaveMode::Replace, error)) << error;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(test::readFile(target), "new\r\n");
}

// A link left where the temporary file goes, to a file of its own or to a folder, must not
// lead the new report into what it points to, nor take the settings file's place.
TEST(SettingsStorage, ALinkWhereTheTemporaryFileGoesLeadsNowhere) {
  for (SaveMode mode : {SaveMode::Replace, SaveMode::Append}) {
    for (const bool toAFolder : {false, true}) {
      SCOPED_TRACE(toAFolder ? "a link to a folder" : "a link to a file");
      test::TempDir folder;
      const fs::path file = folder / "Site A.txt";
      const fs::path other = folder / (toAFolder ? "elsewhere" : "other.txt");
      test::writeFile(file, "old\r\n");
      if (toAFolder)
        fs::create_directory(other);
      else
        test::writeFile(other, "other\r\n");
      fs::create_symlink(other, settings::temporaryPathFor(file));
      std::string error;
      ASSERT_TRUE(save(file, "new\r\n", mode, error)) << error;
      EXPECT_FALSE(fs::is_symlink(file));
      EXPECT_EQ(test::readFile(file), mode == SaveMode::Replace ? "new\r\n" : "old\r\nnew\r\n");
      if (toAFolder)
        EXPECT_TRUE(fs::is_empty(other));
      else
        EXPECT_EQ(test::readFile(other), "other\r\n");
      EXPECT_FALSE(fs::exists(fs::symlink_status(settings::temporaryPathFor(file))));
    }
  }
}

TEST(SettingsStorage, AReplacedFileKeepsItsPermissions) {
  test::TempDir folder;
  const fs::path file = folder / "private.txt";
  test::writeFile(file, "old\r\n");
  const auto privateOnly = fs::perms::owner_read | fs::perms::owner_write;
  fs::permissions(file, privateOnly);
  std::string error;
  ASSERT_TRUE(save(file, "new\r\n", SaveMode::Replace, error)) << error;
  EXPECT_EQ(fs::status(file).permissions(), privateOnly);
}

// Only a regular file, or a link to one, is read, and only its first MiB: a named pipe
// would hold the program up for good, /dev/zero would fill its memory.
TEST(SettingsStorage, LoadReadsTheFirstMiBOfARegularFileOrSaysWhyNot) {
  const fs::path good = test::filesDataDir() / "read" / "good.txt";
  const std::string report = test::readFile(good);
  const std::string pastTheLimit(settings::kReadLimit, '\n');
  const struct {
    const char* name;
    std::function<void(const fs::path&)> make;
    const char* problem;  // nullptr: the report is read
  } cases[] = {
      {"missing", [](const fs::path&) {}, "No such file or directory"},
      {"a link to a settings file", [&](const fs::path& file) { fs::create_symlink(good, file); }, nullptr},
      {"a report followed by more than a MiB",
       [&](const fs::path& file) { test::writeFile(file, report + pastTheLimit + report); }, nullptr},
      {"a report past the first MiB", [&](const fs::path& file) { test::writeFile(file, pastTheLimit + report); },
       "The file ends before the Global Settings heading."},
      {"a named pipe", [](const fs::path& file) { ::mkfifo(file.c_str(), 0600); },
       "Is a named pipe, not a regular file"},
      {"a link to /dev/zero", [](const fs::path& file) { fs::create_symlink("/dev/zero", file); },
       "Is a character device, not a regular file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir folder;
    const fs::path file = folder / "Site A.txt";
    c.make(file);
    const settings::ReadResult result = settings::load(file);
    if (c.problem) {
      EXPECT_FALSE(result.record);
      EXPECT_EQ(result.problem, c.problem);
    } else {
      ASSERT_TRUE(result.record) << result.problem;
      EXPECT_EQ(result.record->phoneNumbers, test::siteAAsRead().phoneNumbers);
    }
  }
}

}  // namespace
}  // namespace tarvek
