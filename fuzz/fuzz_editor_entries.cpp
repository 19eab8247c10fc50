// What the user types into the boxes of the three editors, with the options and steps
// around them, as the editors' entry rules take it: what Back or a step writes passes
// Send's record check. Which keys and pastes a box takes, and how the editors show what
// they wrote, are the rule tables'.
//
// Input: a byte choosing the editor (bits 0-1, mod 3: Global settings, Input
// specifications, Phone numbers; bit 2: a reduced-feature unit), then what it opens on:
//   Global settings: nine values in the record's order (Function, Security Code, Access
//     Code, Ring Delay, Ringback Limit, Dialing Speed, Call Progress, Forced Play Timer,
//     Hookswitch Flash), each a byte picking one of the usual texts below or, past them,
//     a length byte and that many bytes;
//   the two lists: a byte for the current input number (mod 11, less 1: -1 to 9), and a
//     byte n and n edits of the list as a hand-edited file could leave it, each an index
//     byte and a length byte with that many bytes (index below 200: that line replaced,
//     or added when the list is shorter; 200 and above: the list cut to index - 200 lines).
// Then actions, each an operation byte (mod 4) and its arguments:
//   0 b p c  type character code c into box b (a row of numbers) with the cursor at p
//   1 o v    option o with value v. Global (o mod 4): Function v mod 3 (Alarm Dialer, No
//            Beeps, Aislecall), Call Progress Detection, Dialing Speed, Hookswitch Flash
//            (v odd: Enabled, Fast). Input specifications: Normal State v mod 3 (o even) or
//            Duration Momentary (o odd, v odd). Phone numbers: the pager mark of row o
//            ticked or cleared (v even) or Clear Numbers answered OK (v odd).
//   2 d      Next Input (d odd) or Previous Input; on the Global settings, Back
//   3        Back
// The input's end presses Back.

#include <algorithm>
#include <vector>

#include "core/codec.h"
#include "core/global_rules.h"
#include "core/input_spec_rules.h"
#include "core/phone_rules.h"
#include "core/record_check.h"
#include "fuzz_checks.h"

using namespace tarvek;

