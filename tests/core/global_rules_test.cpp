#include "core/global_rules.h"

#include <gtest/gtest.h>

#include <array>

namespace tarvek::entry {
namespace {

const GlobalSettings kAlarmDialerRecord{"Alarm Dialer", "507231",  "390618", "1",       "6",
                                        "Normal",       "Enabled", "N/A",    "Disabled"};
const GlobalSettings kAislecallRecord{"Aislecall", "123456", "N/A", "3", "N/A", "N/A", "N/A", "N/A", "N/A"};

struct FillCase {
  const char* name;
  GlobalSettings record;
  bool reduced;
  GlobalEntries entries;
  GlobalReach reach;
};

TEST(GlobalFilling, TakesEveryCaseFromTheLabels) {
  const FillCase cases[] = {
      {"defaults",
       kAlarmDialerRecord,
       false,
       {FunctionMode::AlarmDialer, "507231", "390618", "1", "6", false, false, true, "00"},
       {true, true, true, false}},
      {"aislecall locks all but two",
       kAislecallRecord,
       false,
       {FunctionMode::Aislecall, "123456", "390618", "3", "6", false, false, true, "00"},
       {false, false, false, false}},
      {"no beeps, fast, hookswitch on, forced play",
       {"Alarm Dialer (No Beeps)", "111111", "222222", "0", "12", "Fast", "Disabled", "07", "Enabled"},
       false,
       {FunctionMode::AlarmDialerNoBeeps, "111111", "222222", "0", "12", true, true, false, "07"},
       {true, true, true, true}},
      {"unknown texts choose the other option",
       {"Dialer", "111111", "222222", "0", "12", "Slow", "N/A", "5", "On"},
       false,
       {FunctionMode::AlarmDialerNoBeeps, "111111", "222222", "0", "12", true, true, false, "5"},
       {true, true, true, true}},
      {"reduced features lock hookswitch off",
       {"Alarm Dialer", "507231", "390618", "1", "6", "Normal", "Enabled", "N/A", "Enabled"},
       true,
       {FunctionMode::AlarmDialer, "507231", "390618", "1", "6", false, false, true, "00"},
       {true, false, true, false}},
  };
  for (const FillCase& c : cases) {
    SCOPED_TRACE(c.name);
    const GlobalEntries entries = globalEntries(c.record, c.reduced);
    EXPECT_EQ(entries, c.entries);
    EXPECT_EQ(globalReach(entries, c.reduced), c.reach);
  }
}

TEST(GlobalReactions, FunctionAndCallProgressOptions) {
  GlobalEntries entries{FunctionMode::AlarmDialer, "507231", "", "1", "", true, true, false, "09"};

  // Alarm Dialer and No Beeps reset Hookswitch Flash, whatever was chosen; texts stay.
  for (FunctionMode mode : {FunctionMode::AlarmDialer, FunctionMode::AlarmDialerNoBeeps}) {
    const GlobalEntries after = withFunction(entries, mode);
    EXPECT_EQ(after.function, mode);
    EXPECT_FALSE(after.hookswitchEnabled);
    EXPECT_EQ(after.forcedPlayTimer, "09");
    EXPECT_FALSE(after.callProgressEnabled);
  }

  // Aislecall forces Call Progress on and the timer to 00; the locked boxes keep their texts.
  const GlobalEntries aislecall = withFunction(entries, FunctionMode::Aislecall);
  EXPECT_TRUE(aislecall.callProgressEnabled);
  EXPECT_EQ(aislecall.forcedPlayTimer, "00");
  EXPECT_EQ(aislecall.accessCode, "");
  EXPECT_EQ(aislecall.ringbackLimit, "");
  EXPECT_TRUE(aislecall.fastDialing);
  EXPECT_EQ(globalReach(aislecall, false), (GlobalReach{false, false, false, false}));

  // Back to Alarm Dialer: everything reachable again, the timer locked while Call Progress is on.
  EXPECT_EQ(globalReach(withFunction(aislecall, FunctionMode::AlarmDialer), false),
            (GlobalReach{true, true, true, false}));

  EXPECT_EQ(withCallProgress(entries, true).forcedPlayTimer, "00");
  EXPECT_EQ(withCallProgress(withCallProgress(entries, true), false).forcedPlayTimer, "00");
  EXPECT_EQ(withCallProgress(entries, false).forcedPlayTimer, "09");
  EXPECT_TRUE(globalReach(withCallProgress(entries, false), false).forcedPlayTimer);
}

TEST(GlobalKeys, DigitsAndBackspacePassOnlyRingDelayIsEmptied) {
  const GlobalBox boxes[] = {GlobalBox::SecurityCode, GlobalBox::AccessCode, GlobalBox::RingDelay,
                             GlobalBox::RingbackLimit, GlobalBox::ForcedPlayTimer};
  for (GlobalBox box : boxes) {
    for (int code : {int('0'), int('5'), int('9'), kBackspace}) EXPECT_EQ(globalKey(box, code), KeyVerdict{}) << code;
    for (int code : {int('a'), int('/'), int(':'), int(' '), int('*'), kEnter, kEscape, 0xE9}) {
      const KeyVerdict verdict = globalKey(box, code);
      EXPECT_FALSE(verdict.take) << code;
      EXPECT_EQ(verdict.message, "This digit entry must be 0 - 9");
      EXPECT_EQ(verdict.empty, box == GlobalBox::RingDelay) << code;
    }
  }
}

TEST(GlobalLengths, OneCharacterTooManyIsTooLong) {
  struct Case {
    GlobalBox box;
    const char* longest;
    const char* message;
  };
  const Case cases[] = {
      {GlobalBox::SecurityCode, "123456", "The Security Code cannot be more than 6 digits"},
      {GlobalBox::AccessCode, "123456", "The Access Code cannot be more than 6 digits"},
      {GlobalBox::RingDelay, "1", "The Ring Delay cannot be more than 1 digit"},
      {GlobalBox::RingbackLimit, "12", "The Ringback Limit cannot be more than 2 digits"},
      {GlobalBox::ForcedPlayTimer, "12", "The Forced Play Timer cannot be more than 2 digits"},
  };
  for (const Case& c : cases) {
    const std::string longest = c.longest;
    EXPECT_FALSE(tooLong(c.box, longest));
    EXPECT_TRUE(tooLong(c.box, longest + "7"));
    EXPECT_EQ(lengthMessage(c.box), c.message);
    EXPECT_EQ(globalPaste(c.box, longest), PasteVerdict{});
    EXPECT_EQ(globalPaste(c.box, longest + "7"), (PasteVerdict{false, false, c.message}));
    EXPECT_EQ(globalPaste(c.box, "1a"), (PasteVerdict{false, false, "This digit entry must be 0 - 9"}));
    EXPECT_EQ(globalPaste(c.box, " 1"), (PasteVerdict{false, false, "This digit entry must be 0 - 9"}));
  }
}

const char* const kForcedMessage =
    "To disable Call Progress Detection set the Forced Play Timer to a value from 1 to 99 seconds          "
    "To reenable Call Progress Detection click on the Enabled option button";

// One row: the five box texts (Security, Ring Delay, Access, Ringback, Forced Play), the
// Call Progress choice and the mode; the failing box with its message; the five texts
// as the checks leave them.
struct CheckRow {
  std::array<const char*, 5> texts;
  bool callProgressEnabled;
  FunctionMode function;
  std::optional<GlobalBox> failing;
  const char* message;
  std::array<const char*, 5> after;
};

GlobalEntries entriesOf(const std::array<const char*, 5>& texts, bool callProgressEnabled, FunctionMode function) {
  return {function, texts[0], texts[2], texts[1], texts[3], false, false, callProgressEnabled, texts[4]};
}

TEST(GlobalBack, ChecksInOrderFirstFailureWins) {
  constexpr auto AD = FunctionMode::AlarmDialer;
  constexpr auto AC = FunctionMode::Aislecall;
  using G = GlobalBox;
  const CheckRow rows[] = {
      {{"507231", "1", "390618", "6", "00"}, true, AD, {}, "", {"507231", "1", "390618", "6", "00"}},
      {{"12345", "1", "390618", "6", "00"},
       true,
       AD,
       G::SecurityCode,
       "The security code must be 6 digits",
       {"", "1", "390618", "6", "00"}},
      {{"", "", "390618", "6", "00"},
       true,
       AD,
       G::SecurityCode,
       "The security code must be 6 digits",
       {"", "", "390618", "6", "00"}},
      {{"507231", "", "1", "6", "00"},
       true,
       AD,
       G::RingDelay,
       "The ring delay must be 1 digit",
       {"507231", "", "1", "6", "00"}},
      {{"507231", "0", "390618", "6", "00"}, true, AD, {}, "", {"507231", "0", "390618", "6", "00"}},
      {{"507231", "1", "39061", "0", "00"},
       true,
       AD,
       G::AccessCode,
       "The access code must be 6 digits",
       {"507231", "1", "", "0", "00"}},
      {{"507231", "1", "390618", "0", "00"},
       true,
       AD,
       G::RingbackLimit,
       "The ringback limit cannot be 0",
       {"507231", "1", "390618", "", "00"}},
      {{"507231", "1", "390618", "00", "00"},
       true,
       AD,
       G::RingbackLimit,
       "The ringback limit cannot be 0",
       {"507231", "1", "390618", "", "00"}},
      {{"507231", "1", "390618", "", "00"},
       true,
       AD,
       G::RingbackLimit,
       "The ringback limit cannot be 0",
       {"507231", "1", "390618", "", "00"}},
      {{"507231", "1", "390618", " 01 ", "00"}, true, AD, {}, "", {"507231", "1", "390618", "01", "00"}},
      {{"507231", "1", "390618", "6", "7"}, false, AD, {}, "", {"507231", "1", "390618", "6", "07"}},
      {{"507231", "1", "390618", "6", "0"},
       false,
       AD,
       G::ForcedPlayTimer,
       kForcedMessage,
       {"507231", "1", "390618", "6", ""}},
      {{"507231", "1", "390618", "6", "00"},
       false,
       AD,
       G::ForcedPlayTimer,
       kForcedMessage,
       {"507231", "1", "390618", "6", ""}},
      {{"507231", "1", "390618", "6", ""},
       false,
       AD,
       G::ForcedPlayTimer,
       kForcedMessage,
       {"507231", "1", "390618", "6", ""}},
      // With Call Progress on, the Forced Play Timer is not checked.
      {{"507231", "1", "390618", "6", ""}, true, AD, {}, "", {"507231", "1", "390618", "6", ""}},
      // Aislecall does not check the boxes it locks.
      {{"507231", "1", "", "", "00"}, true, AC, {}, "", {"507231", "1", "", "", "00"}},
      {{"507231", "", "", "", "00"},
       true,
       AC,
       G::RingDelay,
       "The ring delay must be 1 digit",
       {"507231", "", "", "", "00"}},
  };
  for (const CheckRow& row : rows) {
    GlobalEntries entries = entriesOf(row.texts, row.callProgressEnabled, row.function);
    const auto failure = checkGlobalEntries(entries);
    SCOPED_TRACE(::testing::PrintToString(row.texts));
    if (row.failing)
      EXPECT_EQ(failure, (GlobalFailure{*row.failing, row.message}));
    else
      EXPECT_EQ(failure, std::nullopt);
    EXPECT_EQ(entries, entriesOf(row.after, row.callProgressEnabled, row.function));
  }
}

TEST(GlobalBack, WritesTheNineValues) {
  struct Case {
    const char* name;
    GlobalEntries entries;
    bool reduced;
    GlobalSettings written;
    bool greys;
  };
  const Case cases[] = {
      {"alarm dialer",
       {FunctionMode::AlarmDialer, "111111", "222222", "0", "01", true, true, false, "07"},
       false,
       {"Alarm Dialer", "111111", "222222", "0", "01", "Fast", "Disabled", "07", "Enabled"},
       false},
      {"no beeps",
       {FunctionMode::AlarmDialerNoBeeps, "111111", "222222", "4", "12", false, false, true, "00"},
       false,
       {"Alarm Dialer (No Beeps)", "111111", "222222", "4", "12", "Normal", "Enabled", "N/A", "Disabled"},
       false},
      {"aislecall",
       {FunctionMode::Aislecall, "123456", "390618", "3", "6", false, false, true, "00"},
       false,
       {"Aislecall", "123456", "N/A", "3", "N/A", "N/A", "N/A", "N/A", "N/A"},
       false},
      {"reduced features",
       {FunctionMode::AlarmDialer, "111111", "222222", "0", "9", false, true, true, "00"},
       true,
       {"Alarm Dialer", "111111", "222222", "0", "9", "Normal", "Enabled", "N/A", "Disabled"},
       true},
      {"reduced aislecall",
       {FunctionMode::Aislecall, "123456", "390618", "3", "6", false, false, true, "00"},
       true,
       {"Aislecall", "123456", "N/A", "3", "N/A", "N/A", "N/A", "N/A", "N/A"},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(globalSettings(c.entries, c.reduced), c.written);
    EXPECT_EQ(greysHookswitch(c.entries, c.reduced), c.greys);
  }
}

TEST(GlobalBack, AislecallRecordRoundTripsThroughTheEditor) {
  GlobalEntries entries = globalEntries(kAislecallRecord, false);
  ASSERT_EQ(checkGlobalEntries(entries), std::nullopt);
  EXPECT_EQ(globalSettings(entries, false), kAislecallRecord);
}

}  // namespace
}  // namespace tarvek::entry
