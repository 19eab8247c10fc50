#include "core/link_operations.h"

#include <gtest/gtest.h>

#include <map>

#include "core/codec.h"
#include "core/display_lines.h"
#include "core/session.h"
#include "support/record_printers.h"
#include "support/recording_progress.h"
#include "support/scripted_port.h"
#include "support/scripted_prompts.h"

namespace tarvek {
namespace {

using namespace std::chrono_literals;
using test::RecordingProgress;
using test::ScriptedPort;
using test::ScriptedPrompts;

std::string padded(const std::string& number, std::size_t width) {
  return number + std::string(width - number.size(), ' ');
}

// A unit in its factory state with a few numbers, answering every read.
struct Unit {
  std::string global = "05072313906181060000";
  std::map<std::string, std::string> overrides;  // command -> answer
  bool shortLayout = false;

  std::optional<std::string> answer(const std::string& command) const {
    if (auto it = overrides.find(command); it != overrides.end()) return it->second;
    if (command == "HI" || command.starts_with("MW") || command == "BY") return std::string("OK");
    if (command == "MR") return global;
    if (command.size() == 3 && command[0] == 'I' && command[2] == 'R')
      return std::string("000201") + '\0' + '\0' + '\0' + '\0';
    if (command.size() == 4 && command[0] == 'N' && command[2] == 'R')
      return shortLayout ? padded("", 31) + "\r" : padded("", 32) + "0";
    if (command[0] == 'I' || command[0] == 'N') return std::string("OK");
    return std::nullopt;
  }
};

struct Bench {
  Bench() {
    port.responder = [this](const std::string& command) { return unit.answer(command); };
    session.portNumber = 5;
  }

  Link link() { return Link{port, session, prompts, progress}; }

  std::vector<std::string> sent() const {
    std::vector<std::string> commands;
    for (const auto& exchange : port.exchanges) commands.push_back(exchange.sent);
    return commands;
  }