namespace {

bool allDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string> editedList(fuzz::Input& in, std::vector<std::string> list) {
  for (int edits = in.byte(); edits > 0 && !in.done(); --edits) {
    const std::size_t index = in.byte();
    const std::string text = in.counted();
    if (index >= 200) list.resize(std::min(list.size(), index - 200));
    if (index < 200) (index < list.size() ? list[index] : list.emplace_back()) = text;
  }
  return list;
}

// A key, read with its cursor from the input, as the box takes it: emptied first when
// the verdict says so, then the key put in at the cursor when taken (Backspace removes
// the character before it).
template <class Rule>
void typeKey(fuzz::Input& in, std::string& text, Rule rule) {
  const std::size_t cursor = in.byte();
  const int code = in.byte();
  const entry::KeyVerdict verdict = rule(text, code);
  if (verdict.empty) text.clear();
  const std::size_t at = cursor % (text.size() + 1);
  if (verdict.take && code != entry::kBackspace) text.insert(at, 1, static_cast<char>(code));
  if (verdict.take && code == entry::kBackspace && at > 0) text.erase(at - 1, 1);
}

// The shown input's lines a step writes pass Send's check. The Input specifications
// editor's checks refuse any box that is not digits; the Phone numbers editor writes back
// as they stand the characters a hand-edited list brought (Send then names them), so there
// the lines it opened on must have passed.
void checkWritten(const std::vector<std::string>& before, const std::vector<std::string>& after, int first, int count,
                  bool inputSpecs) {
  TARVEK_FUZZ_CHECK(after.size() == before.size());
  // The editor lets 32 characters into a number on any unit; Send holds a reduced-feature
  // unit to its 31.
  const auto passes = [&](const std::vector<std::string>& list) {
    Programming record = newProgramming();
    std::copy_n(list.begin() + first, count, (inputSpecs ? record.inputSpecs : record.phoneNumbers).begin() + first);
    return entry::checkRecord(record, false).empty();
  };
  TARVEK_FUZZ_CHECK(passes(after) || (!inputSpecs && !passes(before)));
}

// Next Input (the byte odd) or Previous Input.
int stepped(fuzz::Input& in, int input) {
  return in.byte() & 1 ? entry::nextInput(input) : entry::previousInput(input);
}

void globalEditor(fuzz::Input& in, bool reduced) {
  using namespace text;
  const char* const usual[] = {
      kAlarmDialer, kAlarmDialerNoBeeps, kAislecall,           kNotApplicable,     kNormal, kFast,
      kEnabled,     kDisabled,           kDefaultSecurityCode, kDefaultAccessCode, "1",     "6",
      "07"};
  GlobalSettings opened;
  for (std::string* value :
       {&opened.function, &opened.securityCode, &opened.accessCode, &opened.ringDelay, &opened.ringbackLimit,
        &opened.dialingSpeed, &opened.callProgress, &opened.forcedPlayTimer, &opened.hookswitchFlash}) {
    const std::size_t pick = in.byte();
    *value = pick < std::size(usual) ? usual[pick] : in.counted();
  }
  entry::GlobalEntries entries = entry::globalEntries(opened, reduced);
  // Every change of a box's text, the first showing too, runs its length limit.
  const auto limit = [&entries](entry::GlobalBox box) {
    if (entry::tooLong(box, entry::textOf(entries, box))) entry::textOf(entries, box).clear();
  };
  for (int box = 0; box < 5; ++box) limit(static_cast<entry::GlobalBox>(box));
  for (;;) {
    const int operation = in.done() ? 3 : in.byte() % 4;
    const std::uint8_t choice = operation <= 1 ? in.byte() : 0;
    const auto box = static_cast<entry::GlobalBox>(choice % 5);
    std::string& text = entry::textOf(entries, box);
    const entry::GlobalReach reach = entry::globalReach(entries, reduced);
    const auto key = [box](std::string_view, int code) { return entry::globalKey(box, code); };
    if (operation == 0) typeKey(in, text, key);
    limit(box);
    if (operation == 1) {
      const int value = in.byte();
      if (choice % 4 == 0) entries = entry::withFunction(entries, static_cast<entry::FunctionMode>(value % 3));
      if (choice % 4 == 1 && reach.callProgress) entries = entry::withCallProgress(entries, value & 1);
      if (choice % 4 == 2 && reach.accessAndRingback) entries.fastDialing = value & 1;
      if (choice % 4 == 3 && reach.hookswitch) entries.hookswitchEnabled = value & 1;
    } else if (operation >= 2) {
      entry::GlobalEntries checked = entries;
      if (entry::checkGlobalEntries(checked)) {
        entries = checked;  // the screen shows the entries as the checks left them
        if (in.done()) return;
        continue;
      }
      Programming record = newProgramming();
      record.global = entry::globalSettings(checked, reduced);
      // Back checks lengths only, so a value the record brought with other characters than
      // digits is written as it stands (Send then names it); typed text is digits.
      bool brought = false;
      for (const std::string* value : {&opened.securityCode, &opened.accessCode, &opened.ringDelay,
                                       &opened.ringbackLimit, &opened.forcedPlayTimer})
        brought = brought || (*value != kNotApplicable && !allDigits(*value));
      TARVEK_FUZZ_CHECK(brought || entry::checkRecord(record, reduced).empty());
      TARVEK_FUZZ_CHECK(codec::encodeGlobal(record.global, reduced).value_or("").size() == (reduced ? 21u : 22u));
      return;
    }
  }
}

void inputSpecsEditor(fuzz::Input& in) {
  int input = in.byte() % 11 - 1;
  std::vector<std::string> working = entry::completeInputSpecs(editedList(in, newProgramming().inputSpecs));
  TARVEK_FUZZ_CHECK(working.size() >= kInputSpecLineCount);
  input = entry::validInput(input);
  entry::InputSpecEntries entries = entry::inputSpecEntries(working, input);
  for (;;) {
    const int operation = in.done() ? 3 : in.byte() % 4;
    const std::uint8_t choice = operation <= 1 ? in.byte() : 0;
    std::string& text = entries.boxes[choice % entry::kInputBoxCount];
    if (operation == 0) {
      typeKey(in, text, entry::inputSpecKey);
    } else if (operation == 1) {
      const int value = in.byte();
      if (choice & 1)
        entries.momentary = value & 1;
      else
        entries.normalState = static_cast<entry::NormalState>(value % 3);
    } else {
      entry::InputSpecEntries checked = entries;
      const auto failure = entry::checkInputSpecEntries(checked);
      entries = checked;  // the screen shows the boxes as the checks left them
      if (failure && in.done()) return;
      if (failure) continue;
      const std::vector<std::string> rebuilt = entry::rebuildInputSpecs(working, input, checked);
      const int first = lines::inputFieldIndex(input);
      checkWritten(working, rebuilt, first, 6, true);
      if (operation == 3) return;
      working = rebuilt;
      input = stepped(in, input);
      entries = entry::inputSpecEntries(working, input);
    }
  }
}

void phoneNumbersEditor(fuzz::Input& in, bool reduced) {
  int input = in.byte() % 11 - 1;
  std::vector<std::string> working = entry::completePhoneNumbers(editedList(in, newProgramming().phoneNumbers));
  TARVEK_FUZZ_CHECK(working.size() >= kPhoneLineCount);
  input = entry::validInput(input);
  entry::PhoneRows rows;
  // Rows shown are cut to the length limit, as is every change.
  const auto limit = [](std::string& text) { text = entry::cutToLongest(text).value_or(text); };
  const auto show = [&](const entry::PhoneRows& shown) {
    rows = shown;
    for (entry::PhoneRow& row : rows) limit(row.text);
  };
  show(entry::phoneRows(working, input, reduced));
  for (;;) {
    const int operation = in.done() ? 3 : in.byte() % 4;
    entry::PhoneRow& row = rows[(operation <= 1 ? in.byte() : 0) % 8];
    if (operation == 0) {
      typeKey(in, row.text, entry::phoneKey);
    } else if (operation == 1) {
      if (in.byte() & 1)
        show(entry::clearedPhoneRows());
      else if (!reduced)  // the check boxes are disabled on a reduced-feature unit
        row.pager = !row.pager;
    } else {
      const std::vector<std::string> rebuilt = entry::rebuildPhoneNumbers(working, input, rows);
      const int first = lines::phoneLineIndex(input, 1);
      checkWritten(working, rebuilt, first, 8, false);
      if (operation == 3) return;
      working = rebuilt;
      input = stepped(in, input);
      show(entry::phoneRows(working, input, reduced));
    }
    limit(row.text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const std::uint8_t choice = in.byte();
  if ((choice & 3) % 3 == 0)
    globalEditor(in, choice & 4);
  else if ((choice & 3) % 3 == 1)
    inputSpecsEditor(in);
  else
    phoneNumbersEditor(in, choice & 4);
  return 0;
}
