#include "fuzz_checks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tarvek::fuzz {

std::string Input::text(std::size_t length) {
  const std::size_t available = m_size - m_position;
  const std::size_t taken = length < available ? length : available;
  std::string result(reinterpret_cast<const char*>(m_data + m_position), taken);
  m_position += taken;
  return result;
}

void fail(const char* property, const char* file, int line, std::string_view detail) {
  std::fprintf(stderr, "\n*** Property broken at %s:%d: %s\n", file, line, property);
  if (!detail.empty()) std::fprintf(stderr, "*** %s\n", shown(detail).c_str());
  std::abort();
}

std::string shown(std::string_view text) {
  std::string result;
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7f) {
      result += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      result += escaped;
    }
  }
  return result;
}

bool allDigits(std::string_view text) {
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

bool isTimerText(std::string_view text) {
  if (text.size() != 20) return false;
  const std::string_view hours = text.substr(4, 2);
  const std::string_view minutes = text.substr(11, 2);
  const std::string_view seconds = text.substr(18, 2);
  return lines::timer(hours, minutes, seconds) == text && allDigits(hours) && allDigits(minutes) && allDigits(seconds);
}

bool hasFieldForm(std::string_view line, lines::Field field) {
  const std::string prefix = lines::field(field, "");
  return line.size() > prefix.size() && line.substr(0, prefix.size()) == prefix;
}

std::string_view fieldValue(std::string_view line) {
  const std::size_t column = lines::kValueColumn - 1;
  return line.size() > column ? line.substr(column) : std::string_view();
}

bool hasPhoneForm(std::string_view line, int slot) {
  const std::string slotText = "(" + std::to_string(slot) + ")";
  for (const int blanks : {6, 7})
    for (const bool pager : {false, true})
      if (line == lines::notProgrammed(slot, blanks, pager)) return true;
  const std::string plain = "   " + slotText + " ";
  const std::string pager = " P " + slotText + " ";
  return line.size() > plain.size() && (line.starts_with(plain) || line.starts_with(pager));
}

std::vector<std::string> editedList(Input& in, std::vector<std::string> list) {
  for (int edits = in.byte(); edits > 0 && !in.done(); --edits) {
    const std::size_t index = in.byte();
    const std::string text = in.counted();
    if (index >= 200)
      list.resize(std::min(list.size(), index - 200));
    else if (index < list.size())
      list[index] = text;
    else
      list.push_back(text);
  }
  return list;
}

void typeAt(std::string& text, int code, std::size_t cursor, int backspace) {
  const std::size_t at = cursor % (text.size() + 1);
  if (code == backspace) {
    if (at > 0) text.erase(at - 1, 1);
  } else {
    text.insert(at, 1, static_cast<char>(code));
  }
}

}  // namespace tarvek::fuzz
