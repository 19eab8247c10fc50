#include "core/display_lines.h"

#include <gtest/gtest.h>

#include "core/programming.h"

namespace tarvek {
namespace {

using lines::Field;

TEST(NewProgramming, HasTheDefaultsOfAFreshUnit) {
  const Programming record = newProgramming();
  EXPECT_EQ(record.global,
            (GlobalSettings{"Alarm Dialer", "507231", "390618", "1", "6", "Normal", "Enabled", "N/A", "Disabled"}));
  ASSERT_EQ(record.inputSpecs.size(), 72u);
  ASSERT_EQ(record.phoneNumbers.size(), 88u);
  EXPECT_EQ(record.inputSpecs[0], "Input 1");
  EXPECT_EQ(record.inputSpecs[1], "");
  EXPECT_EQ(record.inputSpecs[2], "  Normal State      Normally Open");
  EXPECT_EQ(record.inputSpecs[3], "  Duration          Momentary");
  EXPECT_EQ(record.inputSpecs[4], "  Qualifier Timer   Hrs 00 Min 00 Sec 00");
  EXPECT_EQ(record.inputSpecs[5], "  Resume Timer      Hrs 00 Min 00 Sec 00");
  EXPECT_EQ(record.inputSpecs[6], "  Msg Rpt Count     2");
  EXPECT_EQ(record.inputSpecs[7], "  Lap Counter       1");
  EXPECT_EQ(record.inputSpecs[63], "Input 8");
  EXPECT_EQ(record.inputSpecs[71], "");
  EXPECT_EQ(record.phoneNumbers[0], "Input 1");
  EXPECT_EQ(record.phoneNumbers[2], "   (1)      Not Programmed");
  EXPECT_EQ(record.phoneNumbers[9], "   (8)      Not Programmed");
  EXPECT_EQ(record.phoneNumbers[77], "Input 8");
  EXPECT_EQ(record.phoneNumbers[87], "");
}

TEST(NewProgramming, EveryBlockHasItsHeaderAtTheFixedIndex) {
  const Programming record = newProgramming();
  for (int input = 1; input <= 8; ++input) {
    EXPECT_EQ(record.inputSpecs[lines::inputBlockIndex(input)], "Input " + std::to_string(input));
    EXPECT_EQ(record.phoneNumbers[lines::phoneBlockIndex(input)], "Input " + std::to_string(input));
    for (int slot = 1; slot <= 8; ++slot)
      EXPECT_TRUE(lines::isNotProgrammed(record.phoneNumbers[lines::phoneLineIndex(input, slot)]));
  }
}

TEST(FieldLines, EveryValueStartsInColumn21) {
  for (Field field : {Field::NormalState, Field::Duration, Field::QualifierTimer, Field::ResumeTimer,
                      Field::MsgRptCount, Field::LapCounter}) {
    const std::string line = lines::field(field, "X");
    EXPECT_EQ(line.find('X'), 20u) << line;
    EXPECT_EQ(line.substr(0, 2), "  ");
  }
}

struct TimerCase {
  unsigned seconds;
  const char* text;
};

TEST(Timers, FromSecondsAndBackFromTheFixedColumns) {
  const TimerCase cases[] = {{0, "Hrs 00 Min 00 Sec 00"},
                             {330, "Hrs 00 Min 05 Sec 30"},
                             {3600, "Hrs 01 Min 00 Sec 00"},
                             {18 * 3600, "Hrs 18 Min 00 Sec 00"},
                             {65535, "Hrs 18 Min 12 Sec 15"}};
  for (const auto& c : cases) {
    EXPECT_EQ(lines::timerFromSeconds(c.seconds), c.text);
    const std::string line = lines::field(Field::QualifierTimer, c.text);
    const auto parts = lines::timerParts(line);
    const std::string text = c.text;
    EXPECT_EQ(parts.hours, text.substr(4, 2)) << line;
    EXPECT_EQ(parts.minutes, text.substr(11, 2)) << line;
    EXPECT_EQ(parts.seconds, text.substr(18, 2)) << line;
  }
}

TEST(Timers, ShortLinesGiveWhatTheyHold) {
  EXPECT_EQ(lines::timerParts("").hours, "");
  EXPECT_EQ(lines::timerParts("  Qualifier Timer   Hrs 1").hours, "1");
  EXPECT_EQ(lines::timerParts("  Qualifier Timer   Hrs 1").minutes, "");
  EXPECT_EQ(lines::timerParts("7").seconds, "7");
}

TEST(Counts, OneDigitWhenTheLastTwoHoldABlank) {
  const std::pair<const char*, const char*> cases[] = {{"  Msg Rpt Count     7", "7"},
                                                       {"  Msg Rpt Count     12", "12"},
                                                       {"  Lap Counter       07", "07"},
                                                       {"  Lap Counter       0", "0"},
                                                       {"5", "5"},
                                                       {"", ""}};
  for (const auto& [line, value] : cases) EXPECT_EQ(lines::count(line), value) << '"' << line << '"';
}

TEST(PhoneLines, FormsAndTheirReading) {
  EXPECT_EQ(lines::phone(5, "*70,555", true), " P (5) *70,555");
  EXPECT_EQ(lines::phone(1, "555", false), "   (1) 555");
  EXPECT_EQ(lines::phone(2, "Not Programmed", true), "   (2)      Not Programmed");
  EXPECT_EQ(lines::phone(3, "", false), "   (3) ");
  EXPECT_EQ(lines::notProgrammed(2, 7), "   (2)       Not Programmed");
  EXPECT_EQ(lines::notProgrammed(4, 7, true), " P (4)       Not Programmed");

  const std::string pager = " P (5) *70,555";
  EXPECT_TRUE(lines::hasPagerMark(pager));
  EXPECT_FALSE(lines::isNotProgrammed(pager));
  EXPECT_EQ(lines::phoneNumber(pager), "*70,555");

  for (int blanks : {6, 7}) {
    const std::string line = lines::notProgrammed(5, blanks);
    EXPECT_TRUE(lines::isNotProgrammed(line));
    EXPECT_FALSE(lines::hasPagerMark(line));
  }
  EXPECT_EQ(lines::phoneNumber("   (1)"), "");
  EXPECT_FALSE(lines::hasPagerMark("P"));
}

TEST(FieldValues, KeywordTestsOfTheFileAndSendRules) {
  EXPECT_EQ(lines::normalStateValue("  Normal State      Normally Open"), "Normally Open");
  EXPECT_EQ(lines::normalStateValue("  Normal State      Normally Closed"), "Normally Closed");
  EXPECT_EQ(lines::normalStateValue("  Normal State      Disabled"), "Disabled");
  EXPECT_EQ(lines::normalStateValue("  Normal State      7"), "Disabled");
  EXPECT_EQ(lines::durationValue("  Duration          Momentary"), "Momentary");
  EXPECT_EQ(lines::durationValue("  Duration          momentary"), "Continuous");
  EXPECT_EQ(lines::withLeadingZero("5"), "05");
  EXPECT_EQ(lines::withLeadingZero("12"), "12");
  EXPECT_EQ(lines::withLeadingZero(""), "");
}

}  // namespace
}  // namespace tarvek
