#include "editors/input_spec_rules.h"

#include <gtest/gtest.h>

#include "record/display_lines.h"
#include "record/programming.h"

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

const InputSpecEntries kValid = entriesOf(NormalState::Open, true, {"00", "00", "00", "00", "00", "00", "2", "1"});

InputSpecEntries with(std::initializer_list<std::pair<InputBox, const char*>> changes,
                      InputSpecEntries entries = kValid) {
  for (const auto& [box, text] : changes) entries[box] = text;
  return entries;
}

struct CheckCase {
  const char* name;
  InputSpecEntries entries;
  std::optional<InputSpecFailure> failure;
  InputSpecEntries after;
};

TEST(InputSpecChecks, SixteenChecksInOrder) {
  const CheckCase cases[] = {
      {"valid", kValid, std::nullopt, kValid},
      {"repeat 0", with({{B::RepeatCounter, "0"}}),
       InputSpecFailure{B::RepeatCounter, "The Repeat Counter must be between 1 and 99"},
       with({{B::RepeatCounter, ""}})},
      {"repeat 00", with({{B::RepeatCounter, "00"}}),
       InputSpecFailure{B::RepeatCounter, "The Repeat Counter must be between 1 and 99"},
       with({{B::RepeatCounter, ""}})},
      {"repeat empty, lap empty", with({{B::RepeatCounter, ""}, {B::LapCounter, ""}}),
       InputSpecFailure{B::RepeatCounter, "The Repeat Counter must be between 1 and 99"},
       with({{B::RepeatCounter, ""}, {B::LapCounter, ""}})},
      {"lap 0", with({{B::LapCounter, "0"}}),
       InputSpecFailure{B::LapCounter, "The Lap Counter must be between 1 and 99"}, with({{B::LapCounter, ""}})},
      {"no qualifier hours", with({{B::QHours, ""}}),
       InputSpecFailure{B::QHours, "There is no entry for Qualifier Timer Hours"}, with({{B::QHours, ""}})},
      {"no qualifier minutes", with({{B::QMinutes, ""}}),
       InputSpecFailure{B::QMinutes, "There is no entry for Qualifier Timer Minutes"}, with({{B::QMinutes, ""}})},
      {"no qualifier seconds", with({{B::QSeconds, ""}}),
       InputSpecFailure{B::QSeconds, "There is no entry for Qualifier Timer Seconds"}, with({{B::QSeconds, ""}})},
      {"no resume hours", with({{B::RHours, ""}}),
       InputSpecFailure{B::RHours, "There is no entry for Resume Timer Hours"}, with({{B::RHours, ""}})},
      {"no resume minutes", with({{B::RMinutes, ""}}),
       InputSpecFailure{B::RMinutes, "There is no entry for Resume Timer Minutes"}, with({{B::RMinutes, ""}})},
      {"no resume seconds wins over 60 qualifier seconds", with({{B::RSeconds, ""}, {B::QSeconds, "60"}}),
       InputSpecFailure{B::RSeconds, "There is no entry for Resume Timer Seconds"},
       with({{B::RSeconds, ""}, {B::QSeconds, "60"}})},
      {"qualifier seconds wins over 19 hours", with({{B::QSeconds, "60"}, {B::QHours, "19"}}),
       InputSpecFailure{B::QSeconds, "Qualifier Timer seconds must be between 0 and 59"},
       with({{B::QSeconds, ""}, {B::QHours, "19"}})},
      {"qualifier minutes 60", with({{B::QMinutes, "60"}}),
       InputSpecFailure{B::QMinutes, "Qualifier Timer minutes must be between 0 and 59"}, with({{B::QMinutes, ""}})},
      {"resume seconds 99", with({{B::RSeconds, "99"}}),
       InputSpecFailure{B::RSeconds, "Resume Timer seconds must be between 0 and 59"}, with({{B::RSeconds, ""}})},
      {"resume minutes 60", with({{B::RMinutes, "60"}}),
       InputSpecFailure{B::RMinutes, "Resume Timer minutes must be between 0 and 59"}, with({{B::RMinutes, ""}})},
      {"qualifier 19 hours", with({{B::QHours, "19"}}),
       InputSpecFailure{B::QHours, "The Qualifier Timer cannot be more than 18 hours"}, with({{B::QHours, ""}})},
      {"qualifier 18:00:00", with({{B::QHours, "18"}}), std::nullopt, with({{B::QHours, "18"}})},
      {"qualifier 18:00:01", with({{B::QHours, "18"}, {B::QSeconds, "01"}}),
       InputSpecFailure{B::QMinutes, "The Qualifier Timer cannot be more than 18 hours"},
       with({{B::QHours, "18"}, {B::QMinutes, "00"}, {B::QSeconds, "00"}})},
      {"qualifier 18:30:00", with({{B::QHours, "18"}, {B::QMinutes, "30"}}),
       InputSpecFailure{B::QMinutes, "The Qualifier Timer cannot be more than 18 hours"},
       with({{B::QHours, "18"}, {B::QMinutes, "00"}, {B::QSeconds, "00"}})},
      {"resume 20 hours", with({{B::RHours, "20"}}),
       InputSpecFailure{B::RHours, "The Resume Timer cannot be more than 18 hours"}, with({{B::RHours, ""}})},
      {"resume 18:01:00", with({{B::RHours, "18"}, {B::RMinutes, "1"}}),
       InputSpecFailure{B::RMinutes, "The Resume Timer cannot be more than 18 hours"},
       with({{B::RHours, "18"}, {B::RMinutes, "00"}, {B::RSeconds, "00"}})},
      {"qualifier 18 hours wins over resume 19 hours", with({{B::QHours, "18"}, {B::QSeconds, "5"}, {B::RHours, "19"}}),
       InputSpecFailure{B::QMinutes, "The Qualifier Timer cannot be more than 18 hours"},
       with({{B::QHours, "18"}, {B::QMinutes, "00"}, {B::QSeconds, "00"}, {B::RHours, "19"}})},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    InputSpecEntries entries = c.entries;
    EXPECT_EQ(checkInputSpecEntries(entries), c.failure);
    EXPECT_EQ(entries, c.after);
  }
}

