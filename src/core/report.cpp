#include "core/report.h"

#include <algorithm>

#include "core/settings_file.h"

namespace tarvek::report {

namespace {

// Inputs printed before each section's forced page break.
constexpr int kInputBlocksOnFirstPage = 5;
constexpr int kPhoneBlocksOnFirstPage = 3;
constexpr int kEmptyLinesAfterBreak = 5;

bool blank(const Page& page) {
  return std::all_of(page.begin(), page.end(), [](const Line& line) { return line.text.empty(); });
}

}  // namespace

std::string date(int year, unsigned month, unsigned day) {
  return std::to_string(month) + "/" + std::to_string(day) + "/" + std::to_string(year);
}

std::vector<Line> lines(const Programming& record, std::string_view dateText) {
  std::vector<Line> result;
  auto plain = [&](std::string text) { result.push_back({std::move(text)}); };
  auto empty = [&](int count) {
    for (int i = 0; i < count; ++i) plain({});
  };
  auto bold = [&](std::string text) { result.push_back({std::move(text), true}); };
  auto block = [&](const std::vector<std::string>& texts) {
    for (const auto& text : texts) plain(text);
  };
  auto pageBreak = [&] {
    result.push_back({{}, false, true});
    empty(kEmptyLinesAfterBreak - 1);
  };

  empty(2);
  bold(std::string(35, ' ') + "Tarvek Programming Settings - " + std::string(dateText));
  empty(2);
  bold(settings::heading(settings::kGlobalHeading));
  empty(1);
  block(settings::globalLines(record.global));
  empty(2);
  bold(settings::heading(settings::kInputsHeading));
  empty(1);
  for (int input = 1; input <= kInputCount; ++input) {
    if (input == kInputBlocksOnFirstPage + 1) pageBreak();
    block(settings::inputBlock(record, input));
  }
  empty(1);
  bold(settings::heading(settings::kNumbersHeading));
  empty(1);
  for (int input = 1; input <= kInputCount; ++input) {
    if (input == kPhoneBlocksOnFirstPage + 1) pageBreak();
    block(settings::phoneBlock(record, input));
  }
  return result;
}

std::vector<Page> paginate(const std::vector<Line>& lines, int linesPerPage) {
  const auto pageSize = static_cast<std::size_t>(std::max(linesPerPage, 1));
  std::vector<Page> pages(1);
  for (const Line& line : lines) {
    const bool full = pages.back().size() >= pageSize;
    if (full || (line.newPage && !pages.back().empty())) pages.emplace_back();
    pages.back().push_back(line);
  }
  // Empty lines spilling over a full page would cost a sheet of paper showing nothing.
  std::erase_if(pages, blank);
  if (pages.empty()) pages.emplace_back();
  return pages;
}

}  // namespace tarvek::report
