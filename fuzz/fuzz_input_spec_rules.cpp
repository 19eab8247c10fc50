// The Input specifications editor's entry rules, driven as a user would drive the
// screen: opened on a list that may have been edited by hand, then options chosen, keys
// typed and text pasted into the eight boxes, and Next Input, Previous Input or Back.
//
// Input: a byte for the current input number (byte mod 11, less 1: -1 to 9); a byte n
// and n edits of the list before the editor opens, each an index byte and a length byte
// with that many bytes (index below 200: that line replaced, or added when the list is
// shorter; 200 and above: the list cut to index - 200 lines); then actions, each an
// operation byte (mod 6) and its arguments:
//   0 s      Normal State s mod 3 (Open, Closed, Disabled)
//   1 m      Duration Momentary (m odd) or Continuous
//   2 b c p  type character code c into box b mod 8 with the cursor at p
//   3 b p n  paste the n bytes that follow into box b mod 8 at p
//   4 d      Next Input (d odd) or Previous Input
//   5        Back
// The input's end presses Back.

#include <vector>

#include "core/codec.h"
#include "core/input_spec_rules.h"
#include "fuzz_checks.h"

using namespace tarvek;
using entry::InputBox;
using lines::Field;

namespace {

std::string joined(const std::vector<std::string>& list, std::size_t first, std::size_t count) {
  std::string text;
  for (std::size_t i = first; i < first + count && i < list.size(); ++i) text += "[" + list[i] + "] ";
  return text;
}

// The six lines Back or a step wrote for the input, against the entries that passed.
void checkRebuilt(const std::vector<std::string>& working, const std::vector<std::string>& rebuilt, int input,
                  const entry::InputSpecEntries& checked) {
  const auto first = static_cast<std::size_t>(lines::inputFieldIndex(input));
  const std::string detail = joined(rebuilt, first, 6);
  TARVEK_FUZZ_CHECK(rebuilt.size() == working.size(), detail);
  for (std::size_t i = 0; i < rebuilt.size(); ++i)
    if (i < first || i >= first + 6) TARVEK_FUZZ_CHECK(rebuilt[i] == working[i], rebuilt[i] + " was " + working[i]);

  constexpr Field kFields[] = {Field::NormalState, Field::Duration,    Field::QualifierTimer,
                               Field::ResumeTimer, Field::MsgRptCount, Field::LapCounter};
  for (std::size_t i = 0; i < 6; ++i) TARVEK_FUZZ_CHECK(fuzz::hasFieldForm(rebuilt[first + i], kFields[i]), detail);
  const std::string_view state = fuzz::fieldValue(rebuilt[first]);
  TARVEK_FUZZ_CHECK(state == lines::kNormallyOpen || state == lines::kNormallyClosed || state == text::kDisabled,
                    detail);
  const std::string_view duration = fuzz::fieldValue(rebuilt[first + 1]);
  TARVEK_FUZZ_CHECK(duration == (checked.momentary ? lines::kMomentary : lines::kContinuous), detail);
  for (std::size_t i : {2u, 3u}) {
    const std::string_view timer = fuzz::fieldValue(rebuilt[first + i]);
    TARVEK_FUZZ_CHECK(fuzz::isTimerText(timer), detail);
    const lines::TimerParts parts = lines::timerParts(rebuilt[first + i]);
    const long hours = entry::numericValue(parts.hours);
    const long minutes = entry::numericValue(parts.minutes);
    const long seconds = entry::numericValue(parts.seconds);
    TARVEK_FUZZ_CHECK(hours <= 18 && minutes <= 59 && seconds <= 59, detail);
    TARVEK_FUZZ_CHECK(hours < 18 || (minutes == 0 && seconds == 0), detail);
  }
  for (std::size_t i : {4u, 5u}) {
    const std::string_view count = fuzz::fieldValue(rebuilt[first + i]);
    TARVEK_FUZZ_CHECK(count.size() <= 2 && fuzz::allDigits(count), detail);
    TARVEK_FUZZ_CHECK(entry::numericValue(count) >= 1, detail);
  }

  // Send encodes the six lines into digits at their widths.
  const std::vector<std::string> fields(rebuilt.begin() + static_cast<std::ptrdiff_t>(first),
                                        rebuilt.begin() + static_cast<std::ptrdiff_t>(first + 6));
  const std::string command = codec::encodeInput(input, fields);
  TARVEK_FUZZ_CHECK(command.size() == 21 && fuzz::allDigits(command.substr(3)), detail + " sent as " + command);

  // Coming back to the input shows what was accepted.
  TARVEK_FUZZ_CHECK(entry::inputSpecEntries(rebuilt, input) == checked, detail);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  int input = in.byte() % 11 - 1;

  std::vector<std::string> list = fuzz::editedList(in, newProgramming().inputSpecs);

  std::vector<std::string> working = entry::completeInputSpecs(list);
  TARVEK_FUZZ_CHECK(working.size() >= static_cast<std::size_t>(kInputSpecLineCount), "");
  input = entry::validInput(input);
  entry::InputSpecEntries entries = entry::inputSpecEntries(working, input);

  for (;;) {
    const int operation = in.done() ? 5 : in.byte() % 6;
    switch (operation) {
      case 0:
        entries.normalState = static_cast<entry::NormalState>(in.byte() % 3);
        break;
      case 1:
        entries.momentary = in.byte() & 1;
        break;
      case 2: {
        std::string& text = entries.boxes[in.byte() % entry::kInputBoxCount];
        const int code = in.byte();
        const std::size_t cursor = in.byte();
        const entry::KeyVerdict verdict = entry::inputSpecKey(text, code);
        const bool digit = code >= '0' && code <= '9';
        if (code == entry::kBackspace)
          TARVEK_FUZZ_CHECK(verdict == entry::KeyVerdict{}, text);
        else if (digit)
          TARVEK_FUZZ_CHECK(verdict.take && verdict.message.empty() && verdict.empty == (text.size() == 2), text);
        else
          TARVEK_FUZZ_CHECK(!verdict.take && verdict.empty && !verdict.message.empty(), text);
        if (verdict.empty) text.clear();
        if (verdict.take) fuzz::typeAt(text, code, cursor, entry::kBackspace);
        break;
      }
      case 3: {
        std::string& text = entries.boxes[in.byte() % entry::kInputBoxCount];
        const std::size_t cursor = in.byte();
        const std::string pasted = in.counted();
        if (pasted.empty()) break;
        std::string resulting = text;
        resulting.insert(cursor % (text.size() + 1), pasted);
        const entry::PasteVerdict verdict = entry::inputSpecPaste(resulting);
        if (verdict.take) {
          TARVEK_FUZZ_CHECK(fuzz::allDigits(resulting) && resulting.size() <= 2, resulting);
          text = resulting;
        }
        break;
      }
      default: {
        const bool back = operation == 5;
        const bool forward = back || (in.byte() & 1);
        entry::InputSpecEntries checked = entries;
        const auto failure = entry::checkInputSpecEntries(checked);
        entries = checked;  // the screen shows the boxes as the checks left them
        if (failure) {
          TARVEK_FUZZ_CHECK(!failure->message.empty(), "");
          if (in.done()) return 0;
          break;
        }
        const std::vector<std::string> rebuilt = entry::rebuildInputSpecs(working, input, checked);
        checkRebuilt(working, rebuilt, input, checked);
        if (back) return 0;
        working = rebuilt;
        input = forward ? entry::nextInput(input) : entry::previousInput(input);
        entries = entry::inputSpecEntries(working, input);
        break;
      }
    }
  }
}
