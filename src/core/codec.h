#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/programming.h"

// The Tarvek's record formats, both ways: its answers decoded into display values and
// lines, and the record encoded into its write commands.
namespace tarvek::codec {

inline constexpr char kCarriageReturn = '\r';

// An answer too short to decode (an input record missing a timer byte).
class DecodeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

bool endsWithCarriageReturn(const std::string& answer);

// Decodes an answer to "MR" into the settings, in place: an unknown Function code
// leaves the Function as it was, and the other fields follow the Function it then
// has. `shortLayout`: the unit has no Hookswitch Flash field (Hookswitch then reads
// "Disabled"). Missing characters read as empty text.
void decodeGlobal(const std::string& answer, bool shortLayout, GlobalSettings& settings);

// Decodes an answer to "I" n "R" into its six field lines, appending each to `lines`
// as it is made. Throws DecodeError, with the lines made so far appended, when the
// answer is too short for the next line.
void appendInputFields(const std::string& answer, std::vector<std::string>& lines);

// The phone line of slot 1-8 from an answer to "N" n "R" k: the number without its
// padding, the pager mark when the last character is "1", and the seven-blank
// "Not Programmed" for an empty number.
std::string phoneLineFromAnswer(int slot, const std::string& answer);

// The fields of the write commands, each as it goes out, in the order of the command.
// The whole commands below are built from these, so a comparison field by field sees
// exactly what the unit would get.
struct GlobalFields {
  std::string function;
  std::string securityCode;
  std::string accessCode;
  std::string ringDelay;
  std::string ringbackLimit;
  std::string dialingSpeed;
  std::string hookswitchFlash;  // empty in the short layout
  std::string forcedPlayTimer;  // also stands for Call Progress Detection ("00": enabled)
};
struct InputFields {
  std::string normalState;
  std::string duration;
  std::string msgRptCount;
  std::string lapCounter;
  std::string qualifierTimer;
  std::string resumeTimer;
};
struct PhoneFields {
  std::string pager;  // empty in the short layout
  std::string number;
};

// Refused (nullopt) when the Function holds none of its three texts.
std::optional<GlobalFields> encodeGlobalFields(const GlobalSettings& settings, bool shortLayout);
// From the input's six field lines (Normal State first).
InputFields encodeInputFields(const std::vector<std::string>& fieldLines);
PhoneFields encodePhoneFields(const std::string& line, bool shortLayout);

// Write commands. The Global command is refused (nullopt) when the Function holds
// none of its three texts, since the unit would get a command one character short.
std::optional<std::string> encodeGlobal(const GlobalSettings& settings, bool shortLayout);
// "I" n "W" and the fields from the input's six field lines (Normal State first).
std::string encodeInput(int input, const std::vector<std::string>& fieldLines);
// "N" n "W" k and the fields from the slot's phone line (slot 0-7).
std::string encodePhone(int input, int slot, const std::string& line, bool shortLayout);

// Commands of the read direction.
std::string readInputCommand(int input);
std::string readPhoneCommand(int input, int slot);

}  // namespace tarvek::codec
