#include "core/link_operations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "core/session.h"
#include "support/record_printers.h"
#include "support/recording_progress.h"
#include "support/sample_records.h"
#include "support/scripted_port.h"
#include "support/scripted_prompts.h"

namespace tarvek {
namespace {

using namespace std::chrono_literals;
using test::edited;
using test::setGlobal;
using test::setPhone;
using Answers = std::optional<std::string>;

std::string padded(const std::string& number, std::size_t width) {
  return number + std::string(width - number.size(), ' ');
}

// A unit in its factory state on port 5 of a scripted port; `answers` overrides what it
// says to a command (nullopt: nothing).
struct Bench {
  Bench() {
    session.portNumber = 5;
    port.responder = [this](const std::string& command) -> Answers {
      if (const auto it = answers.find(command); it != answers.end()) return it->second;
      if (command == "MR") return global;
      if (command.size() == 3 && command[0] == 'I' && command[2] == 'R') return std::string("000201\0\0\0\0", 10);
      if (command.size() == 4 && command[0] == 'N' && command[2] == 'R')
        return shortLayout ? padded("", 31) + "\r" : padded("", 32) + "0";
      return std::string("OK");
    };
  }
  Link link() { return {port, session, prompts, progress}; }
  ReadResult connect() { return connectAndRead(link(), record); }
  SendOutcome send() { return sendProgramming(link(), record); }
  std::vector<std::string> sent() const {
    std::vector<std::string> commands;
    for (const auto& exchange : port.exchanges) commands.push_back(exchange.sent);
    return commands;
  }
  // "command/read length/time-out" of each exchange.
  std::string exchanges() const {
    std::string text;
    for (const auto& e : port.exchanges)
      text += (text.empty() ? "" : " ") + e.sent + "/" + std::to_string(e.readLength) + "/" +
              std::to_string(e.timeout.count());
    return text;
  }

