#pragma once

#include <filesystem>
#include <string_view>

namespace tarvek::sim {

// Writes a temporary file beside `file` and renames it over `file`, so that a reader
// sees the old content or the new, never half of it. Throws std::system_error.
void writeFileAtomically(const std::filesystem::path& file, std::string_view content);

// A hidden name beside `file` for a temporary file of this process.
std::filesystem::path temporaryBeside(const std::filesystem::path& file);

}  // namespace tarvek::sim
