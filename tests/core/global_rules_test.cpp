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

// The editor's entries as one text: the Function ("AD", "NB" or "AC"), Security Code,
// Access Code, Ring Delay, Ringback Limit, "fast" or "-", "hookswitch" or "-", "detect" or
// "-" (Call Progress Detection), Forced Play Timer.
GlobalEntries entriesOf(std::string_view text) {
  const auto t = test::split(text, 9);
  const FunctionMode function = t[0] == "AD" ? AD : t[0] == "NB" ? NB : AC;
  return {function, t[1], t[2], t[3], t[4], t[5] == "fast", t[6] == "hookswitch", t[7] == "detect", t[8]};
}

// Opening the editor on a record and pressing Back at once.
TEST(GlobalRules, TheEditorShowsTheRecordAndBackWritesItAgain) {
  // The record, a unit without Hookswitch Flash, the entries shown, what can be reached (Access
  // Code and the like, Hookswitch Flash, Call Progress, Forced Play Timer), what Back writes
  // (nullptr: the record) and whether it greys the Main screen's Hookswitch Flash row.
  const std::tuple<const char*, bool, const char*, const char*, const char*, bool> rows[] = {
      {"Alarm Dialer|507231|390618|1|6|Normal|Enabled|N/A|Disabled", false, "AD|507231|390618|1|6|-|-|detect|00",
       "1110", nullptr, false},
      {"Aislecall|123456|N/A|3|N/A|N/A|N/A|N/A|N/A", false, "AC|123456|390618|3|6|-|-|detect|00", "0000", nullptr,
       false},
      {"Alarm Dialer (No Beeps)|111111|222222|0|12|Fast|Disabled|07|Enabled", false,
       "NB|111111|222222|0|12|fast|hookswitch|-|07", "1111", nullptr, false},
      // Texts it does not know choose the other option.
      {"Dialer|111111|222222|0|12|Slow|N/A|5|On", false, "NB|111111|222222|0|12|fast|hookswitch|-|5", "1111",
       "Alarm Dialer (No Beeps)|111111|222222|0|12|Fast|Disabled|5|Enabled", false},
      {"Alarm Dialer|507231|390618|1|6|Normal|Enabled|N/A|Enabled", true, "AD|507231|390618|1|6|-|-|detect|00", "1010",
       "Alarm Dialer|507231|390618|1|6|Normal|Enabled|N/A|Disabled", true},
      {"Aislecall|123456|N/A|3|N/A|N/A|N/A|N/A|Disabled", true, "AC|123456|390618|3|6|-|-|detect|00", "0000",
       "Aislecall|123456|N/A|3|N/A|N/A|N/A|N/A|N/A", false},
  };
  for (const auto& [record, reduced, shown, reachable, written, greys] : rows) {
    const GlobalEntries entries = globalEntries(globalOf(record), reduced);
    EXPECT_EQ(entries, entriesOf(shown)) << record;
    const GlobalReach r = globalReach(entries, reduced);
    EXPECT_EQ(
        (std::string{"01"[r.accessAndRingback], "01"[r.hookswitch], "01"[r.callProgress], "01"[r.forcedPlayTimer]}),
        reachable)
        << record;
    EXPECT_EQ(globalSettings(entries, reduced), globalOf(written ? written : record)) << record;
    EXPECT_EQ(greysHookswitch(entries, reduced), greys) << record;
  }
  EXPECT_EQ(globalSettings(entriesOf("AD|507231|390618|1|6|-|hookswitch|detect|00"), true).hookswitchFlash, "Disabled");
}

TEST(GlobalRules, TheOptionsResetWhatDependsOnThem) {
  const GlobalEntries entries = entriesOf("AD|507231||1||fast|hookswitch|-|09");
  // Alarm Dialer and No Beeps turn Hookswitch Flash off; the texts stay.
  EXPECT_EQ(withFunction(entries, AD), entriesOf("AD|507231||1||fast|-|-|09"));
  EXPECT_EQ(withFunction(entries, NB), entriesOf("NB|507231||1||fast|-|-|09"));
  const GlobalEntries aislecall = withFunction(entries, AC);
  EXPECT_EQ(aislecall, entriesOf("AC|507231||1||fast|hookswitch|detect|00"));
  EXPECT_EQ(globalReach(withFunction(aislecall, AD), false), (GlobalReach{true, true, true, false}));
  EXPECT_EQ(withCallProgress(withCallProgress(entries, true), false).forcedPlayTimer, "00");
  EXPECT_EQ(withCallProgress(entries, false).forcedPlayTimer, "09");
  EXPECT_TRUE(globalReach(withCallProgress(entries, false), false).forcedPlayTimer);
}

