#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/programming.h"

// The whole record held against what the editors let the user enter and what the write
// commands carry as shown. Send refuses a record that fails; opening a file or reading a
// unit says which values fail, so that they can be corrected in the editors.
namespace tarvek::entry {

struct RecordProblem {
  std::string where;     // "Global", "Input 3" or "Input 3 number 5"
  std::string field;     // its caption on the Main screen or in the editor
  std::string value;     // as the record holds it
  bool missing = false;  // the record lacks this part altogether

  bool operator==(const RecordProblem&) const = default;
};

// Every problem, in the order of the Main screen. A record that lacks part of a list is
// reported by what it lacks alone: its values are not where every reader looks for them.
// `reducedFeatures`: the unit takes no pager marks, no Hookswitch Flash and numbers of at
// most 31 characters.
std::vector<RecordProblem> checkRecord(const Programming& record, bool reducedFeatures);

// The problems one to a line for a message, at most `mostLines` of them and the rest
// counted; each value quoted, a long one cut, control characters as "\xNN".
std::string problemList(const std::vector<RecordProblem>& problems, std::size_t mostLines = 10);

}  // namespace tarvek::entry
