#include "core/settings_file.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "support/record_printers.h"
#include "support/sample_records.h"
#include "support/temp_dir.h"

namespace tarvek {
namespace {

constexpr const char* kSavedText = "5/7/2024 3:04:05 PM";

settings::ReadResult readText(const std::string& text) {
  std::istringstream in(text);
  return settings::read(in);
}

TEST(SettingsFile, TheWriterMatchesTheGoldenFilesByteForByte) {
  EXPECT_EQ(settings::fileText(settings::fileLines(test::siteA(), "Site A", kSavedText)),
            test::readFile(test::filesDataDir() / "golden_alarm_dialer.txt"));
  EXPECT_EQ(settings::fileText(settings::fileLines(test::shopFloor(), "Shop Floor", kSavedText)),
            test::readFile(test::filesDataDir() / "golden_aislecall.txt"));
  // A record cut short by a read still gives every line.
  const auto cut = settings::fileLines(
      test::edited({test::resizeList(&Programming::inputSpecs, 20), test::resizeList(&Programming::phoneNumbers, 0)}),
      "Short", kSavedText);
  ASSERT_EQ(cut.size(), 191u);
  EXPECT_EQ(cut[103], "          ");  // the missing header of input 1's numbers
  EXPECT_EQ(cut[105], "               (1) ");

  const std::pair<const char*, const char*> names[] = {{"/opt/tarvek/Saved/Site A.txt", "Site A"},
                                                       {"Backup", "Backup"},
                                                       {"ab", "ab"},
                                                       {"CAPS.TXT", "CAPS"},
                                                       {"notes.text", "notes.text"},
                                                       {"twice.txt.txt", "twice.txt"},
                                                       {"/folder.txt/plain", "plain"},
                                                       {".txt", ".txt"}};
  for (const auto& [path, name] : names) EXPECT_EQ(settings::reportName(path), name) << path;
}

TEST(SettingsFile, ReadsOrRefusesEachFileOfTheDataFolder) {
  const Programming siteA = test::siteAAsRead();
  // An unknown Function reads as Aislecall, which alone makes Access Code and Call Progress "N/A".
  Programming unknownFunction = siteA;
  unknownFunction.global = test::globalOf("Aislecall|123456|N/A|3|12|Fast|N/A|07|Enabled");
  const std::string noGlobal = "The file ends before the Global Settings heading.";
  const std::string noInputs = "The file ends before the Input Specifications heading.";
  std::map<std::string, std::pair<Programming, std::string>> expected = {
      {"forced_play_one_digit.txt", {siteA, ""}},  // "7" comes back as "07"
      {"function_unknown.txt", {unknownFunction, ""}},
      {"aislecall.txt", {test::shopFloor(), ""}},
      {"no_global_heading.txt", {{}, noGlobal}},
      {"no_input_heading.txt", {{}, noInputs}},
      {"ends_after_global.txt", {{}, noInputs}},
      {"ends_in_phone_numbers.txt", {{}, "The file ends before the end of input 5 of the Phone Numbers."}},
      {"number_line_too_short.txt", {{}, "Number 2 of input 1 in the Phone Numbers is cut short."}},
      {"empty.txt", {{}, noGlobal}},
      {"binary_garbage.txt", {{}, noGlobal}},
  };
  for (const char* name :
       {"good.txt", "lf_only.txt", "two_reports.txt", "report_named_global_settings.txt",
        "report_named_global_corp.txt", "heading_unindented.txt", "heading_tab_indented.txt", "ansi_report_name.txt"})
    expected[name] = {siteA, ""};
  std::size_t seen = 0;
  for (const auto& entry : std::filesystem::directory_iterator(test::filesDataDir() / "read")) {
    const std::string name = entry.path().filename().string();
    const auto found = expected.find(name);
    ASSERT_NE(found, expected.end()) << name << " has no expectation";
    ++seen;
    const settings::ReadResult result = readText(test::readFile(entry.path()));
    EXPECT_EQ(result.problem, found->second.second) << name;
    EXPECT_EQ(result.record.value_or(Programming{}), found->second.first) << name;
  }
  EXPECT_EQ(seen, expected.size()) << "a file named in the table is missing";
}

TEST(SettingsFile, TheReaderTakesValuesByTheirLastCharacters) {
  using G = GlobalSettings;
  using lines::Field;
  using test::setGlobal;
  const std::string g(10, ' ');
  const std::string i(15, ' ');
  // A line of Site A's file changed, and how the record read changes with it.
  const std::tuple<std::size_t, std::string, test::Edit> rows[] = {
      // Ringback Limit: a blank in the last two leaves one digit.
      {15, g + "Ringback Limit           6", setGlobal(&G::ringbackLimit, "6")},
      // Security and Access Codes: the last six characters whatever stands before them.
      {9, g + "Security Code          x987654", setGlobal(&G::securityCode, "987654")},
      // Forced Play Timer: trimmed, given its leading zero.
      {21, g + "Forced Play Timer        5", setGlobal(&G::forcedPlayTimer, "05")},
      {21, g + "Forced Play Timer        N/A", setGlobal(&G::forcedPlayTimer, "N/A")},
      // Msg Rpt Count: only the first of the last two characters is looked at for a blank.
      {34, i + "Msg Rpt Count       5", test::setField(1, Field::MsgRptCount, "5")},
      {34, i + "Msg Rpt Count       42", test::setField(1, Field::MsgRptCount, "42")},
      // Normal State and Duration by their key words.
      {39, i + "Normal State        Open", test::setField(2, Field::NormalState, "Normally Open")},
      {30, i + "Normal State        Shut", test::setField(1, Field::NormalState, "Disabled")},
      {31, i + "Duration            momentary", test::setField(1, Field::Duration, "Continuous")},
      // The input number is the header's last character; the number positions are counted.
      {28, "          Input 9", test::setLine(&Programming::inputSpecs, 0, "Input 9")},
      {105, "               (7) 555", test::setPhone(1, 1, "   (1) 555")},
      // "Not" anywhere makes a number not programmed, before the pager mark is looked at.
      {105, "             P (1) Nothing", test::setPhone(1, 1, "   (1)      Not Programmed")},
      {105, "             P (1) ", test::setPhone(1, 1, " P (1) ")},
  };
  for (const auto& [index, line, edit] : rows) {
    std::vector<std::string> file = settings::fileLines(test::siteA(), "Edge", kSavedText);
    file[index] = line;
    const auto result = readText(settings::fileText(file));
    Programming expected = test::siteAAsRead();
    edit(expected);
    EXPECT_EQ(result.record.value_or(Programming{}), expected) << line << ": " << result.problem;
  }
}

// Writing then reading gives the record back, with the differences the format has: a
// "Not Programmed" line comes back in the six-blank form and without a pager mark.
TEST(SettingsFile, GeneratedRecordsComeBackAsWritten) {
  std::mt19937 random(20240507);
  for (int i = 0; i < 500; ++i) {
    Programming record = test::randomRecord(random);
    const auto result = readText(settings::fileText(settings::fileLines(record, "Round trip", kSavedText)));
    for (int input = 1; input <= kInputCount; ++input)
      for (int slot = 1; slot <= kNumbersPerInput; ++slot) {
        std::string& line = record.phoneNumbers[lines::phoneLineIndex(input, slot)];
        if (lines::isNotProgrammed(line)) line = lines::notProgrammed(slot);
      }
    ASSERT_EQ(result.record.value_or(Programming{}), record) << "record " << i << ": " << result.problem;
  }
}

}  // namespace
}  // namespace tarvek
