#pragma once

#include <string>
#include <string_view>

// What the three editors share: how a typed key or a paste is judged, and how a box's
// text is read as a number.
namespace tarvek::entry {

// Character codes of the keys that reach a box as typed characters.
inline constexpr int kBackspace = 8;
inline constexpr int kEnter = 13;
inline constexpr int kEscape = 27;

inline constexpr const char* kDigitEntryMessage = "This digit entry must be 0 - 9";

// What happens to one typed key: the box is emptied first when `empty` is set, the
// message (if any) is shown and the box gets the focus back, and the box takes the key
// only when `take` is set.
struct KeyVerdict {
  bool take = true;
  bool empty = false;
  std::string message;

  bool operator==(const KeyVerdict&) const = default;
};

// What happens to a paste: refused with its message, or taken (after emptying the box
// when `empty` is set).
struct PasteVerdict {
  bool take = true;
  bool empty = false;
  std::string message;

  bool operator==(const PasteVerdict&) const = default;
};

bool isDigit(int code);
bool allDigits(std::string_view text);

// The number that the digits at the start of a text spell, after any leading blanks;
// 0 when there are none (an empty box counts as 0). Large values stop growing at a
// bound far above any limit the editors test.
long numericValue(std::string_view text);

// A digit box: Backspace and 0-9 pass; anything else is dropped with the message.
KeyVerdict digitKey(int code, bool emptyOnRefusal);

// Pasted text in a digit box is taken only when the box then holds digits alone and no
// more than `longest` of them.
PasteVerdict digitPaste(std::string_view resulting, std::size_t longest, const std::string& tooLongMessage);

// Inputs 1-8 run round: after 8 comes 1, before 1 comes 8.
int nextInput(int input);
int previousInput(int input);
// A current input number outside 1-8 is taken as 1.
int validInput(int input);

}  // namespace tarvek::entry
