#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/display_lines.h"

// What the fuzz targets share: a reader of their input, front to back, so that seeds can
// be written by hand (fuzz/README.md gives each target's layout), and the checks of the
// display forms that every writer of the record must keep.
namespace tarvek::fuzz {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

  bool done() const { return m_position >= m_size; }
  // Past the end every byte reads as 0 and every text as empty.
  std::uint8_t byte() { return done() ? 0 : m_data[m_position++]; }
  std::string text(std::size_t length);
  // A length byte, then that many bytes.
  std::string counted() { return text(byte()); }
  std::string rest() { return text(m_size - m_position); }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_position = 0;
};

// A list as a hand-edited file could leave it: lines replaced, added, or cut off, as the
// input says.
std::vector<std::string> editedList(Input& in, std::vector<std::string> list);

// A key the box took, at the cursor: Backspace removes the character before it, any
// other code goes in.
void typeAt(std::string& text, int code, std::size_t cursor, int backspace);

// Reports a broken property with the texts that show it, and aborts so that libFuzzer
// keeps the input.
[[noreturn]] void fail(const char* property, const char* file, int line, std::string_view detail = {});

// Printable form of 8-bit text: bytes outside printable ASCII as \xNN.
std::string shown(std::string_view text);

bool allDigits(std::string_view text);
// "Hrs HH Min MM Sec SS" with two digits in each place.
bool isTimerText(std::string_view text);
// Two blanks, the field's label, blanks up to column 21, and a value.
bool hasFieldForm(std::string_view line, lines::Field field);
std::string_view fieldValue(std::string_view line);
// "   (k) " or " P (k) " and a number, or the not-programmed form with six or seven blanks.
bool hasPhoneForm(std::string_view line, int slot);

}  // namespace tarvek::fuzz

#define TARVEK_FUZZ_CHECK(condition, detail) \
  ((condition) ? static_cast<void>(0) : ::tarvek::fuzz::fail(#condition, __FILE__, __LINE__, (detail)))