  std::map<std::string, Answers> answers;
  std::string global = "05072313906181060000";
  bool shortLayout = false;
  Programming record;
  test::ScriptedPort port;
  Session session;
  test::ScriptedPrompts prompts;
  test::RecordingProgress progress;
};

// Whatever happened, the port is closed after every opening and released, and the
// progress screen is closed.
void expectTidy(const Bench& b, const std::string& name) {
  EXPECT_FALSE(b.port.isOpen()) << name;
  EXPECT_EQ(b.port.openCount, b.port.closeCount) << name;
  EXPECT_TRUE(b.port.calls.empty() || b.port.calls.back() == "unpin") << name;
  EXPECT_FALSE(b.progress.open) << name;
  for (const Message& message : b.prompts.shown)
    EXPECT_TRUE(message.text != messages::kCommunicationsError || message.detail == b.port.openFailure()) << name;
}

// What a unit does differently in a row of a table.
using Arrange = std::function<void(Bench&)>;
Arrange says(std::string command, Answers answer) {
  return [=](Bench& b) { b.answers[command] = answer; };
}
Arrange opens(int openings) {
  return [=](Bench& b) { b.port.opens = [=](int n) { return n <= openings; }; };
}
Arrange diesAt(std::string command) {  // the port fails reading the answer to it
  return [=](Bench& b) { b.port.failsOnRead = [=](const std::string& sent) { return sent == command; }; };
}
Arrange shortUnit() {
  return [](Bench& b) { b.shortLayout = true; };
}

const std::vector<std::string> kEveryTenth{"10", "20", "30", "40", "50", "60", "70", "80", "90", "100", "close"};

std::vector<std::string> progressOf(const char* shown) {
  std::vector<std::string> events{shown};
  events.insert(events.end(), kEveryTenth.begin(), kEveryTenth.end());
  return events;
}

TEST(LinkOperations, ConnectReadsTheWholeProgrammingCommandByCommand) {
  Bench b;
  b.answers["N2R2"] = padded("9,555", 32) + "1";
  const ReadResult result = b.connect();
  EXPECT_EQ(result.outcome, ConnectOutcome::Finished);
  std::vector<std::string> commands{"HI", "MR"};
  for (int input = 1; input <= 8; ++input) commands.push_back("I" + std::to_string(input) + "R");
  for (int input = 1; input <= 8; ++input)
    for (int slot = 0; slot < 8; ++slot) commands.push_back("N" + std::to_string(input) + "R" + std::to_string(slot));
  EXPECT_EQ(b.sent(), commands);
  for (const auto& exchange : b.port.exchanges) {
    const std::string& c = exchange.sent;
    EXPECT_EQ(exchange.port, 5);
    EXPECT_EQ(exchange.readLength, c == "HI" ? 2u : c == "MR" ? 20u : c[0] == 'I' ? 10u : 33u) << c;
    EXPECT_EQ(exchange.timeout, c == "HI" ? 2000ms : 4000ms) << c;
  }
  // One device for the whole read, opened before and closed after every exchange.
  EXPECT_EQ(std::vector<std::string>(b.port.calls.begin(), b.port.calls.begin() + 6),
            (std::vector<std::string>{"pin 5", "open 5", "transmit HI", "read 2 2000", "close", "open 5"}));
  EXPECT_EQ(b.port.openCount, 74);
  expectTidy(b, "read");

  Programming expected = newProgramming();
  for (int input = 1; input <= 8; ++input)
    for (int slot = 1; slot <= 8; ++slot)
      expected.phoneNumbers[lines::phoneLineIndex(input, slot)] = lines::notProgrammed(slot, 7);
  expected.phoneNumbers[lines::phoneLineIndex(2, 3)] = " P (3) 9,555";
  EXPECT_EQ(b.record, expected);
  EXPECT_TRUE(b.session.online);
  EXPECT_FALSE(b.session.reducedFeatures);
  EXPECT_FALSE(result.greyHookswitch);
  EXPECT_TRUE(b.prompts.shown.empty());
  EXPECT_EQ(b.progress.events, progressOf("show Loading"));
}

TEST(LinkOperations, ConnectStopsAtEachFailureWithItsMessage) {
  using enum ConnectOutcome;
  const struct {
    const char* name;
    Arrange arrange;
    ConnectOutcome outcome;
    std::string message;
    std::size_t sent, specs, numbers;  // commands sent; lines read into the two lists
  } rows[] = {
      {"greeting in lower case", says("HI", "ok"), NotFound, "", 1, 0, 0},
      {"greeting cut short", says("HI", "O"), NotFound, "", 1, 0, 0},
      {"no greeting", says("HI", std::nullopt), NotFound, "", 1, 0, 0},
      {"port does not open", opens(0), PortNotOpened, "Communications error", 0, 0, 0},
      {"port stops opening at I4R", opens(5), Finished, "Communications error", 5, 27, 0},
      {"a phone answer of 32 characters without a carriage return", says("N1R1", padded("555", 32)), Finished,
       "Communications error- unable to load phone numbers for display", 12, 72, 3},
      {"an input answer short of a timer byte", says("I2R", std::string("000201\x10\x0e\0", 9)), NotResponding,
       "The Tarvek is not responding", 4, 14, 0},
      {"the port failing mid-read", diesAt("N4R2"), NotResponding, "The Tarvek is not responding", 37, 72, 37},
  };
  for (const auto& row : rows) {
    Bench b;
    row.arrange(b);
    EXPECT_EQ(b.connect().outcome, row.outcome) << row.name;
    EXPECT_EQ(b.prompts.lastText(), row.message) << row.name;
    EXPECT_LE(b.prompts.shown.size(), 1u) << row.name;
    EXPECT_EQ(b.port.exchanges.size(), row.sent) << row.name;
    EXPECT_EQ(b.record.inputSpecs.size(), row.specs) << row.name;
    EXPECT_EQ(b.record.phoneNumbers.size(), row.numbers) << row.name;
    const bool greeted = row.outcome == Finished || row.outcome == NotResponding;
    EXPECT_EQ(b.session.online, greeted) << row.name;
    EXPECT_EQ(b.session.callerName, greeted ? "" : "Select") << row.name;
    EXPECT_EQ(b.progress.events.empty(), !greeted) << row.name;
    expectTidy(b, row.name);
  }
}

TEST(LinkOperations, ACarriageReturnSwitchesToTheShortLayout) {
  // From the first phone answer that ends with one, the phone reads take 32 characters.
  Bench b;
  b.shortLayout = true;
  b.answers["N3R4"] = padded("*70,555", 31) + "\r";
  EXPECT_EQ(b.connect().outcome, ConnectOutcome::Finished);
  EXPECT_TRUE(b.prompts.shown.empty());
  EXPECT_TRUE(b.session.reducedFeatures);
  EXPECT_EQ(b.session.expectedAnswerLength, 32);
  for (const auto& exchange : b.port.exchanges) {
    EXPECT_TRUE(exchange.sent[0] != 'N' || exchange.readLength == (exchange.sent == "N1R0" ? 33u : 32u))
        << exchange.sent;
  }
  EXPECT_EQ(b.record.phoneNumbers[lines::phoneLineIndex(3, 5)], "   (5) *70,555");

  // A Global answer that ends with one decides the Global layout alone: the phone
  // answers of 33 characters clear the flag again.
  Bench g;
  g.global = "0123456654321210030\r";
  EXPECT_TRUE(g.connect().greyHookswitch);
  EXPECT_EQ(g.record.global.hookswitchFlash, "Disabled");
  EXPECT_EQ(g.record.global.forcedPlayTimer, "30");
  EXPECT_FALSE(g.session.reducedFeatures);
  EXPECT_EQ(g.port.exchanges[10].readLength, 33u);
}

TEST(LinkOperations, ConnectFromTheMainScreenGreetsAndProbesThePhoneFormat) {
  using enum ProbeOutcome;
  const char* const probed = "HI/2/4000 N1R0/33/2000";
  const char* const nothingSaid = "";
  const struct {
    const char* name;
    Arrange arrange;
    ProbeOutcome outcome;
    const char* message;
    const char* exchanges;
    bool online, reduced;
  } rows[] = {
      {"a full unit", {}, Online, nothingSaid, probed, true, false},
      {"a short unit", shortUnit(), Online, nothingSaid, probed, true, true},
      {"port", opens(0), PortNotOpened, "Communications error", "", false, false},
      {"greeting", says("HI", "O"), NotFound, nothingSaid, "HI/2/4000", false, false},
      {"probe port", opens(1), Failed, "Communications error", "HI/2/4000", true, false},
      {"probe length", says("N1R0", "0"), Failed, "Communications error- unable to load phone numbers for display",
       probed, true, false},
      {"dead port", diesAt("N1R0"), NotResponding, "The Tarvek is not responding", probed, true, false},
  };
  for (const auto& row : rows) {
    Bench b;
    if (row.arrange) row.arrange(b);
    EXPECT_EQ(connectFromMain(b.link()), row.outcome) << row.name;
    EXPECT_EQ(b.prompts.lastText(), row.message) << row.name;
    EXPECT_EQ(b.exchanges(), row.exchanges) << row.name;
    EXPECT_EQ(b.session.online, row.online) << row.name;
    EXPECT_EQ(b.session.reducedFeatures, row.reduced) << row.name;
    EXPECT_EQ(b.session.callerName, row.outcome == PortNotOpened || row.outcome == NotFound ? "Main" : "") << row.name;
    expectTidy(b, row.name);
  }
  // A unit already known to be short answers 32 characters without a carriage return.
  Bench b;
  b.session.reducedFeatures = true;
  b.answers["N1R0"] = padded("", 31) + "0";
  EXPECT_EQ(connectFromMain(b.link()), Online);
  EXPECT_TRUE(b.session.reducedFeatures);
}

TEST(LinkOperations, SignOffSendsByeAndIgnoresEverything) {
  Bench b;
  signOff(b.port, 2);
  EXPECT_EQ(b.port.calls,
            (std::vector<std::string>{"pin 2", "open 2", "transmit BY", "read 10 1000", "close", "unpin"}));
  Bench closed;
  closed.port.opens = [](int) { return false; };
  signOff(closed.port, 2);
  EXPECT_TRUE(closed.port.exchanges.empty());
  Bench dead;
  dead.port.failsOnRead = [](const std::string&) { return true; };
  signOff(dead.port, 2);
  expectTidy(dead, "dead");
}

// A fault of this program inside an operation is not a unit that stopped answering.
TEST(LinkOperations, AFaultOfTheProgramGoesOnToTheCaller) {
  const std::pair<const char*, std::function<void(Bench&)>> operations[] = {
      {"connect", [](Bench& b) { b.connect(); }},
      {"Main connect", [](Bench& b) { connectFromMain(b.link()); }},
      {"send", [](Bench& b) { b.send(); }},
      {"sign-off", [](Bench& b) { signOff(b.port, 5); }},
  };
  for (const auto& [name, run] : operations) {
    Bench b;
    b.record = newProgramming();
    b.prompts.answers = {Answer::Yes};
    b.port.responder = [](const std::string& command) -> Answers {
      if (command == "HI") return "OK";
      throw std::out_of_range("a fault of the program");
    };
    EXPECT_THROW(run(b), std::out_of_range) << name;
    expectTidy(b, name);
    const auto texts = b.prompts.texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), messages::kNotResponding), 0) << name;
  }
}

