// The transcript's line and the escapes it shares with the memory file and fault answers:
// the end-to-end tests only search a transcript for commands.

#include <gtest/gtest.h>

#include <regex>

#include "simulator/byte_escape.h"
#include "simulator/transcript_log.h"

namespace tarvek::sim {
namespace {

TEST(Transcript, BytesShowReadablyAndComeBack) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  EXPECT_EQ(unescapeBytes(escapeBytes(all)), all);
  EXPECT_EQ(escapeBytes("say \"OK\" \\ a\nb\tc\r"), "say \\\"OK\\\" \\\\ a\\nb\\tc\\r");
  EXPECT_EQ(unescapeBytes("\\x0d\\xff"), std::string("\r\xff"));
  for (const char* text : {"\\", "ok\\", "\\q", "\\x", "\\x4", "\\xZZ", "\\x4g"})
    EXPECT_EQ(unescapeBytes(text), std::nullopt) << text;
}

TEST(Transcript, ALineShowsTimeBytesAnswerAndNote) {
  // 2023-11-14 22:13:20.012345 UTC; the date and time are local, the fraction is not.
  const auto wall = std::chrono::system_clock::time_point(std::chrono::microseconds(1'700'000'000'012'345));
  const std::pair<TranscriptEntry, std::string> rows[] = {
      {{Instant{}, "HI", "OK", ""}, "\"HI\" -> \"OK\""},
      {{Instant{}, "I3R", "100203\x4a\x01\x10\x0e", ""}, "\"I3R\" -> \"100203J\\x01\\x10\\x0E\""},
      {{Instant{}, "HI", std::nullopt, "fault none:HI:1"}, "\"HI\" -> (no answer)  # fault none:HI:1"},
  };
  for (const auto& [entry, shown] : rows) {
    const std::string line = transcriptLine(entry, wall);
    EXPECT_TRUE(std::regex_match(line.substr(0, 19), std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"))) << line;
    EXPECT_EQ(line.substr(19), ".012345  " + shown);
  }
}

}  // namespace
}  // namespace tarvek::sim
