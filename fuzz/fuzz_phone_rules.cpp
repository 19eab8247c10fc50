// The Phone numbers editor's entry rules, driven as a user would drive the screen:
// opened on a list that may have been edited by hand, then keys typed and text pasted
// into the eight number boxes, pager marks ticked, numbers cleared, and Next Input,
// Previous Input or Back to Main.
//
// Input: a byte for the current input number (byte mod 11, less 1: -1 to 9); a byte of
// flags (bit 0: reduced-feature unit); a byte n and n edits of the list before the
// editor opens, each an index byte and a length byte with that many bytes (index below
// 200: that line replaced, or added when the list is shorter; 200 and above: the list
// cut to index - 200 lines); then actions, each an operation byte (mod 6) and its
// arguments:
//   0 r c p  type character code c into row r mod 8 with the cursor at p
//   1 r p n  paste the n bytes that follow into row r mod 8 at p
//   2 r      tick or clear the pager mark of row r mod 8
//   3 a      Clear Numbers, answered OK (a odd) or Cancel
//   4 d      Next Input (d odd) or Previous Input
//   5        Back to Main
// The input's end presses Back to Main.

#include <vector>

#include "core/codec.h"
#include "core/phone_rules.h"
#include "fuzz_checks.h"

using namespace tarvek;

namespace {

// Showing rows sets each box's text, and any change runs the length limit.
void show(entry::PhoneRows& rows, const entry::PhoneRows& shown) {
  rows = shown;
  for (entry::PhoneRow& row : rows)
    if (const auto cut = entry::cutToLongest(row.text)) row.text = *cut;
}

// The rows of an input as the screen shows them: on a reduced-feature unit no row keeps
// a pager mark, since the unit takes none.
void showInput(entry::PhoneRows& rows, const std::vector<std::string>& working, int input, bool reduced) {
  show(rows, entry::phoneRows(working, input, reduced));
  if (reduced)
    for (const entry::PhoneRow& row : rows) TARVEK_FUZZ_CHECK(!row.pager, row.text);
}

void lengthLimit(std::string& text) {
  if (const auto cut = entry::cutToLongest(text)) text = *cut;
}

// The eight lines written for the input, against the rows as the user left them.
void checkRebuilt(const std::vector<std::string>& working, const std::vector<std::string>& rebuilt, int input,
                  const entry::PhoneRows& rows, bool reduced) {
  TARVEK_FUZZ_CHECK(rebuilt.size() == working.size(), "");
  const auto first = static_cast<std::size_t>(lines::phoneLineIndex(input, 1));
  for (std::size_t i = 0; i < rebuilt.size(); ++i)
    if (i < first || i >= first + 8) TARVEK_FUZZ_CHECK(rebuilt[i] == working[i], rebuilt[i] + " was " + working[i]);

  const entry::PhoneRows reopened = entry::phoneRows(rebuilt, input, reduced);
  for (int slot = 1; slot <= kNumbersPerInput; ++slot) {
    const auto row = static_cast<std::size_t>(slot - 1);
    const std::string& line = rebuilt[first + row];
    const std::string detail = "row [" + rows[row].text + "] written as [" + line + "]";
    std::string number = rows[row].text;
    number.erase(0, number.find_first_not_of(' '));
    if (number.empty() || lines::isNotProgrammed(number)) {
      TARVEK_FUZZ_CHECK(line == lines::notProgrammed(slot), detail);
      TARVEK_FUZZ_CHECK(reopened[row] == (entry::PhoneRow{entry::kPlaceholder, false}), detail);
      number.clear();
    } else {
      TARVEK_FUZZ_CHECK(line == lines::phone(slot, number, rows[row].pager), detail);
      TARVEK_FUZZ_CHECK(number.size() <= entry::kLongestNumber, detail);
      TARVEK_FUZZ_CHECK(!reduced || !lines::hasPagerMark(line), detail);
      TARVEK_FUZZ_CHECK(reopened[row] == (entry::PhoneRow{number, rows[row].pager}), detail);
    }
    // Send writes the number as the user left it.
    std::string expected = "N" + std::to_string(input) + "W" + std::to_string(slot - 1);
    if (!reduced) expected += lines::hasPagerMark(line) ? '1' : '0';
    expected += number;
    const std::string sent = codec::encodePhone(input, slot - 1, line, reduced);
    TARVEK_FUZZ_CHECK(sent == expected, detail + " sent as " + sent);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  int input = in.byte() % 11 - 1;
  const bool reduced = in.byte() & 1;

  std::vector<std::string> list = fuzz::editedList(in, newProgramming().phoneNumbers);

  std::vector<std::string> working = entry::completePhoneNumbers(list);
  TARVEK_FUZZ_CHECK(working.size() >= static_cast<std::size_t>(kPhoneLineCount), "");
  input = entry::validInput(input);
  entry::PhoneRows rows;
  showInput(rows, working, input, reduced);

  for (;;) {
    const int operation = in.done() ? 5 : in.byte() % 6;
    switch (operation) {
      case 0: {
        std::string& text = rows[in.byte() % 8].text;
        const int code = in.byte();
        const std::size_t cursor = in.byte();
        const entry::KeyVerdict verdict = entry::phoneKey(text, code);
        const bool wanted =
            code == entry::kBackspace || (code >= '0' && code <= '9') || code == '*' || code == '#' || code == ',';
        TARVEK_FUZZ_CHECK(verdict.take == wanted && verdict.message.empty() == wanted, text);
        TARVEK_FUZZ_CHECK(verdict.empty == lines::contains(text, lines::kNotProgrammed), text);
        if (verdict.empty) text.clear();
        if (verdict.take) fuzz::typeAt(text, code, cursor, entry::kBackspace);
        lengthLimit(text);
        break;
      }
      case 1: {
        std::string& text = rows[in.byte() % 8].text;
        const std::size_t cursor = in.byte();
        const std::string pasted = in.counted();
        if (pasted.empty()) break;
        const entry::PasteVerdict verdict = entry::phonePaste(text, pasted);
        if (!verdict.take) {
          TARVEK_FUZZ_CHECK(!verdict.message.empty(), pasted);
          break;
        }
        for (const char c : pasted) TARVEK_FUZZ_CHECK(entry::isPhoneCharacter(static_cast<unsigned char>(c)), pasted);
        if (verdict.empty) text.clear();
        text.insert(cursor % (text.size() + 1), pasted);
        lengthLimit(text);
        break;
      }
      case 2: {
        entry::PhoneRow& row = rows[in.byte() % 8];
        if (!reduced) row.pager = !row.pager;  // the check boxes are disabled on a reduced-feature unit
        break;
      }
      case 3:
        if (in.byte() & 1) show(rows, entry::clearedPhoneRows());
        break;
      default: {
        const bool back = operation == 5;
        const bool forward = back || (in.byte() & 1);
        const std::vector<std::string> rebuilt = entry::rebuildPhoneNumbers(working, input, rows);
        checkRebuilt(working, rebuilt, input, rows, reduced);
        if (back) return 0;
        working = rebuilt;
        input = forward ? entry::nextInput(input) : entry::previousInput(input);
        showInput(rows, working, input, reduced);
        break;
      }
    }
  }
}