TEST(LinkOperations, SendAsksThenWritesTheSeventyThreeCommandsInOrder) {
  Bench b;
  b.record = edited({setPhone(2, 3, " P (3) 9,555")});
  b.session.online = true;
  b.session.expectedAnswerLength = 33;
  b.prompts.answers = {Answer::Yes};
  EXPECT_EQ(b.send(), SendOutcome::Sent);
  ASSERT_EQ(b.prompts.shown.size(), 2u);
  const Message& question = b.prompts.shown[0];
  EXPECT_EQ(question.text, "This will write over what is in the Tarvek's memory now.  Continue? ");
  EXPECT_EQ(question.title, "Overwrite");
  EXPECT_EQ(question.buttons, Buttons::YesNoCancel);
  EXPECT_EQ(question.icon, Icon::Question);
  EXPECT_EQ(b.prompts.shown[1].text, "Successful data transmission");

  std::vector<std::string> expected{"MW05072313906181060000"};
  for (int input = 1; input <= 8; ++input) expected.push_back("I" + std::to_string(input) + "W000201000000000000");
  for (int input = 1; input <= 8; ++input)
    for (int slot = 0; slot < 8; ++slot)
      expected.push_back("N" + std::to_string(input) + "W" + std::to_string(slot) + "0");
  expected[1 + 8 + 8 + 2] = "N2W219,555";
  EXPECT_EQ(b.sent(), expected);
  for (const auto& exchange : b.port.exchanges) {
    EXPECT_EQ(exchange.port, 5);
    EXPECT_EQ(exchange.readLength, 2u);
    EXPECT_EQ(exchange.timeout, 4000ms);
  }
  EXPECT_EQ(b.port.openCount, 73);
  EXPECT_EQ(b.progress.events, progressOf("show Sending"));
  expectTidy(b, "send");
  // Sending leaves the session as it was.
  EXPECT_TRUE(b.session.online);
  EXPECT_FALSE(b.session.reducedFeatures);
  EXPECT_EQ(b.session.expectedAnswerLength, 33);

  // The short layout carries neither Hookswitch Flash nor pager digits.
  Bench s;
  s.record = edited({setPhone(2, 3, "   (3) 9,555")});
  s.session.reducedFeatures = true;
  s.prompts.answers = {Answer::Yes};
  EXPECT_EQ(s.send(), SendOutcome::Sent);
  EXPECT_EQ(s.sent()[0], "MW0507231390618106000");
  EXPECT_EQ(s.sent()[1 + 8 + 8 + 2], "N2W29,555");
  EXPECT_EQ(s.sent().back(), "N8W7");
  EXPECT_TRUE(s.session.reducedFeatures);
}

