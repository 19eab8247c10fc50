// The Global settings editor's entry rules, driven as a user would drive the screen:
// filled from a record, then options clicked, keys typed and text pasted into the boxes
// that can be reached, and Back pressed.
//
// Input: a byte of flags (bit 0: reduced-feature unit); nine bytes, one per setting in
// the record's order (Function, Security Code, Access Code, Ring Delay, Ringback Limit,
// Dialing Speed, Call Progress, Forced Play Timer, Hookswitch Flash), each picking one
// of that setting's usual values or, past them, taking a length byte and that many
// bytes as the value; then actions, each an operation byte (mod 7) and its arguments:
//   0 f      choose Function f mod 3 (Alarm Dialer, No Beeps, Aislecall)
//   1 e      Call Progress Detection Enabled (e odd) or Disabled
//   2 e      Dialing Speed Fast (e odd) or Normal
//   3 e      Hookswitch Flash Enabled (e odd) or Disabled
//   4 b c p  type character code c into box b mod 5 with the cursor at p
//   5 b p n  paste the n bytes that follow into box b mod 5 at p
//   6        Back
// The input's end presses Back.

#include <vector>

#include "core/codec.h"
#include "core/global_rules.h"
#include "fuzz_checks.h"

using namespace tarvek;
using entry::GlobalBox;

