#include "core/entry_rules.h"

#include "core/programming.h"

namespace tarvek::entry {

bool isDigit(int code) { return code >= '0' && code <= '9'; }

bool allDigits(std::string_view text) {
  for (char c : text)
    if (!isDigit(static_cast<unsigned char>(c))) return false;
  return true;
}

long numericValue(std::string_view text) {
  constexpr long kBound = 1'000'000'000;
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  long value = 0;
  for (; i < text.size() && isDigit(static_cast<unsigned char>(text[i])); ++i)
    if (value < kBound) value = value * 10 + (text[i] - '0');
  return value;
}

KeyVerdict digitKey(int code, bool emptyOnRefusal) {
  if (code == kBackspace || isDigit(code)) return {};
  return {false, emptyOnRefusal, kDigitEntryMessage};
}

PasteVerdict digitPaste(std::string_view resulting, std::size_t longest, const std::string& tooLongMessage) {
  if (!allDigits(resulting)) return {false, false, kDigitEntryMessage};
  if (resulting.size() > longest) return {false, false, tooLongMessage};
  return {};
}

int nextInput(int input) { return input >= kInputCount ? 1 : input + 1; }
int previousInput(int input) { return input <= 1 ? kInputCount : input - 1; }
int validInput(int input) { return input >= 1 && input <= kInputCount ? input : 1; }

}  // namespace tarvek::entry
