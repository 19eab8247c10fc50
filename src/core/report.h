#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/programming.h"

// The printed report: the settings file's body under a dated title, with bold headings
// and two forced page breaks. Which lines, which are bold and where pages begin is
// decided here; painting them is the printer's side.
namespace tarvek::report {

struct Line {
  std::string text;
  bool bold = false;
  bool newPage = false;  // a new page begins before this line

  bool operator==(const Line&) const = default;
};

using Page = std::vector<Line>;

// "m/d/yyyy": month and day without leading zeros.
std::string date(int year, unsigned month, unsigned day);

// Every line of the report, in order, with the title dated `dateText`.
std::vector<Line> lines(const Programming& record, std::string_view dateText);

// Splits the lines into pages of at most `linesPerPage` lines, starting a new page
// where a line asks for one. No page is left blank: a forced break on a fresh page
// starts no other, and a page of nothing but empty lines is not printed.
std::vector<Page> paginate(const std::vector<Line>& lines, int linesPerPage);

}  // namespace tarvek::report
