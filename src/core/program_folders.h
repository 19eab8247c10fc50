#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace tarvek {

// The folders the program works in, chosen at start and given to the Application.
struct ProgramFolders {
  std::filesystem::path program;  // setup.txt and ports/
  std::filesystem::path saved;    // the settings files: where Save As and Existing File start
  std::filesystem::path help;     // the help texts
  // The Saved folder an earlier version kept in `program`; its files are moved to `saved`
  // at start. Empty when `saved` is still that folder.
  std::filesystem::path earlierSaved;

  bool operator==(const ProgramFolders&) const = default;
};

// A program folder that holds everything, as a build or a copy of one does: setup.txt,
// ports/, Saved/ and the help texts.
ProgramFolders foldersIn(const std::filesystem::path& folder);

// The places the program may use, as executableFolders() finds them.
struct FolderCandidates {
  std::filesystem::path executable;     // the folder of the executable
  std::filesystem::path installedData;  // seen from there, where an install puts the help texts
  std::filesystem::path user;           // the per-user data folder; empty when there is none
  std::filesystem::path documents;      // the user's documents folder; empty when there is none
};

// The per-user folder of an installed program: $XDG_DATA_HOME/tarvek-programmer, or
// $HOME/.local/share/tarvek-programmer when XDG_DATA_HOME is unset or not absolute (the
// XDG rule for a relative value). Empty when neither variable gives an absolute folder.
std::filesystem::path userProgramFolder(const char* xdgDataHome, const char* home);

// Chooses the folders. The executable's folder is the program folder (foldersIn), unless
// the program is installed (its folder is <prefix>/bin and installedData,
// <prefix>/share/tarvek-programmer, exists) or the user may not write there. Then setup.txt
// and ports/ go to the per-user folder, and the settings files to Tarvek in the documents
// folder, where a technician finds them to copy or send. An installed program reads its help
// texts from installedData, any other from its own folder.
// `writable` says whether the user may create files in a folder.
ProgramFolders chooseProgramFolders(const FolderCandidates& candidates,
                                    const std::function<bool(const std::filesystem::path&)>& writable);

// Moves what the folder `from` holds into `to`, never replacing anything there: an entry
// whose name `to` already holds stays where it is. `from` goes once it is empty; a link in
// its place is left alone. Returns what to tell the user, naming both folders: empty when
// there was nothing to move.
std::string moveEarlierSavedFiles(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace tarvek
