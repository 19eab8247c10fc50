#include "files/settings_storage.h"

#include <gtest/gtest.h>

#include "files/sample_records.h"
#include "support/temp_dir.h"

namespace tarvek {
namespace {

namespace fs = std::filesystem;
using settings::SaveMode;

bool save(const fs::path& file, const std::string& text, SaveMode mode, std::string& error) {
  return settings::saveText(file, text, mode, error);
}

TEST(SettingsStorage, ReplacesOrAppendsAndLeavesNoTemporaryFile) {
  const struct {
    const char* name;
    const char* old;  // nullptr: no file there before
    SaveMode mode;
    const char* expected;
  } cases[] = {
      {"new replaced", nullptr, SaveMode::Replace, "new\r\n"},
      {"old replaced", "old\r\n", SaveMode::Replace, "new\r\n"},
      {"new appended", nullptr, SaveMode::Append, "new\r\n"},
      {"old appended", "old\r\n", SaveMode::Append, "old\r\nnew\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir folder;
    const fs::path file = folder / "Site A.txt";
    if (c.old) test::writeFile(file, c.old);
    std::string error;
    EXPECT_TRUE(save(file, "new\r\n", c.mode, error)) << error;
    EXPECT_EQ(test::readFile(file), c.expected);
    EXPECT_FALSE(fs::exists(settings::temporaryPathFor(file)));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
  }
}

TEST(SettingsStorage, AFailedSaveKeepsTheOldFileWhole) {
  // Permissions do not stop root, so the failures are made by what stands in the way.
  for (SaveMode mode : {SaveMode::Replace, SaveMode::Append}) {
    test::TempDir folder;
    const fs::path file = folder / "Site A.txt";
    test::writeFile(file, "old report\r\n");
    fs::create_directory(settings::temporaryPathFor(file));
    std::string error;
    EXPECT_FALSE(save(file, "new report\r\n", mode, error));
    EXPECT_EQ(error, "Is a directory");
    EXPECT_EQ(test::readFile(file), "old report\r\n");
    EXPECT_TRUE(fs::is_directory(settings::temporaryPathFor(file))) << "what stood in the way is left alone";
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

TEST(SettingsStorage, LoadSaysWhyAFileCannotBeOpened) {
  test::TempDir folder;
  const settings::ReadResult missing = settings::load(folder / "missing.txt");
  EXPECT_FALSE(missing.record);
  EXPECT_EQ(missing.problem, "No such file or directory");

  const settings::ReadResult good = settings::load(test::filesDataDir() / "read" / "good.txt");
  ASSERT_TRUE(good.record) << good.problem;
  EXPECT_EQ(good.record->phoneNumbers, test::siteAAsRead().phoneNumbers);
}

}  // namespace
}  // namespace tarvek
