#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/entry_rules.h"

// The entry rules of the Input specifications editor: reading one input's six field
// lines into the screen's entries, the digit filter of its eight boxes, the checks of
// every step, and rebuilding the list.
namespace tarvek::entry {

enum class NormalState { Open, Closed, Disabled };

// The eight boxes, in the order the screen tabs through them.
enum class InputBox { QHours, QMinutes, QSeconds, RHours, RMinutes, RSeconds, RepeatCounter, LapCounter };
inline constexpr std::size_t kInputBoxCount = 8;

struct InputSpecEntries {
  NormalState normalState = NormalState::Open;
  bool momentary = true;
  std::array<std::string, kInputBoxCount> boxes;

  std::string& operator[](InputBox box) { return boxes[static_cast<std::size_t>(box)]; }
  const std::string& operator[](InputBox box) const { return boxes[static_cast<std::size_t>(box)]; }
  bool operator==(const InputSpecEntries&) const = default;
};

// A list brought by a hand-edited file may be short: the lines it lacks are taken from
// a new programming, so that every input can be shown and written. Lines past the
// 72nd are kept as they are.
std::vector<std::string> completeInputSpecs(std::vector<std::string> list);

// Input N's entries, read from its field lines by the record's parse rules.
InputSpecEntries inputSpecEntries(const std::vector<std::string>& list, int input);

// Backspace passes; anything but a digit is dropped with the message and empties the
// box; a digit typed into a box holding two characters starts it anew.
KeyVerdict inputSpecKey(std::string_view text, int code);
inline constexpr const char* kInputSpecTooLongMessage = "This entry cannot be more than 2 digits";

// The longest a timer runs: minutes and seconds up to 59, hours up to 18, and then no
// minutes or seconds.
inline constexpr long kMostMinutesOrSeconds = 59;
inline constexpr long kMostTimerHours = 18;
PasteVerdict inputSpecPaste(std::string_view resulting);

struct InputSpecFailure {
  InputBox focus;
  std::string message;

  bool operator==(const InputSpecFailure&) const = default;
};

// The checks of Next Input, Previous Input and Back, in order; the first failure wins.
// Before them, a box holding anything but digits (text that a hand-edited list brought)
// fails with the digit-entry message. The entries come back as the checks left them: the
// timer boxes reached so far with their leading zeros, and the boxes the failing check
// names emptied or reset.
std::optional<InputSpecFailure> checkInputSpecEntries(InputSpecEntries& entries);

// The working list with input N's six field lines written from the entries; every
// other line passes through unchanged.
std::vector<std::string> rebuildInputSpecs(const std::vector<std::string>& working, int input,
                                           const InputSpecEntries& entries);

}  // namespace tarvek::entry
