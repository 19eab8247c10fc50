#include "core/input_spec_rules.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/display_lines.h"
#include "core/programming.h"

namespace tarvek::entry {
namespace {

using B = InputBox;

InputSpecEntries entriesOf(NormalState state, bool momentary, std::array<std::string, kInputBoxCount> boxes) {
  return {state, momentary, std::move(boxes)};
}

TEST(InputSpecReading, ShowsAnInputFromItsFieldLines) {
  std::vector<std::string> list = newProgramming().inputSpecs;
  EXPECT_EQ(inputSpecEntries(list, 1),
            entriesOf(NormalState::Open, true, {"00", "00", "00", "00", "00", "00", "2", "1"}));

  list[lines::inputFieldIndex(8) + 0] = "  Normal State      Normally Closed";
  list[lines::inputFieldIndex(8) + 1] = "  Duration          Continuous";
  list[lines::inputFieldIndex(8) + 2] = "  Qualifier Timer   Hrs 01 Min 05 Sec 30";
  list[lines::inputFieldIndex(8) + 3] = "  Resume Timer      Hrs 18 Min 00 Sec 00";
  list[lines::inputFieldIndex(8) + 4] = "  Msg Rpt Count     7";
  list[lines::inputFieldIndex(8) + 5] = "  Lap Counter       12";
  EXPECT_EQ(inputSpecEntries(list, 8),
            entriesOf(NormalState::Closed, false, {"01", "05", "30", "18", "00", "00", "7", "12"}));

  // Text the editor does not know reads as Disabled and Continuous.
  list[lines::inputFieldIndex(2) + 0] = "  Normal State      Open";
  list[lines::inputFieldIndex(2) + 1] = "  Duration          momentary";
  const InputSpecEntries odd = inputSpecEntries(list, 2);
  EXPECT_EQ(odd.normalState, NormalState::Disabled);
  EXPECT_FALSE(odd.momentary);
}

TEST(InputSpecReading, ShortListsAreCompletedAndNeverOverrun) {
  const std::vector<std::string> defaults = newProgramming().inputSpecs;
  EXPECT_EQ(completeInputSpecs({}), defaults);

  std::vector<std::string> shortList(defaults.begin(), defaults.begin() + 13);
  shortList[lines::inputFieldIndex(1) + 4] = "  Msg Rpt Count     9";
  const std::vector<std::string> completed = completeInputSpecs(shortList);
  ASSERT_EQ(completed.size(), 72u);
  EXPECT_EQ(completed[lines::inputFieldIndex(1) + 4], "  Msg Rpt Count     9");
  EXPECT_EQ(completed[63], "Input 8");

  std::vector<std::string> longList = defaults;
  longList.push_back("extra");
  EXPECT_EQ(completeInputSpecs(longList), longList);

  // Reading and rebuilding a list that stops inside a block stay within it.
  const InputSpecEntries fromShort = inputSpecEntries(shortList, 2);
  // The list ends after input 2's Duration line: its Normal State is read, its timers are empty.
  EXPECT_EQ(fromShort.normalState, NormalState::Open);
  EXPECT_EQ(fromShort[B::QHours], "");
  const std::vector<std::string> rebuilt = rebuildInputSpecs(shortList, 2, fromShort);
  EXPECT_EQ(rebuilt.size(), shortList.size());
  EXPECT_TRUE(inputSpecEntries({}, 5).boxes[0].empty());
}

TEST(InputSpecKeys, DigitFilterAndThirdDigitRestart) {
  struct Case {
    const char* text;
    int code;
    KeyVerdict verdict;
  };
  const KeyVerdict refused{false, true, "This digit entry must be 0 - 9"};
  const Case cases[] = {
      {"", '5', {}},           {"1", '2', {}},         {"12", '3', {true, true, ""}},
      {"12", kBackspace, {}},  {"1", kBackspace, {}},  {"1", 'a', refused},
      {"12", kEnter, refused}, {"", kEscape, refused}, {"", ' ', refused},
  };
  for (const Case& c : cases) EXPECT_EQ(inputSpecKey(c.text, c.code), c.verdict) << c.text << " + " << c.code;

  EXPECT_EQ(inputSpecPaste("12"), PasteVerdict{});
  EXPECT_EQ(inputSpecPaste("123"), (PasteVerdict{false, false, "This entry cannot be more than 2 digits"}));
  EXPECT_EQ(inputSpecPaste("1x"), (PasteVerdict{false, false, "This digit entry must be 0 - 9"}));
}

// The eight boxes written as one text, blank-separated, "-" for an empty box:
// qualifier h m s, resume h m s, repeat counter, lap counter.
InputSpecEntries boxes(const char* texts) {
  InputSpecEntries entries;
  std::istringstream words(texts);
  for (std::string& box : entries.boxes) {
    words >> box;
    if (box == "-") box.clear();
  }
  return entries;
}

struct CheckRow {
  const char* before;
  std::optional<InputBox> focus;
  const char* message;
  const char* after;
};

TEST(InputSpecChecks, SixteenChecksInOrderWithTheirLeadingZeros) {
  const CheckRow rows[] = {
      {"00 00 00 00 00 00 2 1", {}, "", "00 00 00 00 00 00 2 1"},
      {"5 0 9 1 2 3 7 07", {}, "", "05 00 09 01 02 03 7 07"},
      {"00 00 00 00 00 00 0 1", B::RepeatCounter, "The Repeat Counter must be between 1 and 99",
       "00 00 00 00 00 00 - 1"},
      {"00 00 00 00 00 00 00 1", B::RepeatCounter, "The Repeat Counter must be between 1 and 99",
       "00 00 00 00 00 00 - 1"},
      {"- - - - - - - -", B::RepeatCounter, "The Repeat Counter must be between 1 and 99", "- - - - - - - -"},
      {"00 00 00 00 00 00 2 0", B::LapCounter, "The Lap Counter must be between 1 and 99", "00 00 00 00 00 00 2 -"},
      {"- 00 00 00 00 00 2 1", B::QHours, "There is no entry for Qualifier Timer Hours", "- 00 00 00 00 00 2 1"},
      {"5 - 9 1 00 00 2 1", B::QMinutes, "There is no entry for Qualifier Timer Minutes", "05 - 9 1 00 00 2 1"},
      {"00 00 - 00 00 00 2 1", B::QSeconds, "There is no entry for Qualifier Timer Seconds", "00 00 - 00 00 00 2 1"},
      {"00 00 00 - 00 00 2 1", B::RHours, "There is no entry for Resume Timer Hours", "00 00 00 - 00 00 2 1"},
      {"00 00 00 00 - 00 2 1", B::RMinutes, "There is no entry for Resume Timer Minutes", "00 00 00 00 - 00 2 1"},
      {"00 00 60 00 00 - 2 1", B::RSeconds, "There is no entry for Resume Timer Seconds", "00 00 60 00 00 - 2 1"},
      {"19 00 60 00 00 00 2 1", B::QSeconds, "Qualifier Timer seconds must be between 0 and 59",
       "19 00 - 00 00 00 2 1"},
      {"00 60 00 00 00 00 2 1", B::QMinutes, "Qualifier Timer minutes must be between 0 and 59",
       "00 - 00 00 00 00 2 1"},
      {"00 00 00 00 00 99 2 1", B::RSeconds, "Resume Timer seconds must be between 0 and 59", "00 00 00 00 00 - 2 1"},
      {"00 00 00 00 60 00 2 1", B::RMinutes, "Resume Timer minutes must be between 0 and 59", "00 00 00 00 - 00 2 1"},
      {"19 00 00 00 00 00 2 1", B::QHours, "The Qualifier Timer cannot be more than 18 hours", "- 00 00 00 00 00 2 1"},
      {"18 00 00 00 00 00 2 1", {}, "", "18 00 00 00 00 00 2 1"},
      {"18 00 01 00 00 00 2 1", B::QMinutes, "The Qualifier Timer cannot be more than 18 hours",
       "18 00 00 00 00 00 2 1"},
      {"18 30 00 19 00 00 2 1", B::QMinutes, "The Qualifier Timer cannot be more than 18 hours",
       "18 00 00 19 00 00 2 1"},
      {"00 00 00 20 00 00 2 1", B::RHours, "The Resume Timer cannot be more than 18 hours", "00 00 00 - 00 00 2 1"},
      {"00 00 00 18 1 00 2 1", B::RMinutes, "The Resume Timer cannot be more than 18 hours", "00 00 00 18 00 00 2 1"},
      {"00 00 00 18 00 00 2 1", {}, "", "00 00 00 18 00 00 2 1"},
  };
  for (const CheckRow& row : rows) {
    SCOPED_TRACE(row.before);
    InputSpecEntries entries = boxes(row.before);
    const auto failure = checkInputSpecEntries(entries);
    if (row.focus)
      EXPECT_EQ(failure, (InputSpecFailure{*row.focus, row.message}));
    else
      EXPECT_EQ(failure, std::nullopt);
    EXPECT_EQ(entries, boxes(row.after));
  }
}

// A hand-edited list can put text other than digits into the boxes; a step must not
// write it into the record, where Send would carry it to the unit.
TEST(InputSpecChecks, TextOtherThanDigitsFromTheListIsRefusedFirst) {
  std::vector<std::string> list = newProgramming().inputSpecs;
  list[lines::inputFieldIndex(1) + 4] = std::string("9\x0B");
  list[lines::inputFieldIndex(2) + 2] = "  Qualifier Timer   Hrs  5 Min xx Sec 1";

  InputSpecEntries first = inputSpecEntries(list, 1);
  ASSERT_EQ(first[B::RepeatCounter], "9\x0B");
  EXPECT_EQ(checkInputSpecEntries(first), (InputSpecFailure{B::RepeatCounter, kDigitEntryMessage}));
  EXPECT_EQ(first[B::RepeatCounter], "");

  // Each such box is refused in tab order before any other check runs; a box emptied
  // this way then fails as an empty one.
  InputSpecEntries second = inputSpecEntries(list, 2);
  ASSERT_EQ(second[B::QHours], " 5");
  ASSERT_EQ(second[B::QMinutes], "xx");
  ASSERT_EQ(second[B::QSeconds], " 1");
  for (const InputBox box : {B::QHours, B::QMinutes, B::QSeconds}) {
    EXPECT_EQ(checkInputSpecEntries(second), (InputSpecFailure{box, kDigitEntryMessage}));
    EXPECT_EQ(second[box], "");
  }
  EXPECT_EQ(checkInputSpecEntries(second),
            (InputSpecFailure{B::QHours, "There is no entry for Qualifier Timer Hours"}));
  second[B::QHours] = "5";
  second[B::QMinutes] = "30";
  second[B::QSeconds] = "1";
  EXPECT_EQ(checkInputSpecEntries(second), std::nullopt);
  EXPECT_EQ(rebuildInputSpecs(list, 2, second)[lines::inputFieldIndex(2) + 2],
            "  Qualifier Timer   Hrs 05 Min 30 Sec 01");
}

TEST(InputSpecRebuild, WritesOnlyTheShownInputsSixLines) {
  const std::vector<std::string> working = newProgramming().inputSpecs;
  const InputSpecEntries entries =
      entriesOf(NormalState::Disabled, false, {"05", "04", "03", "18", "00", "00", "7", "12"});
  const std::vector<std::string> rebuilt = rebuildInputSpecs(working, 3, entries);
  ASSERT_EQ(rebuilt.size(), working.size());
  const int first = lines::inputFieldIndex(3);
  const std::vector<std::string> expected = {
      "  Normal State      Disabled",
      "  Duration          Continuous",
      "  Qualifier Timer   Hrs 05 Min 04 Sec 03",
      "  Resume Timer      Hrs 18 Min 00 Sec 00",
      "  Msg Rpt Count     7",
      "  Lap Counter       12",
  };
  for (int i = 0; i < static_cast<int>(rebuilt.size()); ++i) {
    if (i >= first && i < first + 6)
      EXPECT_EQ(rebuilt[i], expected[i - first]);
    else
      EXPECT_EQ(rebuilt[i], working[i]) << i;
  }
  EXPECT_EQ(rebuilt[first + 2].size(), 40u);
  EXPECT_EQ(inputSpecEntries(rebuilt, 3), entries);

  const std::vector<std::string> states[] = {
      rebuildInputSpecs(working, 1, boxes("00 00 00 00 00 00 2 1")),
      rebuildInputSpecs(working, 1, entriesOf(NormalState::Closed, true, boxes("00 00 00 00 00 00 2 1").boxes)),
  };
  EXPECT_EQ(states[0][2], "  Normal State      Normally Open");
  EXPECT_EQ(states[1][2], "  Normal State      Normally Closed");
  EXPECT_EQ(states[0][3], "  Duration          Momentary");
}

}  // namespace
}  // namespace tarvek::entry
