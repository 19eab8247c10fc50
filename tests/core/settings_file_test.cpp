// The settings file: its text, read and written, and its storage on disk.

#include "core/settings_file.h"

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <map>
#include <sstream>

#include "core/save_questions.h"
#include "core/settings_storage.h"
#include "support/sample_records.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace tarvek {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

constexpr const char* kSavedText = "5/7/2024 3:04:05 PM";

settings::ReadResult readText(const std::string& text) {
  std::istringstream in(text);
  return settings::read(in);
}

TEST(SettingsFile, TheWriterMatchesTheGoldenFilesByteForByte) {
  EXPECT_EQ(settings::fileText(settings::fileLines(test::siteA(), "Site A", kSavedText)),
            test::readFile(test::filesDataDir() / "golden_alarm_dialer.txt"));
  EXPECT_EQ(settings::fileText(settings::fileLines(test::shopFloor(), "Shop Floor", kSavedText)),
            test::readFile(test::filesDataDir() / "golden_aislecall.txt"));
  // A record cut short by a read still gives every line.
  const auto cut = settings::fileLines(
      test::edited({test::resizeList(&Programming::inputSpecs, 20), test::resizeList(&Programming::phoneNumbers, 0)}),
      "Short", kSavedText);
  ASSERT_EQ(cut.size(), 191u);
  EXPECT_EQ(cut[103], "          ");  // the missing header of input 1's numbers
  EXPECT_EQ(cut[105], "               (1) ");

  const std::pair<const char*, const char*> names[] = {{"/opt/tarvek/Saved/Site A.txt", "Site A"},
                                                       {"CAPS.TXT", "CAPS"},
                                                       {"notes.text", "notes.text"},
                                                       {"twice.txt.txt", "twice.txt"},
                                                       {"/folder.txt/plain", "plain"},
                                                       {".txt", ".txt"}};
  for (const auto& [path, name] : names) EXPECT_EQ(settings::reportName(path), name) << path;
}

TEST(SettingsFile, ReadsOrRefusesEachFileOfTheDataFolder) {
  const Programming siteA = test::siteAAsRead();
  // An unknown Function reads as Aislecall, which alone makes Access Code and Call Progress "N/A".
  Programming unknownFunction = siteA;
  unknownFunction.global = test::globalOf("Aislecall|123456|N/A|3|12|Fast|N/A|07|Enabled");
  // Every Global option's other value, and nothing Send would refuse.
  Programming otherOptions = siteA;
  test::all(test::setGlobal("Alarm Dialer|123456|654321|3|12|Normal|Enabled|N/A|Disabled"),
            test::setField(2, lines::Field::QualifierTimer, "Hrs 18 Min 00 Sec 00"))(otherOptions);
  const std::string noGlobal = "The file ends before the Global Settings heading.";
  const std::string noInputs = "The file ends before the Input Specifications heading.";
  std::map<std::string, std::pair<Programming, std::string>> expected = {
      {"forced_play_one_digit.txt", {siteA, ""}},  // "7" comes back as "07"
      {"function_unknown.txt", {unknownFunction, ""}},
      {"aislecall.txt", {test::shopFloor(), ""}},
      {"valid_alarm_dialer.txt", {otherOptions, ""}},
      {"no_global_heading.txt", {{}, noGlobal}},
      {"no_input_heading.txt", {{}, noInputs}},
      {"ends_after_global.txt", {{}, noInputs}},
      {"ends_in_phone_numbers.txt", {{}, "The file ends before the end of input 5 of the Phone Numbers."}},
      {"number_line_too_short.txt", {{}, "Number 2 of input 1 in the Phone Numbers is cut short."}},
      {"empty.txt", {{}, noGlobal}},
      {"binary_garbage.txt", {{}, noGlobal}},
  };
  for (const char* name :
       {"good.txt", "lf_only.txt", "two_reports.txt", "report_named_global_settings.txt",
        "report_named_global_corp.txt", "heading_unindented.txt", "heading_tab_indented.txt", "ansi_report_name.txt"})
    expected[name] = {siteA, ""};
  for (const auto& [name, record] : expected) {
    const settings::ReadResult result = settings::load(test::filesDataDir() / "read" / name);
    EXPECT_EQ(result.problem, record.second) << name;
    EXPECT_EQ(result.record.value_or(Programming{}), record.first) << name;
  }
}

