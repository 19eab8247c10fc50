// The protocol's commands and answers, and comparing records through them.

#include "core/codec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/compare.h"
#include "support/sample_records.h"

namespace tarvek {
namespace {

using comparison::Layout;
using lines::Field;
using namespace test;
using G = GlobalSettings;

// Settings are written "Function|Security Code|...|Forced Play Timer|Hookswitch Flash". What
// a unit in its factory state answers is the connect operation's test.
TEST(Codec, DecodesTheGlobalAnswerInBothLayouts) {
  const std::tuple<std::string, bool, const char*> rows[] = {
      {"21234569876543121130", false, "Alarm Dialer (No Beeps)|123456|987654|3|12|Fast|Disabled|30|Enabled"},
      {"01111112222225991005", false, "Alarm Dialer|111111|222222|5|99|Fast|Disabled|05|Disabled"},
      {"11234569876547061130", false, "Aislecall|123456|N/A|7|N/A|N/A|N/A|N/A|N/A"},
      {"0123456654321210000\r", true, "Alarm Dialer|123456|654321|2|10|Normal|Enabled|N/A|Disabled"},
      {"0123456654321210007\r", true, "Alarm Dialer|123456|654321|2|10|Normal|Disabled|07|Disabled"},
      {"1123456654321210600\r", true, "Aislecall|123456|N/A|2|N/A|N/A|N/A|N/A|Disabled"},
      // An unknown Function code leaves the Function as it was; missing characters read as empty.
      {"91234569876543061000", false, "before|123456|987654|3|6|Fast|Enabled|N/A|Disabled"},
      {"", false, "before|||||Fast|Disabled||Enabled"},
      {"01234569876543", false, "Alarm Dialer|123456|987654|3||Fast|Disabled|43|Enabled"},
  };
  for (const auto& [answer, shortLayout, expected] : rows) {
    GlobalSettings settings = globalOf("before||||||||");
    codec::decodeGlobal(answer, shortLayout, settings);
    EXPECT_EQ(settings, globalOf(expected)) << answer;
  }
}

// Six code characters, then the two timers as 16-bit counts of seconds, low byte first.
std::string inputAnswer(const char* codes, unsigned qualifier, unsigned resume) {
  return codes + std::string{char(qualifier & 0xff), char(qualifier >> 8), char(resume & 0xff), char(resume >> 8)};
}

TEST(Codec, DecodesAnInputAnswerIntoItsSixFieldLines) {
  const std::pair<std::string, const char*> rows[] = {
      {inputAnswer("111009", 3600, 65535), "Normally Closed|Continuous|Hrs 01 Min 00 Sec 00|Hrs 18 Min 12 Sec 15|10|9"},
      {inputAnswer("200099", 330, 18 * 3600), "Disabled|Momentary|Hrs 00 Min 05 Sec 30|Hrs 18 Min 00 Sec 00|0|99"},
      {inputAnswer("7x0101", 59, 61), "7|x|Hrs 00 Min 00 Sec 59|Hrs 00 Min 01 Sec 01|1|1"},  // codes show as themselves
  };
  for (const auto& [answer, values] : rows) {
    std::vector<std::string> lines;
    codec::appendInputFields(answer, lines);
    EXPECT_EQ(lines, fieldLines(values)) << values;
  }
  // An answer short of a timer byte is a run-time error, after the lines made before it.
  for (const std::size_t length : {0u, 7u, 8u, 9u}) {
    std::vector<std::string> lines;
    EXPECT_THROW(codec::appendInputFields(inputAnswer("000201", 300, 300).substr(0, length), lines),
                 codec::DecodeError);
    EXPECT_EQ(lines.size(), length >= 8 ? 3u : 2u) << length;
  }
}

TEST(Codec, DecodesAPhoneAnswerIntoItsLine) {
  const std::string blank32(32, ' ');
  const std::string full32 = "12345678901234567890123456789012";
  const std::pair<std::string, std::string> rows[] = {
      {"9,555" + std::string(27, ' ') + "0", "   (3) 9,555"},
      {blank32 + "0", "   (3)       Not Programmed"},
      {blank32 + "1", " P (3)       Not Programmed"},
      {full32 + "0", "   (3) " + full32},
      {full32.substr(0, 31) + "\r", "   (3) " + full32.substr(0, 31)},
      {blank32.substr(0, 31) + "\r", "   (3)       Not Programmed"},
      {"*70#" + std::string(28, ' ') + "x", "   (3) *70#"},
  };
  for (const auto& [answer, line] : rows) EXPECT_EQ(codec::phoneLineFromAnswer(3, answer), line) << answer;
}

// What a new programming gives is the send operation's test.
TEST(Codec, EncodesTheWriteCommandsInBothLayouts) {
  const std::tuple<const char*, bool, const char*> globals[] = {
      // settings, short layout, command ("": refused)
      {"Alarm Dialer (No Beeps)|123456|654321|0|12|Fast|Disabled|45|Enabled", false, "MW21234566543210121145"},
      {"Aislecall|111111|N/A|9|N/A|N/A|N/A|N/A|N/A", false, "MW11111113906189061100"},
      {"Aislecall|111111|N/A|9|N/A|N/A|N/A|N/A|Disabled", true, "MW1111111390618906100"},
      // A Function without a code would make a command one character short.
      {"alarm dialer|507231|390618|1|6|Normal|Enabled|N/A|Disabled", false, ""},
  };
  for (const auto& [settings, shortLayout, command] : globals)
    EXPECT_EQ(codec::encodeGlobal(globalOf(settings), shortLayout).value_or(""), command) << settings;

  const std::tuple<int, const char*, const char*> inputs[] = {
      {8, "Normally Closed|Continuous|Hrs 18 Min 00 Sec 00|Hrs 01 Min 05 Sec 30|10|07", "I8W111007180000010530"},
      {4, "Disabled|Momentary|Hrs 00 Min 00 Sec 00|Hrs 00 Min 00 Sec 00|0|99", "I4W200099000000000000"},
  };
  for (const auto& [input, values, command] : inputs) EXPECT_EQ(codec::encodeInput(input, fieldLines(values)), command);

  const std::tuple<int, int, const char*, bool, const char*> phones[] = {
      // input, slot 0-7, line, short layout
      {8, 0, " P (1)       Not Programmed", false, "N8W00"},  // an empty slot is never a pager
      {1, 7, "   (8) 12345678901234567890123456789012", false, "N1W7012345678901234567890123456789012"},
      {3, 4, "   (5) ", false, "N3W40"},
  };
  for (const auto& [input, slot, line, shortLayout, command] : phones)
    EXPECT_EQ(codec::encodePhone(input, slot, line, shortLayout), command) << line;
}

// Two records differ where their write commands do.
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