TEST(InputSpecChecks, LeadingZerosForTimersNotCounters) {
  InputSpecEntries entries = with({{B::QHours, "5"},
                                   {B::QMinutes, "0"},
                                   {B::QSeconds, "9"},
                                   {B::RHours, "1"},
                                   {B::RMinutes, "2"},
                                   {B::RSeconds, "3"},
                                   {B::RepeatCounter, "7"},
                                   {B::LapCounter, "07"}});
  EXPECT_EQ(checkInputSpecEntries(entries), std::nullopt);
  EXPECT_EQ(entries, with({{B::QHours, "05"},
                           {B::QMinutes, "00"},
                           {B::QSeconds, "09"},
                           {B::RHours, "01"},
                           {B::RMinutes, "02"},
                           {B::RSeconds, "03"},
                           {B::RepeatCounter, "7"},
                           {B::LapCounter, "07"}}));

  // Each timer box gets its zero just before its own test: boxes after a failing one stay.
  entries = with({{B::QHours, "5"}, {B::QMinutes, ""}, {B::QSeconds, "9"}, {B::RHours, "1"}});
  EXPECT_EQ(checkInputSpecEntries(entries)->focus, B::QMinutes);
  EXPECT_EQ(entries[B::QHours], "05");
  EXPECT_EQ(entries[B::QSeconds], "9");
  EXPECT_EQ(entries[B::RHours], "1");
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
      rebuildInputSpecs(working, 1, entriesOf(NormalState::Open, true, kValid.boxes)),
      rebuildInputSpecs(working, 1, entriesOf(NormalState::Closed, true, kValid.boxes)),
  };
  EXPECT_EQ(states[0][2], "  Normal State      Normally Open");
  EXPECT_EQ(states[1][2], "  Normal State      Normally Closed");
  EXPECT_EQ(states[0][3], "  Duration          Momentary");
}

}  // namespace
}  // namespace tarvek::entry
