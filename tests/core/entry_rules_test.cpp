#include "core/entry_rules.h"

#include <gtest/gtest.h>

namespace tarvek::entry {
namespace {

TEST(EntryRules, NumericValueReadsTheLeadingDigitsAndInputsRunRound) {
  const std::pair<const char*, long> values[] = {{"", 0}, {"00", 0}, {"07", 7}, {" 12 ", 12}, {"5x", 5}, {"x5", 0}};
  for (const auto& [text, value] : values) EXPECT_EQ(numericValue(text), value) << text;
  EXPECT_GT(numericValue(std::string(40, '9')), 99);  // stops growing instead of overflowing
  EXPECT_EQ(std::make_pair(nextInput(7), nextInput(8)), std::make_pair(8, 1));
  EXPECT_EQ(std::make_pair(previousInput(1), previousInput(8)), std::make_pair(8, 7));
  EXPECT_EQ(std::make_pair(validInput(0), validInput(9)), std::make_pair(1, 1));
  EXPECT_EQ(validInput(5), 5);
}

}  // namespace
}  // namespace tarvek::entry
