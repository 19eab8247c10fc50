#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "simulator/device.h"

namespace tarvek::sim {

// One line for a command: local wall time to the microsecond, the bytes received and
// the answer, both escaped and quoted, and what else happened, e.g.
//   2025-01-31 14:02:07.123456  "N1R0" -> "5551234                         0"
//   2025-01-31 14:02:09.456789  "HI" -> (no answer)  # fault none:HI:1
std::string transcriptLine(const TranscriptEntry& entry, std::chrono::system_clock::time_point wallTime);

// The transcript file, appended to and flushed line by line so that a test can read
// it while the simulator runs.
class TranscriptLog {
 public:
  // An empty path keeps no transcript. Throws std::runtime_error when the file cannot be opened.
  explicit TranscriptLog(const std::filesystem::path& file);

  void append(const TranscriptEntry& entry);

 private:
  std::ofstream m_out;
};

}  // namespace tarvek::sim
