#include "core/compare.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/sample_records.h"

namespace tarvek {
namespace {

using comparison::Layout;
using lines::Field;
using namespace test;
using G = GlobalSettings;

TEST(Compare, ThroughTheWriteCommands) {
  const Edit sameMeaning = all(setField(3, Field::MsgRptCount, "02"), setField(3, Field::LapCounter, "01"),
                               setGlobal(&G::ringbackLimit, "06"), setPhone(5, 2, lines::notProgrammed(2, 7)),
                               setPhone(5, 3, lines::notProgrammed(3, 7, true)));
  const auto aislecall = [](const char* hookswitch) {
    return setGlobal(std::string("Aislecall|507231|N/A|1|N/A|N/A|N/A|N/A|") + hookswitch);
  };
  const Edit pager = setPhone(2, 3, " P (3) 9,555");
  const Edit noPager = setPhone(2, 3, "   (3) 9,555");
  // The edits of the two records, the layout, the differences one to a line, the problem.
  const std::tuple<const char*, Edit, Edit, Layout, std::string, std::string> rows[] = {
      {"same meaning, full", sameMeaning, Edit(), Layout::Full, "", ""},
      {"same meaning, short", sameMeaning, Edit(), Layout::Short, "", ""},
      {"aislecall sends no N/A field", aislecall("N/A"),
       setGlobal("Aislecall|507231|390618|1|6|Fast|Enabled|N/A|Enabled"), Layout::Full, "", ""},
      {"hookswitch, short", aislecall("N/A"), aislecall("Disabled"), Layout::Short, "", ""},
      {"hookswitch, full", aislecall("N/A"), aislecall("Disabled"), Layout::Full,
       "Global\tHookswitch Flash\tN/A\tDisabled\n", ""},
      {"pager, short", pager, noPager, Layout::Short, "", ""},
      {"pager, full", pager, noPager, Layout::Full, "Input 2 number 3\tPager\tYes\tNo\n", ""},
      {"global values", setGlobal("Alarm Dialer (No Beeps)|123456|111111|3|12|Fast|Disabled|30|Enabled"), Edit(),
       Layout::Full,
       "Global\tFunction\tAlarm Dialer (No Beeps)\tAlarm Dialer\nGlobal\tSecurity Code\t123456\t507231\n"
       "Global\tAccess Code\t111111\t390618\nGlobal\tRing Delay\t3\t1\nGlobal\tRingback Limit\t12\t6\n"
       "Global\tDialing Speed\tFast\tNormal\nGlobal\tCall Progress Detection\tDisabled\tEnabled\n"
       "Global\tForced Play Timer\t30\tN/A\nGlobal\tHookswitch Flash\tEnabled\tDisabled\n",
       ""},
      {"timer only", all(setGlobal(&G::callProgress, "Disabled"), setGlobal(&G::forcedPlayTimer, "30")),
       all(setGlobal(&G::callProgress, "Disabled"), setGlobal(&G::forcedPlayTimer, "45")), Layout::Short,
       "Global\tForced Play Timer\t30\t45\n", ""},
      {"input fields",
       all(setInput(1, "Normally Closed|Continuous|Hrs 00 Min 00 Sec 00|Hrs 00 Min 00 Sec 00|2|1"),
           setInput(8, "Normally Open|Momentary|Hrs 00 Min 05 Sec 30|Hrs 18 Min 00 Sec 00|10|7")),
       Edit(), Layout::Short,
       "Input 1\tNormal State\tNormally Closed\tNormally Open\nInput 1\tDuration\tContinuous\tMomentary\n"
       "Input 8\tQualifier Timer\tHrs 00 Min 05 Sec 30\tHrs 00 Min 00 Sec 00\n"
       "Input 8\tResume Timer\tHrs 18 Min 00 Sec 00\tHrs 00 Min 00 Sec 00\nInput 8\tMsg Rpt Count\t10\t2\n"
       "Input 8\tLap Counter\t7\t1\n",
       ""},
      {"phone numbers", all(setPhone(3, 2, "   (2) 5551234"), setPhone(8, 8, " P (8) *70,555")),
       setPhone(3, 2, "   (2) 5559999"), Layout::Full,
       "Input 3 number 2\tPhone Number\t5551234\t5559999\nInput 8 number 8\tPager\tYes\tNo\n"
       "Input 8 number 8\tPhone Number\t*70,555\tNot Programmed\n",
       ""},
      {"a value that would break the line", setGlobal(&G::securityCode, "1\\2\t4\n"), Edit(), Layout::Full,
       "Global\tSecurity Code\t1\\x5c2\\x094\\x0a\t507231\n", ""},
      {"unknown function", Edit(), setGlobal(&G::function, "Alarm"), Layout::Full, "", "second"},
      {"incomplete", resizeList(&Programming::phoneNumbers, 50), Edit(), Layout::Full, "", "first"},
  };
  for (const auto& [name, first, second, layout, described, problem] : rows) {
    const auto result = comparison::compare(edited({first}), edited({second}), layout);
    std::string lines;
    for (const auto& difference : result.differences) lines += comparison::describe(difference) + "\n";
    EXPECT_EQ(lines, described) << name;
    EXPECT_EQ(result.problem.empty(), problem.empty()) << name;
    EXPECT_THAT(result.problem, testing::HasSubstr(problem)) << name;
  }
}

}  // namespace
}  // namespace tarvek
