// The answer to "I" n "R" decoded into an input's six field lines.
//
// Input: the answer.

#include <cstdio>
#include <vector>

#include "core/codec.h"
#include "fuzz_checks.h"

using namespace tarvek;
using lines::Field;

namespace {

constexpr Field kFieldOrder[] = {Field::NormalState, Field::Duration,    Field::QualifierTimer,
                                 Field::ResumeTimer, Field::MsgRptCount, Field::LapCounter};

std::string sixDigits(unsigned seconds) {
  char text[16];
  std::snprintf(text, sizeof text, "%02u%02u%02u", seconds / 3600, seconds % 3600 / 60, seconds % 60);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const std::string answer = in.rest();

  std::vector<std::string> lines{"Input 3", ""};
  bool refused = false;
  try {
    codec::appendInputFields(answer, lines);
  } catch (const codec::DecodeError&) {
    refused = true;
  }
  std::string detail = "answer " + answer + " gives";
  for (const auto& line : lines) detail += " [" + line + "]";

  // Too short for a timer is refused, keeping the lines made before it; the earlier
  // lines are untouched.
  TARVEK_FUZZ_CHECK(refused == (answer.size() < 10), detail);
  const std::size_t made = answer.size() >= 10 ? 6 : answer.size() >= 8 ? 3 : 2;
  TARVEK_FUZZ_CHECK(lines.size() == 2 + made, detail);
  TARVEK_FUZZ_CHECK(lines[0] == "Input 3" && lines[1].empty(), detail);

  for (std::size_t i = 0; i < made; ++i) {
    const std::string& line = lines[2 + i];
    TARVEK_FUZZ_CHECK(fuzz::hasFieldForm(line, kFieldOrder[i]) || (i < 2 && line == lines::field(kFieldOrder[i], "")),
                      detail);
  }
  if (made < 6) return 0;

  // A timer is the 16-bit count of its two bytes, low byte first.
  const auto count = [&](std::size_t low) {
    return static_cast<unsigned char>(answer[low - 1]) + 256u * static_cast<unsigned char>(answer[low]);
  };
  for (std::size_t i : {2u, 3u}) {
    const std::string_view value = fuzz::fieldValue(lines[2 + i]);
    TARVEK_FUZZ_CHECK(fuzz::isTimerText(value), detail);
    TARVEK_FUZZ_CHECK(value == lines::timerFromSeconds(count(i == 2 ? 7 : 9)), detail);
  }

  // Send writes back what was read: the codes, the counts (when they are digits) and
  // the timers as six decimal digits.
  const std::string counts = answer.substr(2, 4);
  const char state = answer[0];
  if (fuzz::allDigits(counts) && state >= '0' && state <= '2' && (answer[1] == '0' || answer[1] == '1')) {
    const std::vector<std::string> fields(lines.begin() + 2, lines.end());
    const std::string expected = "I3W" + answer.substr(0, 2) + counts + sixDigits(count(7)) + sixDigits(count(9));
    const std::string command = codec::encodeInput(3, fields);
    TARVEK_FUZZ_CHECK(command == expected, detail + " sent as " + command);
  }
  return 0;
}
