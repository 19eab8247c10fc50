#include "core/codec.h"

#include "core/display_lines.h"

namespace tarvek::codec {

namespace {

// Characters at 1-based positions [from, from + n) as far as the answer reaches.
std::string at(const std::string& answer, std::size_t from, std::size_t n = 1) {
  if (answer.size() < from) return {};
  return answer.substr(from - 1, n);
}

// A two-digit count shown without its leading zero ("06" shows as "6").
std::string withoutLeadingZero(const std::string& digits) {
  if (!digits.empty() && digits[0] == '0') return digits.substr(1);
  return digits;
}

unsigned timerSeconds(const std::string& answer, std::size_t lowPosition) {
  if (answer.size() < lowPosition + 1) throw DecodeError("input record too short for its timers");
  const auto low = static_cast<unsigned char>(answer[lowPosition - 1]);
  const auto high = static_cast<unsigned char>(answer[lowPosition]);
  return low + 256u * high;
}

std::string normalStateText(const std::string& code) {
  if (code == "0") return lines::kNormallyOpen;
  if (code == "1") return lines::kNormallyClosed;
  if (code == "2") return text::kDisabled;
  return code;  // no text of its own: the line shows the code
}

std::string durationText(const std::string& code) {
  if (code == "0") return lines::kMomentary;
  if (code == "1") return lines::kContinuous;
  return code;
}

// The last two characters of a count line with a lost leading zero restored.
std::string countDigits(const std::string& line) {
  const std::string lastTwo = lines::lastChars(line, 2);
  if (lastTwo.find(' ') != std::string::npos) return "0" + lines::lastChars(line, 1);
  return lastTwo;
}

std::string timerDigits(const std::string& line) {
  const auto parts = lines::timerParts(line);
  return parts.hours + parts.minutes + parts.seconds;
}

const std::string& lineAt(const std::vector<std::string>& lines, std::size_t index) {
  static const std::string empty;
  return index < lines.size() ? lines[index] : empty;
}

}  // namespace

bool endsWithCarriageReturn(const std::string& answer) { return !answer.empty() && answer.back() == kCarriageReturn; }

void decodeGlobal(const std::string& answer, bool shortLayout, GlobalSettings& settings) {
  const std::string function = at(answer, 1);
  if (function == "0") settings.function = text::kAlarmDialer;
  if (function == "1") settings.function = text::kAislecall;
  if (function == "2") settings.function = text::kAlarmDialerNoBeeps;
  const bool aislecall = settings.function == text::kAislecall;

  settings.securityCode = at(answer, 2, 6);
  settings.accessCode = aislecall ? text::kNotApplicable : at(answer, 8, 6);
  settings.ringDelay = at(answer, 14);
  settings.ringbackLimit = aislecall ? text::kNotApplicable : withoutLeadingZero(at(answer, 15, 2));
  settings.dialingSpeed = aislecall ? text::kNotApplicable : (at(answer, 17) == "0" ? text::kNormal : text::kFast);

  if (shortLayout)
    settings.hookswitchFlash = text::kDisabled;
  else if (aislecall)
    settings.hookswitchFlash = text::kNotApplicable;
  else
    settings.hookswitchFlash = at(answer, 18) == "0" ? text::kDisabled : text::kEnabled;

  const std::string timer = shortLayout ? at(answer, 18, 2) : lines::lastChars(answer, 2);
  if (aislecall) {
    settings.callProgress = text::kNotApplicable;
    settings.forcedPlayTimer = text::kNotApplicable;
  } else if (timer == "00") {
    settings.callProgress = text::kEnabled;
    settings.forcedPlayTimer = text::kNotApplicable;
  } else {
    settings.callProgress = text::kDisabled;
    settings.forcedPlayTimer = timer;
  }
}

void appendInputFields(const std::string& answer, std::vector<std::string>& out) {
  using lines::Field;
  out.push_back(lines::field(Field::NormalState, normalStateText(at(answer, 1))));
  out.push_back(lines::field(Field::Duration, durationText(at(answer, 2))));
  out.push_back(lines::field(Field::QualifierTimer, lines::timerFromSeconds(timerSeconds(answer, 7))));
  out.push_back(lines::field(Field::ResumeTimer, lines::timerFromSeconds(timerSeconds(answer, 9))));
  out.push_back(lines::field(Field::MsgRptCount, withoutLeadingZero(at(answer, 3, 2))));
  out.push_back(lines::field(Field::LapCounter, withoutLeadingZero(at(answer, 5, 2))));
}

std::string phoneLineFromAnswer(int slot, const std::string& answer) {
  std::string number = answer.empty() ? std::string() : answer.substr(0, answer.size() - 1);
  number.erase(number.find_last_not_of(' ') + 1);
  const bool pager = !answer.empty() && answer.back() == '1';
  if (number.empty()) return lines::notProgrammed(slot, 7, pager);
  std::string line = pager ? " P " : "   ";
  line += "(" + std::to_string(slot) + ") " + number;
  return line;
}

std::optional<GlobalFields> encodeGlobalFields(const GlobalSettings& settings, bool shortLayout) {
  GlobalFields fields;
  if (settings.function == text::kAlarmDialer)
    fields.function = "0";
  else if (settings.function == text::kAislecall)
    fields.function = "1";
  else if (settings.function == text::kAlarmDialerNoBeeps)
    fields.function = "2";
  else
    return std::nullopt;

  fields.securityCode = settings.securityCode;
  fields.accessCode =
      settings.accessCode == text::kNotApplicable ? std::string(text::kDefaultAccessCode) : settings.accessCode;
  fields.ringDelay = settings.ringDelay;
  if (settings.ringbackLimit == text::kNotApplicable)
    fields.ringbackLimit = "06";
  else if (settings.ringbackLimit.size() == 1)
    fields.ringbackLimit = "0" + settings.ringbackLimit;
  else
    fields.ringbackLimit = settings.ringbackLimit;
  fields.dialingSpeed = settings.dialingSpeed == text::kNormal ? "0" : "1";
  if (!shortLayout) fields.hookswitchFlash = settings.hookswitchFlash == text::kDisabled ? "0" : "1";
  fields.forcedPlayTimer =
      settings.forcedPlayTimer == text::kNotApplicable ? std::string("00") : settings.forcedPlayTimer;
  return fields;
}

InputFields encodeInputFields(const std::vector<std::string>& fieldLines) {
  InputFields fields;
  const std::string& normalState = lineAt(fieldLines, 0);
  if (lines::contains(normalState, "Open"))
    fields.normalState = "0";
  else if (lines::contains(normalState, "Closed"))
    fields.normalState = "1";
  else
    fields.normalState = "2";
  fields.duration = lines::contains(lineAt(fieldLines, 1), lines::kMomentary) ? "0" : "1";
  fields.msgRptCount = countDigits(lineAt(fieldLines, 4));
  fields.lapCounter = countDigits(lineAt(fieldLines, 5));
  fields.qualifierTimer = timerDigits(lineAt(fieldLines, 2));
  fields.resumeTimer = timerDigits(lineAt(fieldLines, 3));
  return fields;
}

PhoneFields encodePhoneFields(const std::string& line, bool shortLayout) {
  PhoneFields fields;
  const std::string number = lines::phoneNumber(line);
  const bool programmed = !lines::isNotProgrammed(number);
  if (programmed) fields.number = number;
  // A pager mark the unit reported for an empty slot is not sent back: an empty slot
  // is never a pager.
  if (!shortLayout) fields.pager = programmed && lines::hasPagerMark(line) ? "1" : "0";
  return fields;
}

std::optional<std::string> encodeGlobal(const GlobalSettings& settings, bool shortLayout) {
  const auto f = encodeGlobalFields(settings, shortLayout);
  if (!f) return std::nullopt;
  return "MW" + f->function + f->securityCode + f->accessCode + f->ringDelay + f->ringbackLimit + f->dialingSpeed +
         f->hookswitchFlash + f->forcedPlayTimer;
}

std::string encodeInput(int input, const std::vector<std::string>& fieldLines) {
  const InputFields f = encodeInputFields(fieldLines);
  return "I" + std::to_string(input) + "W" + f.normalState + f.duration + f.msgRptCount + f.lapCounter +
         f.qualifierTimer + f.resumeTimer;
}

std::string encodePhone(int input, int slot, const std::string& line, bool shortLayout) {
  const PhoneFields f = encodePhoneFields(line, shortLayout);
  return "N" + std::to_string(input) + "W" + std::to_string(slot) + f.pager + f.number;
}

std::string readInputCommand(int input) { return "I" + std::to_string(input) + "R"; }

std::string readPhoneCommand(int input, int slot) { return "N" + std::to_string(input) + "R" + std::to_string(slot); }

}  // namespace tarvek::codec
