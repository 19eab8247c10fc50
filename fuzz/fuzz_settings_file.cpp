// The settings-file reader (Existing File), and the writer against it (Save).
//
// Input: the file's bytes. The same bytes also pick the values of a record in the
// display forms, which is saved and opened again.

#include <sstream>

#include "core/entry_rules.h"
#include "core/record_check.h"
#include "core/settings_file.h"
#include "fuzz_checks.h"

using namespace tarvek;

namespace {

std::string all(const GlobalSettings& g) {
  return g.function + " | " + g.securityCode + " | " + g.accessCode + " | " + g.ringDelay + " | " + g.ringbackLimit +
         " | " + g.dialingSpeed + " | " + g.callProgress + " | " + g.forcedPlayTimer + " | " + g.hookswitchFlash;
}

bool oneOf(const std::string& value, std::initializer_list<const char*> allowed) {
  for (const char* one : allowed)
    if (value == one) return true;
  return false;
}

settings::ReadResult readText(const std::string& text) {
  std::istringstream in(text);
  return settings::read(in);
}

// The record in the forms every reader of it relies on: 72 and 88 lines with the
// headers, spacers, field lines and phone lines in their places.
void checkForms(const Programming& record, const std::string& detail) {
  using lines::Field;
  constexpr Field kFields[] = {Field::NormalState, Field::Duration,    Field::QualifierTimer,
                               Field::ResumeTimer, Field::MsgRptCount, Field::LapCounter};
  TARVEK_FUZZ_CHECK(record.inputSpecs.size() == kInputSpecLineCount, detail);
  TARVEK_FUZZ_CHECK(record.phoneNumbers.size() == kPhoneLineCount, detail);
  for (int input = 1; input <= kInputCount; ++input) {
    const auto block = static_cast<std::size_t>(lines::inputBlockIndex(input));
    const std::string& header = record.inputSpecs[block];
    TARVEK_FUZZ_CHECK(header.starts_with("Input ") && header.size() <= 7, detail);
    TARVEK_FUZZ_CHECK(record.inputSpecs[block + 1].empty() && record.inputSpecs[block + 8].empty(), detail);
    for (std::size_t i = 0; i < 6; ++i) {
      const std::string& line = record.inputSpecs[block + 2 + i];
      TARVEK_FUZZ_CHECK(fuzz::hasFieldForm(line, kFields[i]) || line == lines::field(kFields[i], ""),
                        detail + " [" + line + "]");
    }
    const std::string_view state = fuzz::fieldValue(record.inputSpecs[block + 2]);
    TARVEK_FUZZ_CHECK(state == lines::kNormallyOpen || state == lines::kNormallyClosed || state == text::kDisabled,
                      detail);
    const std::string_view duration = fuzz::fieldValue(record.inputSpecs[block + 3]);
    TARVEK_FUZZ_CHECK(duration == lines::kMomentary || duration == lines::kContinuous, detail);

    const auto phones = static_cast<std::size_t>(lines::phoneBlockIndex(input));
    TARVEK_FUZZ_CHECK(record.phoneNumbers[phones].starts_with("Input "), detail);
    TARVEK_FUZZ_CHECK(record.phoneNumbers[phones + 1].empty() && record.phoneNumbers[phones + 10].empty(), detail);
    for (int slot = 1; slot <= kNumbersPerInput; ++slot) {
      const std::string& line = record.phoneNumbers[phones + 1 + static_cast<std::size_t>(slot)];
      // An empty number is allowed here: the file may hold a number line that is blank.
      TARVEK_FUZZ_CHECK(fuzz::hasPhoneForm(line, slot) || line == lines::phone(slot, "", false) ||
                            line == lines::phone(slot, "", true),
                        detail + " [" + line + "]");
    }
  }

  const GlobalSettings& g = record.global;
  TARVEK_FUZZ_CHECK(oneOf(g.function, {text::kAlarmDialer, text::kAlarmDialerNoBeeps, text::kAislecall}), detail);
  const bool aislecall = g.function == text::kAislecall;
  TARVEK_FUZZ_CHECK(aislecall ? g.accessCode == text::kNotApplicable : g.accessCode.size() <= 6, detail);
  TARVEK_FUZZ_CHECK(g.securityCode.size() <= 6 && g.ringDelay.size() <= 1, detail);
  TARVEK_FUZZ_CHECK(g.ringbackLimit == text::kNotApplicable || g.ringbackLimit.size() <= 2, detail);
  TARVEK_FUZZ_CHECK(oneOf(g.dialingSpeed, {text::kNotApplicable, text::kNormal, text::kFast}), detail);
  TARVEK_FUZZ_CHECK(oneOf(g.callProgress, {text::kNotApplicable, text::kEnabled, text::kDisabled}), detail);
  TARVEK_FUZZ_CHECK((g.callProgress == text::kNotApplicable) == aislecall, detail);
  TARVEK_FUZZ_CHECK(g.forcedPlayTimer == text::kNotApplicable || g.forcedPlayTimer.size() <= 2, detail);
  TARVEK_FUZZ_CHECK(oneOf(g.hookswitchFlash, {text::kNotApplicable, text::kEnabled, text::kDisabled}), detail);
}

// Whether every value stands in the form the program's own writers give it: the
// record a save can be expected to give back exactly.
bool inDisplayForms(const Programming& record) {
  const GlobalSettings& g = record.global;
  const auto digits = [](const std::string& value, std::size_t size) {
    return value.size() == size && fuzz::allDigits(value);
  };
  const auto count = [](std::string_view value) {
    return !value.empty() && value.size() <= 2 && fuzz::allDigits(value) && entry::numericValue(value) >= 1;
  };
  if (!digits(g.securityCode, 6) || !digits(g.ringDelay, 1)) return false;
  if (g.function == text::kAislecall) {
    for (const std::string* value :
         {&g.accessCode, &g.ringbackLimit, &g.dialingSpeed, &g.callProgress, &g.forcedPlayTimer})
      if (*value != text::kNotApplicable) return false;
    // A short-layout read shows "Disabled" here in every mode.
    if (g.hookswitchFlash != text::kNotApplicable && g.hookswitchFlash != text::kDisabled) return false;
  } else {
    if (!digits(g.accessCode, 6) || !count(g.ringbackLimit)) return false;
    if (g.dialingSpeed == text::kNotApplicable || g.hookswitchFlash == text::kNotApplicable) return false;
    if (g.callProgress == text::kEnabled ? g.forcedPlayTimer != text::kNotApplicable
                                         : !(digits(g.forcedPlayTimer, 2) && count(g.forcedPlayTimer)))
      return false;
  }
  for (int input = 1; input <= kInputCount; ++input) {
    const auto block = static_cast<std::size_t>(lines::inputBlockIndex(input));
    if (record.inputSpecs[block] != lines::header(input)) return false;
    for (const std::size_t timer : {block + 4, block + 5})
      if (!fuzz::isTimerText(fuzz::fieldValue(record.inputSpecs[timer]))) return false;
    for (const std::size_t counter : {block + 6, block + 7})
      if (!count(fuzz::fieldValue(record.inputSpecs[counter]))) return false;
    if (record.phoneNumbers[static_cast<std::size_t>(lines::phoneBlockIndex(input))] != lines::header(input))
      return false;
    for (int slot = 1; slot <= kNumbersPerInput; ++slot) {
      const std::string& line = record.phoneNumbers[static_cast<std::size_t>(lines::phoneLineIndex(input, slot))];
      if (!fuzz::hasPhoneForm(line, slot)) return false;
    }
  }
  return true;
}

// Saving a record and opening the file again.
Programming savedAndOpened(const Programming& record) {
  const std::vector<std::string> written = settings::fileLines(record, "Fuzz", "5/7/2024 3:04:05 PM");
  TARVEK_FUZZ_CHECK(written.size() == settings::kFileLineCount, "");
  const settings::ReadResult again = readText(settings::fileText(written));
  TARVEK_FUZZ_CHECK(again.record.has_value(), again.problem);
  return *again.record;
}

void checkSame(const Programming& expected, const Programming& actual) {
  TARVEK_FUZZ_CHECK(actual.global == expected.global, all(expected.global) + " came back as " + all(actual.global));
  for (std::size_t i = 0; i < expected.inputSpecs.size(); ++i)
    TARVEK_FUZZ_CHECK(actual.inputSpecs[i] == expected.inputSpecs[i],
                      expected.inputSpecs[i] + " came back as " + actual.inputSpecs[i]);
  for (std::size_t i = 0; i < expected.phoneNumbers.size(); ++i)
    TARVEK_FUZZ_CHECK(actual.phoneNumbers[i] == expected.phoneNumbers[i],
                      expected.phoneNumbers[i] + " came back as " + actual.phoneNumbers[i]);
}

// A record in the display forms, as the program's own writers leave it, made from the
// input's bytes.
Programming recordFrom(fuzz::Input& in) {
  const auto digits = [&in](std::size_t n) {
    std::string text;
    for (std::size_t i = 0; i < n; ++i) text += static_cast<char>('0' + in.byte() % 10);
    return text;
  };
  // 1 to 99, one digit or two (a count typed as "07" stays so).
  const auto count = [&in] {
    const int value = 1 + in.byte() % 99;
    const bool leadingZero = in.byte() & 1;
    return (value < 10 && leadingZero ? "0" : "") + std::to_string(value);
  };
  const auto twoDigits = [](int value) {
    return std::string(1, static_cast<char>('0' + value / 10)) + static_cast<char>('0' + value % 10);
  };

  Programming record = newProgramming();
  GlobalSettings& g = record.global;
  const std::uint8_t mode = in.byte();
  g.function = mode % 3 == 0 ? text::kAlarmDialer : mode % 3 == 1 ? text::kAlarmDialerNoBeeps : text::kAislecall;
  g.securityCode = digits(6);
  g.ringDelay = digits(1);
  if (g.function == text::kAislecall) {
    g.accessCode = g.ringbackLimit = g.dialingSpeed = g.callProgress = g.forcedPlayTimer = text::kNotApplicable;
    // A short-layout read leaves "Disabled" here.
    g.hookswitchFlash = mode & 8 ? text::kDisabled : text::kNotApplicable;
  } else {
    g.accessCode = digits(6);
    g.ringbackLimit = count();
    g.dialingSpeed = mode & 8 ? text::kFast : text::kNormal;
    g.hookswitchFlash = mode & 16 ? text::kEnabled : text::kDisabled;
    g.callProgress = mode & 32 ? text::kEnabled : text::kDisabled;
    g.forcedPlayTimer = mode & 32 ? text::kNotApplicable : twoDigits(1 + in.byte() % 99);
  }

  for (int input = 1; input <= kInputCount; ++input) {
    auto line = record.inputSpecs.begin() + lines::inputFieldIndex(input);
    const std::uint8_t codes = in.byte();
    const char* const states[] = {lines::kNormallyOpen, lines::kNormallyClosed, text::kDisabled};
    *line++ = lines::field(lines::Field::NormalState, states[codes % 3]);
    *line++ = lines::field(lines::Field::Duration, codes & 4 ? lines::kMomentary : lines::kContinuous);
    for (const lines::Field timer : {lines::Field::QualifierTimer, lines::Field::ResumeTimer}) {
      const int hours = in.byte() % 19;
      const int minutes = hours == 18 ? 0 : in.byte() % 60;
      const int seconds = hours == 18 ? 0 : in.byte() % 60;
      *line++ = lines::field(timer, lines::timer(twoDigits(hours), twoDigits(minutes), twoDigits(seconds)));
    }
    *line++ = lines::field(lines::Field::MsgRptCount, count());
    *line++ = lines::field(lines::Field::LapCounter, count());

    for (int slot = 1; slot <= kNumbersPerInput; ++slot) {
      std::string& phone = record.phoneNumbers[static_cast<std::size_t>(lines::phoneLineIndex(input, slot))];
      const std::uint8_t kind = in.byte();
      if (kind % 4 == 0) {
        // Six blanks from the editors and files, seven (maybe with the pager mark) from a read.
        phone = lines::notProgrammed(slot, kind & 4 ? 7 : 6, kind & 8);
        continue;
      }
      std::string number;
      for (std::size_t length = 1 + in.byte() % 32; number.size() < length;) number += "0123456789*#,"[in.byte() % 13];
      phone = lines::phone(slot, number, kind & 8);
    }
  }
  return record;
}

// Not-programmed numbers come back in the six-blank form without a pager mark.
Programming asItComesBack(Programming record) {
  for (int input = 1; input <= kInputCount; ++input)
    for (int slot = 1; slot <= kNumbersPerInput; ++slot) {
      std::string& line = record.phoneNumbers[static_cast<std::size_t>(lines::phoneLineIndex(input, slot))];
      if (lines::isNotProgrammed(line)) line = lines::notProgrammed(slot);
    }
  return record;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // What the writer writes, the reader reads back: a record made from the bytes.
  fuzz::Input recordBytes(data, size);
  const Programming made = recordFrom(recordBytes);
  TARVEK_FUZZ_CHECK(inDisplayForms(made), all(made.global));
  // What the writers make, Send takes.
  TARVEK_FUZZ_CHECK(entry::checkRecord(made, false).empty(), entry::problemList(entry::checkRecord(made, false)));
  checkSame(asItComesBack(made), savedAndOpened(made));

  // The same bytes as a file.
  fuzz::Input in(data, size);
  const std::string file = in.rest();

  // Refused with a reason, or read whole.
  const settings::ReadResult first = readText(file);
  TARVEK_FUZZ_CHECK(first.record.has_value() != !first.problem.empty(), first.problem);
  if (!first.record) return 0;
  const Programming& record = *first.record;
  checkForms(record, all(record.global));

  // A record in the display forms comes back from Save and Existing File as it was.
  // Values a hand-edited file gave in other shapes are taken as they stand, so the first
  // save may reshape them; from then on the file reads back as saved.
  const Programming opened = savedAndOpened(record);
  checkForms(opened, all(opened.global));
  if (inDisplayForms(record)) checkSame(record, opened);
  checkSame(opened, savedAndOpened(opened));
  return 0;
}
