#include "core/program_folders.h"

#include <gtest/gtest.h>

#include <string>

#include "core/help_topics.h"
#include "support/temp_dir.h"

namespace tarvek {

void PrintTo(const ProgramFolders& f, std::ostream* out) {
  *out << "{" << f.program << ", " << f.saved << ", " << f.help << ", " << f.earlierSaved << "}";
}

namespace {

namespace fs = std::filesystem;

TEST(UserProgramFolder, XdgDataHomeWhenAbsoluteElseTheHomeDefault) {
  EXPECT_EQ(userProgramFolder("/data/u", "/home/u"), fs::path("/data/u/tarvek-programmer"));
  EXPECT_EQ(userProgramFolder(nullptr, "/home/u"), fs::path("/home/u/.local/share/tarvek-programmer"));
  EXPECT_EQ(userProgramFolder("", "/home/u"), fs::path("/home/u/.local/share/tarvek-programmer"));
  EXPECT_EQ(userProgramFolder("relative/data", "/home/u"), fs::path("/home/u/.local/share/tarvek-programmer"));
  EXPECT_EQ(userProgramFolder("/data/u", nullptr), fs::path("/data/u/tarvek-programmer"));
  EXPECT_EQ(userProgramFolder(nullptr, nullptr), fs::path());
  EXPECT_EQ(userProgramFolder("", "home/u"), fs::path());
}

// A temporary machine: a build's program folder, a copy of it without the help texts, an
// install under a prefix, a folder named bin that is no install, a home.
struct Layout {
  test::TempDir root;
  fs::path built = root / "build/program";
  fs::path copy = root / "copy";
  fs::path installedBin = root / "usr/bin";
  fs::path installedData = root / "usr/share/tarvek-programmer";
  fs::path otherBin = root / "opt/bin";
  fs::path user = root / "home/.local/share/tarvek-programmer";
  fs::path documents = root / "home/Documents";

  Layout() {
    for (const fs::path& folder : {built, copy, installedBin, installedData, otherBin}) fs::create_directories(folder);
    for (const HelpTopic& topic : kHelpTopics) {
      test::writeFile(built / std::string(topic.file), "help\n");
      test::writeFile(installedData / std::string(topic.file), "help\n");
    }
  }

  // As executableFolders() asks for them: the install's help folder seen from the executable's folder.
  FolderCandidates from(const fs::path& executable) const {
    return {executable, executable / "../share/tarvek-programmer", user, documents};
  }
};

TEST(ChooseProgramFolders, TheExecutablesFolderUnlessInstalledOrReadOnly) {
  Layout l;
  const ProgramFolders userFolders{l.user, l.documents / "Tarvek", l.built, l.user / "Saved"};
  ProgramFolders installed = userFolders;
  installed.help = l.installedData;
  struct Case {
    const char* name;
    fs::path executable;
    bool writable;
    ProgramFolders expected;
  } cases[] = {
      {"a writable build folder", l.built, true, foldersIn(l.built)},
      {"a copy without the help texts", l.copy, true, foldersIn(l.copy)},
      {"a read-only folder", l.built, false, userFolders},
      {"installed", l.installedBin, false, installed},
      // Root, or an install into ~/.local: bin/ is writable but is no place for the files.
      {"installed, bin writable", l.installedBin, true, installed},
      {"a folder named bin without the install's data", l.otherBin, true, foldersIn(l.otherBin)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // (The tests run as root, who may write anywhere: the permission is given, not set.)
    EXPECT_EQ(chooseProgramFolders(l.from(c.executable), [&](const fs::path&) { return c.writable; }), c.expected);
  }

  // Without a per-user folder the executable's folder serves; without a documents folder
  // the settings files stay in the per-user Saved folder.
  FolderCandidates noHome = l.from(l.installedBin);
  noHome.user.clear();
  ProgramFolders inBin = foldersIn(l.installedBin);
  inBin.help = l.installedData;
  EXPECT_EQ(chooseProgramFolders(noHome, [](const fs::path&) { return false; }), inBin);
  FolderCandidates noDocuments = l.from(l.installedBin);
  noDocuments.documents.clear();
  EXPECT_EQ(chooseProgramFolders(noDocuments, [](const fs::path&) { return false; }),
            (ProgramFolders{l.user, l.user / "Saved", l.installedData, {}}));
}

// An earlier version kept the settings files of an installed program in the per-user Saved
// folder: they are moved once, and a file of the same name is never replaced.
TEST(MoveEarlierSavedFiles, MovesOnceWithoutReplacingAFile) {
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
  EXPECT_EQ(test::readFile(to / "Site A.txt"), "a");
}

}  // namespace
}  // namespace tarvek