namespace {

constexpr GlobalBox kBoxes[] = {GlobalBox::SecurityCode, GlobalBox::AccessCode, GlobalBox::RingDelay,
                                GlobalBox::RingbackLimit, GlobalBox::ForcedPlayTimer};

std::string value(fuzz::Input& in, std::initializer_list<const char*> usual) {
  const std::size_t pick = in.byte();
  if (pick < usual.size()) return usual.begin()[pick];
  return in.counted();
}

GlobalSettings settingsFrom(fuzz::Input& in) {
  GlobalSettings s;
  s.function = value(in, {text::kAlarmDialer, text::kAlarmDialerNoBeeps, text::kAislecall});
  s.securityCode = value(in, {text::kDefaultSecurityCode, "123456"});
  s.accessCode = value(in, {text::kDefaultAccessCode, text::kNotApplicable});
  s.ringDelay = value(in, {"1", "0"});
  s.ringbackLimit = value(in, {"6", "12", "01", text::kNotApplicable});
  s.dialingSpeed = value(in, {text::kNormal, text::kFast, text::kNotApplicable});
  s.callProgress = value(in, {text::kEnabled, text::kDisabled, text::kNotApplicable});
  s.forcedPlayTimer = value(in, {text::kNotApplicable, "07", "30"});
  s.hookswitchFlash = value(in, {text::kDisabled, text::kEnabled, text::kNotApplicable});
  return s;
}

bool reachable(const entry::GlobalReach& reach, GlobalBox box) {
  switch (box) {
    case GlobalBox::AccessCode:
    case GlobalBox::RingbackLimit:
      return reach.accessAndRingback;
    case GlobalBox::ForcedPlayTimer:
      return reach.forcedPlayTimer;
    case GlobalBox::SecurityCode:
    case GlobalBox::RingDelay:
      break;
  }
  return true;
}

// Every change of a box's text runs its length limit, as the screen does.
void lengthLimits(entry::GlobalEntries& entries) {
  for (const GlobalBox box : kBoxes)
    if (entry::tooLong(box, entry::textOf(entries, box))) entry::textOf(entries, box).clear();
}

std::string all(const GlobalSettings& g) {
  return g.function + " | " + g.securityCode + " | " + g.accessCode + " | " + g.ringDelay + " | " + g.ringbackLimit +
         " | " + g.dialingSpeed + " | " + g.callProgress + " | " + g.forcedPlayTimer + " | " + g.hookswitchFlash;
}

// What Back writes is in the forms of the record, and Send can encode it whole.
void checkWritten(const entry::GlobalEntries& checked, const GlobalSettings& s, bool reduced) {
  const std::string detail = all(s);
  TARVEK_FUZZ_CHECK(s.securityCode.size() == 6 && s.ringDelay.size() == 1, detail);
  if (s.function == text::kAislecall) {
    TARVEK_FUZZ_CHECK(checked.function == entry::FunctionMode::Aislecall, detail);
    for (const std::string* value :
         {&s.accessCode, &s.ringbackLimit, &s.dialingSpeed, &s.hookswitchFlash, &s.callProgress, &s.forcedPlayTimer})
      TARVEK_FUZZ_CHECK(*value == text::kNotApplicable, detail);
  } else {
    TARVEK_FUZZ_CHECK(s.function == text::kAlarmDialer || s.function == text::kAlarmDialerNoBeeps, detail);
    TARVEK_FUZZ_CHECK(s.accessCode.size() == 6, detail);
    TARVEK_FUZZ_CHECK(!s.ringbackLimit.empty() && s.ringbackLimit.size() <= 2, detail);
    TARVEK_FUZZ_CHECK(s.ringbackLimit.front() != ' ' && s.ringbackLimit.back() != ' ', detail);
    TARVEK_FUZZ_CHECK(entry::numericValue(s.ringbackLimit) >= 1, detail);
    TARVEK_FUZZ_CHECK(s.dialingSpeed == text::kNormal || s.dialingSpeed == text::kFast, detail);
    TARVEK_FUZZ_CHECK(s.hookswitchFlash == text::kDisabled || (!reduced && s.hookswitchFlash == text::kEnabled),
                      detail);
    if (s.callProgress == text::kEnabled) {
      TARVEK_FUZZ_CHECK(s.forcedPlayTimer == text::kNotApplicable, detail);
    } else {
      TARVEK_FUZZ_CHECK(s.callProgress == text::kDisabled, detail);
      TARVEK_FUZZ_CHECK(s.forcedPlayTimer.size() == 2, detail);
      const long seconds = entry::numericValue(s.forcedPlayTimer);
      TARVEK_FUZZ_CHECK(seconds >= 1 && seconds <= 99, detail);
    }
  }
  // The write command has every field at its width.
  const auto command = codec::encodeGlobal(s, reduced);
  TARVEK_FUZZ_CHECK(command.has_value(), detail);
  TARVEK_FUZZ_CHECK(command->size() == (reduced ? 21u : 22u), detail + " sent as " + *command);

  // Opening the editor again shows what was accepted.
  entry::GlobalEntries reopened = entry::globalEntries(s, reduced);
  entry::GlobalEntries expected = checked;
  if (checked.function == entry::FunctionMode::Aislecall) {
    expected = entry::withCallProgress(expected, true);
    expected.accessCode = text::kDefaultAccessCode;
    expected.ringbackLimit = entry::kAislecallRingbackLimit;
    expected.fastDialing = false;
    expected.hookswitchEnabled = false;
  }
  if (reduced) expected.hookswitchEnabled = false;
  if (expected.callProgressEnabled) expected.forcedPlayTimer = "00";
  TARVEK_FUZZ_CHECK(reopened == expected, detail);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const bool reduced = in.byte() & 1;
  const GlobalSettings record = settingsFrom(in);

  entry::GlobalEntries entries = entry::globalEntries(record, reduced);
  lengthLimits(entries);
  for (;;) {
    const entry::GlobalReach reach = entry::globalReach(entries, reduced);
    const int operation = in.done() ? 6 : in.byte() % 7;
    switch (operation) {
      case 0: {
        const auto function = static_cast<entry::FunctionMode>(in.byte() % 3);
        entries = entry::withFunction(entries, function);
        if (function != entry::FunctionMode::Aislecall) TARVEK_FUZZ_CHECK(!entries.hookswitchEnabled, "");
        break;
      }
      case 1: {
        const bool enabled = in.byte() & 1;
        if (reach.callProgress) entries = entry::withCallProgress(entries, enabled);
        break;
      }
      case 2: {
        const bool fast = in.byte() & 1;
        if (reach.accessAndRingback) entries.fastDialing = fast;
        break;
      }
      case 3: {
        const bool enabled = in.byte() & 1;
        if (reach.hookswitch) entries.hookswitchEnabled = enabled;
        break;
      }
      case 4: {
        const GlobalBox box = kBoxes[in.byte() % 5];
        const int code = in.byte();
        const std::size_t cursor = in.byte();
        if (!reachable(reach, box)) break;
        const entry::KeyVerdict verdict = entry::globalKey(box, code);
        const bool wanted = code == entry::kBackspace || (code >= '0' && code <= '9');
        TARVEK_FUZZ_CHECK(verdict.take == wanted && verdict.message.empty() == wanted, "");
        std::string& text = entry::textOf(entries, box);
        if (verdict.empty) text.clear();
        if (verdict.take) fuzz::typeAt(text, code, cursor, entry::kBackspace);
        lengthLimits(entries);
        break;
      }
      case 5: {
        const GlobalBox box = kBoxes[in.byte() % 5];
        const std::size_t cursor = in.byte();
        const std::string pasted = in.counted();
        if (!reachable(reach, box) || pasted.empty()) break;
        std::string& text = entry::textOf(entries, box);
        std::string resulting = text;
        resulting.insert(cursor % (text.size() + 1), pasted);
        const entry::PasteVerdict verdict = entry::globalPaste(box, resulting);
        if (verdict.take) {
          TARVEK_FUZZ_CHECK(fuzz::allDigits(resulting) && resulting.size() <= entry::longestEntry(box), resulting);
          text = resulting;
        } else {
          TARVEK_FUZZ_CHECK(!verdict.message.empty(), resulting);
        }
        lengthLimits(entries);
        break;
      }
      default: {
        entry::GlobalEntries checked = entries;
        const auto failure = entry::checkGlobalEntries(checked);
        if (failure) {
          TARVEK_FUZZ_CHECK(!failure->message.empty() && entry::textOf(checked, failure->box).empty(),
                            failure->message);
          entries = checked;  // the screen shows the entries as the checks left them
          lengthLimits(entries);
          if (in.done()) return 0;
          break;
        }
        checkWritten(checked, entry::globalSettings(checked, reduced), reduced);
        return 0;
      }
    }
  }
}
