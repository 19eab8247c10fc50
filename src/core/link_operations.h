#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "core/programming.h"
#include "core/serial_port.h"

namespace tarvek {

class Prompts;
class Progress;
struct Session;

// What every conversation with the Tarvek needs.
struct Link {
  SerialPort& port;
  Session& session;
  Prompts& prompts;
  Progress& progress;
};

namespace messages {
inline constexpr const char* kCommunicationsError = "Communications error";
inline constexpr const char* kPhoneNumbersError = "Communications error- unable to load phone numbers for display";
inline constexpr const char* kNotResponding = "The Tarvek is not responding";
inline constexpr const char* kNotVerified = "The Tarvek did not verify a good transmission";
inline constexpr const char* kSent = "Successful data transmission";
inline constexpr const char* kOverwriteQuestion =
    "This will write over what is in the Tarvek's memory now.  Continue? ";
inline constexpr const char* kOverwriteTitle = "Overwrite";
inline constexpr const char* kNoFunction =
    "The Function setting is none of Alarm Dialer, Alarm Dialer (No Beeps) or Aislecall, so nothing was sent. "
    "Choose the Function in Edit Global Settings, then Send again.";
// The two refusals below come with the list of what is missing or wrong as their detail.
inline constexpr const char* kIncomplete =
    "The programming on the Main screen is incomplete: the parts listed below are missing. "
    "Nothing was sent, so the Tarvek keeps its own programming.";
inline constexpr const char* kOutOfRange =
    "The programming on the Main screen holds values that the editors would refuse, listed below. "
    "Nothing was sent, so the Tarvek keeps its own programming. Correct them in the editors, then Send again.";
}  // namespace messages

// One command and its answer on the device its operation pinned: the port opened before
// and closed after, on every path; the answer complete at `readLength` bytes or at its
// `end`. nullopt when the port does not open (the command is then not sent).
std::optional<std::string> exchange(SerialPort& port, const std::string& command, std::size_t readLength,
                                    std::chrono::milliseconds timeout, std::optional<AnswerEnd> end = std::nullopt);

// Each operation below pins its port's device for its whole length. A port that fails
// (LinkError) or an answer too short to decode ends it with "The Tarvek is not
// responding"; any other exception is a fault of this program and goes on to the caller.

enum class ConnectOutcome {
  PortNotOpened,  // "Communications error" shown
  NotFound,       // the greeting failed
  Finished,       // the read ended, completely or after a message: show the Main screen
  NotResponding,  // a run-time error ended it with its message
};

struct ReadResult {
  ConnectOutcome outcome = ConnectOutcome::Finished;
  bool greeted = false;         // the Tarvek answered the greeting: the program is online
  bool greyHookswitch = false;  // the Global settings came in the short layout
};

// Connect on the selection screen: greets the Tarvek and reads its whole programming
// into `record`, which keeps what was decoded when the read stops part way.
ReadResult connectAndRead(const Link& link, Programming& record);

enum class ProbeOutcome { PortNotOpened, NotFound, Online, Failed, NotResponding };

struct ProbeResult {
  ProbeOutcome outcome = ProbeOutcome::Online;
  bool greeted = false;  // the Tarvek answered the greeting, whatever the probe gave
};

// Connect on the Main screen: greets the Tarvek and probes its phone-record format so
// the record on the screen can be sent.
ProbeResult connectFromMain(const Link& link);

// The sign-off of Exit: "BY", whatever happens; the answer is read for up to a second and
// not checked. The unit answers "OK": the screens wait for ten characters, the whole second,
// and end the program after it; the command line waits for those two, so that a script
// that programs unit after unit is not held up.
void signOff(SerialPort& port, int portNumber, std::size_t answerLength = 10);

enum class SendOutcome { Declined, Refused, Sent, NotVerified, PortNotOpened, NotResponding };

// Send: writes the whole record into the Tarvek, each command to be answered "OK". A record
// that is incomplete, has no Function code or fails the editors' checks is refused before
// the question, and nothing is sent.
SendOutcome sendProgramming(const Link& link, const Programming& record);

}  // namespace tarvek
