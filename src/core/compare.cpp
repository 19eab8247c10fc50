#include "core/compare.h"

#include <cstdio>
#include <string_view>

#include "core/codec.h"
#include "core/display_lines.h"

namespace tarvek::comparison {

namespace {

struct GlobalField {
  const char* caption;
  std::string GlobalSettings::*shown;
  std::string codec::GlobalFields::*sent;
  // Call Progress Detection is not sent: the Forced Play Timer's "00" stands for it, so
  // it is named only when that field differs and the two records show it differently.
  bool onlyWhenShownDifferently;
};

// In the Main screen's order.
const GlobalField kGlobalFields[] = {
    {"Function", &GlobalSettings::function, &codec::GlobalFields::function, false},
    {"Security Code", &GlobalSettings::securityCode, &codec::GlobalFields::securityCode, false},
    {"Access Code", &GlobalSettings::accessCode, &codec::GlobalFields::accessCode, false},
    {"Ring Delay", &GlobalSettings::ringDelay, &codec::GlobalFields::ringDelay, false},
    {"Ringback Limit", &GlobalSettings::ringbackLimit, &codec::GlobalFields::ringbackLimit, false},
    {"Dialing Speed", &GlobalSettings::dialingSpeed, &codec::GlobalFields::dialingSpeed, false},
    {"Call Progress Detection", &GlobalSettings::callProgress, &codec::GlobalFields::forcedPlayTimer, true},
    {"Forced Play Timer", &GlobalSettings::forcedPlayTimer, &codec::GlobalFields::forcedPlayTimer, false},
    {"Hookswitch Flash", &GlobalSettings::hookswitchFlash, &codec::GlobalFields::hookswitchFlash, false},
};

struct InputField {
  lines::Field line;  // also the line's place among the input's six field lines
  std::string codec::InputFields::*sent;
};

const InputField kInputFields[] = {
    {lines::Field::NormalState, &codec::InputFields::normalState},
    {lines::Field::Duration, &codec::InputFields::duration},
    {lines::Field::QualifierTimer, &codec::InputFields::qualifierTimer},
    {lines::Field::ResumeTimer, &codec::InputFields::resumeTimer},
    {lines::Field::MsgRptCount, &codec::InputFields::msgRptCount},
    {lines::Field::LapCounter, &codec::InputFields::lapCounter},
};

std::string problemOf(const Programming& record, const char* which) {
  const std::string name = std::string("The ") + which + " programming";
  if (!isComplete(record)) return name + " is incomplete: a read stopped part way.";
  if (!codec::encodeGlobalFields(record.global, false))
    return name + " has a Function that is none of Alarm Dialer, Alarm Dialer (No Beeps) or Aislecall.";
  return {};
}

void compareGlobal(const GlobalSettings& first, const GlobalSettings& second, bool shortLayout,
                   std::vector<Difference>& out) {
  if (codec::encodeGlobal(first, shortLayout) == codec::encodeGlobal(second, shortLayout)) return;
  const auto sentFirst = *codec::encodeGlobalFields(first, shortLayout);
  const auto sentSecond = *codec::encodeGlobalFields(second, shortLayout);
  for (const auto& field : kGlobalFields) {
    if (sentFirst.*field.sent == sentSecond.*field.sent) continue;
    if (field.onlyWhenShownDifferently && first.*field.shown == second.*field.shown) continue;
    out.push_back({"Global", field.caption, first.*field.shown, second.*field.shown});
  }
}

std::vector<std::string> fieldLines(const Programming& record, int input) {
  const auto first = record.inputSpecs.begin() + lines::inputFieldIndex(input);
  return {first, first + 6};
}

std::string shownValue(const std::string& fieldLine) {
  if (fieldLine.size() < lines::kValueColumn) return {};
  return lines::trimmed(std::string_view(fieldLine).substr(lines::kValueColumn - 1));
}

void compareInput(const Programming& first, const Programming& second, int input, std::vector<Difference>& out) {
  const auto linesFirst = fieldLines(first, input);
  const auto linesSecond = fieldLines(second, input);
  if (codec::encodeInput(input, linesFirst) == codec::encodeInput(input, linesSecond)) return;
  const auto sentFirst = codec::encodeInputFields(linesFirst);
  const auto sentSecond = codec::encodeInputFields(linesSecond);
  for (const auto& field : kInputFields) {
    if (sentFirst.*field.sent == sentSecond.*field.sent) continue;
    const auto index = static_cast<std::size_t>(field.line);
    out.push_back({lines::header(input), std::string(lines::fieldLabel(field.line)), shownValue(linesFirst[index]),
                   shownValue(linesSecond[index])});
  }
}

std::string shownPager(const std::string& line) { return lines::hasPagerMark(line) ? "Yes" : "No"; }
std::string shownNumber(const std::string& line) { return lines::trimmed(lines::phoneNumber(line)); }

void comparePhone(const Programming& first, const Programming& second, int input, int slot, bool shortLayout,
                  std::vector<Difference>& out) {
  const auto index = static_cast<std::size_t>(lines::phoneLineIndex(input, slot));
  const std::string& lineFirst = first.phoneNumbers[index];
  const std::string& lineSecond = second.phoneNumbers[index];
  if (codec::encodePhone(input, slot - 1, lineFirst, shortLayout) ==
      codec::encodePhone(input, slot - 1, lineSecond, shortLayout))
    return;
  const auto sentFirst = codec::encodePhoneFields(lineFirst, shortLayout);
  const auto sentSecond = codec::encodePhoneFields(lineSecond, shortLayout);
  const std::string where = lines::header(input) + " number " + std::to_string(slot);
  if (sentFirst.pager != sentSecond.pager)
    out.push_back({where, "Pager", shownPager(lineFirst), shownPager(lineSecond)});
  if (sentFirst.number != sentSecond.number)
    out.push_back({where, "Phone Number", shownNumber(lineFirst), shownNumber(lineSecond)});
}

std::string escaped(const std::string& value) {
  std::string out;
  for (const char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f || c == '\\') {
      char code[8];
      std::snprintf(code, sizeof code, "\\x%02x", byte);
      out += code;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

Comparison compare(const Programming& first, const Programming& second, Layout layout) {
  Comparison result;
  result.problem = problemOf(first, "first");
  if (result.problem.empty()) result.problem = problemOf(second, "second");
  if (!result.problem.empty()) return result;

  const bool shortLayout = layout == Layout::Short;
  compareGlobal(first.global, second.global, shortLayout, result.differences);
  for (int input = 1; input <= kInputCount; ++input) compareInput(first, second, input, result.differences);
  for (int input = 1; input <= kInputCount; ++input)
    for (int slot = 1; slot <= kNumbersPerInput; ++slot)
      comparePhone(first, second, input, slot, shortLayout, result.differences);
  return result;
}

std::string describe(const Difference& difference) {
  return escaped(difference.where) + '\t' + escaped(difference.field) + '\t' + escaped(difference.first) + '\t' +
         escaped(difference.second);
}

}  // namespace tarvek::comparison
