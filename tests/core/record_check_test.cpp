#include "core/record_check.h"

#include <gtest/gtest.h>

#include "support/sample_records.h"

namespace tarvek::entry {
namespace {

using lines::Field;
using namespace test;
using G = GlobalSettings;

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
      {"new programming", false, Edit(), ""},
      {"new programming, short layout", true, Edit(), ""},
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
           setLine(&Programming::inputSpecs, lines::inputFieldIndex(5), "Normally Open")),
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
       all(setGlobal(&G::securityCode, ""), setLine(&Programming::inputSpecs, 9, "Input 7"),
           resizeList(&Programming::phoneNumbers, 70)),
       "Input 2, Input Specifications: missing\nInput 7, Phone Numbers: missing\nInput 8, Phone Numbers: missing"},
      {"lines after the last input", false, setLine(&Programming::inputSpecs, 72, "Input 9"),
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
