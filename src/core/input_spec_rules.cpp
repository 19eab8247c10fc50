#include "core/input_spec_rules.h"

#include "core/display_lines.h"
#include "core/programming.h"

namespace tarvek::entry {

namespace {

using lines::Field;

std::string lineAt(const std::vector<std::string>& list, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return {};
  return list[static_cast<std::size_t>(index)];
}

std::optional<InputSpecFailure> emptied(InputSpecEntries& entries, InputBox box, const char* message) {
  entries[box].clear();
  return InputSpecFailure{box, message};
}

struct TimerBoxes {
  InputBox hours;
  InputBox minutes;
  InputBox seconds;
};
constexpr TimerBoxes kQualifier{InputBox::QHours, InputBox::QMinutes, InputBox::QSeconds};
constexpr TimerBoxes kResume{InputBox::RHours, InputBox::RMinutes, InputBox::RSeconds};

const char* normalStateText(NormalState state) {
  switch (state) {
    case NormalState::Open:
      return lines::kNormallyOpen;
    case NormalState::Closed:
      return lines::kNormallyClosed;
    case NormalState::Disabled:
      break;
  }
  return text::kDisabled;
}

}  // namespace

std::vector<std::string> completeInputSpecs(std::vector<std::string> list) {
  const std::vector<std::string> defaults = newProgramming().inputSpecs;
  for (std::size_t i = list.size(); i < defaults.size(); ++i) list.push_back(defaults[i]);
  return list;
}

InputSpecEntries inputSpecEntries(const std::vector<std::string>& list, int input) {
  const int index = lines::inputFieldIndex(validInput(input));
  InputSpecEntries entries;
  const std::string normalState = lineAt(list, index);
  if (lines::contains(normalState, lines::kNormallyOpen))
    entries.normalState = NormalState::Open;
  else if (lines::contains(normalState, lines::kNormallyClosed))
    entries.normalState = NormalState::Closed;
  else
    entries.normalState = NormalState::Disabled;
  entries.momentary = lines::contains(lineAt(list, index + 1), lines::kMomentary);

  const lines::TimerParts qualifier = lines::timerParts(lineAt(list, index + 2));
  entries[InputBox::QHours] = qualifier.hours;
  entries[InputBox::QMinutes] = qualifier.minutes;
  entries[InputBox::QSeconds] = qualifier.seconds;
  const lines::TimerParts resume = lines::timerParts(lineAt(list, index + 3));
  entries[InputBox::RHours] = resume.hours;
  entries[InputBox::RMinutes] = resume.minutes;
  entries[InputBox::RSeconds] = resume.seconds;
  entries[InputBox::RepeatCounter] = lines::count(lineAt(list, index + 4));
  entries[InputBox::LapCounter] = lines::count(lineAt(list, index + 5));
  return entries;
}

KeyVerdict inputSpecKey(std::string_view text, int code) {
  if (code == kBackspace) return {};
  KeyVerdict verdict = digitKey(code, true);
  if (verdict.take && text.size() == 2) verdict.empty = true;
  return verdict;
}

PasteVerdict inputSpecPaste(std::string_view resulting) { return digitPaste(resulting, 2, kInputSpecTooLongMessage); }

std::optional<InputSpecFailure> checkInputSpecEntries(InputSpecEntries& entries) {
  // Typing and pasting let only digits in; other text came with a hand-edited list, and
  // the write command would carry it to the unit as it stands.
  for (std::size_t i = 0; i < kInputBoxCount; ++i) {
    const auto box = static_cast<InputBox>(i);
    if (!allDigits(entries[box])) return emptied(entries, box, kDigitEntryMessage);
  }
  if (numericValue(entries[InputBox::RepeatCounter]) == 0)
    return emptied(entries, InputBox::RepeatCounter, "The Repeat Counter must be between 1 and 99");
  if (numericValue(entries[InputBox::LapCounter]) == 0)
    return emptied(entries, InputBox::LapCounter, "The Lap Counter must be between 1 and 99");

  struct Presence {
    InputBox box;
    const char* message;
  };
  constexpr Presence kPresence[] = {
      {InputBox::QHours, "There is no entry for Qualifier Timer Hours"},
      {InputBox::QMinutes, "There is no entry for Qualifier Timer Minutes"},
      {InputBox::QSeconds, "There is no entry for Qualifier Timer Seconds"},
      {InputBox::RHours, "There is no entry for Resume Timer Hours"},
      {InputBox::RMinutes, "There is no entry for Resume Timer Minutes"},
      {InputBox::RSeconds, "There is no entry for Resume Timer Seconds"},
  };
  for (const Presence& check : kPresence) {
    std::string& text = entries[check.box];
    text = lines::withLeadingZero(text);
    if (text.empty()) return InputSpecFailure{check.box, check.message};
  }

  constexpr Presence kSixty[] = {
      {InputBox::QSeconds, "Qualifier Timer seconds must be between 0 and 59"},
      {InputBox::QMinutes, "Qualifier Timer minutes must be between 0 and 59"},
      {InputBox::RSeconds, "Resume Timer seconds must be between 0 and 59"},
      {InputBox::RMinutes, "Resume Timer minutes must be between 0 and 59"},
  };
  for (const Presence& check : kSixty)
    if (numericValue(entries[check.box]) > kMostMinutesOrSeconds) return emptied(entries, check.box, check.message);

  struct Eighteen {
    TimerBoxes timer;
    const char* message;
  };
  constexpr Eighteen kEighteen[] = {
      {kQualifier, "The Qualifier Timer cannot be more than 18 hours"},
      {kResume, "The Resume Timer cannot be more than 18 hours"},
  };
  for (const Eighteen& check : kEighteen) {
    const long hours = numericValue(entries[check.timer.hours]);
    if (hours > kMostTimerHours) return emptied(entries, check.timer.hours, check.message);
    if (hours == kMostTimerHours &&
        (numericValue(entries[check.timer.minutes]) != 0 || numericValue(entries[check.timer.seconds]) != 0)) {
      entries[check.timer.minutes] = "00";
      entries[check.timer.seconds] = "00";
      return InputSpecFailure{check.timer.minutes, check.message};
    }
  }
  return std::nullopt;
}

std::vector<std::string> rebuildInputSpecs(const std::vector<std::string>& working, int input,
                                           const InputSpecEntries& entries) {
  const auto timerOf = [&entries](const TimerBoxes& timer) {
    return lines::timer(entries[timer.hours], entries[timer.minutes], entries[timer.seconds]);
  };
  const std::string fieldLines[] = {
      lines::field(Field::NormalState, normalStateText(entries.normalState)),
      lines::field(Field::Duration, entries.momentary ? lines::kMomentary : lines::kContinuous),
      lines::field(Field::QualifierTimer, timerOf(kQualifier)),
      lines::field(Field::ResumeTimer, timerOf(kResume)),
      lines::field(Field::MsgRptCount, entries[InputBox::RepeatCounter]),
      lines::field(Field::LapCounter, entries[InputBox::LapCounter]),
  };
  const std::size_t first = static_cast<std::size_t>(lines::inputFieldIndex(validInput(input)));
  std::vector<std::string> rebuilt = working;
  for (std::size_t i = 0; i < std::size(fieldLines) && first + i < rebuilt.size(); ++i)
    rebuilt[first + i] = fieldLines[i];
  return rebuilt;
}

}  // namespace tarvek::entry
