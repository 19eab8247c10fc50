// The unit's answers on the serial line: a whole Connect (the selection screen's read, or
// the Main screen's probe) and then a Send, over a scripted port that answers every
// command from the input, in either layout.
//
// Input: a byte of flags (bit 0: the Main screen's Connect; bit 1: the unit's own answers
// in the short layout; bit 2: the session already in reduced-feature mode; bit 3: the
// overwrite question answered No), the number of the port opening that fails (0: none),
// the number of the read at which the port dies (0: none), then one answer per command in
// the order they go out, the read's and then Send's: a length byte and that many bytes,
// or 255 (and the end of the input) for what a working unit answers.

#include "core/link_operations.h"
#include "core/prompts.h"
#include "core/session.h"
#include "fuzz_checks.h"
#include "support/recording_progress.h"
#include "support/scripted_port.h"
#include "support/scripted_prompts.h"

using namespace tarvek;

namespace {

constexpr std::uint8_t kUnitAnswer = 255;

// The input front to back, so that seeds can be written by hand; past its end every byte
// reads as 0 and every text as empty.
struct Input {
  std::uint8_t byte() { return done() ? 0 : std::uint8_t(text(1)[0]); }
  std::string text(std::size_t length) {
    std::string taken(rest.substr(0, length));
    rest.remove_prefix(taken.size());
    return taken;
  }
  bool done() const { return rest.empty(); }
  std::string_view rest;
};

// What a working unit answers, in its layout, so that a read gets through and Send has
// varied values to write: inputs with varied codes and timers, and numbers, empty slots
// and a pager number in every input.
std::string unitAnswer(const std::string& command, bool shortLayout) {
  if (command == "HI" || command.find('W') != std::string::npos) return "OK";
  if (command == "MR") return shortLayout ? "0507231390618106000\r" : "05072313906181060000";
  const char n = command[1];
  if (command[0] == 'I')
    return {static_cast<char>('0' + n % 3), static_cast<char>('0' + n % 2), '0', '2', '0', '1', n, n, '\x10', '\x0e'};
  std::string number = command[3] % 2 ? "" : std::string("555") + n + command[3];
  number.resize(shortLayout ? 31 : 32, ' ');
  return number + (shortLayout ? '\r' : command[3] == '2' ? '1' : '0');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in{{reinterpret_cast<const char*>(data), size}};
  const std::uint8_t flags = in.byte();
  const int failingOpen = in.byte();
  const int failingRead = in.byte();
  test::ScriptedPort port;
  Session session;
  test::ScriptedPrompts prompts;
  test::RecordingProgress progress;
  const Link link{port, session, prompts, progress};
  port.responder = [&in, flags](const std::string& command) -> std::optional<std::string> {
    const std::uint8_t length = in.done() ? kUnitAnswer : in.byte();
    return length == kUnitAnswer ? unitAnswer(command, flags & 2) : in.text(length);
  };
  port.opens = [failingOpen](int number) { return number != failingOpen; };
  int reads = 0;
  port.failsOnRead = [&reads, failingRead](const std::string&) { return ++reads == failingRead; };
  session.reducedFeatures = flags & 4;

  Programming record = newProgramming();
  if (flags & 1) {
    connectFromMain(link);  // the Main screen's Connect: the layout from the probe, for Send
  } else {
    connectAndRead(link, record);
    const auto messages = prompts.texts();
    // Either the record is whole and every reader finds its lines, or a message said
    // that the read stopped.
    TARVEK_FUZZ_CHECK(messages.size() <= 1 && (isComplete(record) ? fuzz::wellFormed(record) : !messages.empty()));
  }
  TARVEK_FUZZ_CHECK(port.openCount == port.closeCount && !port.isOpen() && !progress.open);

  // Send, whatever was read: which records it refuses and where it stops are the link
  // operations' table; here, that no answer leaves the port or the progress screen open.
  prompts.answers.push_back(flags & 8 ? Answer::No : Answer::Yes);
  sendProgramming(link, record);
  TARVEK_FUZZ_CHECK(port.openCount == port.closeCount && !port.isOpen() && !progress.open);
  return 0;
}
