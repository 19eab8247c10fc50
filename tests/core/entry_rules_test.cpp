// The editors' entry rules and Send's record check.

#include <gtest/gtest.h>

#include <algorithm>

#include "core/display_lines.h"
#include "core/global_rules.h"
#include "core/input_spec_rules.h"
#include "core/phone_rules.h"
#include "core/programming.h"
#include "core/record_check.h"
#include "support/sample_records.h"

namespace tarvek::entry {
namespace {

using namespace test;
using G = GlobalSettings;

using GB = GlobalBox;
constexpr auto AD = FunctionMode::AlarmDialer;
constexpr auto NB = FunctionMode::AlarmDialerNoBeeps;
constexpr auto AC = FunctionMode::Aislecall;

// The editor's entries as one text: the Function ("AD", "NB" or "AC"), Security Code,
// Access Code, Ring Delay, Ringback Limit, "fast" or "-", "hookswitch" or "-", "detect" or
// "-" (Call Progress Detection), Forced Play Timer.
GlobalEntries globalEntriesOf(std::string_view text) {
  const auto t = split(text, 9);
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
    EXPECT_EQ(entries, globalEntriesOf(shown)) << record;
    const GlobalReach r = globalReach(entries, reduced);
    EXPECT_EQ(
        (std::string{"01"[r.accessAndRingback], "01"[r.hookswitch], "01"[r.callProgress], "01"[r.forcedPlayTimer]}),
        reachable)
        << record;
    EXPECT_EQ(globalSettings(entries, reduced), globalOf(written ? written : record)) << record;
    EXPECT_EQ(greysHookswitch(entries, reduced), greys) << record;
  }
  EXPECT_EQ(globalSettings(globalEntriesOf("AD|507231|390618|1|6|-|hookswitch|detect|00"), true).hookswitchFlash,
            "Disabled");
}

TEST(GlobalRules, TheOptionsResetWhatDependsOnThem) {
  const GlobalEntries entries = globalEntriesOf("AD|507231||1||fast|hookswitch|-|09");
  // Alarm Dialer and No Beeps turn Hookswitch Flash off; the texts stay.
  EXPECT_EQ(withFunction(entries, AD), globalEntriesOf("AD|507231||1||fast|-|-|09"));
  EXPECT_EQ(withFunction(entries, AC), globalEntriesOf("AC|507231||1||fast|hookswitch|detect|00"));
  EXPECT_EQ(withCallProgress(withCallProgress(entries, true), false).forcedPlayTimer, "00");
  EXPECT_EQ(withCallProgress(entries, false).forcedPlayTimer, "09");
}

TEST(GlobalRules, BoxesTakeDigitsUpToTheirLength) {
  const char* const digitsOnly = "This digit entry must be 0 - 9";
  const std::tuple<GlobalBox, std::string, const char*> rows[] = {
      {GB::SecurityCode, "123456", "The Security Code cannot be more than 6 digits"},
      {GB::AccessCode, "123456", "The Access Code cannot be more than 6 digits"},
      {GB::RingDelay, "1", "The Ring Delay cannot be more than 1 digit"},
      {GB::RingbackLimit, "12", "The Ringback Limit cannot be more than 2 digits"},
      {GB::ForcedPlayTimer, "12", "The Forced Play Timer cannot be more than 2 digits"},
  };
  for (const auto& [box, longest, message] : rows) {
    SCOPED_TRACE(message);
    for (const int code : {int('0'), int('9'), kBackspace}) EXPECT_EQ(globalKey(box, code), KeyVerdict{}) << code;
    // Only the Ring Delay box is emptied by a refused key.
    for (const int code : {int('a'), int('/'), int(':'), int(' '), kEnter, kEscape, 0xE9})
      EXPECT_EQ(globalKey(box, code), (KeyVerdict{false, box == GB::RingDelay, digitsOnly})) << code;
    EXPECT_EQ(std::make_pair(tooLong(box, longest), tooLong(box, longest + "7")), std::make_pair(false, true));
    EXPECT_EQ(globalPaste(box, longest), PasteVerdict{});
    EXPECT_EQ(globalPaste(box, longest + "7"), (PasteVerdict{false, false, message}));
    EXPECT_EQ(globalPaste(box, "1a"), (PasteVerdict{false, false, digitsOnly}));
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
      {"AD|12345|390618|1|6|-|-|detect|00", GB::SecurityCode, security, "AD||390618|1|6|-|-|detect|00"},
      {"AD||390618||6|-|-|detect|00", GB::SecurityCode, security, nullptr},
      {"AD|507231|1||6|-|-|detect|00", GB::RingDelay, ringDelay, nullptr},
      {"AD|507231|39061|1|0|-|-|detect|00", GB::AccessCode, "The access code must be 6 digits",
       "AD|507231||1|0|-|-|detect|00"},
      {"AD|507231|390618|1|00|-|-|detect|00", GB::RingbackLimit, ringback, "AD|507231|390618|1||-|-|detect|00"},
      {"AD|507231|390618|1| 01 |-|-|detect|00", {}, "", "AD|507231|390618|1|01|-|-|detect|00"},
      {"AD|507231|390618|1|6|-|-|-|7", {}, "", "AD|507231|390618|1|6|-|-|-|07"},
      {"AD|507231|390618|1|6|-|-|-|0", GB::ForcedPlayTimer, forced, "AD|507231|390618|1|6|-|-|-|"},
      {"AD|507231|390618|1|6|-|-|detect|", {}, "", nullptr},  // not checked with Call Progress on
      {"AC|507231||1||-|-|detect|00", {}, "", nullptr},       // Aislecall skips what it locks
      {"AC|507231||||-|-|detect|00", GB::RingDelay, ringDelay, nullptr},
  };
  for (const auto& [before, failing, message, after] : rows) {
    GlobalEntries entries = globalEntriesOf(before);
    const auto failure = checkGlobalEntries(entries);
    EXPECT_EQ(failure, failing ? std::optional(GlobalFailure{*failing, message}) : std::nullopt) << before;
    EXPECT_EQ(entries, globalEntriesOf(after ? after : before)) << before;
  }
}

using IB = InputBox;

// The eight boxes, "|" between them: qualifier h m s, resume h m s, repeat and lap counters.
InputSpecEntries boxesOf(std::string_view boxes, NormalState state = NormalState::Open, bool momentary = true) {
  InputSpecEntries entries{state, momentary, {}};
  const auto texts = split(boxes, kInputBoxCount);
  std::copy(texts.begin(), texts.end(), entries.boxes.begin());
  return entries;
}

std::vector<std::string> withInput(int input, std::string_view values) {
  return edited({setInput(input, values)}).inputSpecs;
}

TEST(InputSpecRules, NumericValueReadsTheLeadingDigitsAndInputsRunRound) {
  const std::pair<const char*, long> values[] = {{"", 0}, {"00", 0}, {"07", 7}, {" 12 ", 12}, {"5x", 5}, {"x5", 0}};
  for (const auto& [text, value] : values) EXPECT_EQ(numericValue(text), value) << text;
  EXPECT_GT(numericValue(std::string(40, '9')), 99);  // stops growing instead of overflowing
  EXPECT_EQ((std::vector{nextInput(7), nextInput(8), previousInput(1), previousInput(8), validInput(0), validInput(9),
                         validInput(5)}),
            (std::vector{8, 1, 8, 7, 1, 1, 5}));
}

TEST(InputSpecRules, ReadsAndRebuildsAnInputsFieldLines) {
  const std::vector<std::string> defaults = newProgramming().inputSpecs;
  // Rebuilding writes the shown input's six lines alone; reading them gives the boxes again.
  const std::tuple<NormalState, bool, std::string> states[] = {
      {NormalState::Open, true, "Normally Open|Momentary"},
      {NormalState::Closed, false, "Normally Closed|Continuous"},
      {NormalState::Disabled, false, "Disabled|Continuous"}};
  for (const auto& [state, momentary, texts] : states) {
    const InputSpecEntries entries = boxesOf("01|05|30|18|00|00|7|12", state, momentary);
    const auto list = withInput(8, texts + "|Hrs 01 Min 05 Sec 30|Hrs 18 Min 00 Sec 00|7|12");
    EXPECT_EQ(rebuildInputSpecs(defaults, 8, entries), list) << texts;
    EXPECT_EQ(inputSpecEntries(list, 8), entries) << texts;
  }
  // Text the editor does not know reads as Disabled and Continuous.
  const auto odd = withInput(2, "Open|momentary|Hrs 01 Min 05 Sec 30|Hrs 18 Min 00 Sec 00|7|12");
  EXPECT_EQ(inputSpecEntries(odd, 2), boxesOf("01|05|30|18|00|00|7|12", NormalState::Disabled, false));

  // A short list is completed from a new programming and read and rebuilt within its length.
  EXPECT_EQ(completeInputSpecs({}), defaults);
  std::vector<std::string> shortList(defaults.begin(), defaults.begin() + 13);  // ends in input 2's Duration
  shortList[6] = "  Msg Rpt Count     9";
  const auto completed = completeInputSpecs(shortList);
  EXPECT_EQ(std::vector<std::string>(completed.begin(), completed.begin() + 13), shortList);
  EXPECT_EQ(std::vector<std::string>(completed.begin() + 13, completed.end()),
            std::vector<std::string>(defaults.begin() + 13, defaults.end()));
  EXPECT_EQ(inputSpecEntries(shortList, 2), boxesOf("|||||||"));
  EXPECT_EQ(rebuildInputSpecs(shortList, 2, boxesOf("|||||||")).size(), 13u);
  std::vector<std::string> longList = defaults;
  longList.push_back("extra");
  EXPECT_EQ(completeInputSpecs(longList), longList);
}

TEST(InputSpecRules, KeysAndPastes) {
  const KeyVerdict refused{false, true, "This digit entry must be 0 - 9"};
  const std::tuple<const char*, int, KeyVerdict> keys[] = {
      {"", '5', {}},          {"1", '2', {}},      {"12", '3', {true, true, ""}},  // a third digit starts anew
      {"12", kBackspace, {}}, {"1", 'a', refused}, {"12", kEnter, refused},
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
      {"00|00|00|00|00|00|0|1", IB::RepeatCounter, "The Repeat Counter must be between 1 and 99",
       "00|00|00|00|00|00||1"},
      {"00|00|00|00|00|00|2|0", IB::LapCounter, "The Lap Counter must be between 1 and 99", "00|00|00|00|00|00|2|"},
      {"|00|00|00|00|00|2|1", IB::QHours, "There is no entry for Qualifier Timer Hours", "|00|00|00|00|00|2|1"},
      {"5||9|1|00|00|2|1", IB::QMinutes, "There is no entry for Qualifier Timer Minutes", "05||9|1|00|00|2|1"},
      {"00|00||00|00|00|2|1", IB::QSeconds, "There is no entry for Qualifier Timer Seconds", "00|00||00|00|00|2|1"},
      {"00|00|00||00|00|2|1", IB::RHours, "There is no entry for Resume Timer Hours", "00|00|00||00|00|2|1"},
      {"00|00|00|00||00|2|1", IB::RMinutes, "There is no entry for Resume Timer Minutes", "00|00|00|00||00|2|1"},
      {"00|00|60|00|00||2|1", IB::RSeconds, "There is no entry for Resume Timer Seconds", "00|00|60|00|00||2|1"},
      {"19|00|60|00|00|00|2|1", IB::QSeconds, "Qualifier Timer seconds must be between 0 and 59",
       "19|00||00|00|00|2|1"},
      {"00|60|00|00|00|00|2|1", IB::QMinutes, "Qualifier Timer minutes must be between 0 and 59",
       "00||00|00|00|00|2|1"},
      {"00|00|00|00|00|99|2|1", IB::RSeconds, "Resume Timer seconds must be between 0 and 59", "00|00|00|00|00||2|1"},
      {"00|00|00|00|60|00|2|1", IB::RMinutes, "Resume Timer minutes must be between 0 and 59", "00|00|00|00||00|2|1"},
      {"19|00|00|00|00|00|2|1", IB::QHours, "The Qualifier Timer cannot be more than 18 hours", "|00|00|00|00|00|2|1"},
      {"18|00|00|18|00|00|2|1", {}, "", "18|00|00|18|00|00|2|1"},
      {"18|00|01|00|00|00|2|1", IB::QMinutes, "The Qualifier Timer cannot be more than 18 hours",
       "18|00|00|00|00|00|2|1"},
      {"18|30|00|19|00|00|2|1", IB::QMinutes, "The Qualifier Timer cannot be more than 18 hours",
       "18|00|00|19|00|00|2|1"},
      {"00|00|00|20|00|00|2|1", IB::RHours, "The Resume Timer cannot be more than 18 hours", "00|00|00||00|00|2|1"},
      {"00|00|00|18|1|00|2|1", IB::RMinutes, "The Resume Timer cannot be more than 18 hours", "00|00|00|18|00|00|2|1"},
      // Text that a hand-edited list brought is refused first, box by box in tab order.
      {"00|00|00|00|00|00|9\v|1", IB::RepeatCounter, kDigitEntryMessage, "00|00|00|00|00|00||1"},
      {" 5|xx| 1|00|00|00|2|1", IB::QHours, kDigitEntryMessage, "|xx| 1|00|00|00|2|1"},
  };
  for (const auto& [before, focus, message, after] : rows) {
    InputSpecEntries entries = boxesOf(before);
    const auto failure = checkInputSpecEntries(entries);
    EXPECT_EQ(failure, focus ? std::optional(InputSpecFailure{*focus, message}) : std::nullopt) << before;
    EXPECT_EQ(entries, boxesOf(after)) << before;
  }
}

const std::string kPlace = "                  Not Programmed";
const std::string kRefused = "Phone number entries must be 0 - 9, *, #, or comma";

TEST(PhoneRules, RowsFromTheInputsLines) {
  std::vector<std::string> list = newProgramming().phoneNumbers;
  EXPECT_EQ(phoneRows(list, 1, false), clearedPhoneRows());
  list[lines::phoneLineIndex(4, 1)] = " P (1) *70,555";
  list[lines::phoneLineIndex(4, 3)] = " P (3)       Not Programmed";  // as read from the device
  list[lines::phoneLineIndex(4, 4)] = "   (4) ";
  const PhoneRows rows = phoneRows(list, 4, false);
  EXPECT_EQ(rows[0], (PhoneRow{"*70,555", true}));
  EXPECT_EQ(rows[2], (PhoneRow{kPlace, true}));
  EXPECT_EQ(rows[3], (PhoneRow{"", false}));
  EXPECT_EQ(rows[4], (PhoneRow{kPlace, false}));
  EXPECT_EQ(phoneRows(list, 4, true)[0], (PhoneRow{"*70,555", false}));  // a unit without pager marks
  // A short list is completed; rows of missing lines read as empty.
  EXPECT_EQ(completePhoneNumbers({}), newProgramming().phoneNumbers);
  EXPECT_EQ(phoneRows({"Input 1"}, 8, false)[7], (PhoneRow{"", false}));
}

TEST(PhoneRules, KeysAndPastes) {
  // Every key clears the placeholder first, taken or not.
  for (const int code : {int('5'), int('*'), int('#'), int(','), kBackspace}) {
    EXPECT_EQ(phoneKey(kPlace, code), (KeyVerdict{true, true, ""})) << code;
    EXPECT_EQ(phoneKey("555", code), KeyVerdict{}) << code;
  }
  for (const int code : {int('a'), int(' '), int('+'), kEnter, kEscape}) {
    EXPECT_EQ(phoneKey(kPlace, code), (KeyVerdict{false, true, kRefused})) << code;
    EXPECT_EQ(phoneKey("555", code), (KeyVerdict{false, false, kRefused})) << code;
  }
  EXPECT_EQ(phonePaste("12", "*70,555#"), PasteVerdict{});
  EXPECT_EQ(phonePaste(kPlace, "555"), (PasteVerdict{true, true, ""}));
  EXPECT_EQ(phonePaste("12", "555-1234"), (PasteVerdict{false, false, kRefused}));
  EXPECT_EQ(cutToLongest(std::string(40, '7')), std::string(32, '7'));
  EXPECT_EQ(cutToLongest(std::string(32, '7')), std::nullopt);
  EXPECT_EQ(cutToLongest(kPlace), std::nullopt);
}

TEST(PhoneRules, LinesFromTheRowsAsLeft) {
  const std::pair<PhoneRow, const char*> rows[] = {
      {{"555", true}, " P (1) 555"},
      {{"   555", false}, "   (1) 555"},
      {{kPlace, true}, "   (1)      Not Programmed"},  // an emptied box is not a blank number
      {{"  ", true}, "   (1)      Not Programmed"},
      {{"*" + kPlace, false}, "   (1)      Not Programmed"},
      {{std::string(32, '9'), false}, "   (1) 99999999999999999999999999999999"},
  };
  for (const auto& [row, line] : rows) EXPECT_EQ(phoneLine(1, row), line) << row.text;

  const std::vector<std::string> working = newProgramming().phoneNumbers;
  PhoneRows left = clearedPhoneRows();
  left[0] = {"555", true};
  left[7] = {"#9", false};
  std::vector<std::string> expected = working;
  expected[lines::phoneLineIndex(2, 1)] = " P (1) 555";
  expected[lines::phoneLineIndex(2, 8)] = "   (8) #9";
  EXPECT_EQ(rebuildPhoneNumbers(working, 2, left), expected);
  EXPECT_EQ(rebuildPhoneNumbers({"Input 1", ""}, 1, left).size(), 2u);
}

TEST(RecordCheck, TakesWhatTheEditorsTakeAndNamesEveryOtherValue) {
  // Every edge a value may stand at and still be taken.
  const Edit edges =
      all(setGlobal("Alarm Dialer (No Beeps)|000000|999999|0|07|Fast|Disabled|01|Enabled"),
          setInput(1, "Normally Open|Momentary|Hrs 18 Min 00 Sec 00|Hrs 17 Min 59 Sec 59|01|99"),
          setInput(2, "Disabled|Continuous|Hrs 00 Min 00 Sec 00|Hrs 00 Min 00 Sec 00|9|1"),
          setPhone(1, 2, lines::notProgrammed(2, 7)), setPhone(1, 3, "   (3) 0123456789*#,0123456789*#,01234"));
  const Edit aislecall = setGlobal("Aislecall|123456|N/A|0|N/A|N/A|N/A|N/A|N/A");
  const Edit noHookswitch = setGlobal(&G::hookswitchFlash, "Disabled");
  // A unit without pager marks and Hookswitch Flash, the edits of a new programming, the
  // problems as listed for a message (empty: taken).
  const std::tuple<const char*, bool, Edit, std::string> rows[] = {
      {"edges, short layout", true, all(edges, noHookswitch), ""},
      {"edges, 32 characters and pager marks", false,
       all(edges, setPhone(1, 3, " P (3) 0123456789*#,0123456789*#,012345"),
           setPhone(1, 2, lines::notProgrammed(2, 7, true))),
       ""},
      {"Aislecall", false, aislecall, ""},
      {"Aislecall after a short-layout read", true, all(aislecall, noHookswitch), ""},
      {"Global codes", false, setGlobal("Alarm Dialer|50723\x01|39061|12|0|N/A|N/A|5|N/A"),
       "Global, Security Code: \"50723\\x01\"\nGlobal, Access Code: \"39061\"\nGlobal, Ring Delay: \"12\"\n"
       "Global, Ringback Limit: \"0\"\nGlobal, Dialing Speed: \"N/A\"\nGlobal, Call Progress Detection: \"N/A\"\n"
       "Global, Hookswitch Flash: \"N/A\""},
      {"Forced Play Timer 00 with detection disabled", false,
       setGlobal("Alarm Dialer|507231|390618|1|100|Normal|Disabled|00|Disabled"),
       "Global, Ringback Limit: \"100\"\nGlobal, Forced Play Timer: \"00\""},
      {"Forced Play Timer with detection enabled, one digit", false, setGlobal(&G::forcedPlayTimer, "5"),
       "Global, Forced Play Timer: \"5\""},
      {"unknown Function: the others are not judged", false, setGlobal(&G::function, "Dialer"),
       "Global, Function: \"Dialer\""},
      {"Aislecall with values", false, setGlobal("Aislecall|123456|390618|0|N/A|N/A|N/A|N/A|Enabled"),
       "Global, Access Code: \"390618\"\nGlobal, Hookswitch Flash: \"Enabled\""},
      {"input fields", false,
       all(setInput(3, "9|5|Hrs 99 Min 00 Sec 00|Hrs 18 Min 00 Sec 01|00|123"),
           setInput(4, "Normally Open|Momentary|Hrs 01 Min 60 Sec 00|Hrs 1 Min 00 Sec 00|0|7a"),
           [](Programming& r) { r.inputSpecs[lines::inputFieldIndex(5)] = "Normally Open"; }),
       "Input 3, Normal State: \"9\"\nInput 3, Duration: \"5\"\nInput 3, Qualifier Timer: \"Hrs 99 Min 00 Sec 00\"\n"
       "Input 3, Resume Timer: \"Hrs 18 Min 00 Sec 01\"\nInput 3, Msg Rpt Count: \"00\"\n"
       "Input 3, Lap Counter: \"123\"\nInput 4, Qualifier Timer: \"Hrs 01 Min 60 Sec 00\"\n"
       "Input 4, Resume Timer: \"Hrs 1 Min 00 Sec 00\"\nInput 4, Msg Rpt Count: \"0\"\n"
       "Input 4, Lap Counter: \"7a\"\nand 1 more"},
      {"phone numbers", false,
       all(setPhone(2, 1, "   (1) 555-1234"), setPhone(2, 2, " P (2) 555\r1"),
           setPhone(2, 3, "   (3) " + std::string(33, '1')), setPhone(2, 4, "   (4) "),
           setPhone(2, 5, "   (5) " + std::string(100000, '5')), setPhone(2, 6, "(6) 911")),
       "Input 2 number 1, Phone Number: \"555-1234\"\nInput 2 number 2, Phone Number: \"555\\x0D1\"\n"
       "Input 2 number 3, Phone Number: \"111111111111111111111111111111111\"\n"
       "Input 2 number 4, Phone Number: \"\"\n"
       "Input 2 number 5, Phone Number: \"55555555555555555555555555555555...\" (100000 characters)\n"
       "Input 2 number 6, Phone Number: \"(6) 911\""},
      {"short layout: pager marks, Hookswitch Flash, 32 characters", true,
       all(setGlobal(&G::hookswitchFlash, "Enabled"), setPhone(8, 1, " P (1) 911"),
           setPhone(8, 2, lines::notProgrammed(2, 7, true)), setPhone(8, 3, "   (3) " + std::string(32, '1'))),
       "Global, Hookswitch Flash: \"Enabled\"\nInput 8 number 1, Pager: \"P\"\nInput 8 number 2, Pager: \"P\"\n"
       "Input 8 number 3, Phone Number: \"11111111111111111111111111111111\""},
      {"a read that stopped part way: what is missing alone", false,
       all(
           setGlobal(&G::securityCode, ""), [](Programming& r) { r.inputSpecs[9] = "Input 7"; },
           resizeList(&Programming::phoneNumbers, 70)),
       "Input 2, Input Specifications: missing\nInput 7, Phone Numbers: missing\nInput 8, Phone Numbers: missing"},
      {"lines after the last input", false, [](Programming& r) { r.inputSpecs.push_back("Input 9"); },
       "After Input 8, Input Specifications: \"Input 9\""},
  };
  for (const auto& [name, reduced, edit, problems] : rows) {
    const auto found = checkRecord(edited({edit}), reduced);
    EXPECT_EQ(problemList(found), problems) << name;
    EXPECT_EQ(found.empty(), problems.empty()) << name;
  }
}

}  // namespace
}  // namespace tarvek::entry
