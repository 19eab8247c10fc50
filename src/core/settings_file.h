#pragma once

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/programming.h"

// The settings file: a fixed-column text report of the whole record that a person can
// read and the program can read back. Lines end with CR LF; text is 8-bit (ANSI).
namespace tarvek::settings {

inline constexpr int kFileLineCount = 191;
inline constexpr int kValueColumn = 36;  // 1-based column of every Global and Input value

inline constexpr const char* kGlobalHeading = "Global Settings";
inline constexpr const char* kInputsHeading = "Input Specifications";
inline constexpr const char* kNumbersHeading = "Phone Numbers";

// The pieces the file and the printed report share.
std::string heading(std::string_view title);                                // five blanks and the title
std::vector<std::string> globalLines(const GlobalSettings& global);         // nine lines, an empty one between each two
std::vector<std::string> inputBlock(const Programming& record, int input);  // 9 lines
std::vector<std::string> phoneBlock(const Programming& record, int input);  // 11 lines

// The 191 lines of one report. `savedText` is the date and time of saving as shown to
// the user; nothing reads it back.
std::vector<std::string> fileLines(const Programming& record, std::string_view reportName, std::string_view savedText);
// The lines joined, each ended with CR LF.
std::string fileText(const std::vector<std::string>& lines);

// The name printed in a report: the file name less a ".txt" extension (in any case);
// a name with another extension or none is kept whole.
std::string reportName(std::string_view path);

struct ReadResult {
  std::optional<Programming> record;  // set only when the whole first report was read
  std::string problem;                // why not, when it was not
};

// Reads the first report of a settings file into a fresh record. Takes CR LF and LF-only
// line ends. The first three lines are passed over; then each section is found by the
// first line that holds its heading ("Global" for the Global Settings), however indented;
// inside a section lines are counted, as the writer lays them out.
ReadResult read(std::istream& in);

}  // namespace tarvek::settings