TEST(SettingsFile, TheReaderTakesValuesByTheirLastCharacters) {
  using G = GlobalSettings;
  using lines::Field;
  using test::setGlobal;
  const std::string g(10, ' ');
  const std::string i(15, ' ');
  // A line of Site A's file changed, and how the record read changes with it.
  const std::tuple<std::size_t, std::string, test::Edit> rows[] = {
      // Ringback Limit: a blank in the last two leaves one digit.
      {15, g + "Ringback Limit           6", setGlobal(&G::ringbackLimit, "6")},
      // Security and Access Codes: the last six characters whatever stands before them.
      {9, g + "Security Code          x987654", setGlobal(&G::securityCode, "987654")},
      // Forced Play Timer: trimmed, given its leading zero.
      {21, g + "Forced Play Timer        5", setGlobal(&G::forcedPlayTimer, "05")},
      // Msg Rpt Count: only the first of the last two characters is looked at for a blank.
      {34, i + "Msg Rpt Count       5", test::setField(1, Field::MsgRptCount, "5")},
      // Normal State and Duration by their key words.
      {39, i + "Normal State        Open", test::setField(2, Field::NormalState, "Normally Open")},
      {30, i + "Normal State        Shut", test::setField(1, Field::NormalState, "Disabled")},
      {31, i + "Duration            momentary", test::setField(1, Field::Duration, "Continuous")},
      // The input number is the header's last character; the number positions are counted.
      {28, "          Input 9", [](Programming& r) { r.inputSpecs[0] = "Input 9"; }},
      {105, "               (7) 555", test::setPhone(1, 1, "   (1) 555")},
      // "Not" anywhere makes a number not programmed, before the pager mark is looked at.
      {105, "             P (1) Nothing", test::setPhone(1, 1, "   (1)      Not Programmed")},
      {105, "             P (1) ", test::setPhone(1, 1, " P (1) ")},
  };
  for (const auto& [index, line, edit] : rows) {
    std::vector<std::string> file = settings::fileLines(test::siteA(), "Edge", kSavedText);
    file[index] = line;
    const auto result = readText(settings::fileText(file));
    Programming expected = test::siteAAsRead();
    edit(expected);
    EXPECT_EQ(result.record.value_or(Programming{}), expected) << line << ": " << result.problem;
  }
}

using settings::SaveMode;
using settings::temporaryPathFor;

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

