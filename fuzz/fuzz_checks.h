#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>

#include "core/display_lines.h"
#include "core/programming.h"

// What the fuzz targets share: the forms every reader of a record relies on.
namespace tarvek::fuzz {

inline bool oneOf(std::string_view value, std::initializer_list<std::string_view> allowed) {
  return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
}

// The record in the forms every reader of it relies on, whatever values came in: 72 and
// 88 lines with the headers, spacers, field lines and phone lines in their places, each
// Global value one of its texts or no wider than its field, and "N/A" where Aislecall
// has no value.
inline bool wellFormed(const Programming& r) {
  const GlobalSettings& g = r.global;
  const bool aislecall = g.function == text::kAislecall;
  const auto upTo = [](const std::string& value, std::size_t width) {
    return value == text::kNotApplicable || value.size() <= width;
  };
  bool ok = r.inputSpecs.size() == kInputSpecLineCount && r.phoneNumbers.size() == kPhoneLineCount &&
            oneOf(g.function, {text::kAlarmDialer, text::kAlarmDialerNoBeeps, text::kAislecall}) &&
            (aislecall ? g.accessCode == text::kNotApplicable : g.accessCode.size() <= 6) &&
            g.securityCode.size() <= 6 && g.ringDelay.size() <= 1 && upTo(g.ringbackLimit, 2) &&
            upTo(g.forcedPlayTimer, 2) && oneOf(g.dialingSpeed, {text::kNotApplicable, text::kNormal, text::kFast}) &&
            oneOf(g.callProgress, {text::kNotApplicable, text::kEnabled, text::kDisabled}) &&
            (g.callProgress == text::kNotApplicable) == aislecall &&
            oneOf(g.hookswitchFlash, {text::kNotApplicable, text::kEnabled, text::kDisabled});
  // A block: its header, an empty line, its lines, an empty line.
  const auto block = [](const std::string* first, int last) {
    return first[0].starts_with("Input ") && first[0].size() <= 7 && first[1].empty() && first[last].empty();
  };
  for (int input = 1; ok && input <= kInputCount; ++input) {
    const std::string* specs = &r.inputSpecs[lines::inputBlockIndex(input)];
    const std::string* phones = &r.phoneNumbers[lines::phoneBlockIndex(input)];
    ok = block(specs, 8) && block(phones, 10);
    for (int i = 0; i < 6; ++i) ok = ok && specs[2 + i].starts_with(lines::field(static_cast<lines::Field>(i), ""));
    for (int slot = 1; slot <= kNumbersPerInput; ++slot) {
      const std::string prefix = "(" + std::to_string(slot) + ") ";
      ok = ok && (phones[1 + slot].starts_with("   " + prefix) || phones[1 + slot].starts_with(" P " + prefix));
    }
    // A code the unit has no text for is shown as it came.
    const std::string state = ok ? specs[2].substr(lines::kValueColumn - 1) : "";
    const std::string duration = ok ? specs[3].substr(lines::kValueColumn - 1) : "";
    ok = ok && (state.size() <= 1 || oneOf(state, {lines::kNormallyOpen, lines::kNormallyClosed, text::kDisabled}));
    ok = ok && (duration.size() <= 1 || oneOf(duration, {lines::kMomentary, lines::kContinuous}));
  }
  return ok;
}

}  // namespace tarvek::fuzz

// A broken property aborts, so that libFuzzer keeps the input; replaying it shows the values.
#define TARVEK_FUZZ_CHECK(condition) \
  ((condition)                       \
       ? static_cast<void>(0)        \
       : (std::fprintf(stderr, "\n*** Property broken at %s:%d: %s\n", __FILE__, __LINE__, #condition), std::abort()))
