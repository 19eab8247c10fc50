#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "simulator/memory.h"

namespace tarvek::sim {

// The memory as a text a person can read and edit:
//
//   function 0
//   security-code 507231
//   ...
//   input 3 normal-state 1 duration 0 msg-rpt-count 02 lap-counter 01 qualifier-timer 330 resume-timer 0
//   number 2 3 pager 1 "9555"
//
// One line per Global field, per input record and per phone record (input 1 to 8,
// slot 0 to 7); timers in seconds. Values are the characters the unit keeps, written
// in double quotes with \-escapes when they hold anything but plain printable
// characters. Lines starting with '#' are comments. A line left out keeps the factory
// value, so a test can write just the records it cares about.
std::string formatMemory(const Memory& memory);

class MemoryFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws MemoryFormatError naming the line and what is wrong with it.
Memory parseMemory(std::string_view text);

}  // namespace tarvek::sim
