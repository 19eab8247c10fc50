#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/entry_rules.h"
#include "core/programming.h"

// The entry rules of the Global settings editor: filling it from the record, the
// reactions of its options, the filters of its five boxes, the checks of Back and the
// values written back.
namespace tarvek::entry {

enum class FunctionMode { AlarmDialer, AlarmDialerNoBeeps, Aislecall };
enum class GlobalBox { SecurityCode, AccessCode, RingDelay, RingbackLimit, ForcedPlayTimer };

// The state of the editor's controls: the five box texts and the option choices.
struct GlobalEntries {
  FunctionMode function = FunctionMode::AlarmDialer;
  std::string securityCode;
  std::string accessCode;
  std::string ringDelay;
  std::string ringbackLimit;
  bool fastDialing = false;
  bool hookswitchEnabled = false;
  bool callProgressEnabled = true;
  std::string forcedPlayTimer;

  bool operator==(const GlobalEntries&) const = default;
};

// Which groups of controls the user can reach; the Security Code, the Ring Delay and
// the Function options always can.
struct GlobalReach {
  bool accessAndRingback = true;  // Access Code, Ringback Limit and Dialing Speed
  bool hookswitch = true;
  bool callProgress = true;
  bool forcedPlayTimer = true;

  bool operator==(const GlobalReach&) const = default;
};

// Aislecall keeps these two boxes at fixed values while they are locked.
inline constexpr const char* kAislecallRingbackLimit = "6";

// The text of one of the five boxes.
std::string& textOf(GlobalEntries& entries, GlobalBox box);

GlobalEntries globalEntries(const GlobalSettings& settings, bool reducedFeatures);
GlobalReach globalReach(const GlobalEntries& entries, bool reducedFeatures);

// Choosing a Function option: Alarm Dialer and No Beeps reset Hookswitch Flash to
// Disabled; Aislecall turns Call Progress Detection on. The box texts stay.
GlobalEntries withFunction(GlobalEntries entries, FunctionMode function);
// Choosing Call Progress Detection Enabled resets the Forced Play Timer to "00".
GlobalEntries withCallProgress(GlobalEntries entries, bool enabled);

KeyVerdict globalKey(GlobalBox box, int code);
std::size_t longestEntry(GlobalBox box);
std::string lengthMessage(GlobalBox box);
bool tooLong(GlobalBox box, std::string_view text);
PasteVerdict globalPaste(GlobalBox box, std::string_view resulting);

struct GlobalFailure {
  GlobalBox box;  // emptied, and given the focus
  std::string message;

  bool operator==(const GlobalFailure&) const = default;
};

// The checks of Back, in order; the first failure wins. The entries come back corrected
// as far as the checks went: the Ringback Limit trimmed, the Forced Play Timer trimmed
// and given its leading zero, the failing box emptied. In Aislecall mode the locked
// Access Code and Ringback Limit are not checked: they are written as "N/A".
std::optional<GlobalFailure> checkGlobalEntries(GlobalEntries& entries);

// The nine values written back after the checks passed.
GlobalSettings globalSettings(const GlobalEntries& entries, bool reducedFeatures);
// Whether Back greys the Main screen's Hookswitch Flash row.
bool greysHookswitch(const GlobalEntries& entries, bool reducedFeatures);

}  // namespace tarvek::entry
