#include "core/program_folders.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

#include "core/setup_file.h"

namespace tarvek {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDocumentsFolderName = "Tarvek";

// Moves one entry; on failure, the reason to show.
std::string moveEntry(const fs::path& entry, const fs::path& target) {
  std::error_code error;
  if (fs::exists(fs::symlink_status(target, error))) return "a file of that name is already there";
  fs::rename(entry, target, error);
  if (!error) return {};
  // Another file system: a settings file is copied, then removed.
  std::error_code ignored;
  if (error != std::errc::cross_device_link || !fs::is_regular_file(fs::symlink_status(entry, ignored)))
    return error.message();
  if (!fs::copy_file(entry, target, fs::copy_options::none, error)) return error.message();
  fs::remove(entry, error);
  return {};
}

std::string joined(const std::vector<std::string>& parts, const char* separator) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : separator) + part;
  return text;
}

}  // namespace

ProgramFolders foldersIn(const fs::path& folder) { return {folder, folder / kSavedFolderName, folder, {}}; }

fs::path userProgramFolder(const char* xdgDataHome, const char* home) {
  if (xdgDataHome && fs::path(xdgDataHome).is_absolute()) return fs::path(xdgDataHome) / "tarvek-programmer";
  if (home && fs::path(home).is_absolute()) return fs::path(home) / ".local" / "share" / "tarvek-programmer";
  return {};
}

ProgramFolders chooseProgramFolders(const FolderCandidates& candidates,
                                    const std::function<bool(const fs::path&)>& writable) {
  const fs::path& executable = candidates.executable;
  std::error_code ignored;
  const bool installed = executable.filename() == "bin" && fs::is_directory(candidates.installedData, ignored);

  ProgramFolders folders = foldersIn(executable);
  if (installed) folders.help = candidates.installedData.lexically_normal();
  if ((!installed && writable(executable)) || candidates.user.empty()) return folders;

  folders.program = candidates.user;
  const fs::path earlierSaved = candidates.user / kSavedFolderName;
  folders.saved = candidates.documents.empty() ? earlierSaved : candidates.documents / kDocumentsFolderName;
  if (folders.saved != earlierSaved) folders.earlierSaved = earlierSaved;
  return folders;
}

std::string moveEarlierSavedFiles(const fs::path& from, const fs::path& to) {
  std::error_code error;
  if (!fs::is_directory(fs::symlink_status(from, error))) return {};
  std::vector<std::string> names;
  for (fs::directory_iterator it(from, error), end; !error && it != end; it.increment(error))
    names.push_back(it->path().filename().string());
  if (error) return {};
  std::sort(names.begin(), names.end());

  if (!names.empty()) fs::create_directories(to, error);
  std::size_t moved = 0;
  std::vector<std::string> left;
  for (const std::string& name : names) {
    const std::string problem = error ? error.message() : moveEntry(from / name, to / name);
    if (problem.empty())
      ++moved;
    else
      left.push_back(name + " (" + problem + ")");
  }
  if (left.empty()) fs::remove(from, error);

  std::string text;
  if (moved > 0)
    text = "The settings files in " + from.string() + " were moved to " + to.string() +
           ", where the program keeps them now.";
  if (!left.empty())
    text += std::string(text.empty() ? "" : "\n\n") + "These files stay in " + from.string() +
            " and were not moved to " + to.string() + ": " + joined(left, "; ") + ".";
  return text;
}

}  // namespace tarvek