// Saving "new" to a path of a folder with or without an old "Site A.txt" and what `make`
// puts there: the error ("": saved) and the folder after (empty: as it was; "{}": the old
// text with the new appended, or the new alone). Nothing is left at the temporary file's
// place; a named pipe neither holds the save up nor gives way to a file; a link keeps its
// place and the replaced file its permissions.
TEST(SettingsStorage, SavesThroughATemporaryFileOrSaysWhyAndChangesNothing) {
  using Make = std::function<void(const fs::path&)>;
  const Make nothing = [](const fs::path&) {};
  const Make noWrite = [](const fs::path& p) {
    fs::permissions(p, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  };
  const auto temporary = [](const fs::path& f) { return temporaryPathFor(f / "Site A.txt"); };
  // The longest name a file may have: the temporary file's name must not pass it.
  const std::string longest = std::string(251, 'L') + ".txt";
  const std::tuple<const char*, bool, Make, std::string, const char*, std::string> rows[] = {
      {"a new file", false, nothing, "Site A.txt", "", "Site A.txt: new\r\n\n"},
      {"over an old file", true, nothing, "Site A.txt", "", "Site A.txt: {}\n"},
      {"the longest name", false, [&](const fs::path& f) { writeFile(f / longest, "old\r\n"); }, longest, "",
       longest + ": {}\n"},
      {"through a link", false,
       [](const fs::path& f) {
         writeFile(f / "real.txt", "old\r\n");
         fs::permissions(f / "real.txt", fs::perms::owner_read | fs::perms::owner_write);
         fs::create_symlink("real.txt", f / "link.txt");
       },
       "link.txt", "", "link.txt: link to real.txt\nreal.txt: {}\n"},
      {"a link to a file at the temporary file's place", true,
       [&](const fs::path& f) {
         writeFile(f / "other.txt", "other\r\n");
         fs::create_symlink("other.txt", temporary(f));
       },
       "Site A.txt", "", "Site A.txt: {}\nother.txt: other\r\n\n"},
      {"a link to a folder at the temporary file's place", true,
       [&](const fs::path& f) {
         fs::create_directory(f / "other");
         fs::create_symlink("other", temporary(f));
       },
       "Site A.txt", "", "Site A.txt: {}\nother: folder\n"},
      {"a folder at the temporary file's place", true, [&](const fs::path& f) { fs::create_directory(temporary(f)); },
       "Site A.txt", "Is a directory", ""},
      {"a named pipe", false, [](const fs::path& f) { ::mkfifo((f / "Site A.txt").c_str(), 0600); }, "Site A.txt",
       "Is a named pipe, not a regular file", ""},
      {"a folder in the file's place", false,
       [](const fs::path& f) {
         fs::create_directory(f / "Site A.txt");
         writeFile(f / "Site A.txt" / "inside", "kept");
       },
       "Site A.txt", "Is a directory", ""},
      {"a file in its folder's place", false, [](const fs::path& f) { writeFile(f / "plain", "x"); },
       "plain/Site A.txt", "Not a directory", ""},
      // Read-only to its owner, though its folder would let a new file take its place.
      {"a read-only file", true, [&](const fs::path& f) { noWrite(f / "Site A.txt"); }, "Site A.txt",
       "Permission denied", ""},
      {"a read-only folder", true, noWrite, "Site A.txt", "Permission denied", ""},
  };
  for (const SaveMode mode : {SaveMode::Replace, SaveMode::Append}) {
    const std::string saved = mode == SaveMode::Append ? "old\r\nnew\r\n" : "new\r\n";
    for (const auto& [name, old, make, path, reason, after] : rows) {
      test::TempDir folder;
      if (old) writeFile(folder / "Site A.txt", "old\r\n");
      make(folder.path());
      const std::string before = snapshot(folder.path());
      std::string error;
      {
        HeldToPermissions asAUser;
        EXPECT_EQ(settings::saveText(folder / path, "new\r\n", mode, error), *reason == '\0') << name;
      }
      EXPECT_EQ(error, reason) << name;
      fs::permissions(folder.path(), fs::perms::owner_write, fs::perm_options::add);
      std::string expected = after.empty() ? before : after;
      if (const auto at = expected.find("{}"); at != std::string::npos) expected.replace(at, 2, saved);
      EXPECT_EQ(snapshot(folder.path()), expected) << name << (mode == SaveMode::Append ? ", appending" : "");
      const auto kept = fs::exists(folder / "real.txt") ? fs::status(folder / "real.txt").permissions() : fs::perms{};
      EXPECT_TRUE(kept == fs::perms{} || kept == (fs::perms::owner_read | fs::perms::owner_write)) << name;
    }
  }
  // Long names that differ only past the cut still get temporary files of their own.
  EXPECT_NE(temporaryPathFor(longest), temporaryPathFor(std::string(251, 'L') + ".TXT"));
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

TEST(SaveAs, TheFileAndHowItIsWritten) {
  // The name chosen, whether the file it names is there, the answer to the overwrite question
  // (asked only then), the file written (nullptr: none) and how.
  const std::tuple<const char*, bool, std::optional<Answer>, const char*, SaveMode> rows[] = {
      {"/s/Site A", false, std::nullopt, "/s/Site A.txt", SaveMode::Replace},
      {"/s/Site A.txt", false, std::nullopt, "/s/Site A.txt", SaveMode::Replace},
      {"/s/Site A.dat", false, std::nullopt, "/s/Site A.dat", SaveMode::Replace},
      {"/s/Site A", true, Answer::Yes, "/s/Site A.txt", SaveMode::Replace},
      {"/s/Site A", true, Answer::No, "/s/Site A.txt", SaveMode::Append},
      {"/s/Site A", true, Answer::Cancel, nullptr, SaveMode::Replace},
  };
  for (const auto& [chosen, there, answer, path, mode] : rows) {
    test::ScriptedPrompts prompts;
    if (answer) prompts.answers.push_back(*answer);
    const auto exists = [there = there](const std::string& file) { return there && file == "/s/Site A.txt"; };
    const auto target = settings::saveAsTarget(chosen, exists, prompts);
    const std::string row = std::string(chosen) + (there ? ", there" : "");
    EXPECT_EQ(prompts.texts(), answer ? std::vector<std::string>{"Do you want to overwrite the existing file? "}
                                      : std::vector<std::string>{})
        << row;
    EXPECT_EQ(target ? std::make_pair(target->path, target->mode) : std::make_pair(std::string(), SaveMode::Replace),
              std::make_pair(std::string(path ? path : ""), mode))
        << row;
  }
}

}  // namespace
}  // namespace tarvek
