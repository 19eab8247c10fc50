#pragma once

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "simulator/fault.h"
#include "simulator/layout.h"

namespace tarvek::sim {

// What tarvek-sim was asked to do on its command line.
struct Options {
  std::filesystem::path link;            // made a symbolic link to the pseudo-terminal
  std::filesystem::path memoryFile;      // the memory, loaded and written back
  std::filesystem::path transcriptFile;  // one line appended per command
  std::filesystem::path readyFile;       // holds the pseudo-terminal's path while it is served
  Layout layout = Layout::Full;
  int baud = 9600;  // 0: no line timing
  std::chrono::milliseconds idleGap{5};
  std::chrono::milliseconds replugDelay{1000};
  std::vector<Fault> faults;
  long parent = 0;  // the process whose end ends the simulator too; 0: none
  bool help = false;
};

class UsageError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// The arguments after the program name; "--name value" and "--name=value" both work.
// Throws UsageError.
Options parseOptions(const std::vector<std::string>& arguments);

std::string helpText();

}  // namespace tarvek::sim
