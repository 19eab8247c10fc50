// Where the program keeps its files, and setup.txt.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "core/program_folders.h"
#include "core/setup_file.h"
#include "support/temp_dir.h"

namespace tarvek {

void PrintTo(const ProgramFolders& f, std::ostream* out) {
  *out << "{" << f.program << ", " << f.saved << ", " << f.help << ", " << f.earlierSaved << "}";
}

namespace {

namespace fs = std::filesystem;

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
  EXPECT_EQ(test::readFile(to / "Site A.txt"), "a");
  EXPECT_EQ(test::readFile(to / "Site B.txt"), "b");
  EXPECT_EQ(test::readFile(from / "Site B.txt"), "earlier b");
  EXPECT_FALSE(fs::exists(from / "Site A.txt"));
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
  fs::remove(dir / "setup.txt");
  ASSERT_EQ(::mkfifo((dir / "setup.txt").c_str(), 0600), 0);
  EXPECT_FALSE(writeSetup(dir.path(), 3, error));
  EXPECT_EQ(error, "Is a named pipe, not a regular file");
  EXPECT_TRUE(fs::is_fifo(dir / "setup.txt"));
}

}  // namespace
}  // namespace tarvek
