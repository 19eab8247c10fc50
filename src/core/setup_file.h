#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tarvek {

inline constexpr const char* kSetupFileName = "setup.txt";
inline constexpr const char* kSavedFolderName = "Saved";

// The port number a first line of setup.txt gives: its last character when the line
// is exactly 10 characters long ("CommPort=7"), else its last two; the value is the
// decimal number at their start (leading blanks skipped), 0 when there is none.
int portFromSetupLine(std::string_view line);

// Start-up: the port number from setup.txt in the program folder. When the file is
// missing or unreadable, or no regular file, the first-run branch appends "CommPort=1"
// (to a regular file only), creates the Saved folder (savedDir; empty: Saved in the
// program folder), and the port is 1. Never waits, never fails visibly.
int readPortAtStartUp(const std::filesystem::path& programDir, const std::filesystem::path& savedDir = {});

// Replaces setup.txt with the one line for this port; only a regular file (or a link to
// one) is written. On failure returns false and puts the reason into `error`.
bool writeSetup(const std::filesystem::path& programDir, int port, std::string& error);

}  // namespace tarvek
