// The program's files: the settings file, its text read, written and printed, its storage on
// disk and what counts as a change since it was saved; where the files are kept; setup.txt.

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <map>
#include <sstream>

#include "core/document.h"
#include "core/program_folders.h"
#include "core/report.h"
#include "core/save_questions.h"
#include "core/settings_file.h"
#include "core/settings_storage.h"
#include "core/setup_file.h"
#include "support/sample_records.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace tarvek {

void PrintTo(const ProgramFolders& f, std::ostream* out) {
  *out << "{" << f.program << ", " << f.saved << ", " << f.help << ", " << f.earlierSaved << "}";
}

namespace report {
void PrintTo(const Line& line, std::ostream* out) {
  *out << '"' << line.text << '"' << (line.bold ? " bold" : "") << (line.newPage ? " new page" : "");
}
}  // namespace report

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

using report::Line;

TEST(Report, TheFilesBodyUnderABoldDatedTitleWithTwoForcedBreaks) {
  EXPECT_EQ(report::date(2024, 5, 7), "5/7/2024");
  // The file's lines below its title, its three headings bold, and a forced break and four
  // empty lines before input 6 of the inputs and input 4 of the numbers.
  const auto file = settings::fileLines(test::siteA(), "Site A", "now");
  std::vector<Line> expected(2);
  expected.push_back({std::string(35, ' ') + "Tarvek Programming Settings - 5/7/2024", true});
  for (std::size_t i = 3; i < file.size(); ++i) {
    if (i == 73 || i == 136) {
      expected.push_back({{}, false, true});
      expected.resize(expected.size() + 4);
    }
    expected.push_back({file[i], i == 5 || i == 26 || i == 101});
  }
  EXPECT_EQ(report::lines(test::siteA(), "5/7/2024"), expected);
}

TEST(Report, PagesBreakWhenForcedAndWhenFullAndNoneIsBlank) {
  const auto lines = report::lines(test::shopFloor(), "5/7/2024");
  const std::pair<int, std::vector<std::size_t>> rows[] = {
      // lines a page takes, the sizes of the pages
      // Room for everything: only the forced breaks. 28 + 5 x 9; 5 + 3 x 9 + 3 + 3 x 11; 5 + 5 x 11.
      {1000, {73, 68, 60}},
      // Pages shorter than the parts: each part overflows, then the next break starts afresh.
      {66, {66, 7, 66, 2, 60}},
      // The first part overflows by its last, empty line alone: no blank sheet for it.
      {72, {72, 68, 60}},
  };
  for (const auto& [linesPerPage, pageSizes] : rows) {
    std::vector<Line> printed;
    std::vector<std::size_t> sizes;
    for (const auto& page : report::paginate(lines, linesPerPage)) {
      sizes.push_back(page.size());
      printed.insert(printed.end(), page.begin(), page.end());
      for (std::size_t i = 1; i < page.size(); ++i) EXPECT_FALSE(page[i].newPage) << "a forced break inside a page";
    }
    EXPECT_EQ(sizes, pageSizes) << linesPerPage;
    // Every line is printed, but for an empty line spilt alone onto a page of its own.
    std::vector<Line> expected = lines;
    if (linesPerPage == 72) expected.erase(expected.begin() + 72);
    EXPECT_EQ(printed, expected) << linesPerPage;
  }

  const Line forced{{}, false, true};
  // Lines on pages of two, and the texts of the pages printed.
  const std::tuple<const char*, std::vector<Line>, std::vector<std::vector<std::string>>> blank[] = {
      {"a forced break on a fresh page", {{"a"}, {"b"}, forced, {"c"}}, {{"a", "b"}, {"", "c"}}},
      {"empty lines spilling before a break", {{"a"}, {"b"}, {}, {}, forced, {"c"}}, {{"a", "b"}, {"", "c"}}},
      {"empty lines spilling at the end", {{"a"}, {}, {}, {}, {}}, {{"a", ""}}},
      {"nothing at all", {}, {{}}},
  };
  for (const auto& [name, given, pages] : blank) {
    std::vector<std::vector<std::string>> texts;
    for (const auto& page : report::paginate(given, 2)) {
      texts.emplace_back();
      for (const auto& line : page) texts.back().push_back(line.text);
    }
    EXPECT_EQ(texts, pages) << name;
  }
}