// Refused before the question: a partly read record would overwrite the unit's numbers
// with blanks; a value the editors would refuse could be cut, or refused half way through.
TEST(LinkOperations, SendRefusesOrStopsAtTheFirstCommandNotAnsweredOk) {
  using enum SendOutcome;
  using namespace messages;
  const auto edit = [](test::Edit change) { return [=](Bench& b) { change(b.record); }; };
  const struct {
    const char* name;
    Arrange arrange;
    SendOutcome outcome;
    const char* message;  // after the Overwrite question, unless refused
    std::size_t sent;
    std::string detail;  // of the refusal
  } rows[] = {
      {"No", [](Bench& b) { b.prompts.answers = {Answer::No}; }, Declined, nullptr, 0, ""},
      {"Cancel", [](Bench& b) { b.prompts.answers = {Answer::Cancel}; }, Declined, nullptr, 0, ""},
      {"MW refused", says("MW05072313906181060000", "ER"), NotVerified, kNotVerified, 1, ""},
      {"I4W refused", says("I4W000201000000000000", "ER"), NotVerified, kNotVerified, 5, ""},
      {"the last refused", says("N8W70", "ER"), NotVerified, kNotVerified, 73, ""},
      {"ok in lower case", says("I1W000201000000000000", "ok"), NotVerified, kNotVerified, 2, ""},
      {"O", says("I1W000201000000000000", "O"), NotVerified, kNotVerified, 2, ""},
      {"no answer", says("I1W000201000000000000", std::nullopt), NotVerified, kNotVerified, 2, ""},
      {"port does not open", opens(0), PortNotOpened, kCommunicationsError, 0, ""},
      {"port stops opening after MW", opens(1), PortNotOpened, kCommunicationsError, 1, ""},
      {"port stops opening at N3W5", opens(30), PortNotOpened, kCommunicationsError, 30, ""},
      {"dead port", diesAt("N5W30"), NotResponding, kNotResponding, 45, ""},
      {"no Function", edit(setGlobal(&GlobalSettings::function, "")), Refused, kNoFunction, 0, ""},
      {"a timer past 18 hours", edit(test::setField(1, lines::Field::QualifierTimer, "Hrs 99 Min 00 Sec 00")), Refused,
       kOutOfRange, 0, "Input 1, Qualifier Timer: \"Hrs 99 Min 00 Sec 00\""},
      {"a pager mark to a short unit", [](Bench& b) { b.session.reducedFeatures = true; }, Refused, kOutOfRange, 0,
       "Input 2 number 3, Pager: \"P\""},
      {"a read that stopped part way", edit(test::resizeList(&Programming::phoneNumbers, 70)), Refused, kIncomplete, 0,
       "Input 7, Phone Numbers: missing\nInput 8, Phone Numbers: missing"},
  };
  for (const auto& row : rows) {
    Bench b;
    b.record = edited({setPhone(2, 3, " P (3) 9,555")});
    b.prompts.answers = {Answer::Yes};
    row.arrange(b);
    EXPECT_EQ(b.send(), row.outcome) << row.name;
    std::vector<std::string> texts;
    if (row.outcome != Refused) texts.push_back(kOverwriteQuestion);
    if (row.message) texts.push_back(row.message);
    EXPECT_EQ(b.prompts.texts(), texts) << row.name;
    EXPECT_TRUE(row.outcome != Refused || b.prompts.shown.back().detail == row.detail) << row.name;
    EXPECT_EQ(b.port.exchanges.size(), row.sent) << row.name;
    EXPECT_EQ(b.port.calls.empty(), row.outcome == Declined || row.outcome == Refused) << row.name;
    EXPECT_EQ(b.progress.events.empty(), b.port.calls.empty()) << row.name;
    expectTidy(b, row.name);
  }
}

}  // namespace
}  // namespace tarvek
