#pragma once

namespace tarvek::cli {

// What tarvek-cli tells the shell, documented in its help and manual page.
enum class ExitStatus {
  Done = 0,         // done, and equal where compared
  Differences = 1,  // the programmings compared differ
  BadUsage = 2,     // bad usage or a bad file; the unit was not written
  UnitFailed = 3,   // the unit or the port failed, a read that stopped part way included
  Declined = 4,     // the overwrite question was answered No
};

inline int code(ExitStatus status) { return static_cast<int>(status); }

}  // namespace tarvek::cli