  Unit unit;
  ScriptedPort port;
  Session session;
  ScriptedPrompts prompts;
  RecordingProgress progress;
};

std::vector<std::string> readSequence() {
  std::vector<std::string> commands{"HI", "MR"};
  for (int input = 1; input <= 8; ++input) commands.push_back(codec::readInputCommand(input));
  for (int input = 1; input <= 8; ++input)
    for (int slot = 0; slot < 8; ++slot) commands.push_back(codec::readPhoneCommand(input, slot));
  return commands;
}

struct Fixture : Bench, ::testing::Test {};

using Connect = Fixture;

TEST_F(Connect, ReadsEverythingInOrderWithItsLengthsAndTimeouts) {
  unit.overrides["N2R2"] = padded("9,555", 32) + "1";
  Programming record;
  const ReadResult result = connectAndRead(link(), record);

  EXPECT_EQ(result.outcome, ConnectOutcome::Finished);
  EXPECT_EQ(sent(), readSequence());
  for (const auto& exchange : port.exchanges) {
    EXPECT_EQ(exchange.port, 5);
    const std::size_t length = exchange.sent == "HI"     ? 2
                               : exchange.sent == "MR"   ? 20
                               : exchange.sent[0] == 'I' ? 10
                                                         : 33;
    EXPECT_EQ(exchange.readLength, length) << exchange.sent;
    EXPECT_EQ(exchange.timeout, exchange.sent == "HI" ? 2000ms : 4000ms) << exchange.sent;
  }
  // One device for the whole operation; opened before and closed after every exchange.
  EXPECT_EQ(port.openCount, 74);
  EXPECT_EQ(port.closeCount, 74);
  EXPECT_EQ(port.calls[0], "pin 5");
  EXPECT_EQ(port.calls[1], "open 5");
  EXPECT_EQ(port.calls[4], "close");
  EXPECT_EQ(port.calls[5], "open 5");
  EXPECT_EQ(port.calls.back(), "unpin");

  Programming expected = newProgramming();
  for (int input = 1; input <= 8; ++input)
    for (int slot = 1; slot <= 8; ++slot)
      expected.phoneNumbers[lines::phoneLineIndex(input, slot)] = lines::notProgrammed(slot, 7);
  expected.phoneNumbers[lines::phoneLineIndex(2, 3)] = " P (3) 9,555";
  expected.global.ringbackLimit = "6";
  EXPECT_EQ(record, expected);

  EXPECT_TRUE(session.online);
  EXPECT_FALSE(session.reducedFeatures);
  EXPECT_FALSE(result.greyHookswitch);
  EXPECT_TRUE(prompts.shown.empty());
  const std::vector<std::string> steps{"show Loading", "10", "20", "30", "40",  "50",
                                       "60",           "70", "80", "90", "100", "close"};
  EXPECT_EQ(progress.events, steps);
}

TEST_F(Connect, GreetingAnswersThatCountAsNoTarvek) {
  for (const std::optional<std::string>& answer : {std::optional<std::string>("ok"), std::optional<std::string>("O"),
                                                   std::optional<std::string>(), std::optional<std::string>("KO")}) {
    Bench f;
    f.unit.overrides.clear();
    f.port.responder = [&](const std::string&) { return answer; };
    Programming record;
    EXPECT_EQ(connectAndRead(f.link(), record).outcome, ConnectOutcome::NotFound);
    EXPECT_EQ(f.session.callerName, "Select");
    EXPECT_FALSE(f.session.online);
    EXPECT_EQ(f.port.exchanges.size(), 1u);
    EXPECT_EQ(f.port.closeCount, 1);
    EXPECT_TRUE(f.prompts.shown.empty());
    EXPECT_TRUE(f.progress.events.empty());
  }
}

TEST_F(Connect, ExtraCharactersAfterOkAreNeverRead) {
  unit.overrides["HI"] = "OKAY";
  Programming record;
  EXPECT_EQ(connectAndRead(link(), record).outcome, ConnectOutcome::Finished);
}

TEST_F(Connect, APortThatDoesNotOpenNeverSendsTheGreeting) {
  port.opens = [](int) { return false; };
  Programming record;
  EXPECT_EQ(connectAndRead(link(), record).outcome, ConnectOutcome::PortNotOpened);
  EXPECT_TRUE(port.exchanges.empty());
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Communications error"});
  EXPECT_FALSE(prompts.shown[0].detail.empty());
  EXPECT_EQ(session.callerName, "Select");
  EXPECT_FALSE(port.isOpen());
}

TEST_F(Connect, APortThatStopsOpeningFinishesWithWhatWasRead) {
  // Greeting, MR, I1R to I3R open; the fourth input read does not.
  port.opens = [](int n) { return n <= 5; };
  Programming record;
  EXPECT_EQ(connectAndRead(link(), record).outcome, ConnectOutcome::Finished);
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Communications error"});
  EXPECT_EQ(record.inputSpecs.size(), 27u);
  EXPECT_TRUE(record.phoneNumbers.empty());
  EXPECT_EQ(record.global.function, "Alarm Dialer");
  EXPECT_EQ(progress.events.back(), "close");
}

TEST_F(Connect, AWrongPhoneLengthStopsTheRead) {
  unit.overrides["N1R1"] = padded("555", 32);  // 32 characters, no carriage return
  Programming record;
  EXPECT_EQ(connectAndRead(link(), record).outcome, ConnectOutcome::Finished);
  EXPECT_EQ(prompts.texts(),
            std::vector<std::string>{"Communications error- unable to load phone numbers for display"});
  EXPECT_EQ(record.phoneNumbers, (std::vector<std::string>{"Input 1", "", "   (1)       Not Programmed"}));
  EXPECT_EQ(sent().back(), "N1R1");
}

TEST_F(Connect, ACarriageReturnAnswerSwitchesTheReadsTo32) {
  unit.shortLayout = true;
  unit.overrides["N3R4"] = padded("*70,555", 31) + "\r";
  Programming record;
  const ReadResult result = connectAndRead(link(), record);
  EXPECT_EQ(result.outcome, ConnectOutcome::Finished);
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_TRUE(session.reducedFeatures);
  EXPECT_EQ(session.expectedAnswerLength, 32);
  for (const auto& exchange : port.exchanges) {
    if (exchange.sent[0] != 'N') continue;
    EXPECT_EQ(exchange.readLength, exchange.sent == "N1R0" ? 33u : 32u) << exchange.sent;
    EXPECT_EQ(exchange.waited, 0ms) << exchange.sent;  // none waits for a 33rd byte
  }
  EXPECT_EQ(record.phoneNumbers[lines::phoneLineIndex(3, 5)], "   (5) *70,555");
  for (const auto& line : record.phoneNumbers) EXPECT_FALSE(lines::hasPagerMark(line)) << line;
}

TEST_F(Connect, AShortGlobalAnswerDecidesOnlyTheGlobalLayout) {
  unit.global = "0123456654321210030\r";
  Programming record;
  const ReadResult result = connectAndRead(link(), record);
  EXPECT_TRUE(result.greyHookswitch);
  EXPECT_EQ(record.global.hookswitchFlash, "Disabled");
  EXPECT_EQ(record.global.forcedPlayTimer, "30");
  // The phone answers were 33 characters long: the flag ends cleared.
  EXPECT_FALSE(session.reducedFeatures);
  EXPECT_EQ(port.exchanges[10].readLength, 33u);
}

TEST_F(Connect, AnInputRecordTooShortIsNotResponding) {
  unit.overrides["I2R"] = "000201\x10\x0e\x00";
  Programming record;
  EXPECT_EQ(connectAndRead(link(), record).outcome, ConnectOutcome::NotResponding);
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{"The Tarvek is not responding"});
  EXPECT_EQ(progress.events.back(), "close");
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(port.openCount, port.closeCount);
  EXPECT_EQ(sent().back(), "I2R");
  EXPECT_TRUE(session.online);
}

TEST_F(Connect, APortFailingMidReadIsNotRespondingAndLeavesThePortClosed) {
  port.failsOnRead = [](const std::string& command) { return command == "N4R2"; };
  Programming record;
  EXPECT_EQ(connectAndRead(link(), record).outcome, ConnectOutcome::NotResponding);
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{"The Tarvek is not responding"});
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(port.calls.end()[-2], "close");
  EXPECT_EQ(port.calls.back(), "unpin");
}

