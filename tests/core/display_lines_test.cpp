#include "core/display_lines.h"

#include <gtest/gtest.h>

#include "core/programming.h"

namespace tarvek {
namespace {

// New: the defaults of a fresh unit, in the display forms every reader parses.
TEST(DisplayLines, ANewProgrammingHasTheFreshUnitsLinesAtTheFixedIndices) {
  const Programming record = newProgramming();
  EXPECT_EQ(record.global,
            (GlobalSettings{"Alarm Dialer", "507231", "390618", "1", "6", "Normal", "Enabled", "N/A", "Disabled"}));
  ASSERT_EQ(record.inputSpecs.size(), 72u);
  ASSERT_EQ(record.phoneNumbers.size(), 88u);
  const std::vector<std::string> input1(record.inputSpecs.begin(), record.inputSpecs.begin() + 9);
  EXPECT_EQ(input1, (std::vector<std::string>{
                        "Input 1", "", "  Normal State      Normally Open", "  Duration          Momentary",
                        "  Qualifier Timer   Hrs 00 Min 00 Sec 00", "  Resume Timer      Hrs 00 Min 00 Sec 00",
                        "  Msg Rpt Count     2", "  Lap Counter       1", ""}));
  for (int input = 1; input <= 8; ++input) {
    EXPECT_EQ(record.inputSpecs[lines::inputBlockIndex(input)], "Input " + std::to_string(input));
    EXPECT_EQ(record.phoneNumbers[lines::phoneBlockIndex(input)], "Input " + std::to_string(input));
    for (int slot = 1; slot <= 8; ++slot)
      EXPECT_EQ(record.phoneNumbers[lines::phoneLineIndex(input, slot)],
                "   (" + std::to_string(slot) + ")      Not Programmed");
  }
  EXPECT_TRUE(isComplete(record));
}

TEST(DisplayLines, PhoneLinesAndTheReadersOfTheirColumns) {
  EXPECT_EQ(lines::phone(5, "*70,555", true), " P (5) *70,555");
  EXPECT_EQ(lines::phone(2, "Not Programmed", true), "   (2)      Not Programmed");
  EXPECT_EQ(lines::notProgrammed(4, 7, true), " P (4)       Not Programmed");
  EXPECT_EQ(lines::phoneNumber(" P (5) *70,555"), "*70,555");
  EXPECT_EQ(lines::phoneNumber("   (1)"), "");
  EXPECT_FALSE(lines::hasPagerMark("P"));
  // Short lines give what they hold.
  EXPECT_EQ(lines::timerParts("  Qualifier Timer   Hrs 1").hours, "1");
  EXPECT_EQ(lines::timerParts("  Qualifier Timer   Hrs 1").minutes, "");
  const std::pair<const char*, const char*> counts[] = {
      {"  Lap Counter       7", "7"}, {"  Lap Counter       07", "07"}, {"5", "5"}, {"", ""}};
  for (const auto& [line, value] : counts) EXPECT_EQ(lines::count(line), value) << '"' << line << '"';
}

}  // namespace
}  // namespace tarvek
