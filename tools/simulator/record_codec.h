#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "simulator/layout.h"
#include "simulator/memory.h"

namespace tarvek::sim {

// The records the unit answers with, and the write commands it takes, byte for byte.

// Answer to "MR": 20 characters in both layouts (the short one ends with a carriage return).
std::string globalAnswer(const GlobalRecord& record, Layout layout);
// Answer to "I" n "R": 10 characters, the timers as 2 binary bytes, low byte first.
std::string inputAnswer(const InputRecord& record);
// Answer to "N" n "R" k: the number space-padded to 32 and the pager flag "1"/"0";
// short layout: padded to 31 and a carriage return.
std::string numberAnswer(const PhoneRecord& record, Layout layout);
// Two bytes, low byte first.
std::string timerBytes(std::uint16_t seconds);

// Six decimal digits hhmmss, the way write commands carry timers, as seconds; nullopt
// unless six digits, minutes and seconds below 60 and the whole within 16 bits.
std::optional<std::uint16_t> secondsFromTimerDigits(std::string_view digits);

struct InputWrite {
  int input = 0;
  InputRecord record;
};

struct NumberWrite {
  int input = 0;
  int slot = 0;
  std::string number;
  std::optional<bool> pager;  // nullopt in the short layout, which carries no pager flag
};

// A whole write command checked field by field; nullopt when any field is malformed.
// The Hookswitch Flash, which the short layout does not carry, keeps the value in `kept`.
std::optional<GlobalRecord> parseGlobalWrite(std::string_view command, Layout layout, const GlobalRecord& kept);
std::optional<InputWrite> parseInputWrite(std::string_view command);
std::optional<NumberWrite> parseNumberWrite(std::string_view command, Layout layout);

// The input number of "I" n "R" / the input and slot of "N" n "R" k; nullopt when out of range.
std::optional<int> parseInputRead(std::string_view command);
std::optional<std::pair<int, int>> parseNumberRead(std::string_view command);

// Characters a dialling string may hold.
bool isDialString(std::string_view number);

}  // namespace tarvek::sim
