#include "core/settings_file.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "core/display_lines.h"
#include "support/sample_records.h"
#include "support/temp_dir.h"

namespace tarvek {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSavedText = "5/7/2024 3:04:05 PM";

std::vector<std::string> splitCrLf(const std::string& text) {
  std::vector<std::string> result;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    result.push_back(text.substr(start, end - start));
  return result;
}

// The nine values in order, so a failed comparison shows them as text.
std::string shown(const GlobalSettings& g) {
  return g.function + " | " + g.securityCode + " | " + g.accessCode + " | " + g.ringDelay + " | " + g.ringbackLimit +
         " | " + g.dialingSpeed + " | " + g.callProgress + " | " + g.forcedPlayTimer + " | " + g.hookswitchFlash;
}

settings::ReadResult readText(const std::string& text) {
  std::istringstream in(text);
  return settings::read(in);
}

TEST(SettingsFileWriter, MatchesTheGoldenFilesByteForByte) {
  const struct {
    Programming record;
    const char* reportName;
    const char* golden;
  } cases[] = {
      {test::siteA(), "Site A", "golden_alarm_dialer.txt"},
      {test::shopFloor(), "Shop Floor", "golden_aislecall.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.golden);
    const std::string expected = test::readFile(test::filesDataDir() / c.golden);
    ASSERT_FALSE(expected.empty());
    const auto written = settings::fileLines(c.record, c.reportName, kSavedText);
    EXPECT_EQ(written.size(), 191u);
    EXPECT_EQ(settings::fileText(written), expected);
    // Line by line too, so a difference names its line.
    const auto expectedLines = splitCrLf(expected);
    for (std::size_t i = 0; i < std::min(written.size(), expectedLines.size()); ++i)
      EXPECT_EQ(written[i], expectedLines[i]) << "line " << i + 1;
  }
}

TEST(SettingsFileWriter, ARecordCutShortStillGivesAllLines) {
  Programming record = newProgramming();
  record.inputSpecs.resize(20);
  record.phoneNumbers.clear();
  const auto written = settings::fileLines(record, "Short", kSavedText);
  ASSERT_EQ(written.size(), 191u);
  EXPECT_EQ(written[103], "          ");  // the missing header of input 1's numbers
  EXPECT_EQ(written[105], "               (1) ");
}

TEST(SettingsFileWriter, ReportNameDropsOnlyATxtExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"Site A.txt", "Site A"},
      {"/opt/tarvek/Saved/Site A.txt", "Site A"},
      {"Backup", "Backup"},
      {"ab", "ab"},
      {"CAPS.TXT", "CAPS"},
      {"notes.text", "notes.text"},
      {"twice.txt.txt", "twice.txt"},
      {"/folder.txt/plain", "plain"},
      {".txt", ".txt"},
  };
  for (const auto& [path, name] : cases) EXPECT_EQ(settings::reportName(path), name) << path;
}

// What each file in data/read gives: the record read, or a refusal and why.
struct ReadCase {
  Programming expected;
  std::string problem;  // non-empty: the file is refused with a problem saying this
};

Programming withGlobal(Programming record, GlobalSettings global) {
  record.global = std::move(global);
  return record;
}

std::map<std::string, ReadCase> readCases() {
  const Programming siteA = test::siteAAsRead();
  GlobalSettings unknownFunction = siteA.global;
  unknownFunction.function = "Aislecall";
  // The Function alone makes Access Code and Call Progress "N/A"; the rest come from their lines.
  unknownFunction.accessCode = "N/A";
  unknownFunction.callProgress = "N/A";
  GlobalSettings oneDigitForced = siteA.global;
  oneDigitForced.forcedPlayTimer = "07";
  return {
      {"good.txt", {siteA, {}}},
      {"lf_only.txt", {siteA, {}}},
      {"two_reports.txt", {siteA, {}}},
      {"report_named_global_settings.txt", {siteA, {}}},
      {"report_named_global_corp.txt", {siteA, {}}},
      {"heading_unindented.txt", {siteA, {}}},
      {"heading_tab_indented.txt", {siteA, {}}},
      {"ansi_report_name.txt", {siteA, {}}},
      {"forced_play_one_digit.txt", {withGlobal(siteA, oneDigitForced), {}}},
      {"function_unknown.txt", {withGlobal(siteA, unknownFunction), {}}},
      {"aislecall.txt", {test::shopFloor(), {}}},
      {"no_global_heading.txt", {{}, "The file ends before the Global Settings heading."}},
      {"no_input_heading.txt", {{}, "The file ends before the Input Specifications heading."}},
      {"ends_after_global.txt", {{}, "The file ends before the Input Specifications heading."}},
      {"ends_in_phone_numbers.txt", {{}, "The file ends before the end of input 5 of the Phone Numbers."}},
      {"number_line_too_short.txt", {{}, "Number 2 of input 1 in the Phone Numbers is cut short."}},
      {"empty.txt", {{}, "The file ends before the Global Settings heading."}},
      {"binary_garbage.txt", {{}, "The file ends before the Global Settings heading."}},
  };
}

