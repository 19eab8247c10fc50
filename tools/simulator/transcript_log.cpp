#include "simulator/transcript_log.h"

#include <time.h>

#include <array>
#include <cstdio>
#include <stdexcept>

#include "simulator/byte_escape.h"

namespace tarvek::sim {

std::string transcriptLine(const TranscriptEntry& entry, std::chrono::system_clock::time_point wallTime) {
  using namespace std::chrono;
  const auto sinceEpoch = duration_cast<microseconds>(wallTime.time_since_epoch());
  const time_t seconds = static_cast<time_t>(duration_cast<std::chrono::seconds>(sinceEpoch).count());
  const auto micros = static_cast<long>(sinceEpoch.count() % 1'000'000);
  tm local{};
  ::localtime_r(&seconds, &local);
  std::array<char, 64> stamp{};
  const std::size_t length = std::strftime(stamp.data(), stamp.size(), "%Y-%m-%d %H:%M:%S", &local);
  std::array<char, 16> fraction{};
  std::snprintf(fraction.data(), fraction.size(), ".%06ld", micros);

  std::string line(stamp.data(), length);
  line += fraction.data();
  // Appended piece by piece: GCC 12 at -O3 warns falsely about "literal" + std::string.
  line += "  \"";
  line += escapeBytes(entry.received);
  line += "\" -> ";
  if (entry.answer) {
    line += '"';
    line += escapeBytes(*entry.answer);
    line += '"';
  } else {
    line += "(no answer)";
  }
  if (!entry.note.empty()) {
    line += "  # ";
    line += entry.note;
  }
  return line;
}

TranscriptLog::TranscriptLog(const std::filesystem::path& file) {
  if (file.empty()) return;
  m_out.open(file, std::ios::binary | std::ios::app);
  if (!m_out) throw std::runtime_error("cannot open the transcript " + file.string());
}

void TranscriptLog::append(const TranscriptEntry& entry) {
  if (!m_out.is_open()) return;
  // The entry's time is on the steady clock; the transcript shows the wall clock.
  const auto age = std::chrono::steady_clock::now() - entry.time;
  const auto wall =
      std::chrono::system_clock::now() - std::chrono::duration_cast<std::chrono::system_clock::duration>(age);
  m_out << transcriptLine(entry, wall) << '\n' << std::flush;
}

}  // namespace tarvek::sim
