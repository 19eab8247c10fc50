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

const std::string kTitle = std::string(35, ' ') + "Tarvek Programming Settings - 5/7/2024";

std::size_t indexOf(const std::vector<Line>& lines, const std::string& text, std::size_t from = 0) {
  for (std::size_t i = from; i < lines.size(); ++i)
    if (lines[i].text == text) return i;
  return lines.size();
}

TEST(Report, DateHasNoLeadingZeros) {
  EXPECT_EQ(report::date(2024, 5, 7), "5/7/2024");
  EXPECT_EQ(report::date(2031, 12, 25), "12/25/2031");
  EXPECT_EQ(report::date(2009, 1, 31), "1/31/2009");
}

TEST(Report, TitleAndHeadingsAreTheOnlyBoldLines) {
  const auto lines = report::lines(test::siteA(), "5/7/2024");
  std::vector<std::pair<std::size_t, std::string>> bold;
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i].bold) bold.emplace_back(i, lines[i].text);
  const std::vector<std::pair<std::size_t, std::string>> expected = {
      {2, kTitle},
      {5, "     Global Settings"},
      {26, "     Input Specifications"},
      {106, "     Phone Numbers"},
  };
  EXPECT_EQ(bold, expected);
}

TEST(Report, BodyIsTheFilesBodyWithFiveEmptyLinesAtEachForcedBreak) {
  const Programming record = test::siteA();
  const auto lines = report::lines(record, "5/7/2024");
  ASSERT_EQ(lines.size(), 201u);
  EXPECT_EQ((std::vector<Line>(lines.begin(), lines.begin() + 3)), (std::vector<Line>{{}, {}, {kTitle, true}}));

  // Each forced break: a new page, 5 empty lines, then the block's header.
  std::vector<std::string> body;
  std::vector<std::size_t> breaks;
  for (std::size_t i = 3; i < lines.size(); ++i) {
    if (lines[i].newPage) {
      breaks.push_back(i);
      for (std::size_t k = i; k < i + 5; ++k) EXPECT_EQ(lines[k], (Line{{}, false, k == i})) << "line " << k;
      i += 4;
      continue;
    }
    body.push_back(lines[i].text);
  }
  ASSERT_EQ(breaks.size(), 2u);
  EXPECT_EQ(lines[breaks[0] + 5].text, "          Input 6");
  EXPECT_EQ(breaks[0], indexOf(lines, "     Input Specifications") + 2 + 5 * 9);
  EXPECT_EQ(lines[breaks[1] + 5].text, "          Input 4");
  EXPECT_EQ(breaks[1], indexOf(lines, "     Phone Numbers") + 2 + 3 * 11);

  const auto file = settings::fileLines(record, "Site A", "now");
  EXPECT_EQ(body, (std::vector<std::string>(file.begin() + 3, file.end())));
}

std::vector<Line> concatenated(const std::vector<report::Page>& pages) {
  std::vector<Line> all;
  for (const auto& page : pages) all.insert(all.end(), page.begin(), page.end());
  return all;
}

TEST(Report, PagesBreakWhenForcedAndWhenFull) {
  const auto lines = report::lines(test::shopFloor(), "5/7/2024");
  const struct {
    int linesPerPage;
    std::vector<std::size_t> sizes;
  } cases[] = {
      // Room for everything: only the two forced breaks.
      // 28 + 5 x 9 lines; 5 + 3 x 9 + 3 + 3 x 11; 5 + 5 x 11.
      {1000, {73, 68, 60}},
      // Pages shorter than the parts: each part overflows, then the next break starts afresh.
      {66, {66, 7, 66, 2, 60}},
      // The first part overflows by its last, empty line alone: no blank sheet for it.
      {72, {72, 68, 60}},
      {40, {40, 33, 40, 28, 40, 20}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.linesPerPage);
    const auto pages = report::paginate(lines, c.linesPerPage);
    std::vector<std::size_t> sizes;
    for (const auto& page : pages) sizes.push_back(page.size());
    EXPECT_EQ(sizes, c.sizes);
    // Every line is printed, but for an empty line spilt alone onto a page of its own.
    const auto printed = concatenated(pages);
    if (c.linesPerPage == 72) {
      EXPECT_EQ(printed.size(), lines.size() - 1);
      EXPECT_EQ(std::vector<Line>(printed.begin(), printed.begin() + 72),
                std::vector<Line>(lines.begin(), lines.begin() + 72));
      EXPECT_EQ(std::vector<Line>(printed.begin() + 72, printed.end()),
                std::vector<Line>(lines.begin() + 73, lines.end()));
    } else {
      EXPECT_EQ(printed, lines);
    }
    for (const auto& page : pages)
      for (std::size_t i = 1; i < page.size(); ++i) EXPECT_FALSE(page[i].newPage) << "a forced break inside a page";
  }
}

TEST(Report, NoPageIsLeftBlank) {
  const Line forced{{}, false, true};
  const struct {
    const char* name;
    std::vector<Line> lines;
    std::vector<std::vector<std::string>> pages;
  } cases[] = {
      {"a forced break on a fresh page", {{"a"}, {"b"}, forced, {"c"}}, {{"a", "b"}, {"", "c"}}},
      {"empty lines spilling before a break", {{"a"}, {"b"}, {}, {}, forced, {"c"}}, {{"a", "b"}, {"", "c"}}},
      {"empty lines spilling at the end", {{"a"}, {}, {}, {}, {}}, {{"a", ""}}},
      {"nothing at all", {}, {{}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::vector<std::string>> texts;
    for (const auto& page : report::paginate(c.lines, 2)) {
      texts.emplace_back();
      for (const auto& line : page) texts.back().push_back(line.text);
    }
    EXPECT_EQ(texts, c.pages);
  }
}

}  // namespace
}  // namespace tarvek
