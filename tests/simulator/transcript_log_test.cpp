#include "simulator/transcript_log.h"

#include <gtest/gtest.h>

#include <regex>

namespace tarvek::sim {
namespace {

using namespace std::string_literals;

TEST(TranscriptLine, ShowsTimeBytesAnswerAndNote) {
  // 2023-11-14 22:13:20.012345 UTC; the date and time are local, the fraction is not.
  const auto wall = std::chrono::system_clock::time_point(std::chrono::microseconds(1'700'000'000'012'345));
  const std::pair<TranscriptEntry, std::string> cases[] = {
      {{Instant{}, "HI", "OK", ""}, "\"HI\" -> \"OK\""},
      {{Instant{}, "I3R", "100203\x4a\x01\x10\x0e", ""}, "\"I3R\" -> \"100203J\\x01\\x10\\x0E\""},
      {{Instant{}, "HI", std::nullopt, "fault none:HI:1"}, "\"HI\" -> (no answer)  # fault none:HI:1"},
      {{Instant{}, "MR", "0\r"s, ""}, "\"MR\" -> \"0\\r\""},
  };
  for (const auto& [entry, shown] : cases) {
    const std::string line = transcriptLine(entry, wall);
    ASSERT_EQ(line.size(), 28 + shown.size()) << line;
    EXPECT_TRUE(std::regex_match(line.substr(0, 19), std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"))) << line;
    EXPECT_EQ(line.substr(19, 9), ".012345  ") << line;
    EXPECT_EQ(line.substr(28), shown);
  }
}

}  // namespace
}  // namespace tarvek::sim
