// The answer to "MR" decoded into the Global settings, in either layout.
//
// Input: one byte of flags (bit 0: short layout; bits 1-2: the Function before the read,
// 0-2 one of the three, 3 a text that is none of them), then the answer.

#include "core/codec.h"
#include "fuzz_checks.h"

using namespace tarvek;

namespace {

const char* const kFunctions[] = {text::kAlarmDialer, text::kAislecall, text::kAlarmDialerNoBeeps, "Alarm"};

std::string all(const GlobalSettings& g) {
  return g.function + " | " + g.securityCode + " | " + g.accessCode + " | " + g.ringDelay + " | " + g.ringbackLimit +
         " | " + g.dialingSpeed + " | " + g.callProgress + " | " + g.forcedPlayTimer + " | " + g.hookswitchFlash;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const std::uint8_t flags = in.byte();
  const bool shortLayout = flags & 1;
  const std::string before = kFunctions[(flags >> 1) & 3];
  const std::string answer = in.rest();

  GlobalSettings settings;
  settings.function = before;
  codec::decodeGlobal(answer, shortLayout, settings);
  const std::string detail = "answer " + answer + " gives " + all(settings);

  // Only a known code changes the Function.
  const char code = answer.empty() ? '\0' : answer[0];
  if (code >= '0' && code <= '2')
    TARVEK_FUZZ_CHECK(settings.function == kFunctions[code == '0' ? 0 : code == '1' ? 1 : 2], detail);
  else
    TARVEK_FUZZ_CHECK(settings.function == before, detail);

  // Security Code and Ring Delay are shown as received, in every mode.
  TARVEK_FUZZ_CHECK(settings.securityCode == answer.substr(std::min<std::size_t>(1, answer.size()), 6), detail);
  TARVEK_FUZZ_CHECK(settings.ringDelay == answer.substr(std::min<std::size_t>(13, answer.size()), 1), detail);

  const auto is = [](const std::string& value, std::initializer_list<const char*> allowed) {
    for (const char* one : allowed)
      if (value == one) return true;
    return false;
  };
  if (settings.function == text::kAislecall) {
    for (const std::string* value : {&settings.accessCode, &settings.ringbackLimit, &settings.dialingSpeed,
                                     &settings.callProgress, &settings.forcedPlayTimer})
      TARVEK_FUZZ_CHECK(*value == text::kNotApplicable, detail);
    TARVEK_FUZZ_CHECK(settings.hookswitchFlash == (shortLayout ? text::kDisabled : text::kNotApplicable), detail);
  } else {
    TARVEK_FUZZ_CHECK(settings.accessCode.size() <= 6, detail);
    TARVEK_FUZZ_CHECK(settings.ringbackLimit.size() <= 2, detail);
    TARVEK_FUZZ_CHECK(is(settings.dialingSpeed, {text::kNormal, text::kFast}), detail);
    TARVEK_FUZZ_CHECK(is(settings.hookswitchFlash, {text::kEnabled, text::kDisabled}), detail);
    if (shortLayout) TARVEK_FUZZ_CHECK(settings.hookswitchFlash == text::kDisabled, detail);
    TARVEK_FUZZ_CHECK(is(settings.callProgress, {text::kEnabled, text::kDisabled}), detail);
    // The timer is "N/A" exactly while Call Progress Detection is on.
    TARVEK_FUZZ_CHECK((settings.callProgress == text::kEnabled) == (settings.forcedPlayTimer == text::kNotApplicable),
                      detail);
    if (settings.callProgress == text::kDisabled) TARVEK_FUZZ_CHECK(settings.forcedPlayTimer.size() <= 2, detail);
  }

  // A whole answer of a unit in Alarm Dialer mode, with 0/1 for the two switch fields,
  // is sent back by Send exactly as it was read.
  const std::size_t fields = shortLayout ? 19 : 20;
  const bool whole = answer.size() == 20 && (!shortLayout || answer.back() == codec::kCarriageReturn);
  const auto bit = [&](std::size_t position) { return answer[position - 1] == '0' || answer[position - 1] == '1'; };
  if (whole && (code == '0' || code == '2') && bit(17) && (shortLayout || bit(18))) {
    const auto command = codec::encodeGlobal(settings, shortLayout);
    TARVEK_FUZZ_CHECK(command.has_value(), detail);
    TARVEK_FUZZ_CHECK(*command == "MW" + answer.substr(0, fields), detail + " sent as " + *command);
  }
  return 0;
}