// What counts as a change since the snapshot: the record only, never the state beside it.
TEST(Document, ChangedSinceTheSnapshot) {
  Programming edited = newProgramming();
  edited.global.ringDelay = "3";
  Document document;
  int redraws = 0;
  document.setObserver([&] { ++redraws; });
  EXPECT_FALSE(document.isChanged());
  document.setRecord(newProgramming());
  EXPECT_TRUE(document.isChanged()) << "new, not yet snapshot";
  document.setRecord(edited);
  document.snapshot();
  EXPECT_FALSE(document.isChanged()) << "the edit saved";
  document.setRecord(edited);
  document.setOnline();
  document.greyHookswitch();
  document.setFilePath("Site A.txt");
  EXPECT_FALSE(document.isChanged()) << "the same record again, online, greyed, a file";
  Programming readForm = edited;
  readForm.phoneNumbers[lines::phoneLineIndex(1, 1)] = lines::notProgrammed(1, 7);
  document.setRecord(readForm);
  EXPECT_FALSE(document.isChanged()) << "a read's form of the same value";
  document.setRecord(newProgramming());
  EXPECT_TRUE(document.isChanged()) << "back to the new programming";
  // Every new record and the greying, never the flag, the file or the snapshot.
  EXPECT_EQ(redraws, 6);
}

TEST(ProgramFolders, TheUserFolderIsUnderXdgDataHomeWhenAbsoluteElseUnderHome) {
  const std::tuple<const char*, const char*, const char*> rows[] = {
      // $XDG_DATA_HOME, $HOME, the folder
      {"/data/u", "/home/u", "/data/u/tarvek-programmer"},
      {nullptr, "/home/u", "/home/u/.local/share/tarvek-programmer"},
      {"relative/data", "/home/u", "/home/u/.local/share/tarvek-programmer"},
      {"/data/u", nullptr, "/data/u/tarvek-programmer"},
      {nullptr, nullptr, ""},
      {"", "home/u", ""},
  };
  for (const auto& [xdgDataHome, home, folder] : rows)
    EXPECT_EQ(userProgramFolder(xdgDataHome, home), fs::path(folder)) << folder;
}

// The executable's folder, unless installed (<prefix>/bin with the install's data) or not
// writable; then setup.txt goes to the per-user folder and the settings files to the
// documents folder.
TEST(ProgramFolders, TheExecutablesFolderUnlessInstalledOrReadOnly) {
  test::TempDir root;
  const fs::path built = root / "build/program", installedBin = root / "usr/bin",
                 installedData = root / "usr/share/tarvek-programmer", otherBin = root / "opt/bin",
                 user = root / "home/.local/share/tarvek-programmer", documents = root / "home/Documents";
  for (const fs::path& folder : {built, installedBin, installedData, otherBin}) fs::create_directories(folder);
  // As executableFolders() asks: the install's data folder seen from the executable's.
  const auto from = [&](const fs::path& executable) {
    return FolderCandidates{executable, executable / "../share/tarvek-programmer", user, documents};
  };
  const ProgramFolders userFolders{user, documents / "Tarvek", built, user / "Saved"};
  const ProgramFolders installed{user, documents / "Tarvek", installedData, user / "Saved"};
  // The executable's folder, whether it is writable (given, not set: the tests run as root,
  // who may write anywhere), the folders chosen.
  const std::tuple<const char*, fs::path, bool, ProgramFolders> rows[] = {
      {"a writable build folder", built, true, foldersIn(built)},
      {"a read-only folder", built, false, userFolders},
      {"installed", installedBin, false, installed},
      // Root, or an install into ~/.local: bin/ is writable but is no place for the files.
      {"installed, bin writable", installedBin, true, installed},
      {"a folder named bin without the install's data", otherBin, true, foldersIn(otherBin)},
  };
  for (const auto& [name, executable, writable, expected] : rows)
    EXPECT_EQ(chooseProgramFolders(from(executable), [w = writable](const fs::path&) { return w; }), expected) << name;
  // Without a per-user folder the executable's folder serves; without a documents folder
  // the settings files stay in the per-user Saved folder.
  FolderCandidates noHome = from(installedBin);
  noHome.user.clear();
  EXPECT_EQ(chooseProgramFolders(noHome, [](const fs::path&) { return false; }),
            (ProgramFolders{installedBin, installedBin / "Saved", installedData, {}}));
  FolderCandidates noDocuments = from(installedBin);
  noDocuments.documents.clear();
  EXPECT_EQ(chooseProgramFolders(noDocuments, [](const fs::path&) { return false; }),
            (ProgramFolders{user, user / "Saved", installedData, {}}));
}

