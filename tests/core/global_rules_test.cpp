#include "core/global_rules.h"

#include <gtest/gtest.h>

#include "support/sample_records.h"

namespace tarvek::entry {
namespace {

using test::globalOf;
using B = GlobalBox;
constexpr auto AD = FunctionMode::AlarmDialer;
constexpr auto NB = FunctionMode::AlarmDialerNoBeeps;
constexpr auto AC = FunctionMode::Aislecall;

TEST(GlobalRules, FillsTheEditorFromTheRecordAndLocksWhatTheModeCannotUse) {
  const struct {
    const char* settings;
    bool reduced;
    GlobalEntries entries;
    GlobalReach reach;
  } rows[] = {
      {"Alarm Dialer|507231|390618|1|6|Normal|Enabled|N/A|Disabled",
       false,
       {AD, "507231", "390618", "1", "6", false, false, true, "00"},
       {true, true, true, false}},
      {"Aislecall|123456|N/A|3|N/A|N/A|N/A|N/A|N/A",
       false,
       {AC, "123456", "390618", "3", "6", false, false, true, "00"},
       {false, false, false, false}},
      {"Alarm Dialer (No Beeps)|111111|222222|0|12|Fast|Disabled|07|Enabled",
       false,
       {NB, "111111", "222222", "0", "12", true, true, false, "07"},
       {true, true, true, true}},
      // Texts it does not know choose the other option.
      {"Dialer|111111|222222|0|12|Slow|N/A|5|On",
       false,
       {NB, "111111", "222222", "0", "12", true, true, false, "5"},
       {}},
      // A unit without Hookswitch Flash keeps it off and out of reach.
      {"Alarm Dialer|507231|390618|1|6|Normal|Enabled|N/A|Enabled",
       true,
       {AD, "507231", "390618", "1", "6", false, false, true, "00"},
       {true, false, true, false}},
  };
  for (const auto& row : rows) {
    const GlobalEntries entries = globalEntries(globalOf(row.settings), row.reduced);
    EXPECT_EQ(entries, row.entries) << row.settings;
    EXPECT_EQ(globalReach(entries, row.reduced), row.reach) << row.settings;
  }
}

TEST(GlobalRules, TheOptionsResetWhatDependsOnThem) {
  const GlobalEntries entries{AD, "507231", "", "1", "", true, true, false, "09"};
  for (const FunctionMode mode : {AD, NB}) {  // Hookswitch Flash goes off; the texts stay
    EXPECT_EQ(withFunction(entries, mode), (GlobalEntries{mode, "507231", "", "1", "", true, false, false, "09"}));
  }
  const GlobalEntries aislecall = withFunction(entries, AC);
  EXPECT_EQ(aislecall, (GlobalEntries{AC, "507231", "", "1", "", true, true, true, "00"}));
  EXPECT_EQ(globalReach(withFunction(aislecall, AD), false), (GlobalReach{true, true, true, false}));
  EXPECT_EQ(withCallProgress(withCallProgress(entries, true), false).forcedPlayTimer, "00");
  EXPECT_EQ(withCallProgress(entries, false).forcedPlayTimer, "09");
  EXPECT_TRUE(globalReach(withCallProgress(entries, false), false).forcedPlayTimer);
}

TEST(GlobalRules, BoxesTakeDigitsUpToTheirLength) {
  const char* const digitsOnly = "This digit entry must be 0 - 9";
  const struct {
    GlobalBox box;
    std::string longest;
    const char* message;
  } rows[] = {
      {B::SecurityCode, "123456", "The Security Code cannot be more than 6 digits"},
      {B::AccessCode, "123456", "The Access Code cannot be more than 6 digits"},
      {B::RingDelay, "1", "The Ring Delay cannot be more than 1 digit"},
      {B::RingbackLimit, "12", "The Ringback Limit cannot be more than 2 digits"},
      {B::ForcedPlayTimer, "12", "The Forced Play Timer cannot be more than 2 digits"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    for (const int code : {int('0'), int('9'), kBackspace}) EXPECT_EQ(globalKey(row.box, code), KeyVerdict{}) << code;
    // Only the Ring Delay box is emptied by a refused key.
    for (const int code : {int('a'), int('/'), int(':'), int(' '), kEnter, kEscape, 0xE9})
      EXPECT_EQ(globalKey(row.box, code), (KeyVerdict{false, row.box == B::RingDelay, digitsOnly})) << code;
    EXPECT_FALSE(tooLong(row.box, row.longest));
    EXPECT_TRUE(tooLong(row.box, row.longest + "7"));
    EXPECT_EQ(lengthMessage(row.box), row.message);
    EXPECT_EQ(globalPaste(row.box, row.longest), PasteVerdict{});
    EXPECT_EQ(globalPaste(row.box, row.longest + "7"), (PasteVerdict{false, false, row.message}));
    EXPECT_EQ(globalPaste(row.box, "1a"), (PasteVerdict{false, false, digitsOnly}));
    EXPECT_EQ(globalPaste(row.box, " 1"), (PasteVerdict{false, false, digitsOnly}));
  }
}

// The five boxes in the order Back checks them: Security Code, Ring Delay, Access Code,
// Ringback Limit, Forced Play Timer.
GlobalEntries entriesOf(std::string_view boxes, bool callProgressEnabled, FunctionMode function) {
  const auto t = test::split(boxes, 5);
  return {function, t[0], t[2], t[1], t[3], false, false, callProgressEnabled, t[4]};
}

TEST(GlobalRules, BackChecksInOrderAndTheFirstFailureEmptiesItsBox) {
  const char* const forced =
      "To disable Call Progress Detection set the Forced Play Timer to a value from 1 to 99 seconds          "
      "To reenable Call Progress Detection click on the Enabled option button";
  const struct {
    const char* before;
    bool callProgress;
    FunctionMode function;
    std::optional<GlobalBox> failing;
    const char* message;
    const char* after;
  } rows[] = {
      {"507231|0|390618|6|00", true, AD, {}, "", "507231|0|390618|6|00"},
      {"12345|1|390618|6|00", true, AD, B::SecurityCode, "The security code must be 6 digits", "|1|390618|6|00"},
      {"||390618|6|00", true, AD, B::SecurityCode, "The security code must be 6 digits", "||390618|6|00"},
      {"507231||1|6|00", true, AD, B::RingDelay, "The ring delay must be 1 digit", "507231||1|6|00"},
      {"507231|1|39061|0|00", true, AD, B::AccessCode, "The access code must be 6 digits", "507231|1||0|00"},
      {"507231|1|390618|00|00", true, AD, B::RingbackLimit, "The ringback limit cannot be 0", "507231|1|390618||00"},
      {"507231|1|390618||00", true, AD, B::RingbackLimit, "The ringback limit cannot be 0", "507231|1|390618||00"},
      {"507231|1|390618| 01 |00", true, AD, {}, "", "507231|1|390618|01|00"},
      {"507231|1|390618|6|7", false, AD, {}, "", "507231|1|390618|6|07"},
      {"507231|1|390618|6|0", false, AD, B::ForcedPlayTimer, forced, "507231|1|390618|6|"},
      {"507231|1|390618|6|", false, AD, B::ForcedPlayTimer, forced, "507231|1|390618|6|"},
      {"507231|1|390618|6|", true, AD, {}, "", "507231|1|390618|6|"},  // not checked with Call Progress on
      {"507231|1|||00", true, AC, {}, "", "507231|1|||00"},            // Aislecall skips what it locks
      {"507231||||00", true, AC, B::RingDelay, "The ring delay must be 1 digit", "507231||||00"},
  };
  for (const auto& row : rows) {
    GlobalEntries entries = entriesOf(row.before, row.callProgress, row.function);
    const auto failure = checkGlobalEntries(entries);
    if (row.failing)
      EXPECT_EQ(failure, (GlobalFailure{*row.failing, row.message})) << row.before;
    else
      EXPECT_EQ(failure, std::nullopt) << row.before;
    EXPECT_EQ(entries, entriesOf(row.after, row.callProgress, row.function)) << row.before;
  }
}

TEST(GlobalRules, BackWritesTheNineValues) {
  const struct {
    GlobalEntries entries;
    bool reduced;
    const char* written;
    bool greysHookswitch;
  } rows[] = {
      {{AD, "111111", "222222", "0", "01", true, true, false, "07"},
       false,
       "Alarm Dialer|111111|222222|0|01|Fast|Disabled|07|Enabled",
       false},
      {{NB, "111111", "222222", "4", "12", false, false, true, "00"},
       false,
       "Alarm Dialer (No Beeps)|111111|222222|4|12|Normal|Enabled|N/A|Disabled",
       false},
      {{AC, "123456", "390618", "3", "6", false, false, true, "00"},
       false,
       "Aislecall|123456|N/A|3|N/A|N/A|N/A|N/A|N/A",
       false},
      {{AD, "111111", "222222", "0", "9", false, true, true, "00"},
       true,
       "Alarm Dialer|111111|222222|0|9|Normal|Enabled|N/A|Disabled",
       true},
      {{AC, "123456", "390618", "3", "6", false, false, true, "00"},
       true,
       "Aislecall|123456|N/A|3|N/A|N/A|N/A|N/A|N/A",
       false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(globalSettings(row.entries, row.reduced), globalOf(row.written)) << row.written;
    EXPECT_EQ(greysHookswitch(row.entries, row.reduced), row.greysHookswitch) << row.written;
  }
}

}  // namespace
}  // namespace tarvek::entry
