#pragma once

#include <filesystem>
#include <functional>

namespace tarvek {

// The folders the program works in: `program` holds setup.txt, Saved/ and ports/ (the
// folder the Application is given); `help` holds the help texts.
struct ProgramFolders {
  std::filesystem::path program;
  std::filesystem::path help;

  bool operator==(const ProgramFolders&) const = default;
};

// The places the program may use, as main() finds them.
struct FolderCandidates {
  std::filesystem::path executable;     // the folder of the executable
  std::filesystem::path installedHelp;  // where an install puts the help texts
  std::filesystem::path user;           // the per-user folder; empty when there is none
};

// The per-user folder of an installed program: $XDG_DATA_HOME/tarvek-programmer, or
// $HOME/.local/share/tarvek-programmer when XDG_DATA_HOME is unset or not absolute (the
// XDG rule for a relative value). Empty when neither variable gives an absolute folder.
std::filesystem::path userProgramFolder(const char* xdgDataHome, const char* home);

// Chooses the folders. The executable's folder stays the program folder, as built in
// place, when it already holds setup.txt, or when it holds the help texts and the user
// may write there. Anything else is an installed program whose folder is not the user's
// to write (/usr/bin, or a read-only copy under /opt): its setup.txt, Saved/ and ports/
// go to the per-user folder. The help texts are read where they are: beside the
// executable, else in the install's data folder.
// `writable` says whether the user may create files in a folder.
ProgramFolders chooseProgramFolders(const FolderCandidates& candidates,
                                    const std::function<bool(const std::filesystem::path&)>& writable);

}  // namespace tarvek