TEST(GlobalRules, BoxesTakeDigitsUpToTheirLength) {
  const char* const digitsOnly = "This digit entry must be 0 - 9";
  const std::tuple<GlobalBox, std::string, const char*> rows[] = {
      {B::SecurityCode, "123456", "The Security Code cannot be more than 6 digits"},
      {B::AccessCode, "123456", "The Access Code cannot be more than 6 digits"},
      {B::RingDelay, "1", "The Ring Delay cannot be more than 1 digit"},
      {B::RingbackLimit, "12", "The Ringback Limit cannot be more than 2 digits"},
      {B::ForcedPlayTimer, "12", "The Forced Play Timer cannot be more than 2 digits"},
  };
  for (const auto& [box, longest, message] : rows) {
    SCOPED_TRACE(message);
    for (const int code : {int('0'), int('9'), kBackspace}) EXPECT_EQ(globalKey(box, code), KeyVerdict{}) << code;
    // Only the Ring Delay box is emptied by a refused key.
    for (const int code : {int('a'), int('/'), int(':'), int(' '), kEnter, kEscape, 0xE9})
      EXPECT_EQ(globalKey(box, code), (KeyVerdict{false, box == B::RingDelay, digitsOnly})) << code;
    EXPECT_EQ(std::make_pair(tooLong(box, longest), tooLong(box, longest + "7")), std::make_pair(false, true));
    EXPECT_EQ(lengthMessage(box), message);
    EXPECT_EQ(globalPaste(box, longest), PasteVerdict{});
    EXPECT_EQ(globalPaste(box, longest + "7"), (PasteVerdict{false, false, message}));
    EXPECT_EQ(globalPaste(box, "1a"), (PasteVerdict{false, false, digitsOnly}));
    EXPECT_EQ(globalPaste(box, " 1"), (PasteVerdict{false, false, digitsOnly}));
  }
}

TEST(GlobalRules, BackChecksInOrderAndTheFirstFailureEmptiesItsBox) {
  const char* const security = "The security code must be 6 digits";
  const char* const ringDelay = "The ring delay must be 1 digit";
  const char* const ringback = "The ringback limit cannot be 0";
  const char* const forced =
      "To disable Call Progress Detection set the Forced Play Timer to a value from 1 to 99 seconds          "
      "To reenable Call Progress Detection click on the Enabled option button";
  // The entries before, the box that fails with its message, the entries after (nullptr: as before).
  const std::tuple<const char*, std::optional<GlobalBox>, const char*, const char*> rows[] = {
      {"AD|507231|390618|0|6|-|-|detect|00", {}, "", nullptr},
      {"AD|12345|390618|1|6|-|-|detect|00", B::SecurityCode, security, "AD||390618|1|6|-|-|detect|00"},
      {"AD||390618||6|-|-|detect|00", B::SecurityCode, security, nullptr},
      {"AD|507231|1||6|-|-|detect|00", B::RingDelay, ringDelay, nullptr},
      {"AD|507231|39061|1|0|-|-|detect|00", B::AccessCode, "The access code must be 6 digits",
       "AD|507231||1|0|-|-|detect|00"},
      {"AD|507231|390618|1|00|-|-|detect|00", B::RingbackLimit, ringback, "AD|507231|390618|1||-|-|detect|00"},
      {"AD|507231|390618|1||-|-|detect|00", B::RingbackLimit, ringback, nullptr},
      {"AD|507231|390618|1| 01 |-|-|detect|00", {}, "", "AD|507231|390618|1|01|-|-|detect|00"},
      {"AD|507231|390618|1|6|-|-|-|7", {}, "", "AD|507231|390618|1|6|-|-|-|07"},
      {"AD|507231|390618|1|6|-|-|-|0", B::ForcedPlayTimer, forced, "AD|507231|390618|1|6|-|-|-|"},
      {"AD|507231|390618|1|6|-|-|-|", B::ForcedPlayTimer, forced, nullptr},
      {"AD|507231|390618|1|6|-|-|detect|", {}, "", nullptr},  // not checked with Call Progress on
      {"AC|507231||1||-|-|detect|00", {}, "", nullptr},       // Aislecall skips what it locks
      {"AC|507231||||-|-|detect|00", B::RingDelay, ringDelay, nullptr},
  };
  for (const auto& [before, failing, message, after] : rows) {
    GlobalEntries entries = entriesOf(before);
    const auto failure = checkGlobalEntries(entries);
    EXPECT_EQ(failure, failing ? std::optional(GlobalFailure{*failing, message}) : std::nullopt) << before;
    EXPECT_EQ(entries, entriesOf(after ? after : before)) << before;
  }
}

}  // namespace
}  // namespace tarvek::entry
