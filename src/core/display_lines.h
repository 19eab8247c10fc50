#pragma once

#include <string>
#include <string_view>

#include "core/programming.h"

// The text forms of the display lines and the rules by which every reader takes
// values back out of them. Every writer and reader of the record goes through here.
namespace tarvek::lines {

enum class Field { NormalState, Duration, QualifierTimer, ResumeTimer, MsgRptCount, LapCounter };

inline constexpr int kValueColumn = 21;  // 1-based column where a field value starts

inline constexpr const char* kNormallyOpen = "Normally Open";
inline constexpr const char* kNormallyClosed = "Normally Closed";
inline constexpr const char* kMomentary = "Momentary";
inline constexpr const char* kContinuous = "Continuous";
inline constexpr const char* kNotProgrammed = "Not Programmed";

// "Input " and n.
std::string header(int input);

// Two blanks, the field's label, blanks up to column 21, the value.
std::string field(Field which, std::string_view value);
std::string_view fieldLabel(Field which);

// "Hrs HH Min MM Sec SS" from its parts as typed (normally two digits each).
std::string timer(std::string_view hours, std::string_view minutes, std::string_view seconds);
// The same from a count of seconds (hours may exceed 18 for counts the device holds).
std::string timerFromSeconds(unsigned seconds);

struct TimerParts {
  std::string hours;    // columns 25-26
  std::string minutes;  // columns 32-33
  std::string seconds;  // the last two characters
};
TimerParts timerParts(std::string_view line);

// The last two characters, or only the last when those two hold a blank.
std::string count(std::string_view line);

// Two-character counts and timer parts with a lost leading zero given back ("5" -> "05").
std::string withLeadingZero(std::string_view digits);

// A phone line as the number editor and the file reader write it: the not-programmed
// form (six blanks) when the text contains "Not", else the number with or without the
// pager mark.
std::string phone(int slot, std::string_view number, bool pager);
// The not-programmed form with a given gap: six blanks from most writers, seven from a
// read of the device, which also keeps a pager mark the device reported.
std::string notProgrammed(int slot, int blanks = 6, bool pager = false);

bool isNotProgrammed(std::string_view line);     // the line contains "Not"
bool hasPagerMark(std::string_view line);        // column 2 is "P"
std::string phoneNumber(std::string_view line);  // the line less its first seven characters

// Normal State and Duration as the editor reads a field line.
std::string normalStateValue(std::string_view line);  // "Normally Open" / "Normally Closed" / "Disabled"
std::string durationValue(std::string_view line);     // "Momentary" / "Continuous"

bool contains(std::string_view text, std::string_view part);
std::string lastChars(std::string_view text, std::size_t n);
std::string trimmed(std::string_view text);

// Indices into the lists (inputs 1-8, slots 1-8).
constexpr int inputBlockIndex(int input) { return kLinesPerInputBlock * (input - 1); }
constexpr int inputFieldIndex(int input) { return inputBlockIndex(input) + 2; }
constexpr int phoneBlockIndex(int input) { return kLinesPerPhoneBlock * (input - 1); }
constexpr int phoneLineIndex(int input, int slot) { return phoneBlockIndex(input) + 1 + slot; }

}  // namespace tarvek::lines