TEST(SettingsFileReader, ReadsOrRefusesEachFileOfTheDataFolder) {
  const auto cases = readCases();
  std::set<std::string> seen;
  for (const auto& entry : fs::directory_iterator(test::filesDataDir() / "read")) {
    const std::string name = entry.path().filename().string();
    SCOPED_TRACE(name);
    seen.insert(name);
    const auto found = cases.find(name);
    ASSERT_NE(found, cases.end()) << "a file without an expectation";
    const ReadCase& expected = found->second;
    const settings::ReadResult result = readText(test::readFile(entry.path()));
    if (expected.problem.empty()) {
      ASSERT_TRUE(result.record.has_value()) << result.problem;
      EXPECT_EQ(shown(result.record->global), shown(expected.expected.global));
      EXPECT_EQ(result.record->inputSpecs, expected.expected.inputSpecs);
      EXPECT_EQ(result.record->phoneNumbers, expected.expected.phoneNumbers);
    } else {
      EXPECT_FALSE(result.record.has_value());
      EXPECT_EQ(result.problem, expected.problem);
    }
  }
  EXPECT_EQ(seen.size(), cases.size()) << "a file named in the table is missing";
}

TEST(SettingsFileReader, TakesValuesByTheirLastCharacters) {
  std::vector<std::string> file = settings::fileLines(test::siteA(), "Edge", kSavedText);
  auto readWith = [&](std::size_t index, const std::string& line) {
    std::vector<std::string> changed = file;
    changed[index] = line;
    auto result = readText(settings::fileText(changed));
    EXPECT_TRUE(result.record) << result.problem;
    return result.record.value_or(Programming{});
  };
  const std::string global(10, ' ');
  const std::string input(15, ' ');
  // Ringback Limit: a blank in the last two leaves one digit.
  EXPECT_EQ(readWith(15, global + "Ringback Limit           6").global.ringbackLimit, "6");
  EXPECT_EQ(readWith(15, global + "Ringback Limit           12").global.ringbackLimit, "12");
  // Security and Access Codes: the last six characters whatever stands before them.
  EXPECT_EQ(readWith(9, global + "Security Code          x987654").global.securityCode, "987654");
  // Forced Play Timer: trimmed, given its leading zero.
  EXPECT_EQ(readWith(21, global + "Forced Play Timer        5").global.forcedPlayTimer, "05");
  EXPECT_EQ(readWith(21, global + "Forced Play Timer        N/A").global.forcedPlayTimer, "N/A");
  // Msg Rpt Count: only the first of the last two characters is looked at for a blank.
  EXPECT_EQ(readWith(34, input + "Msg Rpt Count       5").inputSpecs[6], "  Msg Rpt Count     5");
  EXPECT_EQ(readWith(34, input + "Msg Rpt Count       42").inputSpecs[6], "  Msg Rpt Count     42");
  // Normal State and Duration by their key words.
  EXPECT_EQ(readWith(30, input + "Normal State        Open").inputSpecs[2], "  Normal State      Normally Open");
  EXPECT_EQ(readWith(30, input + "Normal State        Shut").inputSpecs[2], "  Normal State      Disabled");
  EXPECT_EQ(readWith(31, input + "Duration            momentary").inputSpecs[3], "  Duration          Continuous");
  // The input number is the header's last character; the number positions are counted.
  EXPECT_EQ(readWith(28, "          Input 9").inputSpecs[0], "Input 9");
  EXPECT_EQ(readWith(105, "               (7) 555").phoneNumbers[2], "   (1) 555");
  // "Not" anywhere makes a number not programmed, before the pager mark is looked at.
  EXPECT_EQ(readWith(105, "             P (1) Nothing").phoneNumbers[2], "   (1)      Not Programmed");
  EXPECT_EQ(readWith(105, "             P (1) ").phoneNumbers[2], " P (1) ");
}

// Writing then reading gives the record back, with the differences the format has:
// a "Not Programmed" line comes back in the six-blank form and without a pager mark.
Programming asItComesBack(Programming record) {
  for (int input = 1; input <= kInputCount; ++input)
    for (int slot = 1; slot <= kNumbersPerInput; ++slot) {
      std::string& line = record.phoneNumbers[static_cast<std::size_t>(lines::phoneLineIndex(input, slot))];
      if (lines::isNotProgrammed(line)) line = lines::notProgrammed(slot);
    }
  return record;
}

TEST(SettingsFileRoundTrip, GeneratedRecordsComeBackAsWritten) {
  std::mt19937 random(20240507);
  for (int i = 0; i < 500; ++i) {
    const Programming record = test::randomRecord(random);
    const auto result = readText(settings::fileText(settings::fileLines(record, "Round trip", kSavedText)));
    ASSERT_TRUE(result.record) << "record " << i << ": " << result.problem;
    const Programming expected = asItComesBack(record);
    ASSERT_EQ(shown(result.record->global), shown(expected.global)) << "record " << i;
    ASSERT_EQ(result.record->inputSpecs, expected.inputSpecs) << "record " << i;
    ASSERT_EQ(result.record->phoneNumbers, expected.phoneNumbers) << "record " << i;
  }
}

TEST(SettingsFileRoundTrip, OnlyTheFirstOfSeveralReportsIsRead) {
  std::mt19937 random(7);
  const Programming first = test::randomRecord(random);
  const Programming second = test::randomRecord(random);
  const std::string text = settings::fileText(settings::fileLines(first, "One", kSavedText)) +
                           settings::fileText(settings::fileLines(second, "Two", kSavedText));
  const auto result = readText(text);
  ASSERT_TRUE(result.record) << result.problem;
  EXPECT_EQ(*result.record, asItComesBack(first));
}

}  // namespace
}  // namespace tarvek
