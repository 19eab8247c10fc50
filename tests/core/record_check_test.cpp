#include "core/record_check.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/display_lines.h"

namespace tarvek::entry {
namespace {

using lines::Field;

void setField(Programming& record, int input, Field which, const std::string& value) {
  record.inputSpecs[static_cast<std::size_t>(lines::inputFieldIndex(input) + static_cast<int>(which))] =
      lines::field(which, value);
}

std::string& phoneAt(Programming& record, int input, int slot) {
  return record.phoneNumbers[static_cast<std::size_t>(lines::phoneLineIndex(input, slot))];
}

void aislecall(Programming& record) {
  record.global = {"Aislecall", "123456", "N/A", "0", "N/A", "N/A", "N/A", "N/A", "N/A"};
}

// Every edge a value may stand at and still be taken.
void edges(Programming& record) {
  record.global = {"Alarm Dialer (No Beeps)", "000000", "999999", "0", "07", "Fast", "Disabled", "01", "Enabled"};
  setField(record, 1, Field::QualifierTimer, "Hrs 18 Min 00 Sec 00");
  setField(record, 1, Field::ResumeTimer, "Hrs 17 Min 59 Sec 59");
  setField(record, 1, Field::MsgRptCount, "01");
  setField(record, 1, Field::LapCounter, "99");
  setField(record, 2, Field::NormalState, "Disabled");
  setField(record, 2, Field::Duration, "Continuous");
  setField(record, 2, Field::MsgRptCount, "9");
  phoneAt(record, 1, 1) = lines::phone(1, "0123456789*#,0123456789*#,01234", false);
  phoneAt(record, 1, 2) = lines::notProgrammed(2, 7);
}

struct CheckCase {
  const char* name;
  bool reduced;
  std::function<void(Programming&)> change;
  std::string problems;  // as listed for a message; empty: taken
};

TEST(RecordCheck, TakesWhatTheEditorsTakeAndNamesEveryOtherValue) {
  const CheckCase cases[] = {
      {"new programming", false, [](Programming&) {}, ""},
      {"new programming, short layout", true, [](Programming&) {}, ""},
      {"edges", false, edges, ""},
      {"edges, 32 characters and pager marks", false,
       [](Programming& r) {
         edges(r);
         phoneAt(r, 1, 1) = lines::phone(1, "0123456789*#,0123456789*#,012345", true);
         phoneAt(r, 1, 2) = lines::notProgrammed(2, 7, true);
       },
       ""},
      {"edges, short layout", true,
       [](Programming& r) {
         edges(r);
         r.global.hookswitchFlash = "Disabled";
       },
       ""},
      {"Aislecall", false, aislecall, ""},
      {"Aislecall after a short-layout read", true,
       [](Programming& r) {
         aislecall(r);
         r.global.hookswitchFlash = "Disabled";
       },
       ""},
      {"Global codes", false,
       [](Programming& r) {
         r.global = {"Alarm Dialer", std::string("50723\0", 6), "39061", "12", "0", "N/A", "N/A", "5", "N/A"};
       },
       "Global, Security Code: \"50723\\x00\"\nGlobal, Access Code: \"39061\"\nGlobal, Ring Delay: \"12\"\n"
       "Global, Ringback Limit: \"0\"\nGlobal, Dialing Speed: \"N/A\"\nGlobal, Call Progress Detection: \"N/A\"\n"
       "Global, Hookswitch Flash: \"N/A\""},
      {"Forced Play Timer 00 with detection disabled", false,
       [](Programming& r) {
         r.global.callProgress = "Disabled";
         r.global.forcedPlayTimer = "00";
         r.global.ringbackLimit = "100";
       },
       "Global, Ringback Limit: \"100\"\nGlobal, Forced Play Timer: \"00\""},
      {"Forced Play Timer with detection enabled, one digit", false,
       [](Programming& r) { r.global.forcedPlayTimer = "5"; }, "Global, Forced Play Timer: \"5\""},
      {"unknown Function: the others are not judged", false, [](Programming& r) { r.global.function = "Dialer"; },
       "Global, Function: \"Dialer\""},
      {"Aislecall with values", false,
       [](Programming& r) {
         aislecall(r);
         r.global.accessCode = "390618";
         r.global.hookswitchFlash = "Enabled";
       },
       "Global, Access Code: \"390618\"\nGlobal, Hookswitch Flash: \"Enabled\""},
      {"input fields", false,
       [](Programming& r) {
         setField(r, 3, Field::NormalState, "9");
         setField(r, 3, Field::Duration, "5");
         setField(r, 3, Field::QualifierTimer, "Hrs 99 Min 00 Sec 00");
         setField(r, 3, Field::ResumeTimer, "Hrs 18 Min 00 Sec 01");
         setField(r, 3, Field::MsgRptCount, "00");
         setField(r, 3, Field::LapCounter, "123");
         setField(r, 4, Field::QualifierTimer, "Hrs 01 Min 60 Sec 00");
         setField(r, 4, Field::ResumeTimer, "Hrs 1 Min 00 Sec 00");
         setField(r, 4, Field::MsgRptCount, "0");
         setField(r, 4, Field::LapCounter, "7a");
         r.inputSpecs[static_cast<std::size_t>(lines::inputFieldIndex(5))] = "Normally Open";
       },
       "Input 3, Normal State: \"9\"\nInput 3, Duration: \"5\"\nInput 3, Qualifier Timer: \"Hrs 99 Min 00 Sec 00\"\n"
       "Input 3, Resume Timer: \"Hrs 18 Min 00 Sec 01\"\nInput 3, Msg Rpt Count: \"00\"\n"
       "Input 3, Lap Counter: \"123\"\nInput 4, Qualifier Timer: \"Hrs 01 Min 60 Sec 00\"\n"
       "Input 4, Resume Timer: \"Hrs 1 Min 00 Sec 00\"\nInput 4, Msg Rpt Count: \"0\"\n"
       "Input 4, Lap Counter: \"7a\"\nand 1 more"},
      {"phone numbers", false,
       [](Programming& r) {
         phoneAt(r, 2, 1) = lines::phone(1, "555-1234", false);
         phoneAt(r, 2, 2) = lines::phone(2, "555\r1", true);
         phoneAt(r, 2, 3) = lines::phone(3, std::string(33, '1'), false);
         phoneAt(r, 2, 4) = lines::phone(4, "", false);
         phoneAt(r, 2, 5) = lines::phone(5, std::string(100000, '5'), false);
         phoneAt(r, 2, 6) = "(6) 911";
       },
       "Input 2 number 1, Phone Number: \"555-1234\"\nInput 2 number 2, Phone Number: \"555\\x0D1\"\n"
       "Input 2 number 3, Phone Number: \"111111111111111111111111111111111\"\n"
       "Input 2 number 4, Phone Number: \"\"\n"
       "Input 2 number 5, Phone Number: \"55555555555555555555555555555555...\" (100000 characters)\n"
       "Input 2 number 6, Phone Number: \"(6) 911\""},
      {"short layout: pager marks, Hookswitch Flash, 32 characters", true,
       [](Programming& r) {
         r.global.hookswitchFlash = "Enabled";
         phoneAt(r, 8, 1) = lines::phone(1, "911", true);
         phoneAt(r, 8, 2) = lines::notProgrammed(2, 7, true);
         phoneAt(r, 8, 3) = lines::phone(3, std::string(32, '1'), false);
       },
       "Global, Hookswitch Flash: \"Enabled\"\nInput 8 number 1, Pager: \"P\"\nInput 8 number 2, Pager: \"P\"\n"
       "Input 8 number 3, Phone Number: \"11111111111111111111111111111111\""},
      {"a read that stopped part way: what is missing alone", false,
       [](Programming& r) {
         r.global.securityCode.clear();
         r.inputSpecs[9] = "Input 7";
         r.phoneNumbers.resize(70);
       },
       "Input 2, Input Specifications: missing\nInput 7, Phone Numbers: missing\nInput 8, Phone Numbers: missing"},
      {"lines after the last input", false, [](Programming& r) { r.inputSpecs.push_back("Input 9"); },
       "After Input 8, Input Specifications: \"Input 9\""},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    Programming record = newProgramming();
    c.change(record);
    const auto problems = checkRecord(record, c.reduced);
    EXPECT_EQ(problemList(problems), c.problems);
    EXPECT_EQ(problems.empty(), c.problems.empty());
  }
}

}  // namespace
}  // namespace tarvek::entry