using MainConnect = Fixture;

TEST_F(MainConnect, GreetsAndProbesTheFormat) {
  EXPECT_EQ(connectFromMain(link()), ProbeOutcome::Online);
  EXPECT_EQ(sent(), (std::vector<std::string>{"HI", "N1R0"}));
  EXPECT_EQ(port.exchanges[0].timeout, 4000ms);
  EXPECT_EQ(port.exchanges[1].timeout, 2000ms);
  EXPECT_EQ(port.exchanges[1].readLength, 33u);
  EXPECT_EQ(port.exchanges[1].end, (AnswerEnd{32, '\r'}));
  EXPECT_TRUE(session.online);
  EXPECT_EQ(port.openCount, 2);
  EXPECT_EQ(port.closeCount, 2);
}

TEST_F(MainConnect, OutcomesOfEachStep) {
  struct Case {
    const char* name;
    std::function<void(Bench&)> arrange;
    ProbeOutcome outcome;
    std::vector<std::string> messages;
    bool online;
    bool reduced;
  };
  const Case cases[] = {
      {"port",
       [](Bench& f) { f.port.opens = [](int) { return false; }; },
       ProbeOutcome::PortNotOpened,
       {"Communications error"},
       false,
       false},
      {"greeting", [](Bench& f) { f.unit.overrides["HI"] = "O"; }, ProbeOutcome::NotFound, {}, false, false},
      {"probe port",
       [](Bench& f) { f.port.opens = [](int n) { return n == 1; }; },
       ProbeOutcome::Failed,
       {"Communications error"},
       true,
       false},
      {"probe length",
       [](Bench& f) { f.unit.overrides["N1R0"] = "0"; },
       ProbeOutcome::Failed,
       {"Communications error- unable to load phone numbers for display"},
       true,
       false},
      {"short unit", [](Bench& f) { f.unit.shortLayout = true; }, ProbeOutcome::Online, {}, true, true},
      {"dead port",
       [](Bench& f) { f.port.failsOnRead = [](const std::string& c) { return c == "N1R0"; }; },
       ProbeOutcome::NotResponding,
       {"The Tarvek is not responding"},
       true,
       false},
  };
  for (const auto& c : cases) {
    Bench f;
    c.arrange(f);
    EXPECT_EQ(connectFromMain(f.link()), c.outcome) << c.name;
    EXPECT_EQ(f.prompts.texts(), c.messages) << c.name;
    EXPECT_EQ(f.session.online, c.online) << c.name;
    EXPECT_EQ(f.session.reducedFeatures, c.reduced) << c.name;
    if (c.outcome == ProbeOutcome::PortNotOpened || c.outcome == ProbeOutcome::NotFound) {
      EXPECT_EQ(f.session.callerName, "Main") << c.name;
    }
    EXPECT_FALSE(f.port.isOpen()) << c.name;
  }
}

