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

#include <cstdio>

#include "core/codec.h"
#include "core/link_operations.h"
#include "core/prompts.h"
#include "core/record_check.h"
#include "core/session.h"
#include "fuzz_checks.h"
#include "support/recording_progress.h"
#include "support/scripted_port.h"
#include "support/scripted_prompts.h"

using namespace tarvek;
using Exchanges = std::vector<test::ScriptedPort::Exchange>;

namespace {

constexpr std::uint8_t kUnitAnswer = 255;

// What a working unit answers, in its layout: inputs with varied codes and timers, and
// numbers, empty slots and a pager number in every input.
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

unsigned timer(const std::string& answer, std::size_t low) {
  return static_cast<unsigned char>(answer[low]) + 256u * static_cast<unsigned char>(answer[low + 1]);
}
std::string sixDigits(unsigned seconds) {
  char text[16];
  std::snprintf(text, sizeof text, "%02u%02u%02u", seconds / 3600, seconds % 3600 / 60, seconds % 60);
  return text;
}

// A read that ended without a message: when the record check let Send take the record,
// every value written back as it came (the commands of Send from `sends` on, as far as
// Send went). The decoding of each answer is the codec's own table.
void checkRead(const Exchanges& exchanges, std::size_t sends, const Programming& record, bool greyHookswitch,
               bool reduced, bool refused) {
  TARVEK_FUZZ_CHECK(sends == 2 + 8 + 64 && isComplete(record));
  const auto wrote = [&](std::size_t k, const std::string& expected) {
    return refused || sends + k >= exchanges.size() || exchanges[sends + k].sent == expected;
  };
  // The phone answers choose the layout of Send, the Global answer that of its own line.
  bool anyShort = false;
  for (std::size_t i = 10; i < sends; ++i) anyShort = anyShort || codec::endsWithCarriageReturn(exchanges[i].answer);
  TARVEK_FUZZ_CHECK(reduced == anyShort);

  // A whole Alarm Dialer answer in the layout of the unit, with 0 or 1 for its switches,
  // goes back as it came; a short Global answer greys Hookswitch Flash.
  const std::string& global = exchanges[1].answer;
  const bool shortGlobal = codec::endsWithCarriageReturn(global);
  TARVEK_FUZZ_CHECK(greyHookswitch == shortGlobal);
  const auto either = [](char c) { return c == '0' || c == '1'; };
  if (global.size() == 20 && shortGlobal == reduced && (global[0] == '0' || global[0] == '2') && either(global[16]) &&
      (reduced || either(global[17])))
    TARVEK_FUZZ_CHECK(wrote(0, "MW" + global.substr(0, reduced ? 19 : 20)));

  for (int input = 1; input <= kInputCount; ++input) {
    const std::string n = std::to_string(input);
    const std::string& answer = exchanges[1 + input].answer;
    TARVEK_FUZZ_CHECK(
        wrote(input, "I" + n + "W" + answer.substr(0, 6) + sixDigits(timer(answer, 6)) + sixDigits(timer(answer, 8))));
    for (int slot = 1; slot <= kNumbersPerInput; ++slot) {
      const std::size_t k = 8 * static_cast<std::size_t>(input) + static_cast<std::size_t>(slot);
      const std::string& phone = exchanges[1 + k].answer;
      // The number less the last character and its padding; an empty slot is never a
      // pager, whatever mark the unit reported, when it goes back.
      std::string number = phone.substr(0, phone.size() - 1);
      number.erase(number.find_last_not_of(' ') + 1);
      const std::string flag = reduced ? "" : phone.back() == '1' && !number.empty() ? "1" : "0";
      TARVEK_FUZZ_CHECK(wrote(k, "N" + n + "W" + std::to_string(slot - 1) + flag + number));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
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
  ReadResult result;
  bool readWhole = false;
  if (flags & 1) {
    connectFromMain(link);  // the Main screen's Connect: the layout from the probe, for Send
  } else {
    result = connectAndRead(link, record);
    const auto messages = prompts.texts();
    // Either the record is whole and every reader finds its lines, or a message said
    // that the read stopped (and Send refuses the record below).
    TARVEK_FUZZ_CHECK(messages.size() <= 1 && (isComplete(record) ? fuzz::wellFormed(record) : !messages.empty()));
    readWhole = result.outcome == ConnectOutcome::Finished && messages.empty();
  }
  TARVEK_FUZZ_CHECK(port.openCount == port.closeCount && !port.isOpen() && !progress.open);

  // Send: what the record check refuses is never sent; anything else goes whole or stops
  // part way (at the first command not acknowledged: the link operations' table).
  const std::size_t before = port.exchanges.size();
  prompts.answers.push_back(flags & 8 ? Answer::No : Answer::Yes);
  const SendOutcome outcome = sendProgramming(link, record);
  const bool refused = !entry::checkRecord(record, session.reducedFeatures).empty();
  const std::size_t sent = port.exchanges.size() - before;
  TARVEK_FUZZ_CHECK((outcome == SendOutcome::Refused) == refused && (outcome != SendOutcome::Sent || sent == 73));
  TARVEK_FUZZ_CHECK(port.openCount == port.closeCount && !port.isOpen() && !progress.open);
  if (readWhole) checkRead(port.exchanges, before, record, result.greyHookswitch, session.reducedFeatures, refused);
  return 0;
}
