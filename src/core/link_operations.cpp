#include "core/link_operations.h"

#include "core/codec.h"
#include "core/display_lines.h"
#include "core/progress.h"
#include "core/prompts.h"
#include "core/record_check.h"
#include "core/serial_port.h"
#include "core/session.h"

namespace tarvek {

using namespace std::chrono_literals;

namespace {

constexpr std::chrono::milliseconds kRecordTimeout = 4000ms;
// A phone answer whose 32nd byte is a carriage return is a whole short-layout answer:
// waiting for a 33rd byte would only wait out the time-out.
constexpr AnswerEnd kShortPhoneAnswerEnd{32, '\r'};

void communicationsError(const Link& link) {
  link.prompts.inform(messages::kCommunicationsError, link.port.openFailure());
}

// Closes the progress screen when the operation ends, on every path.
class ProgressCloser {
 public:
  explicit ProgressCloser(Progress& progress) : m_progress(progress) {}
  ~ProgressCloser() { m_progress.closeProgress(); }
  ProgressCloser(const ProgressCloser&) = delete;
  ProgressCloser& operator=(const ProgressCloser&) = delete;

 private:
  Progress& m_progress;
};

enum class Greeting { PortNotOpened, NotAnswered, Answered };

Greeting greet(const Link& link, std::chrono::milliseconds timeout) {
  const auto answer = exchange(link.port, "HI", 2, timeout);
  if (!answer) return Greeting::PortNotOpened;
  return *answer == "OK" ? Greeting::Answered : Greeting::NotAnswered;
}

// The length check of a phone-number answer; a final carriage return switches the
// reads to the short layout instead.
bool acceptPhoneAnswer(Session& session, const std::string& answer) {
  if (codec::endsWithCarriageReturn(answer)) {
    session.expectedAnswerLength = 32;
    session.reducedFeatures = true;
    return true;
  }
  const std::size_t expected = session.reducedFeatures ? 32 : 33;
  return answer.size() == expected;
}

// Reads the Global settings, the inputs and the phone numbers; returns when done or
// after the message of a failure.
void readProgramming(const Link& link, Programming& record, ReadResult& result) {
  Session& session = link.session;
  link.progress.setProgress(10);
  session.expectedAnswerLength = 20;

  const auto global = exchange(link.port, "MR", 20, kRecordTimeout);
  if (!global) return communicationsError(link);
  if (codec::endsWithCarriageReturn(*global)) session.reducedFeatures = true;
  codec::decodeGlobal(*global, session.reducedFeatures, record.global);
  result.greyHookswitch = session.reducedFeatures;
  link.progress.setProgress(20);

  record.inputSpecs.clear();
  for (int input = 1; input <= kInputCount; ++input) {
    const auto answer = exchange(link.port, codec::readInputCommand(input), 10, kRecordTimeout);
    if (!answer) return communicationsError(link);
    record.inputSpecs.push_back(lines::header(input));
    record.inputSpecs.emplace_back();
    codec::appendInputFields(*answer, record.inputSpecs);
    record.inputSpecs.emplace_back();
  }

  record.phoneNumbers.clear();
  session.expectedAnswerLength = 33;
  session.reducedFeatures = false;
  for (int input = 1; input <= kInputCount; ++input) {
    link.progress.setProgress(20 + 10 * input);
    record.phoneNumbers.push_back(lines::header(input));
    record.phoneNumbers.emplace_back();
    for (int slot = 0; slot < kNumbersPerInput; ++slot) {
      const auto answer =
          exchange(link.port, codec::readPhoneCommand(input, slot),
                   static_cast<std::size_t>(session.expectedAnswerLength), kRecordTimeout, kShortPhoneAnswerEnd);
      if (!answer) return communicationsError(link);
      if (!acceptPhoneAnswer(session, *answer)) return link.prompts.inform(messages::kPhoneNumbersError);
      record.phoneNumbers.push_back(codec::phoneLineFromAnswer(slot + 1, *answer));
    }
    record.phoneNumbers.emplace_back();
  }
}

// Sends one command; false (after its message) when it did not go through.
bool sendCommand(const Link& link, const std::string& command, SendOutcome& outcome) {
  const auto answer = exchange(link.port, command, 2, kRecordTimeout);
  if (!answer) {
    communicationsError(link);
    outcome = SendOutcome::PortNotOpened;
    return false;
  }
  if (*answer != "OK") {
    link.prompts.inform(messages::kNotVerified);
    outcome = SendOutcome::NotVerified;
    return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> exchange(SerialPort& port, const std::string& command, std::size_t readLength,
                                    std::chrono::milliseconds timeout, std::optional<AnswerEnd> end) {
  PortCloser closer(port);
  if (!port.open()) return std::nullopt;
  port.transmit(command);
  return port.read(readLength, timeout, end);
}

ReadResult connectAndRead(const Link& link, Programming& record) {
  Session& session = link.session;
  ReadResult result;
  session.reducedFeatures = false;
  DevicePin pin(link.port, session.portNumber);
  try {
    const Greeting greeting = greet(link, 2000ms);
    if (greeting == Greeting::PortNotOpened) {
      communicationsError(link);
      result.outcome = ConnectOutcome::PortNotOpened;
      return result;
    }
    if (greeting == Greeting::NotAnswered) {
      result.outcome = ConnectOutcome::NotFound;
      return result;
    }
    result.greeted = true;
    link.progress.showProgress(ProgressKind::Loading);
    ProgressCloser closer(link.progress);
    readProgramming(link, record, result);
  } catch (const LinkError&) {
    link.prompts.inform(messages::kNotResponding);
    result.outcome = ConnectOutcome::NotResponding;
  } catch (const codec::DecodeError&) {
    link.prompts.inform(messages::kNotResponding);
    result.outcome = ConnectOutcome::NotResponding;
  }
  return result;
}

ProbeResult connectFromMain(const Link& link) {
  Session& session = link.session;
  ProbeResult result;
  DevicePin pin(link.port, session.portNumber);
  try {
    const Greeting greeting = greet(link, 4000ms);
    if (greeting == Greeting::PortNotOpened) {
      communicationsError(link);
      result.outcome = ProbeOutcome::PortNotOpened;
      return result;
    }
    if (greeting == Greeting::NotAnswered) {
      result.outcome = ProbeOutcome::NotFound;
      return result;
    }
    result.greeted = true;
    session.expectedAnswerLength = 33;
    const auto probe = exchange(link.port, codec::readPhoneCommand(1, 0),
                                static_cast<std::size_t>(session.expectedAnswerLength), 2000ms, kShortPhoneAnswerEnd);
    if (!probe) {
      communicationsError(link);
      result.outcome = ProbeOutcome::Failed;
    } else if (!acceptPhoneAnswer(session, *probe)) {
      link.prompts.inform(messages::kPhoneNumbersError);
      result.outcome = ProbeOutcome::Failed;
    }
  } catch (const LinkError&) {
    link.prompts.inform(messages::kNotResponding);
    result.outcome = ProbeOutcome::NotResponding;
  }
  return result;
}

void signOff(SerialPort& port, int portNumber, std::size_t answerLength) {
  DevicePin pin(port, portNumber);
  try {
    PortCloser closer(port);
    if (!port.open()) return;
    port.transmit("BY");
    port.read(answerLength, 1000ms, std::nullopt);
  } catch (const LinkError&) {
    // The program ends whatever happens to the sign-off.
  }
}

SendOutcome sendProgramming(const Link& link, const Programming& record) {
  Session& session = link.session;
  // A partly read record would overwrite the unit's settings with blanks; a value the
  // editors would refuse could be cut, or refused by the unit half way through.
  const auto problems = entry::checkRecord(record, session.reducedFeatures);
  if (!isComplete(record)) {
    link.prompts.inform(messages::kIncomplete, entry::problemList(problems));
    return SendOutcome::Refused;
  }
  if (!codec::encodeGlobal(record.global, session.reducedFeatures)) {
    link.prompts.inform(messages::kNoFunction);
    return SendOutcome::Refused;
  }
  if (!problems.empty()) {
    link.prompts.inform(messages::kOutOfRange, entry::problemList(problems));
    return SendOutcome::Refused;
  }
  const Answer answer = link.prompts.show(
      Message{messages::kOverwriteQuestion, messages::kOverwriteTitle, Buttons::YesNoCancel, Icon::Question, {}});
  if (answer != Answer::Yes) return SendOutcome::Declined;

  SendOutcome outcome = SendOutcome::Sent;
  DevicePin pin(link.port, session.portNumber);
  try {
    link.progress.showProgress(ProgressKind::Sending);
    ProgressCloser closer(link.progress);

    if (!sendCommand(link, *codec::encodeGlobal(record.global, session.reducedFeatures), outcome)) return outcome;
    link.progress.setProgress(10);

    for (int input = 1; input <= kInputCount; ++input) {
      const auto first = record.inputSpecs.begin() +
                         std::min<std::ptrdiff_t>(lines::inputFieldIndex(input), std::ssize(record.inputSpecs));
      const auto last = first + std::min<std::ptrdiff_t>(6, record.inputSpecs.end() - first);
      if (!sendCommand(link, codec::encodeInput(input, std::vector<std::string>(first, last)), outcome)) return outcome;
    }

    for (int input = 1; input <= kInputCount; ++input) {
      link.progress.setProgress(10 * (input + 1));
      for (int slot = 0; slot < kNumbersPerInput; ++slot) {
        const auto index = static_cast<std::size_t>(lines::phoneLineIndex(input, slot + 1));
        const std::string line = index < record.phoneNumbers.size() ? record.phoneNumbers[index] : std::string();
        if (!sendCommand(link, codec::encodePhone(input, slot, line, session.reducedFeatures), outcome)) return outcome;
      }
    }
    link.progress.setProgress(100);
  } catch (const LinkError&) {
    link.prompts.inform(messages::kNotResponding);
    return SendOutcome::NotResponding;
  }
  link.prompts.inform(messages::kSent);
  return SendOutcome::Sent;
}

}  // namespace tarvek
