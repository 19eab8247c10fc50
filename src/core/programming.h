#pragma once

#include <string>
#include <vector>

namespace tarvek {

// The nine Global settings as the user sees them ("Alarm Dialer", "N/A", "Hrs ..."):
// display text, compared exactly and case-sensitively by every reader.
struct GlobalSettings {
  std::string function;
  std::string securityCode;
  std::string accessCode;
  std::string ringDelay;
  std::string ringbackLimit;
  std::string dialingSpeed;
  std::string callProgress;
  std::string forcedPlayTimer;
  std::string hookswitchFlash;

  bool operator==(const GlobalSettings&) const = default;
};

// The one working copy of a Tarvek's programming, held as display text only.
// The two lists keep the exact display lines (72 and 88 when complete); there is
// deliberately no parallel structured copy, so odd-but-valid variants survive.
struct Programming {
  GlobalSettings global;
  std::vector<std::string> inputSpecs;
  std::vector<std::string> phoneNumbers;

  bool operator==(const Programming&) const = default;
};

inline constexpr int kInputCount = 8;
inline constexpr int kNumbersPerInput = 8;
inline constexpr int kLinesPerInputBlock = 9;
inline constexpr int kLinesPerPhoneBlock = 11;
inline constexpr int kInputSpecLineCount = kInputCount * kLinesPerInputBlock;  // 72
inline constexpr int kPhoneLineCount = kInputCount * kLinesPerPhoneBlock;      // 88

// Display values of the Global settings; "Disabled" is also a Normal State of an input.
namespace text {
inline constexpr const char* kAlarmDialer = "Alarm Dialer";
inline constexpr const char* kAislecall = "Aislecall";
inline constexpr const char* kAlarmDialerNoBeeps = "Alarm Dialer (No Beeps)";
inline constexpr const char* kNotApplicable = "N/A";
inline constexpr const char* kNormal = "Normal";
inline constexpr const char* kFast = "Fast";
inline constexpr const char* kEnabled = "Enabled";
inline constexpr const char* kDisabled = "Disabled";
inline constexpr const char* kDefaultSecurityCode = "507231";
inline constexpr const char* kDefaultAccessCode = "390618";
}  // namespace text

// The programming a new unit starts with.
Programming newProgramming();

// Both lists hold all eight blocks, each headed "Input " N at its fixed index. A read
// that stopped part way leaves an incomplete record.
bool isComplete(const Programming& record);

}  // namespace tarvek
