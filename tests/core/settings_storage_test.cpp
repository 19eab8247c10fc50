#include "core/settings_storage.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <functional>

#include "support/sample_records.h"
#include "support/temp_dir.h"

namespace tarvek {
namespace {

namespace fs = std::filesystem;
using settings::SaveMode;
using settings::temporaryPathFor;
using test::readFile;
using test::writeFile;

// Every entry under a folder and what it holds, sorted: to see that nothing changed.
std::string snapshot(const fs::path& folder) {
  std::vector<std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string held = entry.is_symlink()     ? "link to " + fs::read_symlink(entry).string()
                             : entry.is_directory() ? "folder"
                             : entry.is_fifo()      ? "named pipe"
                                                    : readFile(entry.path());
    entries.push_back(entry.path().lexically_relative(folder).string() + ": " + held);
  }
  std::sort(entries.begin(), entries.end());
  std::string text;
  for (const std::string& entry : entries) text += entry + "\n";
  return text;
}

bool save(const fs::path& file, SaveMode mode, std::string& error) {
  return settings::saveText(file, "new\r\n", mode, error);
}

TEST(SettingsStorage, ReplacesOrAppendsThroughATemporaryFileAndLeavesNoneBehind) {
  // The longest name a file may have: the temporary file's name must not pass it.
  const std::string longest = std::string(251, 'L') + ".txt";
  const struct {
    std::string name;
    const char* old;  // nullptr: no file there before
    SaveMode mode;
    const char* expected;
  } rows[] = {
      {"Site A.txt", nullptr, SaveMode::Replace, "new\r\n"},
      {"Site A.txt", "old\r\n", SaveMode::Replace, "new\r\n"},
      {"Site A.txt", nullptr, SaveMode::Append, "new\r\n"},
      {"Site A.txt", "old\r\n", SaveMode::Append, "old\r\nnew\r\n"},
      {longest, "old\r\n", SaveMode::Replace, "new\r\n"},
      {longest, "old\r\n", SaveMode::Append, "old\r\nnew\r\n"},
  };
  for (const auto& row : rows) {
    test::TempDir folder;
    if (row.old) writeFile(folder / row.name, row.old);
    std::string error;
    EXPECT_TRUE(save(folder / row.name, row.mode, error)) << error;
    EXPECT_EQ(snapshot(folder.path()), row.name + ": " + row.expected + "\n") << (row.old ? row.old : "no file before");
  }
  // Long names that differ only past the cut still get temporary files of their own.
  EXPECT_NE(temporaryPathFor(longest), temporaryPathFor(std::string(251, 'L') + ".TXT"));

  // A link keeps pointing at the file it names, and the replaced file keeps its permissions.
  test::TempDir folder;
  writeFile(folder / "real.txt", "old\r\n");
  fs::permissions(folder / "real.txt", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(folder / "real.txt", folder / "link.txt");
  std::string error;
  ASSERT_TRUE(save(folder / "link.txt", SaveMode::Replace, error)) << error;
  EXPECT_EQ(snapshot(folder.path()), "link.txt: link to " + (folder / "real.txt").string() + "\nreal.txt: new\r\n\n");
  EXPECT_EQ(fs::status(folder / "real.txt").permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

// Permissions do not stop root, so the failures are made by what stands in the way. A
// named pipe must neither hold the save up nor be replaced by a file.
TEST(SettingsStorage, AFailedSaveSaysWhyAndChangesNothing) {
  const struct {
    const char* name;
    std::function<fs::path(const fs::path& folder)> block;  // returns the file to save
    const char* reason;
  } rows[] = {
      {"a folder where the temporary file goes",
       [](const fs::path& folder) {
         writeFile(folder / "Site A.txt", "old report\r\n");
         fs::create_directory(temporaryPathFor(folder / "Site A.txt"));
         return folder / "Site A.txt";
       },
       "Is a directory"},
      {"a named pipe in the file's place",
       [](const fs::path& folder) {
         ::mkfifo((folder / "Site A.txt").c_str(), 0600);
         return folder / "Site A.txt";
       },
       "Is a named pipe, not a regular file"},
      {"a folder in the file's place",
       [](const fs::path& folder) {
         fs::create_directory(folder / "Site A.txt");
         writeFile(folder / "Site A.txt" / "inside", "kept");
         return folder / "Site A.txt";
       },
       "Is a directory"},
      {"a plain file in the place of its folder",
       [](const fs::path& folder) {
         writeFile(folder / "plain", "x");
         return folder / "plain" / "Site A.txt";
       },
       "Not a directory"},
  };
  for (const auto& row : rows) {
    for (const SaveMode mode : {SaveMode::Replace, SaveMode::Append}) {
      test::TempDir folder;
      const fs::path file = row.block(folder.path());
      const std::string before = snapshot(folder.path());
      std::string error;
      EXPECT_FALSE(save(file, mode, error)) << row.name;
      EXPECT_EQ(error, row.reason) << row.name;
      EXPECT_EQ(snapshot(folder.path()), before) << row.name;
    }
  }
}

// A link left where the temporary file goes must not lead the new report into what it
// points to, nor take the settings file's place.
TEST(SettingsStorage, ALinkWhereTheTemporaryFileGoesLeadsNowhere) {
  for (const SaveMode mode : {SaveMode::Replace, SaveMode::Append}) {
    for (const char* other : {"other.txt", "elsewhere"}) {
      test::TempDir folder;
      writeFile(folder / "Site A.txt", "old\r\n");
      if (other == std::string("elsewhere"))
        fs::create_directory(folder / other);
      else
        writeFile(folder / other, "other\r\n");
      fs::create_symlink(folder / other, temporaryPathFor(folder / "Site A.txt"));
      std::string error;
      ASSERT_TRUE(save(folder / "Site A.txt", mode, error)) << error;
      const std::string saved = mode == SaveMode::Replace ? "new\r\n" : "old\r\nnew\r\n";
      const std::string left = other == std::string("elsewhere") ? "elsewhere: folder\n" : "other.txt: other\r\n\n";
      EXPECT_EQ(snapshot(folder.path()), "Site A.txt: " + saved + "\n" + left) << other;
    }
  }
}

// Only a regular file, or a link to one, is read, and only its first MiB: a named pipe
// would hold the program up for good, /dev/zero would fill its memory.
TEST(SettingsStorage, LoadReadsTheFirstMiBOfARegularFileOrSaysWhyNot) {
  const fs::path good = test::filesDataDir() / "read" / "good.txt";
  const std::string report = readFile(good);
  const std::string pastTheLimit(settings::kReadLimit, '\n');
  const struct {
    const char* name;
    std::function<void(const fs::path&)> make;
    const char* problem;  // empty: the report is read
  } rows[] = {
      {"missing", [](const fs::path&) {}, "No such file or directory"},
      {"a link to a settings file", [&](const fs::path& file) { fs::create_symlink(good, file); }, ""},
      {"a report followed by more than a MiB",
       [&](const fs::path& file) { writeFile(file, report + pastTheLimit + report); }, ""},
      {"a report past the first MiB", [&](const fs::path& file) { writeFile(file, pastTheLimit + report); },
       "The file ends before the Global Settings heading."},
      {"a named pipe", [](const fs::path& file) { ::mkfifo(file.c_str(), 0600); },
       "Is a named pipe, not a regular file"},
      {"a link to /dev/zero", [](const fs::path& file) { fs::create_symlink("/dev/zero", file); },
       "Is a character device, not a regular file"},
  };
  for (const auto& row : rows) {
    test::TempDir folder;
    row.make(folder / "Site A.txt");
    const settings::ReadResult result = settings::load(folder / "Site A.txt");
    EXPECT_EQ(result.problem, row.problem) << row.name;
    EXPECT_EQ(result.record.has_value(), *row.problem == '\0') << row.name;
    EXPECT_EQ(result.record.value_or(test::siteAAsRead()).phoneNumbers, test::siteAAsRead().phoneNumbers) << row.name;
  }
}

}  // namespace
}  // namespace tarvek
