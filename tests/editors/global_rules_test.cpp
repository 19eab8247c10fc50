#include "editors/global_rules.h"

#include <gtest/gtest.h>

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

const GlobalEntries kValid{FunctionMode::AlarmDialer, "507231", "390618", "1", "6", false, false, true, "00"};
const char* const kForcedMessage =
    "To disable Call Progress Detection set the Forced Play Timer to a value from 1 to 99 seconds          "
    "To reenable Call Progress Detection click on the Enabled option button";

struct CheckCase {
  const char* name;
  GlobalEntries entries;
  std::optional<GlobalFailure> failure;
  GlobalEntries after;  // the entries as the checks leave them
};

GlobalEntries with(GlobalEntries entries, void (*change)(GlobalEntries&)) {
  change(entries);
  return entries;
}

TEST(GlobalBack, ChecksInOrderFirstFailureWins) {
  const CheckCase cases[] = {
      {"valid", kValid, std::nullopt, kValid},
      {"short security code", with(kValid, [](GlobalEntries& e) { e.securityCode = "12345"; }),
       GlobalFailure{GlobalBox::SecurityCode, "The security code must be 6 digits"},
       with(kValid, [](GlobalEntries& e) { e.securityCode = ""; })},
      {"security code wins over ring delay",
       with(kValid,
            [](GlobalEntries& e) {
              e.securityCode = "";
              e.ringDelay = "";
            }),
       GlobalFailure{GlobalBox::SecurityCode, "The security code must be 6 digits"},
       with(kValid,
            [](GlobalEntries& e) {
              e.securityCode = "";
              e.ringDelay = "";
            })},
      {"empty ring delay", with(kValid, [](GlobalEntries& e) { e.ringDelay = ""; }),
       GlobalFailure{GlobalBox::RingDelay, "The ring delay must be 1 digit"},
       with(kValid, [](GlobalEntries& e) { e.ringDelay = ""; })},
      {"ring delay 0 is fine", with(kValid, [](GlobalEntries& e) { e.ringDelay = "0"; }), std::nullopt,
       with(kValid, [](GlobalEntries& e) { e.ringDelay = "0"; })},
      {"ring delay wins over access code",
       with(kValid,
            [](GlobalEntries& e) {
              e.ringDelay = "";
              e.accessCode = "1";
            }),
       GlobalFailure{GlobalBox::RingDelay, "The ring delay must be 1 digit"},
       with(kValid,
            [](GlobalEntries& e) {
              e.ringDelay = "";
              e.accessCode = "1";
            })},
      {"short access code", with(kValid, [](GlobalEntries& e) { e.accessCode = "39061"; }),
       GlobalFailure{GlobalBox::AccessCode, "The access code must be 6 digits"},
       with(kValid, [](GlobalEntries& e) { e.accessCode = ""; })},
      {"ringback 0", with(kValid, [](GlobalEntries& e) { e.ringbackLimit = "0"; }),
       GlobalFailure{GlobalBox::RingbackLimit, "The ringback limit cannot be 0"},
       with(kValid, [](GlobalEntries& e) { e.ringbackLimit = ""; })},
      {"ringback 00", with(kValid, [](GlobalEntries& e) { e.ringbackLimit = "00"; }),
       GlobalFailure{GlobalBox::RingbackLimit, "The ringback limit cannot be 0"},
       with(kValid, [](GlobalEntries& e) { e.ringbackLimit = ""; })},
      {"ringback empty", with(kValid, [](GlobalEntries& e) { e.ringbackLimit = ""; }),
       GlobalFailure{GlobalBox::RingbackLimit, "The ringback limit cannot be 0"},
       with(kValid, [](GlobalEntries& e) { e.ringbackLimit = ""; })},
      {"ringback 01 kept, blanks trimmed", with(kValid, [](GlobalEntries& e) { e.ringbackLimit = " 01 "; }),
       std::nullopt, with(kValid, [](GlobalEntries& e) { e.ringbackLimit = "01"; })},
      {"forced play 7 becomes 07",
       with(kValid,
            [](GlobalEntries& e) {
              e.callProgressEnabled = false;
              e.forcedPlayTimer = "7";
            }),
       std::nullopt,
       with(kValid,
            [](GlobalEntries& e) {
              e.callProgressEnabled = false;
              e.forcedPlayTimer = "07";
            })},
      {"forced play 0",
       with(kValid,
            [](GlobalEntries& e) {
              e.callProgressEnabled = false;
              e.forcedPlayTimer = "0";
            }),
       GlobalFailure{GlobalBox::ForcedPlayTimer, kForcedMessage},
       with(kValid,
            [](GlobalEntries& e) {
              e.callProgressEnabled = false;
              e.forcedPlayTimer = "";
            })},
      {"forced play 00",
       with(kValid,
            [](GlobalEntries& e) {
              e.callProgressEnabled = false;
              e.forcedPlayTimer = "00";
            }),
       GlobalFailure{GlobalBox::ForcedPlayTimer, kForcedMessage},
       with(kValid,
            [](GlobalEntries& e) {
              e.callProgressEnabled = false;
              e.forcedPlayTimer = "";
            })},
      {"forced play empty",
       with(kValid,
            [](GlobalEntries& e) {
              e.callProgressEnabled = false;
              e.forcedPlayTimer = "";
            }),
       GlobalFailure{GlobalBox::ForcedPlayTimer, kForcedMessage},
       with(kValid,
            [](GlobalEntries& e) {
              e.callProgressEnabled = false;
              e.forcedPlayTimer = "";
            })},
      {"forced play ignored while call progress is on", with(kValid, [](GlobalEntries& e) { e.forcedPlayTimer = ""; }),
       std::nullopt, with(kValid, [](GlobalEntries& e) { e.forcedPlayTimer = ""; })},
      {"aislecall skips the locked boxes",
       with(kValid,
            [](GlobalEntries& e) {
              e.function = FunctionMode::Aislecall;
              e.accessCode = "";
              e.ringbackLimit = "";
            }),
       std::nullopt,
       with(kValid,
            [](GlobalEntries& e) {
              e.function = FunctionMode::Aislecall;
              e.accessCode = "";
              e.ringbackLimit = "";
            })},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    GlobalEntries entries = c.entries;
    EXPECT_EQ(checkGlobalEntries(entries), c.failure);
    EXPECT_EQ(entries, c.after);
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