TEST_F(MainConnect, DoesNotClearTheReducedFeatureFlag) {
  session.reducedFeatures = true;
  unit.overrides["N1R0"] = padded("", 31) + "0";  // 32 characters: right for a short unit
  EXPECT_EQ(connectFromMain(link()), ProbeOutcome::Online);
  EXPECT_TRUE(session.reducedFeatures);
}

TEST(SignOff, SendsByeAndIgnoresEverything) {
  ScriptedPort port;
  signOff(port, 2);
  EXPECT_EQ(port.calls, (std::vector<std::string>{"pin 2", "open 2", "transmit BY", "read 10 1000", "close", "unpin"}));

  ScriptedPort closed;
  closed.opens = [](int) { return false; };
  signOff(closed, 2);
  EXPECT_TRUE(closed.exchanges.empty());

  ScriptedPort dead;
  dead.failsOnRead = [](const std::string&) { return true; };
  signOff(dead, 2);
  EXPECT_FALSE(dead.isOpen());
}

// A fault of this program inside an operation is not a unit that stopped answering: it
// goes on to the caller, past the port and the progress screen, both closed.
TEST(ProgrammingError, GoesOnToTheCallerOfEachOperation) {
  const std::pair<const char*, std::function<void(Bench&)>> operations[] = {
      {"connect",
       [](Bench& b) {
         Programming record;
         connectAndRead(b.link(), record);
       }},
      {"Main connect", [](Bench& b) { connectFromMain(b.link()); }},
      {"send",
       [](Bench& b) {
         b.prompts.answers.push_back(Answer::Yes);
         sendProgramming(b.link(), newProgramming());
       }},
      {"sign-off", [](Bench& b) { signOff(b.port, b.session.portNumber); }},
  };
  for (const auto& [name, run] : operations) {
    Bench b;
    b.port.responder = [](const std::string& command) -> std::optional<std::string> {
      if (command == "HI") return "OK";
      throw std::out_of_range("a fault of the program");
    };
    EXPECT_THROW(run(b), std::out_of_range) << name;
    EXPECT_FALSE(b.port.isOpen()) << name;
    EXPECT_EQ(b.port.calls.back(), "unpin") << name;
    EXPECT_FALSE(b.progress.open) << name;
    for (const std::string& text : b.prompts.texts()) EXPECT_NE(text, messages::kNotResponding) << name;
  }
}

}  // namespace
}  // namespace tarvek
