#include "core/programming.h"

#include "core/display_lines.h"

namespace tarvek {

Programming newProgramming() {
  Programming record;
  record.global = {text::kAlarmDialer, text::kDefaultSecurityCode, text::kDefaultAccessCode, "1", "6", text::kNormal,
                   text::kEnabled,     text::kNotApplicable,       text::kDisabled};

  const std::string zeroTimer = lines::timer("00", "00", "00");
  for (int input = 1; input <= kInputCount; ++input) {
    auto& specs = record.inputSpecs;
    specs.push_back(lines::header(input));
    specs.emplace_back();
    specs.push_back(lines::field(lines::Field::NormalState, lines::kNormallyOpen));
    specs.push_back(lines::field(lines::Field::Duration, lines::kMomentary));
    specs.push_back(lines::field(lines::Field::QualifierTimer, zeroTimer));
    specs.push_back(lines::field(lines::Field::ResumeTimer, zeroTimer));
    specs.push_back(lines::field(lines::Field::MsgRptCount, "2"));
    specs.push_back(lines::field(lines::Field::LapCounter, "1"));
    specs.emplace_back();

    auto& numbers = record.phoneNumbers;
    numbers.push_back(lines::header(input));
    numbers.emplace_back();
    for (int slot = 1; slot <= kNumbersPerInput; ++slot) numbers.push_back(lines::notProgrammed(slot));
    numbers.emplace_back();
  }
  return record;
}

bool isComplete(const Programming& record) {
  if (record.inputSpecs.size() != kInputSpecLineCount || record.phoneNumbers.size() != kPhoneLineCount) return false;
  for (int input = 1; input <= kInputCount; ++input) {
    const std::string header = lines::header(input);
    if (record.inputSpecs[static_cast<std::size_t>(lines::inputBlockIndex(input))] != header) return false;
    if (record.phoneNumbers[static_cast<std::size_t>(lines::phoneBlockIndex(input))] != header) return false;
  }
  return true;
}

}  // namespace tarvek
