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
  // The file's lines below its title, its three headings bold, and a forced break and four
  // empty lines before input 6 of the inputs and input 4 of the numbers.
  const auto file = settings::fileLines(test::siteA(), "Site A", "now");
  std::vector<Line> expected(2);
  expected.push_back({std::string(35, ' ') + "Tarvek Programming Settings - 5/7/2024", true});
  for (std::size_t i = 3; i < file.size(); ++i) {
    if (i == 73 || i == 136) {
      expected.push_back({{}, false, true});
      expected.resize(expected.size() + 4);
    }
    expected.push_back({file[i], i == 5 || i == 26 || i == 101});
  }
  EXPECT_EQ(report::lines(test::siteA(), "5/7/2024"), expected);
}

TEST(Report, PagesBreakWhenForcedAndWhenFullAndNoneIsBlank) {
  const auto lines = report::lines(test::shopFloor(), "5/7/2024");
  const std::pair<int, std::vector<std::size_t>> rows[] = {
      // lines a page takes, the sizes of the pages
      // Room for everything: only the forced breaks. 28 + 5 x 9; 5 + 3 x 9 + 3 + 3 x 11; 5 + 5 x 11.
      {1000, {73, 68, 60}},
      // Pages shorter than the parts: each part overflows, then the next break starts afresh.
      {66, {66, 7, 66, 2, 60}},
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
