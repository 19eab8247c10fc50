#include "core/global_rules.h"

#include "core/display_lines.h"

namespace tarvek::entry {

namespace {

bool aislecall(const GlobalEntries& entries) { return entries.function == FunctionMode::Aislecall; }

std::optional<GlobalFailure> fail(GlobalEntries& entries, GlobalBox box, const char* message) {
  textOf(entries, box).clear();
  return GlobalFailure{box, message};
}

}  // namespace

std::string& textOf(GlobalEntries& entries, GlobalBox box) {
  switch (box) {
    case GlobalBox::SecurityCode:
      return entries.securityCode;
    case GlobalBox::AccessCode:
      return entries.accessCode;
    case GlobalBox::RingDelay:
      return entries.ringDelay;
    case GlobalBox::RingbackLimit:
      return entries.ringbackLimit;
    case GlobalBox::ForcedPlayTimer:
      break;
  }
  return entries.forcedPlayTimer;
}

GlobalEntries globalEntries(const GlobalSettings& settings, bool reducedFeatures) {
  GlobalEntries entries;
  if (settings.function == text::kAlarmDialer)
    entries.function = FunctionMode::AlarmDialer;
  else if (settings.function == text::kAislecall)
    entries.function = FunctionMode::Aislecall;
  else
    entries.function = FunctionMode::AlarmDialerNoBeeps;
  const bool locked = aislecall(entries);

  entries.securityCode = settings.securityCode;
  entries.accessCode = locked ? text::kDefaultAccessCode : settings.accessCode;
  entries.ringDelay = settings.ringDelay;
  entries.ringbackLimit = locked ? kAislecallRingbackLimit : settings.ringbackLimit;
  entries.fastDialing = !locked && settings.dialingSpeed != text::kNormal;
  entries.hookswitchEnabled = !locked && !reducedFeatures && settings.hookswitchFlash != text::kDisabled;
  entries.callProgressEnabled = locked || settings.callProgress == text::kEnabled;
  entries.forcedPlayTimer = entries.callProgressEnabled ? "00" : settings.forcedPlayTimer;
  return entries;
}

GlobalReach globalReach(const GlobalEntries& entries, bool reducedFeatures) {
  if (aislecall(entries)) return {false, false, false, false};
  return {true, !reducedFeatures, true, !entries.callProgressEnabled};
}

GlobalEntries withFunction(GlobalEntries entries, FunctionMode function) {
  entries.function = function;
  if (function == FunctionMode::Aislecall)
    entries = withCallProgress(std::move(entries), true);
  else
    entries.hookswitchEnabled = false;
  return entries;
}

GlobalEntries withCallProgress(GlobalEntries entries, bool enabled) {
  entries.callProgressEnabled = enabled;
  if (enabled) entries.forcedPlayTimer = "00";
  return entries;
}

KeyVerdict globalKey(GlobalBox box, int code) { return digitKey(code, box == GlobalBox::RingDelay); }

std::size_t longestEntry(GlobalBox box) {
  switch (box) {
    case GlobalBox::SecurityCode:
    case GlobalBox::AccessCode:
      return 6;
    case GlobalBox::RingDelay:
      return 1;
    case GlobalBox::RingbackLimit:
    case GlobalBox::ForcedPlayTimer:
      break;
  }
  return 2;
}

std::string lengthMessage(GlobalBox box) {
  switch (box) {
    case GlobalBox::SecurityCode:
      return "The Security Code cannot be more than 6 digits";
    case GlobalBox::AccessCode:
      return "The Access Code cannot be more than 6 digits";
    case GlobalBox::RingDelay:
      return "The Ring Delay cannot be more than 1 digit";
    case GlobalBox::RingbackLimit:
      return "The Ringback Limit cannot be more than 2 digits";
    case GlobalBox::ForcedPlayTimer:
      break;
  }
  return "The Forced Play Timer cannot be more than 2 digits";
}

bool tooLong(GlobalBox box, std::string_view text) { return text.size() > longestEntry(box); }

PasteVerdict globalPaste(GlobalBox box, std::string_view resulting) {
  return digitPaste(resulting, longestEntry(box), lengthMessage(box));
}

std::optional<GlobalFailure> checkGlobalEntries(GlobalEntries& entries) {
  if (entries.securityCode.size() != 6)
    return fail(entries, GlobalBox::SecurityCode, "The security code must be 6 digits");
  if (entries.ringDelay.size() != 1) return fail(entries, GlobalBox::RingDelay, "The ring delay must be 1 digit");
  if (!aislecall(entries)) {
    if (entries.accessCode.size() != 6) return fail(entries, GlobalBox::AccessCode, "The access code must be 6 digits");
    entries.ringbackLimit = lines::trimmed(entries.ringbackLimit);
    if (numericValue(entries.ringbackLimit) == 0)
      return fail(entries, GlobalBox::RingbackLimit, "The ringback limit cannot be 0");
  }
  entries.forcedPlayTimer = lines::withLeadingZero(lines::trimmed(entries.forcedPlayTimer));
  if (!entries.callProgressEnabled && numericValue(entries.forcedPlayTimer) == 0)
    return fail(entries, GlobalBox::ForcedPlayTimer,
                "To disable Call Progress Detection set the Forced Play Timer to a value from 1 to 99 seconds"
                "          To reenable Call Progress Detection click on the Enabled option button");
  return std::nullopt;
}

GlobalSettings globalSettings(const GlobalEntries& entries, bool reducedFeatures) {
  const bool locked = aislecall(entries);
  const auto unlessLocked = [locked](const std::string& value) { return locked ? text::kNotApplicable : value; };
  GlobalSettings settings;
  switch (entries.function) {
    case FunctionMode::AlarmDialer:
      settings.function = text::kAlarmDialer;
      break;
    case FunctionMode::Aislecall:
      settings.function = text::kAislecall;
      break;
    case FunctionMode::AlarmDialerNoBeeps:
      settings.function = text::kAlarmDialerNoBeeps;
      break;
  }
  settings.securityCode = entries.securityCode;
  settings.accessCode = unlessLocked(entries.accessCode);
  settings.ringDelay = entries.ringDelay;
  settings.ringbackLimit = unlessLocked(entries.ringbackLimit);
  settings.dialingSpeed = unlessLocked(entries.fastDialing ? text::kFast : text::kNormal);
  if (reducedFeatures)
    settings.hookswitchFlash = unlessLocked(text::kDisabled);
  else
    settings.hookswitchFlash = unlessLocked(entries.hookswitchEnabled ? text::kEnabled : text::kDisabled);
  settings.callProgress = unlessLocked(entries.callProgressEnabled ? text::kEnabled : text::kDisabled);
  settings.forcedPlayTimer = entries.callProgressEnabled ? std::string(text::kNotApplicable) : entries.forcedPlayTimer;
  return settings;
}

bool greysHookswitch(const GlobalEntries& entries, bool reducedFeatures) {
  return reducedFeatures && !aislecall(entries);
}

}  // namespace tarvek::entry
