#include "app/program_folders.h"

#include <string>
#include <system_error>

#include "app/help_topics.h"
#include "app/setup_file.h"

namespace tarvek {

namespace fs = std::filesystem;

namespace {

bool isFile(const fs::path& file) {
  std::error_code ignored;
  return fs::is_regular_file(file, ignored);
}

// A folder holds the help texts when it holds the Main screen's, which every layout
// installs together with the others.
bool holdsHelp(const fs::path& folder) {
  return !folder.empty() && isFile(folder / std::string(findHelpTopic("Main")->file));
}

}  // namespace

fs::path userProgramFolder(const char* xdgDataHome, const char* home) {
  if (xdgDataHome && fs::path(xdgDataHome).is_absolute()) return fs::path(xdgDataHome) / "tarvek-programmer";
  if (home && fs::path(home).is_absolute()) return fs::path(home) / ".local" / "share" / "tarvek-programmer";
  return {};
}

ProgramFolders chooseProgramFolders(const FolderCandidates& candidates,
                                    const std::function<bool(const fs::path&)>& writable) {
  const fs::path& executable = candidates.executable;
  const bool helpBeside = holdsHelp(executable);

  ProgramFolders folders;
  folders.help =
      helpBeside || !holdsHelp(candidates.installedHelp) ? executable : candidates.installedHelp.lexically_normal();
  const bool keepsOwnFiles = isFile(executable / kSetupFileName) || (helpBeside && writable(executable));
  folders.program = keepsOwnFiles || candidates.user.empty() ? executable : candidates.user;
  return folders;
}

}  // namespace tarvek
