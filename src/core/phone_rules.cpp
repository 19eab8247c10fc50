#include "core/phone_rules.h"

#include "core/display_lines.h"

namespace tarvek::entry {

namespace {

bool holdsPlaceholder(std::string_view text) { return lines::contains(text, lines::kNotProgrammed); }

std::string withoutLeadingBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

}  // namespace

std::vector<std::string> completePhoneNumbers(std::vector<std::string> list) {
  const std::vector<std::string> defaults = newProgramming().phoneNumbers;
  for (std::size_t i = list.size(); i < defaults.size(); ++i) list.push_back(defaults[i]);
  return list;
}

PhoneRows phoneRows(const std::vector<std::string>& list, int input, bool reducedFeatures) {
  PhoneRows rows;
  for (int slot = 1; slot <= kNumbersPerInput; ++slot) {
    const auto index = static_cast<std::size_t>(lines::phoneLineIndex(validInput(input), slot));
    const std::string line = index < list.size() ? list[index] : std::string();
    PhoneRow& row = rows[static_cast<std::size_t>(slot - 1)];
    row.text = holdsPlaceholder(line) ? std::string(kPlaceholder) : lines::phoneNumber(line);
    row.pager = !reducedFeatures && lines::hasPagerMark(line);
  }
  return rows;
}

PhoneRows clearedPhoneRows() {
  PhoneRows rows;
  for (PhoneRow& row : rows) row = {kPlaceholder, false};
  return rows;
}

bool isPhoneCharacter(int code) { return isDigit(code) || code == '*' || code == '#' || code == ','; }

KeyVerdict phoneKey(std::string_view text, int code) {
  const bool taken = code == kBackspace || isPhoneCharacter(code);
  return {taken, holdsPlaceholder(text), taken ? std::string() : kPhoneEntryMessage};
}

PasteVerdict phonePaste(std::string_view text, std::string_view pasted) {
  for (char c : pasted)
    if (!isPhoneCharacter(static_cast<unsigned char>(c))) return {false, false, kPhoneEntryMessage};
  return {true, holdsPlaceholder(text), {}};
}

std::optional<std::string> cutToLongest(std::string_view text) {
  if (text.size() <= kLongestNumber) return std::nullopt;
  return std::string(text.substr(0, kLongestNumber));
}

std::string phoneLine(int slot, const PhoneRow& row) {
  const std::string number = holdsPlaceholder(row.text) ? row.text : withoutLeadingBlanks(row.text);
  if (number.empty()) return lines::notProgrammed(slot);
  return lines::phone(slot, number, row.pager);
}

std::vector<std::string> rebuildPhoneNumbers(const std::vector<std::string>& working, int input,
                                             const PhoneRows& rows) {
  std::vector<std::string> rebuilt = working;
  for (int slot = 1; slot <= kNumbersPerInput; ++slot) {
    const auto index = static_cast<std::size_t>(lines::phoneLineIndex(validInput(input), slot));
    if (index < rebuilt.size()) rebuilt[index] = phoneLine(slot, rows[static_cast<std::size_t>(slot - 1)]);
  }
  return rebuilt;
}

}  // namespace tarvek::entry
