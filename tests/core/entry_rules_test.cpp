#include "core/entry_rules.h"

#include <gtest/gtest.h>

namespace tarvek::entry {
namespace {

TEST(EntryRules, NumericValueReadsLeadingDigits) {
  const std::pair<const char*, long> cases[] = {{"", 0},   {"0", 0},  {"00", 0},  {"07", 7},  {"99", 99}, {" 12 ", 12},
                                                {"5x", 5}, {"x5", 0}, {"1 2", 1}, {"18", 18}, {"060", 60}};
  for (const auto& [text, value] : cases) EXPECT_EQ(numericValue(text), value) << text;
  EXPECT_GT(numericValue(std::string(40, '9')), 99);
}

TEST(EntryRules, InputsRunRound) {
  EXPECT_EQ(nextInput(1), 2);
  EXPECT_EQ(nextInput(7), 8);
  EXPECT_EQ(nextInput(8), 1);
  EXPECT_EQ(previousInput(1), 8);
  EXPECT_EQ(previousInput(8), 7);
  EXPECT_EQ(validInput(0), 1);
  EXPECT_EQ(validInput(9), 1);
  EXPECT_EQ(validInput(5), 5);
}

}  // namespace
}  // namespace tarvek::entry
