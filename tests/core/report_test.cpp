#include "core/report.h"

#include <gtest/gtest.h>

#include "core/settings_file.h"
#include "support/sample_records.h"

namespace tarvek {

namespace report {
void PrintTo(const Line& line, std::ostream* out) {
  *out << '"' << line.text << '"' << (line.bold ? " bold" : "") << (line.newPage ? " new page" : "");
}
}  // namespace report

namespace {

using report::Line;

TEST(Report, TheFilesBodyUnderABoldDatedTitleWithTwoForcedBreaks) {
  EXPECT_EQ(report::date(2024, 5, 7), "5/7/2024");
  EXPECT_EQ(report::date(2031, 12, 25), "12/25/2031");

  const auto lines = report::lines(test::siteA(), "5/7/2024");
  ASSERT_EQ(lines.size(), 201u);
  std::vector<std::pair<std::size_t, std::string>> bold;
  std::vector<std::size_t> breaks;
  std::vector<std::string> body;  // the lines after the title, less the five empty lines of each break
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].bold) bold.emplace_back(i, lines[i].text);
    if (lines[i].newPage) {
      breaks.push_back(i);
      for (std::size_t k = i; k < i + 5; ++k) EXPECT_EQ(lines[k], (Line{{}, false, k == i})) << "line " << k;
      i += 4;
    } else if (i > 2) {
      body.push_back(lines[i].text);
    }
  }
  const std::vector<std::pair<std::size_t, std::string>> headings = {
      {2, std::string(35, ' ') + "Tarvek Programming Settings - 5/7/2024"},
      {5, "     Global Settings"},
      {26, "     Input Specifications"},
      {106, "     Phone Numbers"},
  };
  EXPECT_EQ(bold, headings);
  EXPECT_EQ(std::vector<Line>(lines.begin(), lines.begin() + 2), std::vector<Line>(2));
  // Each break comes before the header of input 6 of the inputs and input 4 of the numbers.
  EXPECT_EQ(breaks, (std::vector<std::size_t>{26 + 2 + 5 * 9, 106 + 2 + 3 * 11}));
  EXPECT_EQ(lines[breaks[0] + 5].text, "          Input 6");
  EXPECT_EQ(lines[breaks[1] + 5].text, "          Input 4");
  const auto file = settings::fileLines(test::siteA(), "Site A", "now");
  EXPECT_EQ(body, (std::vector<std::string>(file.begin() + 3, file.end())));
}

TEST(Report, PagesBreakWhenForcedAndWhenFullAndNoneIsBlank) {
  const auto lines = report::lines(test::shopFloor(), "5/7/2024");
  const std::pair<int, std::vector<std::size_t>> rows[] = {
      // lines a page takes, the sizes of the pages
      // Room for everything: only the forced breaks. 28 + 5 x 9; 5 + 3 x 9 + 3 + 3 x 11; 5 + 5 x 11.
      {1000, {73, 68, 60}},
      // Pages shorter than the parts: each part overflows, then the next break starts afresh.
      {66, {66, 7, 66, 2, 60}},
      {40, {40, 33, 40, 28, 40, 20}},
      // The first part overflows by its last, empty line alone: no blank sheet for it.
      {72, {72, 68, 60}},
  };
  for (const auto& [linesPerPage, pageSizes] : rows) {
    std::vector<Line> printed;
    std::vector<std::size_t> sizes;
    for (const auto& page : report::paginate(lines, linesPerPage)) {
      sizes.push_back(page.size());
      printed.insert(printed.end(), page.begin(), page.end());
      for (std::size_t i = 1; i < page.size(); ++i) EXPECT_FALSE(page[i].newPage) << "a forced break inside a page";
    }
    EXPECT_EQ(sizes, pageSizes) << linesPerPage;
    // Every line is printed, but for an empty line spilt alone onto a page of its own.
    std::vector<Line> expected = lines;
    if (linesPerPage == 72) expected.erase(expected.begin() + 72);
    EXPECT_EQ(printed, expected) << linesPerPage;
  }

  const Line forced{{}, false, true};
  // Lines on pages of two, and the texts of the pages printed.
  const std::tuple<const char*, std::vector<Line>, std::vector<std::vector<std::string>>> blank[] = {
      {"a forced break on a fresh page", {{"a"}, {"b"}, forced, {"c"}}, {{"a", "b"}, {"", "c"}}},
      {"empty lines spilling before a break", {{"a"}, {"b"}, {}, {}, forced, {"c"}}, {{"a", "b"}, {"", "c"}}},
      {"empty lines spilling at the end", {{"a"}, {}, {}, {}, {}}, {{"a", ""}}},
      {"nothing at all", {}, {{}}},
  };
  for (const auto& [name, given, pages] : blank) {
    std::vector<std::vector<std::string>> texts;
    for (const auto& page : report::paginate(given, 2)) {
      texts.emplace_back();
      for (const auto& line : page) texts.back().push_back(line.text);
    }
    EXPECT_EQ(texts, pages) << name;
  }
}

}  // namespace
}  // namespace tarvek
