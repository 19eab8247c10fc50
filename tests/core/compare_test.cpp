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
  const std::vector<Edit> sameMeaning{setField(3, Field::MsgRptCount, "02"), setField(3, Field::LapCounter, "01"),
                                      setGlobal(&G::ringbackLimit, "06"), setPhone(5, 2, lines::notProgrammed(2, 7)),
                                      setPhone(5, 3, lines::notProgrammed(3, 7, true))};
  const auto aislecall = [](const char* hookswitch) {
    return setGlobal(std::string("Aislecall|507231|N/A|1|N/A|N/A|N/A|N/A|") + hookswitch);
  };
  const struct {
    const char* name;
    std::vector<Edit> first, second;
    Layout layout;
    std::vector<std::string> described;
    std::string problem;
  } rows[] = {
      {"same meaning, full", sameMeaning, {}, Layout::Full, {}, ""},
      {"same meaning, short", sameMeaning, {}, Layout::Short, {}, ""},
      {"aislecall sends no N/A field",
       {aislecall("N/A")},
       {setGlobal("Aislecall|507231|390618|1|6|Fast|Enabled|N/A|Enabled")},
       Layout::Full,
       {},
       ""},
      {"hookswitch, short", {aislecall("N/A")}, {aislecall("Disabled")}, Layout::Short, {}, ""},
      {"hookswitch, full",
       {aislecall("N/A")},
       {aislecall("Disabled")},
       Layout::Full,
       {"Global\tHookswitch Flash\tN/A\tDisabled"},
       ""},
      {"pager, short", {setPhone(2, 3, " P (3) 9,555")}, {setPhone(2, 3, "   (3) 9,555")}, Layout::Short, {}, ""},
      {"pager, full",
       {setPhone(2, 3, " P (3) 9,555")},
       {setPhone(2, 3, "   (3) 9,555")},
       Layout::Full,
       {"Input 2 number 3\tPager\tYes\tNo"},
       ""},
      {"global values",
       {setGlobal("Alarm Dialer (No Beeps)|123456|111111|3|12|Fast|Disabled|30|Enabled")},
       {},
       Layout::Full,
       {"Global\tFunction\tAlarm Dialer (No Beeps)\tAlarm Dialer", "Global\tSecurity Code\t123456\t507231",
        "Global\tAccess Code\t111111\t390618", "Global\tRing Delay\t3\t1", "Global\tRingback Limit\t12\t6",
        "Global\tDialing Speed\tFast\tNormal", "Global\tCall Progress Detection\tDisabled\tEnabled",
        "Global\tForced Play Timer\t30\tN/A", "Global\tHookswitch Flash\tEnabled\tDisabled"},
       ""},
      {"timer only",
       {setGlobal(&G::callProgress, "Disabled"), setGlobal(&G::forcedPlayTimer, "30")},
       {setGlobal(&G::callProgress, "Disabled"), setGlobal(&G::forcedPlayTimer, "45")},
       Layout::Short,
       {"Global\tForced Play Timer\t30\t45"},
       ""},
      {"input fields",
       {setInput(1, "Normally Closed|Continuous|Hrs 00 Min 00 Sec 00|Hrs 00 Min 00 Sec 00|2|1"),
        setInput(8, "Normally Open|Momentary|Hrs 00 Min 05 Sec 30|Hrs 18 Min 00 Sec 00|10|7")},
       {},
       Layout::Short,
       {"Input 1\tNormal State\tNormally Closed\tNormally Open", "Input 1\tDuration\tContinuous\tMomentary",
        "Input 8\tQualifier Timer\tHrs 00 Min 05 Sec 30\tHrs 00 Min 00 Sec 00",
        "Input 8\tResume Timer\tHrs 18 Min 00 Sec 00\tHrs 00 Min 00 Sec 00", "Input 8\tMsg Rpt Count\t10\t2",
        "Input 8\tLap Counter\t7\t1"},
       ""},
      {"phone numbers",
       {setPhone(3, 2, "   (2) 5551234"), setPhone(8, 8, " P (8) *70,555")},
       {setPhone(3, 2, "   (2) 5559999")},
       Layout::Full,
       {"Input 3 number 2\tPhone Number\t5551234\t5559999", "Input 8 number 8\tPager\tYes\tNo",
        "Input 8 number 8\tPhone Number\t*70,555\tNot Programmed"},
       ""},
      {"a value that would break the line",
       {setGlobal(&G::securityCode, "1\\2\t4\n")},
       {},
       Layout::Full,
       {"Global\tSecurity Code\t1\\x5c2\\x094\\x0a\t507231"},
       ""},
      {"unknown function", {}, {setGlobal(&G::function, "Alarm")}, Layout::Full, {}, "second"},
      {"incomplete", {resizeList(&Programming::phoneNumbers, 50)}, {}, Layout::Full, {}, "first"},
  };
  for (const auto& row : rows) {
    const auto result = comparison::compare(edited(row.first), edited(row.second), row.layout);
    std::vector<std::string> described;
    for (const auto& difference : result.differences) described.push_back(comparison::describe(difference));
    EXPECT_EQ(described, row.described) << row.name;
    EXPECT_EQ(result.problem.empty(), row.problem.empty()) << row.name;
    EXPECT_THAT(result.problem, testing::HasSubstr(row.problem)) << row.name;
  }
}

}  // namespace
}  // namespace tarvek
