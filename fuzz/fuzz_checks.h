#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>

#include "core/display_lines.h"
#include "core/programming.h"

// What the fuzz targets share: a reader of their input, front to back, so that seeds can
// be written by hand (each target's source starts with its layout), and the forms every
// reader of a record relies on.
namespace tarvek::fuzz {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

  bool done() const { return m_position >= m_size; }
  // Past the end every byte reads as 0 and every text as empty.
  std::uint8_t byte() { return done() ? 0 : m_data[m_position++]; }
  std::string text(std::size_t length) {
    const std::size_t taken = std::min(length, m_size - m_position);
    m_position += taken;
    return std::string(reinterpret_cast<const char*>(m_data + m_position - taken), taken);
  }
  // A length byte, then that many bytes.
  std::string counted() { return text(byte()); }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_position = 0;
};

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
