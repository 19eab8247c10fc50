#include "core/input_spec_rules.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/display_lines.h"
#include "core/programming.h"
#include "support/sample_records.h"

namespace tarvek::entry {
namespace {

using B = InputBox;

// The eight boxes, "|" between them: qualifier h m s, resume h m s, repeat and lap counters.
InputSpecEntries entriesOf(std::string_view boxes, NormalState state = NormalState::Open, bool momentary = true) {
  InputSpecEntries entries{state, momentary, {}};
  const auto texts = test::split(boxes, kInputBoxCount);
  std::copy(texts.begin(), texts.end(), entries.boxes.begin());
  return entries;
}

std::vector<std::string> withInput(int input, std::string_view values) {
  return test::edited({test::setInput(input, values)}).inputSpecs;
}

TEST(InputSpecRules, NumericValueReadsTheLeadingDigitsAndInputsRunRound) {
  const std::pair<const char*, long> values[] = {{"", 0}, {"00", 0}, {"07", 7}, {" 12 ", 12}, {"5x", 5}, {"x5", 0}};
  for (const auto& [text, value] : values) EXPECT_EQ(numericValue(text), value) << text;
  EXPECT_GT(numericValue(std::string(40, '9')), 99);  // stops growing instead of overflowing
  EXPECT_EQ((std::vector{nextInput(7), nextInput(8), previousInput(1), previousInput(8), validInput(0), validInput(9),
                         validInput(5)}),
            (std::vector{8, 1, 8, 7, 1, 1, 5}));
}

TEST(InputSpecRules, ReadsAnInputFromItsFieldLines) {
  const std::vector<std::string> defaults = newProgramming().inputSpecs;
  EXPECT_EQ(inputSpecEntries(defaults, 1), entriesOf("00|00|00|00|00|00|2|1"));
  const auto edited = withInput(8, "Normally Closed|Continuous|Hrs 01 Min 05 Sec 30|Hrs 18 Min 00 Sec 00|7|12");
  EXPECT_EQ(inputSpecEntries(edited, 8), entriesOf("01|05|30|18|00|00|7|12", NormalState::Closed, false));
  // Text the editor does not know reads as Disabled and Continuous.
  const auto odd = withInput(2, "Open|momentary|Hrs 01 Min 05 Sec 30|Hrs 18 Min 00 Sec 00|7|12");
  EXPECT_EQ(inputSpecEntries(odd, 2), entriesOf("01|05|30|18|00|00|7|12", NormalState::Disabled, false));

  // A short list is completed from a new programming and read and rebuilt within its length.
  EXPECT_EQ(completeInputSpecs({}), defaults);
  std::vector<std::string> shortList(defaults.begin(), defaults.begin() + 13);  // ends in input 2's Duration
  shortList[6] = "  Msg Rpt Count     9";
  const auto completed = completeInputSpecs(shortList);
  EXPECT_EQ(std::vector<std::string>(completed.begin(), completed.begin() + 13), shortList);
  EXPECT_EQ(std::vector<std::string>(completed.begin() + 13, completed.end()),
            std::vector<std::string>(defaults.begin() + 13, defaults.end()));
  EXPECT_EQ(inputSpecEntries(shortList, 2), entriesOf("|||||||"));
  EXPECT_EQ(rebuildInputSpecs(shortList, 2, entriesOf("|||||||")).size(), 13u);
  std::vector<std::string> longList = defaults;
  longList.push_back("extra");
  EXPECT_EQ(completeInputSpecs(longList), longList);
}

TEST(InputSpecRules, KeysAndPastes) {
  const KeyVerdict refused{false, true, "This digit entry must be 0 - 9"};
  const std::tuple<const char*, int, KeyVerdict> keys[] = {
      {"", '5', {}},          {"1", '2', {}},      {"12", '3', {true, true, ""}},  // a third digit starts anew
      {"12", kBackspace, {}}, {"1", 'a', refused}, {"12", kEnter, refused},
      {"", kEscape, refused}, {"", ' ', refused},
  };
  for (const auto& [text, code, verdict] : keys) EXPECT_EQ(inputSpecKey(text, code), verdict) << text << " + " << code;
  EXPECT_EQ(inputSpecPaste("12"), PasteVerdict{});
  EXPECT_EQ(inputSpecPaste("123"), (PasteVerdict{false, false, "This entry cannot be more than 2 digits"}));
  EXPECT_EQ(inputSpecPaste("1x"), (PasteVerdict{false, false, "This digit entry must be 0 - 9"}));
}

TEST(InputSpecRules, SixteenChecksInOrderWithTheirLeadingZeros) {
  // The boxes before, the box that fails with its message, the boxes after.
  const std::tuple<const char*, std::optional<InputBox>, const char*, const char*> rows[] = {
      {"00|00|00|00|00|00|2|1", {}, "", "00|00|00|00|00|00|2|1"},
      {"5|0|9|1|2|3|7|07", {}, "", "05|00|09|01|02|03|7|07"},
      {"00|00|00|00|00|00|0|1", B::RepeatCounter, "The Repeat Counter must be between 1 and 99",
       "00|00|00|00|00|00||1"},
      {"|||||||", B::RepeatCounter, "The Repeat Counter must be between 1 and 99", "|||||||"},
      {"00|00|00|00|00|00|2|0", B::LapCounter, "The Lap Counter must be between 1 and 99", "00|00|00|00|00|00|2|"},
      {"|00|00|00|00|00|2|1", B::QHours, "There is no entry for Qualifier Timer Hours", "|00|00|00|00|00|2|1"},
      {"5||9|1|00|00|2|1", B::QMinutes, "There is no entry for Qualifier Timer Minutes", "05||9|1|00|00|2|1"},
      {"00|00||00|00|00|2|1", B::QSeconds, "There is no entry for Qualifier Timer Seconds", "00|00||00|00|00|2|1"},
      {"00|00|00||00|00|2|1", B::RHours, "There is no entry for Resume Timer Hours", "00|00|00||00|00|2|1"},
      {"00|00|00|00||00|2|1", B::RMinutes, "There is no entry for Resume Timer Minutes", "00|00|00|00||00|2|1"},
      {"00|00|60|00|00||2|1", B::RSeconds, "There is no entry for Resume Timer Seconds", "00|00|60|00|00||2|1"},
      {"19|00|60|00|00|00|2|1", B::QSeconds, "Qualifier Timer seconds must be between 0 and 59", "19|00||00|00|00|2|1"},
      {"00|60|00|00|00|00|2|1", B::QMinutes, "Qualifier Timer minutes must be between 0 and 59", "00||00|00|00|00|2|1"},
      {"00|00|00|00|00|99|2|1", B::RSeconds, "Resume Timer seconds must be between 0 and 59", "00|00|00|00|00||2|1"},
      {"00|00|00|00|60|00|2|1", B::RMinutes, "Resume Timer minutes must be between 0 and 59", "00|00|00|00||00|2|1"},
      {"19|00|00|00|00|00|2|1", B::QHours, "The Qualifier Timer cannot be more than 18 hours", "|00|00|00|00|00|2|1"},
      {"18|00|00|18|00|00|2|1", {}, "", "18|00|00|18|00|00|2|1"},
      {"18|00|01|00|00|00|2|1", B::QMinutes, "The Qualifier Timer cannot be more than 18 hours",
       "18|00|00|00|00|00|2|1"},
      {"18|30|00|19|00|00|2|1", B::QMinutes, "The Qualifier Timer cannot be more than 18 hours",
       "18|00|00|19|00|00|2|1"},
      {"00|00|00|20|00|00|2|1", B::RHours, "The Resume Timer cannot be more than 18 hours", "00|00|00||00|00|2|1"},
      {"00|00|00|18|1|00|2|1", B::RMinutes, "The Resume Timer cannot be more than 18 hours", "00|00|00|18|00|00|2|1"},
      // Text that a hand-edited list brought is refused first, box by box in tab order.
      {"00|00|00|00|00|00|9\v|1", B::RepeatCounter, kDigitEntryMessage, "00|00|00|00|00|00||1"},
      {" 5|xx| 1|00|00|00|2|1", B::QHours, kDigitEntryMessage, "|xx| 1|00|00|00|2|1"},
      {"|xx| 1|00|00|00|2|1", B::QMinutes, kDigitEntryMessage, "|| 1|00|00|00|2|1"},
  };
  for (const auto& [before, focus, message, after] : rows) {
    InputSpecEntries entries = entriesOf(before);
    const auto failure = checkInputSpecEntries(entries);
    EXPECT_EQ(failure, focus ? std::optional(InputSpecFailure{*focus, message}) : std::nullopt) << before;
    EXPECT_EQ(entries, entriesOf(after)) << before;
  }
}

TEST(InputSpecRules, RebuildWritesOnlyTheShownInputsSixLines) {
  const std::vector<std::string> working = newProgramming().inputSpecs;
  const InputSpecEntries entries = entriesOf("05|04|03|18|00|00|7|12", NormalState::Disabled, false);
  const std::vector<std::string> rebuilt = rebuildInputSpecs(working, 3, entries);
  EXPECT_EQ(rebuilt, withInput(3, "Disabled|Continuous|Hrs 05 Min 04 Sec 03|Hrs 18 Min 00 Sec 00|7|12"));
  EXPECT_EQ(inputSpecEntries(rebuilt, 3), entries);
  EXPECT_EQ(rebuildInputSpecs(working, 1, entriesOf("00|00|00|00|00|00|2|1", NormalState::Closed))[2],
            "  Normal State      Normally Closed");
}

}  // namespace
}  // namespace tarvek::entry
