// Connect, end to end: the answers of a unit, chosen by the fuzzer, fed through the
// scripted serial port to the whole read (or to the Main screen's probe), in both
// layouts; a complete read is then sent back to a unit that acknowledges everything,
// unless Send refuses what was read.
//
// Input: a byte of flags (bit 0: the Main screen's Connect instead of the selection
// screen's; bit 1: the unit's own answers in the short layout; bit 2: the session already
// in reduced-feature mode), the number of the port opening that fails (0: none), the
// number of the read at which the port dies (0: none), then one answer per command: a
// length byte and that many bytes, or 255 (and the end of the input) for the answer of
// a unit that works.

#include <cstdio>

#include "core/codec.h"
#include "core/link_operations.h"
#include "core/record_check.h"
#include "core/session.h"
#include "fuzz_checks.h"
#include "support/recording_progress.h"
#include "support/scripted_port.h"
#include "support/scripted_prompts.h"

using namespace tarvek;

namespace {

constexpr std::uint8_t kUnitAnswer = 255;

std::string padded(std::string text, std::size_t width) {
  text.resize(width, ' ');
  return text;
}

// What a working unit answers, in its layout.
std::string unitAnswer(const std::string& command, bool shortLayout) {
  if (command == "HI") return "OK";
  if (command == "MR") return shortLayout ? "0507231390618106000\r" : "05072313906181060000";
  const int input = command.size() > 1 ? command[1] - '0' : 1;
  if (command.size() == 3 && command[0] == 'I') {
    const unsigned qualifier = 100u * static_cast<unsigned>(input);
    const unsigned resume = 3600u * static_cast<unsigned>(input) + 5;
    std::string answer;
    answer += static_cast<char>('0' + input % 3);
    answer += static_cast<char>('0' + input % 2);
    answer += "0201";
    for (const unsigned timer : {qualifier, resume}) {
      answer += static_cast<char>(timer & 0xff);
      answer += static_cast<char>(timer >> 8);
    }
    return answer;
  }
  const int slot = command.size() > 3 ? command[3] - '0' : 0;
  const std::string number = slot % 2 ? std::string() : "555" + std::to_string(input) + std::to_string(slot);
  return shortLayout ? padded(number, 31) + "\r" : padded(number, 32) + (slot == 2 ? "1" : "0");
}

std::string sixDigits(unsigned seconds) {
  char text[16];
  std::snprintf(text, sizeof text, "%02u%02u%02u", seconds / 3600, seconds % 3600 / 60, seconds % 60);
  return text;
}

struct Bench {
  test::ScriptedPort port;
  Session session;
  test::ScriptedPrompts prompts;
  test::RecordingProgress progress;

