#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/regular_file.h"
#include "core/settings_file.h"

// Settings files on disk. A save never leaves a damaged file behind: the new content
// goes to a temporary file beside the target, which then takes the target's place.
namespace tarvek::settings {

enum class SaveMode {
  Replace,  // the file holds the new report alone
  Append,   // the new report follows whatever the file held; a missing file is created
};

// How much of a settings file is read: one report is about 6 KiB, and a file that saves
// have been added to for years still opens.
inline constexpr std::size_t kReadLimit = files::kMiB;

// Writes `text` into `file`, a regular file or a link to one. On failure returns false,
// leaves any old file as it was and puts the reason into `error`.
bool saveText(const std::filesystem::path& file, std::string_view text, SaveMode mode, std::string& error);

// Where saveText writes before the file is replaced: a hidden file in the same folder,
// whose name is never longer than a file name may be.
std::filesystem::path temporaryPathFor(const std::filesystem::path& file);

// Reads the first report from the first kReadLimit bytes of the settings file, a regular
// file or a link to one; `problem` says why it could not.
ReadResult load(const std::filesystem::path& file);

}  // namespace tarvek::settings
