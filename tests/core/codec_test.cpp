#include "core/codec.h"

#include <gtest/gtest.h>

#include "core/display_lines.h"
#include "support/record_printers.h"

namespace tarvek {
namespace {

GlobalSettings unset() { return GlobalSettings{"before", "", "", "", "", "", "", "", ""}; }

struct GlobalCase {
  const char* name;
  std::string answer;
  bool shortLayout;
  GlobalSettings expected;
};

TEST(DecodeGlobal, FullAndShortLayouts) {
  const GlobalCase cases[] = {
      {"call progress enabled",
       "05072313906181060000",
       false,
       {"Alarm Dialer", "507231", "390618", "1", "6", "Normal", "Enabled", "N/A", "Disabled"}},
      {"forced play 30, fast, hookswitch",
       "21234569876543121130",
       false,
       {"Alarm Dialer (No Beeps)", "123456", "987654", "3", "12", "Fast", "Disabled", "30", "Enabled"}},
      {"forced play keeps its zero",
       "01111112222225991005",
       false,
       {"Alarm Dialer", "111111", "222222", "5", "99", "Fast", "Disabled", "05", "Disabled"}},
      {"aislecall",
       "11234569876547061130",
       false,
       {"Aislecall", "123456", "N/A", "7", "N/A", "N/A", "N/A", "N/A", "N/A"}},
      {"short layout",
       "0123456654321210000\r",
       true,
       {"Alarm Dialer", "123456", "654321", "2", "10", "Normal", "Enabled", "N/A", "Disabled"}},
      {"short layout forced play",
       "0123456654321210007\r",
       true,
       {"Alarm Dialer", "123456", "654321", "2", "10", "Normal", "Disabled", "07", "Disabled"}},
      {"short layout aislecall keeps hookswitch disabled",
       "1123456654321210600\r",
       true,
       {"Aislecall", "123456", "N/A", "2", "N/A", "N/A", "N/A", "N/A", "Disabled"}},
      {"unknown function leaves the label",
       "91234569876543061000",
       false,
       {"before", "123456", "987654", "3", "6", "Fast", "Enabled", "N/A", "Disabled"}},
  };
  for (const auto& c : cases) {
    GlobalSettings settings = unset();
    codec::decodeGlobal(c.answer, c.shortLayout, settings);
    EXPECT_EQ(settings, c.expected) << c.name;
  }
}

TEST(DecodeGlobal, ShortAnswersReadMissingPositionsAsEmpty) {
  GlobalSettings settings = unset();
  codec::decodeGlobal("", false, settings);
  // No Function code: the label stays; a missing speed or hookswitch code is "not 0".
  EXPECT_EQ(settings, (GlobalSettings{"before", "", "", "", "", "Fast", "Disabled", "", "Enabled"}));

  settings = unset();
  codec::decodeGlobal("0123", false, settings);
  EXPECT_EQ(settings.function, "Alarm Dialer");
  EXPECT_EQ(settings.securityCode, "123");
  EXPECT_EQ(settings.callProgress, "Disabled");
  EXPECT_EQ(settings.forcedPlayTimer, "23");

  settings = unset();
  codec::decodeGlobal("01234569876543", false, settings);
  EXPECT_EQ(settings.ringDelay, "3");
  EXPECT_EQ(settings.ringbackLimit, "");
}

std::string inputRecord(const std::string& codes, unsigned qualifier, unsigned resume) {
  std::string record = codes;
  record += static_cast<char>(qualifier & 0xff);
  record += static_cast<char>(qualifier >> 8);
  record += static_cast<char>(resume & 0xff);
  record += static_cast<char>(resume >> 8);
  return record;
}

TEST(DecodeInput, FieldLinesFromTheRecord) {
  struct Case {
    std::string answer;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {inputRecord("000201", 0, 0),
       {"  Normal State      Normally Open", "  Duration          Momentary",
        "  Qualifier Timer   Hrs 00 Min 00 Sec 00", "  Resume Timer      Hrs 00 Min 00 Sec 00", "  Msg Rpt Count     2",
        "  Lap Counter       1"}},
      {std::string("1"
                   "1"
                   "10"
                   "09") +
           "\x10\x0e" + "\xff\xff",
       {"  Normal State      Normally Closed", "  Duration          Continuous",
        "  Qualifier Timer   Hrs 01 Min 00 Sec 00", "  Resume Timer      Hrs 18 Min 12 Sec 15",
        "  Msg Rpt Count     10", "  Lap Counter       9"}},
      {inputRecord("200099", 330, 18 * 3600),
       {"  Normal State      Disabled", "  Duration          Momentary", "  Qualifier Timer   Hrs 00 Min 05 Sec 30",
        "  Resume Timer      Hrs 18 Min 00 Sec 00", "  Msg Rpt Count     0", "  Lap Counter       99"}},
      // Codes outside their range show as themselves.
      {inputRecord("7x0101", 59, 61),
       {"  Normal State      7", "  Duration          x", "  Qualifier Timer   Hrs 00 Min 00 Sec 59",
        "  Resume Timer      Hrs 00 Min 01 Sec 01", "  Msg Rpt Count     1", "  Lap Counter       1"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines;
    codec::appendInputFields(c.answer, lines);
    EXPECT_EQ(lines, c.lines);
  }
}

TEST(DecodeInput, ARecordShortOfItsTimersIsARunTimeError) {
  for (std::size_t length : {0u, 6u, 7u, 8u, 9u}) {
    std::vector<std::string> lines;
    const std::string answer = inputRecord("000201", 300, 300).substr(0, length);
    EXPECT_THROW(codec::appendInputFields(answer, lines), codec::DecodeError) << length;
    // The lines before the missing timer were already made.
    EXPECT_EQ(lines.size(), length >= 8 ? 3u : 2u) << length;
  }
}

TEST(DecodePhone, LinesWithPagerMarkAndNotProgrammed) {
  const std::string padded32 = std::string("9,555") + std::string(27, ' ');
  const std::string full32 = "12345678901234567890123456789012";
  const std::string full31 = full32.substr(0, 31);
  const std::pair<std::string, std::string> cases[] = {
      {padded32 + "1", " P (3) 9,555"},
      {padded32 + "0", "   (3) 9,555"},
      {std::string(32, ' ') + "0", "   (3)       Not Programmed"},
      {std::string(32, ' ') + "1", " P (3)       Not Programmed"},
      {full32 + "0", "   (3) " + full32},
      {full31 + "\r", "   (3) " + full31},
      {std::string(31, ' ') + "\r", "   (3)       Not Programmed"},
      {"*70#" + std::string(28, ' ') + "x", "   (3) *70#"},
  };
  for (const auto& [answer, line] : cases) EXPECT_EQ(codec::phoneLineFromAnswer(3, answer), line);
}

TEST(EncodeGlobal, FromTheLabels) {
  struct Case {
    GlobalSettings settings;
    bool shortLayout;
    std::string command;
  };
  const Case cases[] = {
      {{"Alarm Dialer", "507231", "390618", "1", "6", "Normal", "Enabled", "N/A", "Disabled"},
       false,
       "MW05072313906181060000"},
      {{"Alarm Dialer (No Beeps)", "123456", "654321", "0", "12", "Fast", "Disabled", "45", "Enabled"},
       false,
       "MW21234566543210121145"},
      {{"Aislecall", "111111", "N/A", "9", "N/A", "N/A", "N/A", "N/A", "N/A"}, false, "MW11111113906189061100"},
      {{"Alarm Dialer", "507231", "390618", "1", "6", "Normal", "Enabled", "N/A", "Disabled"},
       true,
       "MW0507231390618106000"},
      {{"Aislecall", "111111", "N/A", "9", "N/A", "N/A", "N/A", "N/A", "Disabled"}, true, "MW1111111390618906100"},
  };
  for (const auto& c : cases) {
    const auto command = codec::encodeGlobal(c.settings, c.shortLayout);
    ASSERT_TRUE(command.has_value());
    EXPECT_EQ(*command, c.command);
    EXPECT_EQ(command->size(), c.shortLayout ? 21u : 22u);
  }
}

TEST(EncodeGlobal, RefusesAFunctionItCannotCode) {
  for (const char* function : {"", "alarm dialer", "Alarm Dialer ", "before"}) {
    GlobalSettings settings{function, "507231", "390618", "1", "6", "Normal", "Enabled", "N/A", "Disabled"};
    EXPECT_FALSE(codec::encodeGlobal(settings, false).has_value()) << function;
  }
}

TEST(EncodeInput, FromTheFieldLines) {
  using lines::Field;
  const std::vector<std::string> defaults{lines::field(Field::NormalState, "Normally Open"),
                                          lines::field(Field::Duration, "Momentary"),
                                          lines::field(Field::QualifierTimer, "Hrs 00 Min 00 Sec 00"),
                                          lines::field(Field::ResumeTimer, "Hrs 00 Min 00 Sec 00"),
                                          lines::field(Field::MsgRptCount, "2"),
                                          lines::field(Field::LapCounter, "1")};
  EXPECT_EQ(codec::encodeInput(1, defaults), "I1W000201000000000000");

  const std::vector<std::string> edited{lines::field(Field::NormalState, "Normally Closed"),
                                        lines::field(Field::Duration, "Continuous"),
                                        lines::field(Field::QualifierTimer, "Hrs 18 Min 00 Sec 00"),
                                        lines::field(Field::ResumeTimer, "Hrs 01 Min 05 Sec 30"),
                                        lines::field(Field::MsgRptCount, "10"),
                                        lines::field(Field::LapCounter, "07")};
  EXPECT_EQ(codec::encodeInput(8, edited), "I8W111007180000010530");

  const std::vector<std::string> disabled{lines::field(Field::NormalState, "Disabled"),
                                          lines::field(Field::Duration, "Momentary"),
                                          defaults[2],
                                          defaults[3],
                                          lines::field(Field::MsgRptCount, "0"),
                                          lines::field(Field::LapCounter, "99")};
  EXPECT_EQ(codec::encodeInput(4, disabled), "I4W200099000000000000");
}

TEST(EncodeInput, IsTwentyOneCharactersForEveryWellFormedInput) {
  EXPECT_EQ(
      codec::encodeInput(1, {lines::field(lines::Field::NormalState, "Normally Open"),
                             lines::field(lines::Field::Duration, "Momentary"),
                             lines::field(lines::Field::QualifierTimer, "Hrs 00 Min 00 Sec 00"),
                             lines::field(lines::Field::ResumeTimer, "Hrs 00 Min 00 Sec 00"),
                             lines::field(lines::Field::MsgRptCount, "2"), lines::field(lines::Field::LapCounter, "1")})
          .size(),
      21u);
}

TEST(EncodePhone, PagerDigitOnlyInTheFullLayout) {
  struct Case {
    int input, slot;
    std::string line;
    bool shortLayout;
    std::string command;
  };
  const Case cases[] = {
      {2, 2, " P (3) 9,555", false, "N2W219,555"},
      {8, 0, "   (1)      Not Programmed", false, "N8W00"},
      {8, 0, "   (1)       Not Programmed", false, "N8W00"},
      {8, 0, " P (1)       Not Programmed", false, "N8W00"},
      {1, 7, "   (8) 12345678901234567890123456789012", false, "N1W7012345678901234567890123456789012"},
      {2, 2, " P (3) 9,555", true, "N2W29,555"},
      {8, 0, "   (1)      Not Programmed", true, "N8W0"},
      {3, 4, "   (5) ", false, "N3W40"},
  };
  for (const auto& c : cases) EXPECT_EQ(codec::encodePhone(c.input, c.slot, c.line, c.shortLayout), c.command);
}

}  // namespace
}  // namespace tarvek
