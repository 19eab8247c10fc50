#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/entry_rules.h"
#include "core/programming.h"

// The entry rules of the Phone numbers editor: filling the eight rows of an input, the
// key filter and length limit of the number boxes, and rebuilding the list.
namespace tarvek::entry {

// What a box shows for a number that is not programmed (32 characters).
inline constexpr const char* kPlaceholder = "                  Not Programmed";
inline constexpr std::size_t kLongestNumber = 32;
inline constexpr const char* kPhoneEntryMessage = "Phone number entries must be 0 - 9, *, #, or comma";
inline constexpr const char* kPhoneLengthMessage = "The phone number cannot be longer than 32 digits";
inline constexpr const char* kClearNumbersQuestion =
    "Are you sure you want to clear all the phone numbers for this input?";

struct PhoneRow {
  std::string text;
  bool pager = false;

  bool operator==(const PhoneRow&) const = default;
};
using PhoneRows = std::array<PhoneRow, kNumbersPerInput>;

// A short list gets the lines it lacks from a new programming; see completeInputSpecs.
std::vector<std::string> completePhoneNumbers(std::vector<std::string> list);

// Input N's rows. Without pager marks on a reduced-feature unit every mark is cleared.
PhoneRows phoneRows(const std::vector<std::string>& list, int input, bool reducedFeatures);
PhoneRows clearedPhoneRows();

bool isPhoneCharacter(int code);  // 0-9, "*", "#", ","

// Backspace, "*", "#", "," and digits pass; anything else is dropped with the message.
// Every key, taken or dropped, first clears a placeholder in the box.
KeyVerdict phoneKey(std::string_view text, int code);
// Pasted text is taken when it holds phone characters only (a placeholder is cleared
// first); the length limit then applies as to any change.
PasteVerdict phonePaste(std::string_view text, std::string_view pasted);
// The text cut to 32 characters, when it is longer.
std::optional<std::string> cutToLongest(std::string_view text);

// The line of slot k for the row as left: leading blanks trimmed from a number, and an
// empty number or one containing "Not" written as not programmed.
std::string phoneLine(int slot, const PhoneRow& row);

// The working list with input N's eight phone lines written from the rows.
std::vector<std::string> rebuildPhoneNumbers(const std::vector<std::string>& working, int input, const PhoneRows& rows);

}  // namespace tarvek::entry
