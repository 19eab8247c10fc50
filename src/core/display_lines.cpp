#include "core/display_lines.h"

#include <cstdio>

namespace tarvek::lines {

namespace {

struct FieldForm {
  std::string_view label;
  int blanksAfter;
};

FieldForm formOf(Field which) {
  switch (which) {
    case Field::NormalState:
      return {"Normal State", 6};
    case Field::Duration:
      return {"Duration", 10};
    case Field::QualifierTimer:
      return {"Qualifier Timer", 3};
    case Field::ResumeTimer:
      return {"Resume Timer", 6};
    case Field::MsgRptCount:
      return {"Msg Rpt Count", 5};
    case Field::LapCounter:
      return {"Lap Counter", 7};
  }
  return {"", 0};
}

std::string twoDigits(unsigned value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02u", value);
  return buffer;
}

std::string slotText(int slot) { return "(" + std::to_string(slot) + ")"; }

// Characters at 1-based columns [from, from + n), as far as the line reaches.
std::string columns(std::string_view line, std::size_t from, std::size_t n) {
  if (line.size() < from) return {};
  return std::string(line.substr(from - 1, n));
}

}  // namespace

std::string header(int input) { return "Input " + std::to_string(input); }

std::string_view fieldLabel(Field which) { return formOf(which).label; }

std::string field(Field which, std::string_view value) {
  const FieldForm form = formOf(which);
  std::string line = "  ";
  line += form.label;
  line.append(static_cast<std::size_t>(form.blanksAfter), ' ');
  line += value;
  return line;
}

std::string timer(std::string_view hours, std::string_view minutes, std::string_view seconds) {
  std::string text = "Hrs ";
  text += hours;
  text += " Min ";
  text += minutes;
  text += " Sec ";
  text += seconds;
  return text;
}

std::string timerFromSeconds(unsigned seconds) {
  return timer(twoDigits(seconds / 3600), twoDigits(seconds % 3600 / 60), twoDigits(seconds % 60));
}

TimerParts timerParts(std::string_view line) {
  return {columns(line, 25, 2), columns(line, 32, 2), lastChars(line, 2)};
}

std::string count(std::string_view line) {
  const std::string lastTwo = lastChars(line, 2);
  if (lastTwo.find(' ') != std::string::npos) return lastChars(line, 1);
  return lastTwo;
}

std::string withLeadingZero(std::string_view digits) {
  if (digits.size() == 1) return "0" + std::string(digits);
  return std::string(digits);
}

std::string phone(int slot, std::string_view number, bool pager) {
  if (contains(number, "Not")) return notProgrammed(slot);
  std::string line = pager ? " P " : "   ";
  line += slotText(slot);
  line += ' ';
  line += number;
  return line;
}

std::string notProgrammed(int slot, int blanks, bool pager) {
  std::string line = pager ? " P " : "   ";
  line += slotText(slot);
  line.append(static_cast<std::size_t>(blanks), ' ');
  line += kNotProgrammed;
  return line;
}

bool isNotProgrammed(std::string_view line) { return contains(line, "Not"); }

bool hasPagerMark(std::string_view line) { return line.size() >= 2 && line[1] == 'P'; }

std::string phoneNumber(std::string_view line) {
  if (line.size() <= 7) return {};
  return std::string(line.substr(7));
}

std::string normalStateValue(std::string_view line) {
  if (contains(line, "Open")) return kNormallyOpen;
  if (contains(line, "Closed")) return kNormallyClosed;
  return text::kDisabled;
}

std::string durationValue(std::string_view line) { return contains(line, kMomentary) ? kMomentary : kContinuous; }

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

std::string lastChars(std::string_view text, std::size_t n) {
  if (text.size() <= n) return std::string(text);
  return std::string(text.substr(text.size() - n));
}

std::string trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace tarvek::lines
