#include "core/compare.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "core/display_lines.h"

namespace tarvek {
namespace {

using comparison::Layout;
using lines::Field;
using Edit = std::function<void(Programming&)>;

Edit global(std::string GlobalSettings::*member, std::string value) {
  return [=](Programming& r) { r.global.*member = value; };
}
Edit field(int input, Field which, std::string value) {
  return [=](Programming& r) {
    r.inputSpecs[static_cast<std::size_t>(lines::inputFieldIndex(input) + static_cast<int>(which))] =
        lines::field(which, value);
  };
}
Edit phone(int input, int slot, std::string line) {
  return [=](Programming& r) { r.phoneNumbers[static_cast<std::size_t>(lines::phoneLineIndex(input, slot))] = line; };
}
Edit aislecall(std::string hookswitch) {
  return
      [=](Programming& r) { r.global = {"Aislecall", "507231", "N/A", "1", "N/A", "N/A", "N/A", "N/A", hookswitch}; };
}

TEST(Compare, ThroughTheWriteCommands) {
  using G = GlobalSettings;
  struct Case {
    const char* name;
    std::vector<Edit> first, second;
    Layout layout;
    std::vector<std::string> described;
    std::string problem;
  };
  const std::vector<Edit> sameMeaning{field(3, Field::MsgRptCount, "02"), field(3, Field::LapCounter, "01"),
                                      global(&G::ringbackLimit, "06"), phone(5, 2, lines::notProgrammed(2, 7)),
                                      phone(5, 3, lines::notProgrammed(3, 7, true))};
  const Case cases[] = {
      {"same meaning, full", sameMeaning, {}, Layout::Full, {}, ""},
      {"same meaning, short", sameMeaning, {}, Layout::Short, {}, ""},
      {"aislecall sends no N/A field",
       {aislecall("N/A")},
       {aislecall("Enabled"), global(&G::accessCode, "390618"), global(&G::ringbackLimit, "6"),
        global(&G::dialingSpeed, "Fast"), global(&G::callProgress, "Enabled")},
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
      {"pager, short", {phone(2, 3, " P (3) 9,555")}, {phone(2, 3, "   (3) 9,555")}, Layout::Short, {}, ""},
      {"pager, full",
       {phone(2, 3, " P (3) 9,555")},
       {phone(2, 3, "   (3) 9,555")},
       Layout::Full,
       {"Input 2 number 3\tPager\tYes\tNo"},
       ""},
      {"global values",
       {global(&G::function, "Alarm Dialer (No Beeps)"), global(&G::securityCode, "123456"),
        global(&G::accessCode, "111111"), global(&G::ringDelay, "3"), global(&G::ringbackLimit, "12"),
        global(&G::dialingSpeed, "Fast"), global(&G::callProgress, "Disabled"), global(&G::forcedPlayTimer, "30"),
        global(&G::hookswitchFlash, "Enabled")},
       {},
       Layout::Full,
       {"Global\tFunction\tAlarm Dialer (No Beeps)\tAlarm Dialer", "Global\tSecurity Code\t123456\t507231",
        "Global\tAccess Code\t111111\t390618", "Global\tRing Delay\t3\t1", "Global\tRingback Limit\t12\t6",
        "Global\tDialing Speed\tFast\tNormal", "Global\tCall Progress Detection\tDisabled\tEnabled",
        "Global\tForced Play Timer\t30\tN/A", "Global\tHookswitch Flash\tEnabled\tDisabled"},
       ""},
      {"timer only",
       {global(&G::callProgress, "Disabled"), global(&G::forcedPlayTimer, "30")},
       {global(&G::callProgress, "Disabled"), global(&G::forcedPlayTimer, "45")},
       Layout::Short,
       {"Global\tForced Play Timer\t30\t45"},
       ""},
      {"input fields",
       {field(1, Field::NormalState, "Normally Closed"), field(1, Field::Duration, "Continuous"),
        field(8, Field::QualifierTimer, "Hrs 00 Min 05 Sec 30"), field(8, Field::ResumeTimer, "Hrs 18 Min 00 Sec 00"),
        field(8, Field::MsgRptCount, "10"), field(8, Field::LapCounter, "7")},
       {},
       Layout::Short,
       {"Input 1\tNormal State\tNormally Closed\tNormally Open", "Input 1\tDuration\tContinuous\tMomentary",
        "Input 8\tQualifier Timer\tHrs 00 Min 05 Sec 30\tHrs 00 Min 00 Sec 00",
        "Input 8\tResume Timer\tHrs 18 Min 00 Sec 00\tHrs 00 Min 00 Sec 00", "Input 8\tMsg Rpt Count\t10\t2",
        "Input 8\tLap Counter\t7\t1"},
       ""},
      {"phone numbers",
       {phone(3, 2, "   (2) 5551234"), phone(8, 8, " P (8) *70,555")},
       {phone(3, 2, "   (2) 5559999")},
       Layout::Full,
       {"Input 3 number 2\tPhone Number\t5551234\t5559999", "Input 8 number 8\tPager\tYes\tNo",
        "Input 8 number 8\tPhone Number\t*70,555\tNot Programmed"},
       ""},
      {"a value that would break the line",
       {global(&G::securityCode, "1\\2\t4\n")},
       {},
       Layout::Full,
       {"Global\tSecurity Code\t1\\x5c2\\x094\\x0a\t507231"},
       ""},
      {"unknown function", {}, {global(&G::function, "Alarm")}, Layout::Full, {}, "second"},
      {"incomplete", {[](Programming& r) { r.phoneNumbers.resize(50); }}, {}, Layout::Full, {}, "first"},
  };
  for (const auto& c : cases) {
    Programming first = newProgramming();
    Programming second = newProgramming();
    for (const auto& edit : c.first) edit(first);
    for (const auto& edit : c.second) edit(second);
    const auto result = comparison::compare(first, second, c.layout);
    std::vector<std::string> described;
    for (const auto& difference : result.differences) described.push_back(comparison::describe(difference));
    EXPECT_EQ(described, c.described) << c.name;
    if (c.problem.empty())
      EXPECT_EQ(result.problem, "") << c.name;
    else
      EXPECT_THAT(result.problem, testing::HasSubstr(c.problem)) << c.name;
  }
}

}  // namespace
}  // namespace tarvek
