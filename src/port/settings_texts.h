#pragma once

#include <string>

namespace tarvek {

// What a saved settings file takes from the system, in its Windows-1252 text: the report
// name and the time of saving, as Save writes them.

// The report name of the file at `path`: its name less ".txt" (settings::reportName). File
// names are UTF-8; a character the code page cannot hold becomes "?".
std::string reportNameOf(const std::string& path);

// The date and time now in the user's usual short form. Nothing reads it back, so a
// character the code page cannot hold simply becomes a blank.
std::string savedTimeText();

}  // namespace tarvek
