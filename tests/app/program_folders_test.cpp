#include "app/program_folders.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/help_topics.h"
#include "support/temp_dir.h"

namespace tarvek {
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

void putHelpFiles(const fs::path& folder) {
  fs::create_directories(folder);
  for (const HelpTopic& topic : kHelpTopics) test::writeFile(folder / std::string(topic.file), "help\n");
}

// A temporary machine: a build's program folder, an install under a prefix, a home.
struct Layout {
  test::TempDir root;
  fs::path built = root / "build/program";
  fs::path installedBin = root / "usr/bin";
  fs::path installedHelp = root / "usr/share/tarvek-programmer";
  fs::path user = root / "home/.local/share/tarvek-programmer";

  Layout() {
    putHelpFiles(built);
    fs::create_directories(installedBin);
    putHelpFiles(installedHelp);
  }

  // As main() asks for them: the install's help folder seen from the executable's folder.
  FolderCandidates from(const fs::path& executable) const {
    return {executable, executable / "../share/tarvek-programmer", user};
  }
};

// Folders the user may write to; every other folder is read-only. (The tests run as
// root, who may write anywhere, so the permission is given rather than set with chmod.)
auto writableOnly(std::set<fs::path> folders) {
  return [folders = std::move(folders)](const fs::path& folder) { return folders.count(folder) > 0; };
}

TEST(ChooseProgramFolders, AWritableBuildFolderIsItself) {
  Layout layout;
  const ProgramFolders folders = chooseProgramFolders(layout.from(layout.built), writableOnly({layout.built}));
  EXPECT_EQ(folders, (ProgramFolders{layout.built, layout.built}));
}

TEST(ChooseProgramFolders, AReadOnlyInstallUsesThePerUserFolderAndItsDataFolderForHelp) {
  Layout layout;
  const ProgramFolders folders = chooseProgramFolders(layout.from(layout.installedBin), writableOnly({}));
  EXPECT_EQ(folders.program, layout.user);
  EXPECT_EQ(folders.help, layout.installedHelp);
  for (const HelpTopic& topic : kHelpTopics)
    EXPECT_TRUE(fs::is_regular_file(folders.help / std::string(topic.file))) << topic.file;
}

// Root, or an install into ~/.local: bin/ is writable but is no place for Saved/.
TEST(ChooseProgramFolders, AWritableInstallStillUsesThePerUserFolder) {
  Layout layout;
  const ProgramFolders folders =
      chooseProgramFolders(layout.from(layout.installedBin), writableOnly({layout.installedBin}));
  EXPECT_EQ(folders, (ProgramFolders{layout.user, layout.installedHelp}));
}

TEST(ChooseProgramFolders, AReadOnlyCopyWithItsHelpKeepsReadingHelpBesideIt) {
  Layout layout;
  const ProgramFolders folders = chooseProgramFolders(layout.from(layout.built), writableOnly({}));
  EXPECT_EQ(folders, (ProgramFolders{layout.user, layout.built}));
}

TEST(ChooseProgramFolders, AFolderHoldingSetupStaysTheProgramFolder) {
  Layout layout;
  test::writeFile(layout.built / "setup.txt", "CommPort=3\n");
  test::writeFile(layout.installedBin / "setup.txt", "CommPort=4\n");
  EXPECT_EQ(chooseProgramFolders(layout.from(layout.built), writableOnly({})),
            (ProgramFolders{layout.built, layout.built}));
  EXPECT_EQ(chooseProgramFolders(layout.from(layout.installedBin), writableOnly({})),
            (ProgramFolders{layout.installedBin, layout.installedHelp}));
}

TEST(ChooseProgramFolders, HelpBesideTheExecutableComesFirst) {
  Layout layout;
  putHelpFiles(layout.installedBin);
  EXPECT_EQ(chooseProgramFolders(layout.from(layout.installedBin), writableOnly({})),
            (ProgramFolders{layout.user, layout.installedBin}));
}

TEST(ChooseProgramFolders, WithoutAPerUserFolderTheExecutablesFolderServes) {
  Layout layout;
  FolderCandidates candidates = layout.from(layout.installedBin);
  candidates.user.clear();
  EXPECT_EQ(chooseProgramFolders(candidates, writableOnly({})),
            (ProgramFolders{layout.installedBin, layout.installedHelp}));
}

TEST(ChooseProgramFolders, NoHelpAnywhereLeavesTheHelpFolderBesideTheExecutable) {
  Layout layout;
  fs::remove_all(layout.installedHelp);
  EXPECT_EQ(chooseProgramFolders(layout.from(layout.installedBin), writableOnly({layout.installedBin})),
            (ProgramFolders{layout.user, layout.installedBin}));
}

}  // namespace
}  // namespace tarvek
