#pragma once

#include <string>
#include <vector>

#include "core/programming.h"

// Two programmings compared as the unit would see them: they are equal when the write
// commands Send would build from them are equal, so forms that mean the same ("07" and
// "7", both "Not Programmed" forms, Aislecall's "N/A" fields) never differ.
namespace tarvek::comparison {

// The record layout the commands are built in: the unit's own (Short when its
// reduced-feature flag is set) when a unit is checked, Full between two files and on
// the screens. The short layout has no pager marks and no Hookswitch Flash.
enum class Layout { Full, Short };

// One field whose command bytes differ.
struct Difference {
  std::string where;  // "Global", "Input n" or "Input n number k"
  std::string field;  // the caption: "Security Code", "Lap Counter", "Phone Number", "Pager", ...
  std::string first;  // the display values as the records hold them; "Yes"/"No" for Pager
  std::string second;

  bool operator==(const Difference&) const = default;
};

struct Comparison {
  // Global first (in the Main screen's order), then the inputs, then the phone numbers.
  std::vector<Difference> differences;
  // Set when no commands can be built from one of the two (an incomplete record, or a
  // Function the unit has no code for); it names the first or the second programming,
  // and `differences` is then empty.
  std::string problem;
};

Comparison compare(const Programming& first, const Programming& second, Layout layout);

// One line: where, field, first value and second value, separated by tabs. Control
// characters and the backslash in a value are written as "\xNN", so a line never
// breaks and the columns always split at the tabs.
std::string describe(const Difference& difference);

}  // namespace tarvek::comparison
