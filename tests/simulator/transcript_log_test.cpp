#include "simulator/transcript_log.h"

#include <gtest/gtest.h>

#include <regex>

#include "support/temp_dir.h"

namespace tarvek::sim {
namespace {

using namespace std::string_literals;

const std::regex kStamp(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{6}  )");

std::string afterStamp(const std::string& line) {
  std::smatch match;
  if (!std::regex_search(line, match, kStamp)) return "no time stamp in: " + line;
  return match.suffix();
}

TEST(TranscriptLine, ShowsTimeBytesAnswerAndNote) {
  const auto wall = std::chrono::system_clock::now();
  EXPECT_EQ(afterStamp(transcriptLine({Instant{}, "HI", "OK", ""}, wall)), "\"HI\" -> \"OK\"");
  EXPECT_EQ(afterStamp(transcriptLine({Instant{}, "I3R", "100203\x4a\x01\x10\x0e", ""}, wall)),
            "\"I3R\" -> \"100203J\\x01\\x10\\x0E\"");
  EXPECT_EQ(afterStamp(transcriptLine({Instant{}, "HI", std::nullopt, "fault none:HI:1"}, wall)),
            "\"HI\" -> (no answer)  # fault none:HI:1");
  EXPECT_EQ(afterStamp(transcriptLine({Instant{}, "MR", "0\r"s, ""}, wall)), "\"MR\" -> \"0\\r\"");
}

TEST(TranscriptLine, TheFractionIsTheMicrosecond) {
  const auto wall = std::chrono::system_clock::time_point(std::chrono::microseconds(1'700'000'000'012'345));
  const std::string line = transcriptLine({Instant{}, "HI", "OK", ""}, wall);
  EXPECT_NE(line.find(".012345  "), std::string::npos) << line;
}

TEST(TranscriptLog, AppendsOneLinePerEntry) {
  test::TempDir dir;
  test::writeFile(dir / "t.log", "earlier\n");
  {
    TranscriptLog log(dir / "t.log");
    log.append({std::chrono::steady_clock::now(), "HI", "OK", ""});
    log.append({std::chrono::steady_clock::now(), "BY", "OK", ""});
  }
  const std::string text = test::readFile(dir / "t.log");
  ASSERT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << text;
  EXPECT_EQ(text.rfind("earlier\n", 0), 0u);
  EXPECT_NE(text.find("\"BY\" -> \"OK\"\n"), std::string::npos);
}

TEST(TranscriptLog, NoPathKeepsNoTranscriptAndABadPathIsAnError) {
  TranscriptLog none{std::filesystem::path()};
  none.append({std::chrono::steady_clock::now(), "HI", "OK", ""});
  test::TempDir dir;
  EXPECT_THROW(TranscriptLog(dir / "missing" / "t.log"), std::runtime_error);
}

}  // namespace
}  // namespace tarvek::sim
