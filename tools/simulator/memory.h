#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tarvek::sim {

inline constexpr int kInputCount = 8;
inline constexpr int kSlotsPerInput = 8;
inline constexpr std::size_t kMaxNumberLength = 32;

// The Global record as the unit keeps it: each field the exact characters it answers with.
struct GlobalRecord {
  std::string function;         // 1: "0" Alarm Dialer, "1" Aislecall, "2" No Beeps
  std::string securityCode;     // 6
  std::string accessCode;       // 6
  std::string ringDelay;        // 1
  std::string ringbackLimit;    // 2
  std::string dialingSpeed;     // 1: "0" Normal, else Fast
  std::string hookswitchFlash;  // 1: "0" Disabled, else Enabled (not kept by a short-layout unit's answers)
  std::string forcedPlayTimer;  // 2: "00" means Call Progress Detection enabled

  bool operator==(const GlobalRecord&) const = default;
};

struct InputRecord {
  std::string normalState;           // 1: "0" Open, "1" Closed, "2" Disabled
  std::string duration;              // 1: "0" Momentary, "1" Continuous
  std::string msgRptCount;           // 2
  std::string lapCounter;            // 2
  std::uint16_t qualifierTimer = 0;  // seconds
  std::uint16_t resumeTimer = 0;     // seconds

  bool operator==(const InputRecord&) const = default;
};

struct PhoneRecord {
  std::string number;  // the dialling string, at most 32 characters, empty when not programmed
  bool pager = false;

  bool operator==(const PhoneRecord&) const = default;
};

// Everything the unit remembers: the Global record, 8 input records and 64 phone records.
struct Memory {
  GlobalRecord global;
  std::array<InputRecord, kInputCount> inputs;
  std::array<PhoneRecord, kInputCount * kSlotsPerInput> numbers;

  // A unit as it leaves the factory, which is also what a new programming holds.
  static Memory factory();

  // input 1 to 8; slot 0 to 7.
  InputRecord& input(int input) { return inputs.at(static_cast<std::size_t>(input - 1)); }
  const InputRecord& input(int input) const { return inputs.at(static_cast<std::size_t>(input - 1)); }
  PhoneRecord& number(int input, int slot) { return numbers.at(numberIndex(input, slot)); }
  const PhoneRecord& number(int input, int slot) const { return numbers.at(numberIndex(input, slot)); }

  bool operator==(const Memory&) const = default;

 private:
  static std::size_t numberIndex(int input, int slot) {
    return static_cast<std::size_t>((input - 1) * kSlotsPerInput + slot);
  }
};

}  // namespace tarvek::sim
