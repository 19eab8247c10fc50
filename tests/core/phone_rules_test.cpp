#include "core/phone_rules.h"

#include <gtest/gtest.h>

#include "core/display_lines.h"

namespace tarvek::entry {
namespace {

const std::string kPlace = "                  Not Programmed";

TEST(PhoneRows, FilledFromTheInputsLines) {
  EXPECT_EQ(kPlace.size(), 32u);
  std::vector<std::string> list = newProgramming().phoneNumbers;
  EXPECT_EQ(phoneRows(list, 1, false), clearedPhoneRows());
  for (const PhoneRow& row : clearedPhoneRows()) EXPECT_EQ(row, (PhoneRow{kPlace, false}));

  list[lines::phoneLineIndex(4, 1)] = " P (1) *70,555";
  list[lines::phoneLineIndex(4, 2)] = "   (2) 5551234";
  list[lines::phoneLineIndex(4, 3)] = " P (3)       Not Programmed";  // as read from the device
  list[lines::phoneLineIndex(4, 4)] = "   (4) ";
  const PhoneRows rows = phoneRows(list, 4, false);
  EXPECT_EQ(rows[0], (PhoneRow{"*70,555", true}));
  EXPECT_EQ(rows[1], (PhoneRow{"5551234", false}));
  EXPECT_EQ(rows[2], (PhoneRow{kPlace, true}));
  EXPECT_EQ(rows[3], (PhoneRow{"", false}));
  EXPECT_EQ(rows[4], (PhoneRow{kPlace, false}));

  // A unit without pager marks shows none.
  for (const PhoneRow& row : phoneRows(list, 4, true)) EXPECT_FALSE(row.pager);

  // Short lists are completed; rows of missing lines read as empty, never out of range.
  EXPECT_EQ(completePhoneNumbers({}), newProgramming().phoneNumbers);
  EXPECT_EQ(phoneRows({"Input 1"}, 8, false)[7], (PhoneRow{"", false}));
}

TEST(PhoneKeys, FilterAndPlaceholder) {
  struct Case {
    std::string text;
    int code;
    KeyVerdict verdict;
  };
  const std::string refused = "Phone number entries must be 0 - 9, *, #, or comma";
  const Case cases[] = {
      {kPlace, '5', {true, true, ""}},
      {kPlace, '*', {true, true, ""}},
      {kPlace, '#', {true, true, ""}},
      {kPlace, ',', {true, true, ""}},
      {kPlace, kBackspace, {true, true, ""}},
      {kPlace, 'a', {false, true, refused}},
      {"555", '5', {}},
      {"555", '*', {}},
      {"555", kBackspace, {}},
      {"555", 'a', {false, false, refused}},
      {"555", ' ', {false, false, refused}},
      {"555", kEnter, {false, false, refused}},
      {"555", kEscape, {false, false, refused}},
      {"", '+', {false, false, refused}},
  };
  for (const Case& c : cases) EXPECT_EQ(phoneKey(c.text, c.code), c.verdict) << c.text << " + " << c.code;
}

TEST(PhonePaste, PhoneCharactersOnlyAndCutTo32) {
  EXPECT_EQ(phonePaste("12", "*70,555#"), PasteVerdict{});
  EXPECT_EQ(phonePaste(kPlace, "555"), (PasteVerdict{true, true, ""}));
  EXPECT_EQ(phonePaste("12", "555-1234"),
            (PasteVerdict{false, false, "Phone number entries must be 0 - 9, *, #, or comma"}));
  EXPECT_EQ(phonePaste("12", "555 1234").take, false);

  const std::string forty(40, '7');
  EXPECT_EQ(cutToLongest(forty), std::string(32, '7'));
  EXPECT_EQ(cutToLongest(std::string(32, '7')), std::nullopt);
  EXPECT_EQ(cutToLongest(kPlace), std::nullopt);
}

TEST(PhoneLines, BuiltFromTheRowsAsLeft) {
  struct Case {
    PhoneRow row;
    const char* line;
  };
  const Case cases[] = {
      {{"555", true}, " P (1) 555"},
      {{"555", false}, "   (1) 555"},
      {{"   555", false}, "   (1) 555"},
      {{kPlace, true}, "   (1)      Not Programmed"},
      {{"", false}, "   (1)      Not Programmed"},
      {{"  ", true}, "   (1)      Not Programmed"},
      {{"*" + kPlace, false}, "   (1)      Not Programmed"},
      {{std::string(32, '9'), false}, "   (1) 99999999999999999999999999999999"},
  };
  for (const Case& c : cases) EXPECT_EQ(phoneLine(1, c.row), c.line) << c.row.text;
}

TEST(PhoneLines, RebuildWritesOnlyTheShownInput) {
  const std::vector<std::string> working = newProgramming().phoneNumbers;
  PhoneRows rows = clearedPhoneRows();
  rows[0] = {"555", true};
  rows[7] = {"#9", false};
  const std::vector<std::string> rebuilt = rebuildPhoneNumbers(working, 2, rows);
  ASSERT_EQ(rebuilt.size(), working.size());
  for (std::size_t i = 0; i < rebuilt.size(); ++i) {
    if (i == static_cast<std::size_t>(lines::phoneLineIndex(2, 1)))
      EXPECT_EQ(rebuilt[i], " P (1) 555");
    else if (i == static_cast<std::size_t>(lines::phoneLineIndex(2, 8)))
      EXPECT_EQ(rebuilt[i], "   (8) #9");
    else
      EXPECT_EQ(rebuilt[i], working[i]) << i;
  }
  EXPECT_EQ(phoneRows(rebuilt, 2, false)[0], (PhoneRow{"555", true}));
  EXPECT_EQ(rebuildPhoneNumbers({"Input 1", ""}, 1, rows).size(), 2u);
}

}  // namespace
}  // namespace tarvek::entry
