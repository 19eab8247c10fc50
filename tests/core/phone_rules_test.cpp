#include "core/phone_rules.h"

#include <gtest/gtest.h>

#include "core/display_lines.h"

namespace tarvek::entry {
namespace {

const std::string kPlace = "                  Not Programmed";
const std::string kRefused = "Phone number entries must be 0 - 9, *, #, or comma";

TEST(PhoneRules, RowsFromTheInputsLines) {
  std::vector<std::string> list = newProgramming().phoneNumbers;
  EXPECT_EQ(phoneRows(list, 1, false), clearedPhoneRows());
  EXPECT_EQ(clearedPhoneRows()[7], (PhoneRow{kPlace, false}));
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
  EXPECT_EQ(phonePaste("12", "555 1234"), (PasteVerdict{false, false, kRefused}));
  EXPECT_EQ(cutToLongest(std::string(40, '7')), std::string(32, '7'));
  EXPECT_EQ(cutToLongest(std::string(32, '7')), std::nullopt);
  EXPECT_EQ(cutToLongest(kPlace), std::nullopt);
}

TEST(PhoneRules, LinesFromTheRowsAsLeft) {
  const std::pair<PhoneRow, const char*> rows[] = {
      {{"555", true}, " P (1) 555"},
      {{"   555", false}, "   (1) 555"},
      {{kPlace, true}, "   (1)      Not Programmed"},  // an emptied box is not a blank number
      {{"", false}, "   (1)      Not Programmed"},
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

}  // namespace
}  // namespace tarvek::entry