// An earlier version kept the settings files of an installed program in the per-user Saved
// folder: they are moved once, and a file of the same name is never replaced.
TEST(ProgramFolders, EarlierSavedFilesMoveOnceWithoutReplacingAFile) {
  test::TempDir root;
  const fs::path from = root / "share/Saved";
  const fs::path to = root / "Documents/Tarvek";
  fs::create_directories(from);
  fs::create_directories(to);
  test::writeFile(from / "Site A.txt", "a");
  test::writeFile(from / "Site B.txt", "earlier b");
  test::writeFile(to / "Site B.txt", "b");
  EXPECT_EQ(moveEarlierSavedFiles(from, to),
            "The settings files in " + from.string() + " were moved to " + to.string() +
                ", where the program keeps them now.\n\nThese files stay in " + from.string() +
                " and were not moved to " + to.string() + ": Site B.txt (a file of that name is already there).");
  EXPECT_EQ(snapshot(to), "Site A.txt: a\nSite B.txt: b\n");
  EXPECT_EQ(snapshot(from), "Site B.txt: earlier b\n");
  // Once nothing is left the earlier folder goes, and nothing more is said.
  fs::remove(from / "Site B.txt");
  EXPECT_EQ(moveEarlierSavedFiles(from, to), "");
  EXPECT_FALSE(fs::exists(from));
  EXPECT_EQ(moveEarlierSavedFiles(from, to), "");
}

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
  const auto holding = [](std::string text) { return [=](const fs::path& f) { writeFile(f, text); }; };
  // What stands at setup.txt's place, the port, the folder after.
  const std::tuple<const char*, std::function<void(const fs::path&)>, int, std::string> rows[] = {
      {"missing: first run", [](const fs::path&) {}, 1, "Saved: folder\nsetup.txt: CommPort=1\n\n"},
      {"the first line only", holding("CommPort=12\nCommPort=3\n"), 12, "setup.txt: CommPort=12\nCommPort=3\n\n"},
      {"a Windows line end", holding("CommPort=12\r\n"), 12, "setup.txt: CommPort=12\r\n\n"},
      {"empty: first run, appending", holding(""), 1, "Saved: folder\nsetup.txt: CommPort=1\n\n"},
      {"garbage gives port 0", holding(garbage), 0, "setup.txt: " + garbage + "\n"},
      {"a first line longer than 4 KiB", holding(longLine), 12, "setup.txt: " + longLine + "\n"},
      {"a named pipe", [](const fs::path& f) { ::mkfifo(f.c_str(), 0600); }, 1,
       "Saved: folder\nsetup.txt: named pipe\n"},
  };
  for (const auto& [name, make, port, after] : rows) {
    test::TempDir dir;
    make(dir / "setup.txt");
    EXPECT_EQ(readPortAtStartUp(dir.path()), port) << name;
    EXPECT_EQ(snapshot(dir.path()), after) << name;
  }
}

TEST(SetupFile, ApplyReplacesTheFileWithOneLineOrSaysWhyNot) {
  test::TempDir dir;
  test::writeFile(dir / "setup.txt", "CommPort=12\nold\n");
  std::string error;
  ASSERT_TRUE(writeSetup(dir.path(), 3, error)) << error;
  EXPECT_EQ(test::readFile(dir / "setup.txt"), "CommPort=3\n");
  fs::remove(dir / "setup.txt");
  ASSERT_EQ(::mkfifo((dir / "setup.txt").c_str(), 0600), 0);
  EXPECT_FALSE(writeSetup(dir.path(), 3, error));
  EXPECT_EQ(error, "Is a named pipe, not a regular file");
  EXPECT_TRUE(fs::is_fifo(dir / "setup.txt"));
}

}  // namespace
}  // namespace tarvek