  Link link() { return Link{port, session, prompts, progress}; }
};

std::string transcript(const test::ScriptedPort& port) {
  std::string text;
  for (const auto& exchange : port.exchanges) text += exchange.sent + "->" + exchange.answer + " ";
  return text;
}

// The answer the read got to a command, as the port delivered it.
const std::string* answerTo(const test::ScriptedPort& port, const std::string& command) {
  for (const auto& exchange : port.exchanges)
    if (exchange.sent == command) return &exchange.answer;
  return nullptr;
}

void checkCompleteRecord(const Programming& record, const std::string& detail) {
  using lines::Field;
  constexpr Field kFields[] = {Field::NormalState, Field::Duration,    Field::QualifierTimer,
                               Field::ResumeTimer, Field::MsgRptCount, Field::LapCounter};
  TARVEK_FUZZ_CHECK(isComplete(record), detail);
  for (int input = 1; input <= kInputCount; ++input) {
    const auto block = static_cast<std::size_t>(lines::inputBlockIndex(input));
    TARVEK_FUZZ_CHECK(record.inputSpecs[block + 1].empty() && record.inputSpecs[block + 8].empty(), detail);
    for (std::size_t i = 0; i < 6; ++i) {
      const std::string& line = record.inputSpecs[block + 2 + i];
      TARVEK_FUZZ_CHECK(fuzz::hasFieldForm(line, kFields[i]) || (i < 2 && line == lines::field(kFields[i], "")),
                        detail + " line [" + line + "]");
    }
    const auto phones = static_cast<std::size_t>(lines::phoneBlockIndex(input));
    TARVEK_FUZZ_CHECK(record.phoneNumbers[phones + 1].empty() && record.phoneNumbers[phones + 10].empty(), detail);
    for (int slot = 1; slot <= kNumbersPerInput; ++slot)
      TARVEK_FUZZ_CHECK(fuzz::hasPhoneForm(record.phoneNumbers[phones + 1 + static_cast<std::size_t>(slot)], slot),
                        detail);
  }
}

// Sends a completely read record to a unit that acknowledges every command, and checks
// that every input and number goes back as the read received it.
void checkSendBack(const Programming& record, const test::ScriptedPort& readPort, bool reducedFeatures,
                   const std::string& detail) {
  Bench send;
  send.session.reducedFeatures = reducedFeatures;
  send.port.responder = [](const std::string&) { return std::string("OK"); };
  send.prompts.answers.push_back(Answer::Yes);
  const SendOutcome outcome = sendProgramming(send.link(), record);
  // Values the editors would refuse (an unknown code, a count of 0, a timer past 18 hours,
  // letters in a number) are refused whole.
  if (!entry::checkRecord(record, reducedFeatures).empty()) {
    TARVEK_FUZZ_CHECK(outcome == SendOutcome::Refused && send.port.exchanges.empty(), detail);
    return;
  }
  TARVEK_FUZZ_CHECK(outcome == SendOutcome::Sent, detail);
  TARVEK_FUZZ_CHECK(send.port.exchanges.size() == 1 + 8 + 64, detail);
  TARVEK_FUZZ_CHECK(send.port.openCount == send.port.closeCount && !send.port.isOpen(), detail);

  std::size_t next = 1;
  for (int input = 1; input <= kInputCount; ++input) {
    const std::string& sent = send.port.exchanges[next++].sent;
    const std::string* answer = answerTo(readPort, codec::readInputCommand(input));
    TARVEK_FUZZ_CHECK(answer != nullptr && answer->size() >= 10, detail);
    const auto timer = [&](std::size_t low) {
      return static_cast<unsigned char>((*answer)[low]) + 256u * static_cast<unsigned char>((*answer)[low + 1]);
    };
    const char state = (*answer)[0];
    const char duration = (*answer)[1];
    const std::string counts = answer->substr(2, 4);
    if (state >= '0' && state <= '2' && (duration == '0' || duration == '1') && fuzz::allDigits(counts)) {
      const std::string expected = codec::readInputCommand(input).substr(0, 2) + "W" + state + duration + counts +
                                   sixDigits(timer(6)) + sixDigits(timer(8));
      TARVEK_FUZZ_CHECK(sent == expected, detail + " sent " + sent);
    }
  }
  for (int input = 1; input <= kInputCount; ++input)
    for (int slot = 0; slot < kNumbersPerInput; ++slot) {
      const std::string& sent = send.port.exchanges[next++].sent;
      const std::string* answer = answerTo(readPort, codec::readPhoneCommand(input, slot));
      TARVEK_FUZZ_CHECK(answer != nullptr && !answer->empty(), detail);
      std::string number = answer->substr(0, answer->size() - 1);
      number.erase(number.find_last_not_of(' ') + 1);
      if (lines::isNotProgrammed(number)) continue;  // the line form cannot carry it
      std::string expected = "N" + std::to_string(input) + "W" + std::to_string(slot);
      if (!reducedFeatures) expected += answer->back() == '1' ? '1' : '0';
      expected += number;
      TARVEK_FUZZ_CHECK(sent == expected, detail + " sent " + sent);
    }
}

void readAll(fuzz::Input& in, std::uint8_t flags) {
  Bench bench;
  // The unit's answers come from the input in the order the read asks.
  const bool shortUnit = flags & 2;
  bench.port.responder = [&in, shortUnit](const std::string& command) -> std::optional<std::string> {
    const std::uint8_t length = in.done() ? kUnitAnswer : in.byte();
    if (length == kUnitAnswer) return unitAnswer(command, shortUnit);
    return in.text(length);
  };
  const int failingOpen = in.byte();
  const int failingRead = in.byte();
  bench.port.opens = [failingOpen](int number) { return number != failingOpen; };
  int reads = 0;
  bench.port.failsOnRead = [&reads, failingRead](const std::string&) { return ++reads == failingRead; };

  const Programming before = newProgramming();
  Programming record = before;
  const ReadResult result = connectAndRead(bench.link(), record);
  const auto messages = bench.prompts.texts();
  const std::string detail = transcript(bench.port);

  TARVEK_FUZZ_CHECK(bench.port.openCount == bench.port.closeCount && !bench.port.isOpen(), detail);
  TARVEK_FUZZ_CHECK(!bench.progress.open, detail);
  TARVEK_FUZZ_CHECK(messages.size() <= 1, detail);

  const std::string* greeting = answerTo(bench.port, "HI");
  switch (result.outcome) {
    case ConnectOutcome::PortNotOpened:
      TARVEK_FUZZ_CHECK(failingOpen == 1 && bench.port.exchanges.empty(), detail);
      TARVEK_FUZZ_CHECK(messages.size() == 1 && messages[0] == messages::kCommunicationsError, detail);
      TARVEK_FUZZ_CHECK(record == before && !result.greeted, detail);
      return;
    case ConnectOutcome::NotFound:
      TARVEK_FUZZ_CHECK(greeting != nullptr && *greeting != "OK" && messages.empty(), detail);
      TARVEK_FUZZ_CHECK(record == before && !result.greeted, detail);
      return;
    case ConnectOutcome::NotResponding:
      TARVEK_FUZZ_CHECK(messages.size() == 1 && messages[0] == messages::kNotResponding, detail);
      return;
    case ConnectOutcome::Finished:
      break;
  }
  TARVEK_FUZZ_CHECK(greeting != nullptr && *greeting == "OK" && result.greeted, detail);
  if (!messages.empty()) return;  // Finished part way, after its message

  // A read that ended without a message is complete, in the display forms, and in
  // the layout the phone answers asked for.
  TARVEK_FUZZ_CHECK(bench.port.exchanges.size() == 2 + 8 + 64, detail);
  checkCompleteRecord(record, detail);
  bool anyShort = false;
  for (const auto& exchange : bench.port.exchanges)
    if (exchange.sent[0] == 'N' && codec::endsWithCarriageReturn(exchange.answer)) anyShort = true;
  TARVEK_FUZZ_CHECK(bench.session.reducedFeatures == anyShort, detail);
  const std::string* global = answerTo(bench.port, "MR");
  TARVEK_FUZZ_CHECK(global != nullptr && result.greyHookswitch == codec::endsWithCarriageReturn(*global), detail);

  checkSendBack(record, bench.port, bench.session.reducedFeatures, detail);
}

void probe(fuzz::Input& in, std::uint8_t flags) {
  Bench bench;
  const bool shortUnit = flags & 2;
  const bool reducedBefore = flags & 4;
  bench.session.reducedFeatures = reducedBefore;
  bench.port.responder = [&in, shortUnit](const std::string& command) -> std::optional<std::string> {
    const std::uint8_t length = in.done() ? kUnitAnswer : in.byte();
    if (length == kUnitAnswer) return unitAnswer(command, shortUnit);
    return in.text(length);
  };
  const int failingOpen = in.byte();
  const int failingRead = in.byte();
  bench.port.opens = [failingOpen](int number) { return number != failingOpen; };
  int reads = 0;
  bench.port.failsOnRead = [&reads, failingRead](const std::string&) { return ++reads == failingRead; };

  const ProbeResult result = connectFromMain(bench.link());
  const auto messages = bench.prompts.texts();
  const std::string detail = transcript(bench.port);

  TARVEK_FUZZ_CHECK(bench.port.openCount == bench.port.closeCount && !bench.port.isOpen(), detail);
  TARVEK_FUZZ_CHECK(messages.size() <= 1, detail);
  const std::string* answer = answerTo(bench.port, codec::readPhoneCommand(1, 0));
  switch (result.outcome) {
    case ProbeOutcome::Online: {
      TARVEK_FUZZ_CHECK(answer != nullptr && messages.empty() && result.greeted, detail);
      const bool carriageReturn = codec::endsWithCarriageReturn(*answer);
      TARVEK_FUZZ_CHECK(carriageReturn || answer->size() == (reducedBefore ? 32u : 33u), detail);
      if (carriageReturn)
        TARVEK_FUZZ_CHECK(bench.session.reducedFeatures && bench.session.expectedAnswerLength == 32, detail);
      else
        TARVEK_FUZZ_CHECK(bench.session.reducedFeatures == reducedBefore, detail);
      break;
    }
    case ProbeOutcome::Failed:
      TARVEK_FUZZ_CHECK(messages.size() == 1 && result.greeted, detail);
      break;
    case ProbeOutcome::NotFound:
      TARVEK_FUZZ_CHECK(messages.empty() && !result.greeted, detail);
      break;
    case ProbeOutcome::PortNotOpened:
      TARVEK_FUZZ_CHECK(failingOpen == 1 && !result.greeted, detail);
      break;
    case ProbeOutcome::NotResponding:
      TARVEK_FUZZ_CHECK(messages.size() == 1 && messages[0] == messages::kNotResponding, detail);
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const std::uint8_t flags = in.byte();
  if (flags & 1)
    probe(in, flags);
  else
    readAll(in, flags);
  return 0;
}
