#include "core/settings_storage.h"

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

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
  for (const std::string& name : {std::string("Site A.txt"), longest}) {
    for (const SaveMode mode : {SaveMode::Replace, SaveMode::Append}) {
      for (const bool old : {false, true}) {
        test::TempDir folder;
        if (old) writeFile(folder / name, "old\r\n");
        std::string error;
        EXPECT_TRUE(save(folder / name, mode, error)) << error;
        const std::string saved = old && mode == SaveMode::Append ? "old\r\nnew\r\n" : "new\r\n";
        EXPECT_EQ(snapshot(folder.path()), name + ": " + saved + "\n") << old << static_cast<int>(mode);
      }
    }
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
  for (const SaveMode mode : {SaveMode::Replace, SaveMode::Append}) {
    const auto refused = [mode](const test::TempDir& folder, const fs::path& file, const char* reason) {
      const std::string before = snapshot(folder.path());
      std::string error;
      EXPECT_FALSE(save(file, mode, error)) << reason;
      EXPECT_EQ(error, reason);
      EXPECT_EQ(snapshot(folder.path()), before) << reason;
    };
    test::TempDir a, b, c, d;
    writeFile(a / "Site A.txt", "old report\r\n");  // a folder where the temporary file goes
    fs::create_directory(temporaryPathFor(a / "Site A.txt"));
    refused(a, a / "Site A.txt", "Is a directory");
    ::mkfifo((b / "Site A.txt").c_str(), 0600);
    refused(b, b / "Site A.txt", "Is a named pipe, not a regular file");
    fs::create_directory(c / "Site A.txt");  // a folder in the file's place
    writeFile(c / "Site A.txt" / "inside", "kept");
    refused(c, c / "Site A.txt", "Is a directory");
    writeFile(d / "plain", "x");  // a plain file in the place of its folder
    refused(d, d / "plain" / "Site A.txt", "Not a directory");
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
  // What stands at the file's place, and why it is not read (empty: it is).
  const std::tuple<const char*, std::function<void(const fs::path&)>, const char*> rows[] = {
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
  for (const auto& [name, make, problem] : rows) {
    test::TempDir folder;
    make(folder / "Site A.txt");
    const settings::ReadResult result = settings::load(folder / "Site A.txt");
    EXPECT_EQ(result.problem, problem) << name;
    EXPECT_EQ(result.record.has_value(), *problem == '\0') << name;
    EXPECT_EQ(result.record.value_or(test::siteAAsRead()).phoneNumbers, test::siteAAsRead().phoneNumbers) << name;
  }
}

// Root writes through permissions: while this lives, the thread is held to them as a user
// is. The powers stay permitted, so they come back at the end.
class HeldToPermissions {
 public:
  HeldToPermissions() {
    if (::syscall(SYS_capget, &m_header, m_saved) != 0) return;
    __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
    for (const int power : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) lowered[0].effective &= ~(1u << power);
    m_lowered = ::syscall(SYS_capset, &m_header, lowered) == 0;
  }
  ~HeldToPermissions() {
    if (m_lowered) ::syscall(SYS_capset, &m_header, m_saved);
  }
  HeldToPermissions(const HeldToPermissions&) = delete;
  HeldToPermissions& operator=(const HeldToPermissions&) = delete;

 private:
  __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct m_saved[2]{};
  bool m_lowered = false;
};

// A file its owner made read-only stays as it is, though its folder would let a new file
// take its place; in a read-only folder nothing is written either.
TEST(SettingsStorage, AReadOnlyFileOrFolderKeepsTheOldFile) {
  for (const bool folderToo : {false, true}) {
    test::TempDir folder;
    writeFile(folder / "Site A.txt", "old\r\n");
    const fs::path locked = folderToo ? folder.path() : folder / "Site A.txt";
    const auto write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(locked, write, fs::perm_options::remove);
    const std::string before = snapshot(folder.path());
    std::string error;
    {
      HeldToPermissions asAUser;
      EXPECT_FALSE(save(folder / "Site A.txt", SaveMode::Replace, error)) << folderToo;
    }
    EXPECT_EQ(error, "Permission denied") << folderToo;
    EXPECT_EQ(snapshot(folder.path()), before) << folderToo;
    fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);
  }
}

}  // namespace
}  // namespace tarvek
