#include "core/record_check.h"

#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "core/display_lines.h"
#include "core/global_rules.h"
#include "core/input_spec_rules.h"
#include "core/phone_rules.h"

namespace tarvek::entry {

namespace {

using lines::Field;
using Problems = std::vector<RecordProblem>;

constexpr const char* kGlobal = "Global";
constexpr const char* kInputSpecsCaption = "Input Specifications";
constexpr const char* kPhoneNumbersCaption = "Phone Numbers";

bool oneOf(std::string_view value, std::initializer_list<std::string_view> allowed) {
  for (std::string_view one : allowed)
    if (value == one) return true;
  return false;
}

bool digits(std::string_view value, std::size_t count) { return value.size() == count && allDigits(value); }

// Ringback Limit and the two counters: one or two digits, not 0.
bool isCount(std::string_view value) {
  return !value.empty() && value.size() <= 2 && allDigits(value) && numericValue(value) != 0;
}

bool isTimer(std::string_view value) {
  if (value.size() != 20) return false;
  const std::string_view hours = value.substr(4, 2);
  const std::string_view minutes = value.substr(11, 2);
  const std::string_view seconds = value.substr(18, 2);
  if (value != lines::timer(hours, minutes, seconds) || !allDigits(hours) || !allDigits(minutes) || !allDigits(seconds))
    return false;
  const long h = numericValue(hours);
  const long m = numericValue(minutes);
  const long s = numericValue(seconds);
  if (m > kMostMinutesOrSeconds || s > kMostMinutesOrSeconds) return false;
  return h < kMostTimerHours || (h == kMostTimerHours && m == 0 && s == 0);
}

// Each block of a list in its place, headed by its input, and nothing after the last.
void checkBlocks(const std::vector<std::string>& list, std::size_t blockLength, const char* caption,
                 Problems& problems) {
  for (int input = 1; input <= kInputCount; ++input) {
    const std::size_t start = blockLength * static_cast<std::size_t>(input - 1);
    if (start + blockLength > list.size() || list[start] != lines::header(input))
      problems.push_back({lines::header(input), caption, {}, true});
  }
  const std::size_t whole = blockLength * kInputCount;
  if (list.size() > whole) problems.push_back({"After " + lines::header(kInputCount), caption, list[whole]});
}

void checkGlobal(const GlobalSettings& g, bool reducedFeatures, Problems& problems) {
  const auto wrong = [&problems](const char* caption, const std::string& value) {
    problems.push_back({kGlobal, caption, value});
  };
  const bool known = oneOf(g.function, {text::kAlarmDialer, text::kAislecall, text::kAlarmDialerNoBeeps});
  const bool aislecall = g.function == text::kAislecall;
  // A setting that Aislecall mode holds at "N/A"; under an unknown Function it is not judged.
  const auto dependent = [&](const char* caption, const std::string& value, bool valid) {
    if (known && (aislecall ? value != text::kNotApplicable : !valid)) wrong(caption, value);
  };

  if (!known) wrong("Function", g.function);
  if (!digits(g.securityCode, longestEntry(GlobalBox::SecurityCode))) wrong("Security Code", g.securityCode);
  dependent("Access Code", g.accessCode, digits(g.accessCode, longestEntry(GlobalBox::AccessCode)));
  if (!digits(g.ringDelay, longestEntry(GlobalBox::RingDelay))) wrong("Ring Delay", g.ringDelay);
  dependent("Ringback Limit", g.ringbackLimit, isCount(g.ringbackLimit));
  dependent("Dialing Speed", g.dialingSpeed, oneOf(g.dialingSpeed, {text::kNormal, text::kFast}));
  dependent("Call Progress Detection", g.callProgress, oneOf(g.callProgress, {text::kEnabled, text::kDisabled}));
  // The timer goes out as it stands, so two digits; "00" would enable detection instead.
  bool forced = true;
  if (g.callProgress == text::kEnabled) forced = g.forcedPlayTimer == text::kNotApplicable;
  if (g.callProgress == text::kDisabled)
    forced =
        digits(g.forcedPlayTimer, longestEntry(GlobalBox::ForcedPlayTimer)) && numericValue(g.forcedPlayTimer) != 0;
  dependent("Forced Play Timer", g.forcedPlayTimer, forced);
  // A short-layout read shows "Disabled" here in every mode; such a unit takes no other.
  const bool hookswitch = aislecall         ? oneOf(g.hookswitchFlash, {text::kNotApplicable, text::kDisabled})
                          : reducedFeatures ? g.hookswitchFlash == text::kDisabled
                                            : oneOf(g.hookswitchFlash, {text::kEnabled, text::kDisabled});
  if (known && !hookswitch) wrong("Hookswitch Flash", g.hookswitchFlash);
}

bool validField(Field which, std::string_view value) {
  switch (which) {
    case Field::NormalState:
      return oneOf(value, {lines::kNormallyOpen, lines::kNormallyClosed, text::kDisabled});
    case Field::Duration:
      return oneOf(value, {lines::kMomentary, lines::kContinuous});
    case Field::QualifierTimer:
    case Field::ResumeTimer:
      return isTimer(value);
    case Field::MsgRptCount:
    case Field::LapCounter:
      break;
  }
  return isCount(value);
}

void checkInputs(const std::vector<std::string>& specs, Problems& problems) {
  constexpr Field kFields[] = {Field::NormalState, Field::Duration,    Field::QualifierTimer,
                               Field::ResumeTimer, Field::MsgRptCount, Field::LapCounter};
  for (int input = 1; input <= kInputCount; ++input) {
    auto line = specs.begin() + lines::inputFieldIndex(input);
    for (Field which : kFields) {
      const std::string& text = *line++;
      const std::string prefix = lines::field(which, "");
      const bool formed = text.starts_with(prefix);
      const std::string value = formed ? text.substr(prefix.size()) : text;
      if (!formed || !validField(which, value))
        problems.push_back({lines::header(input), std::string(lines::fieldLabel(which)), value});
    }
  }
}

void checkNumbers(const std::vector<std::string>& numbers, bool reducedFeatures, Problems& problems) {
  const std::size_t longest = reducedFeatures ? kLongestNumber - 1 : kLongestNumber;
  for (int input = 1; input <= kInputCount; ++input) {
    for (int slot = 1; slot <= kNumbersPerInput; ++slot) {
      const std::string& line = numbers[static_cast<std::size_t>(lines::phoneLineIndex(input, slot))];
      const std::string where = lines::header(input) + " number " + std::to_string(slot);
      const bool pager = lines::hasPagerMark(line);
      if (pager && reducedFeatures) problems.push_back({where, "Pager", "P"});
      if (line == lines::notProgrammed(slot, 6, pager) || line == lines::notProgrammed(slot, 7, pager)) continue;

      const std::string number = lines::phoneNumber(line);
      const bool formed = line == lines::phone(slot, number, pager);
      bool valid = formed && !number.empty() && number.size() <= longest;
      for (char c : number) valid = valid && isPhoneCharacter(static_cast<unsigned char>(c));
      if (!valid) problems.push_back({where, "Phone Number", formed ? number : line});
    }
  }
}

std::string shownValue(std::string_view value) {
  constexpr std::size_t kLongestShown = 40;
  constexpr std::size_t kCutTo = 32;
  const bool cut = value.size() > kLongestShown;
  std::string text = "\"";
  for (unsigned char c : value.substr(0, cut ? kCutTo : value.size())) {
    if (c < 0x20 || c >= 0x7f) {  // messages are UTF-8: no raw 8-bit record bytes
      char code[8];
      std::snprintf(code, sizeof code, "\\x%02X", c);
      text += code;
    } else {
      text += static_cast<char>(c);
    }
  }
  if (cut) return text + "...\" (" + std::to_string(value.size()) + " characters)";
  return text + "\"";
}

}  // namespace

std::vector<RecordProblem> checkRecord(const Programming& record, bool reducedFeatures) {
  Problems problems;
  checkBlocks(record.inputSpecs, kLinesPerInputBlock, kInputSpecsCaption, problems);
  checkBlocks(record.phoneNumbers, kLinesPerPhoneBlock, kPhoneNumbersCaption, problems);
  if (!problems.empty()) return problems;
  checkGlobal(record.global, reducedFeatures, problems);
  checkInputs(record.inputSpecs, problems);
  checkNumbers(record.phoneNumbers, reducedFeatures, problems);
  return problems;
}

std::string problemList(const std::vector<RecordProblem>& problems, std::size_t mostLines) {
  std::string text;
  for (std::size_t i = 0; i < problems.size() && i < mostLines; ++i) {
    const RecordProblem& problem = problems[i];
    if (!text.empty()) text += '\n';
    text += problem.where + ", " + problem.field + ": " + (problem.missing ? "missing" : shownValue(problem.value));
  }
  if (problems.size() > mostLines) text += "\nand " + std::to_string(problems.size() - mostLines) + " more";
  return text;
}

}  // namespace tarvek::entry
