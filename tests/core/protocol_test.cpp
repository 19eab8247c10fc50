// The protocol's commands and answers, the operations that exchange them over the port, and
// comparing records through them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "core/codec.h"
#include "core/compare.h"
#include "core/connect_flow.h"
#include "core/link_operations.h"
#include "core/open_failure.h"
#include "core/session.h"
#include "support/recording_progress.h"
#include "support/sample_records.h"
#include "support/scripted_port.h"
#include "support/scripted_prompts.h"

namespace tarvek {
namespace {

using namespace std::chrono_literals;
using namespace test;
using comparison::Layout;
using lines::Field;
using G = GlobalSettings;
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
  // "command/read length/time-out" of each exchange, and "/32\r" when its answer may end at a
  // carriage return in the 32nd byte.
  std::string exchanges() const {
    std::string text;
    for (const auto& e : port.exchanges) {
      text += (text.empty() ? "" : " ") + e.sent + "/" + std::to_string(e.readLength) + "/" +
              std::to_string(e.timeout.count());
      if (e.end) text += "/" + std::to_string(e.end->position) + (e.end->byte == '\r' ? "\\r" : "?");
    }
    return text;
  }

  std::map<std::string, Answers> answers;
  std::string global = "05072313906181060000";
  bool shortLayout = false;
  Programming record;
  ScriptedPort port;
  Session session;
  ScriptedPrompts prompts;
  RecordingProgress progress;
};

// Whatever happened, the port is closed after every opening and released, the progress
// screen is closed, and a port that did not open is explained.
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

std::vector<std::string> progressOf(const char* shown) {
  return {shown, "10", "20", "30", "40", "50", "60", "70", "80", "90", "100", "close"};
}

// From the first phone answer that ends with a carriage return, the phone reads take 32
// characters; none waits out its time-out for a 33rd byte.
TEST(LinkOperations, ConnectReadsTheWholeProgrammingCommandByCommandInEitherLayout) {
  for (const bool shortLayout : {false, true}) {
    Bench b;
    b.shortLayout = shortLayout;
    b.answers["N2R2"] = shortLayout ? padded("9,555", 31) + "\r" : padded("9,555", 32) + "1";
    const ReadResult result = b.connect();
    EXPECT_EQ(result.outcome, ConnectOutcome::Finished);
    EXPECT_EQ(afterConnect(result.outcome).next, NextScreen::Main);
    std::string expected = "HI/2/2000 MR/20/4000";
    for (int input = 1; input <= 8; ++input) expected += " I" + std::to_string(input) + "R/10/4000";
    for (int input = 1; input <= 8; ++input)
      for (int slot = 0; slot < 8; ++slot)
        expected += " N" + std::to_string(input) + "R" + std::to_string(slot) +
                    (shortLayout && input + slot > 1 ? "/32" : "/33") + "/4000/32\\r";
    EXPECT_EQ(b.exchanges(), expected);
    // One device for the whole read, opened before and closed after every exchange.
    EXPECT_EQ(std::vector<std::string>(b.port.calls.begin(), b.port.calls.begin() + 6),
              (std::vector<std::string>{"pin 5", "open 5", "transmit HI", "read 2 2000", "close", "open 5"}));
    EXPECT_EQ(b.port.openCount, 74);
    expectTidy(b, "read");

    // Each answer in its line: the factory state here, other answers in the codec's tables.
    EXPECT_EQ(std::make_tuple(b.record.global, b.record.inputSpecs, b.record.phoneNumbers.size()),
              std::make_tuple(newProgramming().global, newProgramming().inputSpecs, 88u));
    EXPECT_EQ(b.record.phoneNumbers[lines::phoneLineIndex(2, 3)], shortLayout ? "   (3) 9,555" : " P (3) 9,555");
    EXPECT_EQ(std::make_tuple(result.greeted, b.session.reducedFeatures, b.session.expectedAnswerLength,
                              result.greyHookswitch),
              std::make_tuple(true, shortLayout, shortLayout ? 32 : 33, false));
    EXPECT_TRUE(b.prompts.shown.empty());
    EXPECT_EQ(b.progress.events, progressOf("show Loading"));
  }
  // A Global answer that ends with one decides the Global layout alone: the phone
  // answers of 33 characters clear the flag again.
  Bench g;
  g.global = "0123456654321210030\r";
  EXPECT_TRUE(g.connect().greyHookswitch);
  EXPECT_FALSE(g.session.reducedFeatures);
  EXPECT_EQ(g.port.exchanges[10].readLength, 33u);
}

TEST(LinkOperations, ConnectStopsAtEachFailureWithItsMessage) {
  using enum ConnectOutcome;
  using S = NextScreen;
  const char* const notResponding = "The Tarvek is not responding";
  // What goes wrong, the outcome and the screen it leads to, the message, the commands sent,
  // the lines read into the two lists.
  const std::tuple<const char*, Arrange, ConnectOutcome, NextScreen, std::string, std::size_t, std::size_t, std::size_t>
      rows[] = {
          {"greeting in lower case", says("HI", "ok"), NotFound, S::NotFound, "", 1, 0, 0},
          {"no greeting", says("HI", std::nullopt), NotFound, S::NotFound, "", 1, 0, 0},
          {"port does not open", opens(0), PortNotOpened, S::CommPort, "Communications error", 0, 0, 0},
          {"port stops opening at I4R", opens(5), Finished, S::Main, "Communications error", 5, 27, 0},
          {"a phone answer of 32 characters without a carriage return", says("N1R1", padded("555", 32)), Finished,
           S::Main, "Communications error- unable to load phone numbers for display", 12, 72, 3},
          {"an input answer short of a timer byte", says("I2R", std::string("000201\x10\x0e\0", 9)), NotResponding,
           S::Same, notResponding, 4, 14, 0},
          {"the port failing mid-read", diesAt("N4R2"), NotResponding, S::Same, notResponding, 37, 72, 37},
      };
  for (const auto& [name, arrange, outcome, next, message, sent, specs, numbers] : rows) {
    Bench b;
    arrange(b);
    const ReadResult result = b.connect();
    EXPECT_EQ(result.outcome, outcome) << name;
    EXPECT_EQ(afterConnect(outcome).next, next) << name;
    EXPECT_FALSE(afterConnect(outcome).sendOffered) << name;
    EXPECT_EQ(b.prompts.lastText(), message) << name;
    EXPECT_LE(b.prompts.shown.size(), 1u) << name;
    EXPECT_EQ(std::make_tuple(b.port.exchanges.size(), b.record.inputSpecs.size(), b.record.phoneNumbers.size()),
              std::make_tuple(sent, specs, numbers))
        << name;
    const bool greeted = outcome == Finished || outcome == NotResponding;
    EXPECT_EQ(result.greeted, greeted) << name;
    EXPECT_EQ(b.progress.events.empty(), !greeted) << name;
    expectTidy(b, name);
  }
}

// Only a probe that found the unit online offers Send.
TEST(LinkOperations, ConnectFromTheMainScreenGreetsAndProbesThePhoneFormat) {
  using enum ProbeOutcome;
  using S = NextScreen;
  const char* const probed = "HI/2/4000 N1R0/33/2000/32\\r";
  // What goes wrong, the outcome and the screen it leads to, the message, the exchanges,
  // greeted, reduced features.
  const std::tuple<const char*, Arrange, ProbeOutcome, NextScreen, const char*, const char*, bool, bool> rows[] = {
      {"a full unit", [](Bench&) {}, Online, S::Same, "", probed, true, false},
      {"a short unit", [](Bench& b) { b.shortLayout = true; }, Online, S::Same, "", probed, true, true},
      {"port", opens(0), PortNotOpened, S::CommPort, "Communications error", "", false, false},
      {"greeting", says("HI", "O"), NotFound, S::NotFound, "", "HI/2/4000", false, false},
      {"probe port", opens(1), Failed, S::Same, "Communications error", "HI/2/4000", true, false},
      {"probe length", says("N1R0", "0"), Failed, S::Same,
       "Communications error- unable to load phone numbers for display", probed, true, false},
      {"dead port", diesAt("N1R0"), NotResponding, S::Same, "The Tarvek is not responding", probed, true, false},
  };
  for (const auto& [name, arrange, outcome, next, message, exchanges, greeted, reduced] : rows) {
    Bench b;
    arrange(b);
    const ProbeResult result = connectFromMain(b.link());
    EXPECT_EQ(result.outcome, outcome) << name;
    EXPECT_EQ(afterConnect(outcome).next, next) << name;
    EXPECT_EQ(afterConnect(outcome).sendOffered, outcome == Online) << name;
    EXPECT_EQ(b.prompts.lastText(), message) << name;
    EXPECT_EQ(b.exchanges(), exchanges) << name;
    EXPECT_EQ(std::make_pair(result.greeted, b.session.reducedFeatures), std::make_pair(greeted, reduced)) << name;
    expectTidy(b, name);
  }
  // A unit already known to be short answers 32 characters without a carriage return.
  Bench b;
  b.session.reducedFeatures = true;
  b.answers["N1R0"] = padded("", 31) + "0";
  EXPECT_EQ(connectFromMain(b.link()).outcome, Online);
  EXPECT_TRUE(b.session.reducedFeatures);
}

TEST(LinkOperations, SignOffSendsByeAndIgnoresEverything) {
  Bench b;
  signOff(b.port, 2);
  EXPECT_EQ(b.port.calls,
            (std::vector<std::string>{"pin 2", "open 2", "transmit BY", "read 10 1000", "close", "unpin"}));
  Bench closed;
  opens(0)(closed);
  signOff(closed.port, 2);
  EXPECT_TRUE(closed.port.exchanges.empty());
  Bench dead;
  diesAt("BY")(dead);
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
  for (const bool shortLayout : {false, true}) {
    Bench b;
    b.record = edited({setPhone(2, 3, (shortLayout ? "   " : " P ") + std::string("(3) 9,555"))});
    b.session.reducedFeatures = shortLayout;
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
    // The short layout carries neither Hookswitch Flash nor pager digits.
    std::string expected = shortLayout ? "MW0507231390618106000/2/4000" : "MW05072313906181060000/2/4000";
    for (int input = 1; input <= 8; ++input) expected += " I" + std::to_string(input) + "W000201000000000000/2/4000";
    for (int input = 1; input <= 8; ++input)
      for (int slot = 0; slot < 8; ++slot) {
        const std::string number = input == 2 && slot == 2 ? "9,555" : "";
        const std::string pager = shortLayout ? "" : number.empty() ? "0" : "1";
        expected += " N" + std::to_string(input) + "W" + std::to_string(slot) + pager + number + "/2/4000";
      }
    EXPECT_EQ(b.exchanges(), expected);
    EXPECT_EQ(b.port.openCount, 73);
    EXPECT_EQ(b.progress.events, progressOf("show Sending"));
    expectTidy(b, "send");
    // Sending leaves the session as it was.
    EXPECT_EQ(std::make_pair(b.session.reducedFeatures, b.session.expectedAnswerLength),
              std::make_pair(shortLayout, 33));
  }
}

// Refused before the question: a partly read record would overwrite the unit's numbers
// with blanks; a value the editors would refuse could be cut, or refused half way through.
// Which values the check refuses is the record check's table; a row per refusal here.
TEST(LinkOperations, SendRefusesOrStopsAtTheFirstCommandNotAnsweredOk) {
  using enum SendOutcome;
  using namespace messages;
  const auto edit = [](Edit change) { return [=](Bench& b) { change(b.record); }; };
  // What goes wrong, the outcome, the message after the question (alone when refused), the
  // commands sent, the detail of a refusal.
  const std::tuple<const char*, Arrange, SendOutcome, const char*, std::size_t, std::string> rows[] = {
      {"No", [](Bench& b) { b.prompts.answers = {Answer::No}; }, Declined, nullptr, 0, ""},
      {"Cancel", [](Bench& b) { b.prompts.answers = {Answer::Cancel}; }, Declined, nullptr, 0, ""},
      {"MW refused", says("MW05072313906181060000", "ER"), NotVerified, kNotVerified, 1, ""},
      {"the last refused", says("N8W70", "ER"), NotVerified, kNotVerified, 73, ""},
      {"ok in lower case", says("I1W000201000000000000", "ok"), NotVerified, kNotVerified, 2, ""},
      {"port stops opening at N3W5", opens(30), PortNotOpened, kCommunicationsError, 30, ""},
      {"dead port", diesAt("N5W30"), NotResponding, kNotResponding, 45, ""},
      {"no Function", edit(setGlobal(&GlobalSettings::function, "")), Refused, kNoFunction, 0, ""},
      {"a pager mark to a short unit", [](Bench& b) { b.session.reducedFeatures = true; }, Refused, kOutOfRange, 0,
       "Input 2 number 3, Pager: \"P\""},
      {"a read that stopped part way", edit(resizeList(&Programming::phoneNumbers, 70)), Refused, kIncomplete, 0,
       "Input 7, Phone Numbers: missing\nInput 8, Phone Numbers: missing"},
  };
  for (const auto& [name, arrange, outcome, message, sent, detail] : rows) {
    Bench b;
    b.record = edited({setPhone(2, 3, " P (3) 9,555")});
    b.prompts.answers = {Answer::Yes};
    arrange(b);
    EXPECT_EQ(b.send(), outcome) << name;
    std::vector<std::string> texts;
    if (outcome != Refused) texts.push_back(kOverwriteQuestion);
    if (message) texts.push_back(message);
    EXPECT_EQ(b.prompts.texts(), texts) << name;
    EXPECT_TRUE(outcome != Refused || b.prompts.shown.back().detail == detail) << name;
    EXPECT_EQ(b.port.exchanges.size(), sent) << name;
    EXPECT_EQ(b.port.calls.empty(), outcome == Declined || outcome == Refused) << name;
    EXPECT_EQ(b.progress.events.empty(), b.port.calls.empty()) << name;
    expectTidy(b, name);
  }
}

// The detail of "Communications error".
TEST(OpenFailure, SaysWhichDeviceAndWhy) {
  using Kind = OpenFailure::Kind;
  const auto failed = [](Kind kind, const char* reason, bool accessDenied = false, const char* owner = "",
                         const char* group = "", unsigned mode = 0) {
    return OpenFailure{3, "/dev/ttyUSB0", kind, reason, accessDenied, owner, group, mode};
  };
  const std::pair<OpenFailure, std::string> rows[] = {
      {failed(Kind::NoDevice, "No such file or directory"), "the device does not exist (is the adapter plugged in?)."},
      {failed(Kind::AlreadyOpen, ""), "the port is already open in this program."},
      {failed(Kind::Other, "Unknown error"), "Unknown error."},
      {failed(Kind::Permission, "Permission error while locking the device"),
       "the port is busy: another program is using it."},
      {failed(Kind::Permission, "Permission denied", true, "root", "dialout", 0660),
       "permission denied. The device belongs to root, group dialout, mode rw-rw----. Add your user to the group "
       "'dialout' (sudo adduser $USER dialout) and log in again."},
      {failed(Kind::Permission, "Permission denied", true, "", "", 0600),
       "permission denied. The device belongs to ?, group ?, mode rw-------."},
      // Refused, though this user may read and write it.
      {failed(Kind::Permission, "Permission denied"), "the port is busy or not accessible (Permission denied)."},
  };
  for (auto [failure, why] : rows) {
    EXPECT_EQ(explain(failure), "Comm 3 is /dev/ttyUSB0: " + why);
    failure.portNumber = 0;  // the device named on the command line
    EXPECT_EQ(explain(failure), "/dev/ttyUSB0: " + why);
  }
}

// Settings are written "Function|Security Code|...|Forced Play Timer|Hookswitch Flash". What
// a unit in its factory state answers is the connect operation's test.
TEST(Codec, DecodesTheGlobalAnswerInBothLayouts) {
  const std::tuple<std::string, bool, const char*> rows[] = {
      {"21234569876543121130", false, "Alarm Dialer (No Beeps)|123456|987654|3|12|Fast|Disabled|30|Enabled"},
      {"01111112222225991005", false, "Alarm Dialer|111111|222222|5|99|Fast|Disabled|05|Disabled"},
      {"11234569876547061130", false, "Aislecall|123456|N/A|7|N/A|N/A|N/A|N/A|N/A"},
      {"0123456654321210000\r", true, "Alarm Dialer|123456|654321|2|10|Normal|Enabled|N/A|Disabled"},
      {"0123456654321210007\r", true, "Alarm Dialer|123456|654321|2|10|Normal|Disabled|07|Disabled"},
      {"1123456654321210600\r", true, "Aislecall|123456|N/A|2|N/A|N/A|N/A|N/A|Disabled"},
      // An unknown Function code leaves the Function as it was; missing characters read as empty.
      {"91234569876543061000", false, "before|123456|987654|3|6|Fast|Enabled|N/A|Disabled"},
      {"", false, "before|||||Fast|Disabled||Enabled"},
      {"01234569876543", false, "Alarm Dialer|123456|987654|3||Fast|Disabled|43|Enabled"},
  };
  for (const auto& [answer, shortLayout, expected] : rows) {
    GlobalSettings settings = globalOf("before||||||||");
    codec::decodeGlobal(answer, shortLayout, settings);
    EXPECT_EQ(settings, globalOf(expected)) << answer;
  }
}

// Six code characters, then the two timers as 16-bit counts of seconds, low byte first.
std::string inputAnswer(const char* codes, unsigned qualifier, unsigned resume) {
  return codes + std::string{char(qualifier & 0xff), char(qualifier >> 8), char(resume & 0xff), char(resume >> 8)};
}

TEST(Codec, DecodesAnInputAnswerIntoItsSixFieldLines) {
  const std::pair<std::string, const char*> rows[] = {
      {inputAnswer("111009", 3600, 65535), "Normally Closed|Continuous|Hrs 01 Min 00 Sec 00|Hrs 18 Min 12 Sec 15|10|9"},
      {inputAnswer("200099", 330, 18 * 3600), "Disabled|Momentary|Hrs 00 Min 05 Sec 30|Hrs 18 Min 00 Sec 00|0|99"},
      {inputAnswer("7x0101", 59, 61), "7|x|Hrs 00 Min 00 Sec 59|Hrs 00 Min 01 Sec 01|1|1"},  // codes show as themselves
  };
  for (const auto& [answer, values] : rows) {
    std::vector<std::string> lines;
    codec::appendInputFields(answer, lines);
    EXPECT_EQ(lines, fieldLines(values)) << values;
  }
  // An answer short of a timer byte is a run-time error, after the lines made before it.
  for (const std::size_t length : {0u, 7u, 8u, 9u}) {
    std::vector<std::string> lines;
    EXPECT_THROW(codec::appendInputFields(inputAnswer("000201", 300, 300).substr(0, length), lines),
                 codec::DecodeError);
    EXPECT_EQ(lines.size(), length >= 8 ? 3u : 2u) << length;
  }
}

TEST(Codec, DecodesAPhoneAnswerIntoItsLine) {
  const std::string blank32(32, ' ');
  const std::string full32 = "12345678901234567890123456789012";
  const std::pair<std::string, std::string> rows[] = {
      {"9,555" + std::string(27, ' ') + "0", "   (3) 9,555"},
      {blank32 + "0", "   (3)       Not Programmed"},
      {blank32 + "1", " P (3)       Not Programmed"},
      {full32 + "0", "   (3) " + full32},
      {full32.substr(0, 31) + "\r", "   (3) " + full32.substr(0, 31)},
      {blank32.substr(0, 31) + "\r", "   (3)       Not Programmed"},
      {"*70#" + std::string(28, ' ') + "x", "   (3) *70#"},
  };
  for (const auto& [answer, line] : rows) EXPECT_EQ(codec::phoneLineFromAnswer(3, answer), line) << answer;
}

// What a new programming gives is the send operation's test.
TEST(Codec, EncodesTheWriteCommandsInBothLayouts) {
  const std::tuple<const char*, bool, const char*> globals[] = {
      // settings, short layout, command ("": refused)
      {"Alarm Dialer (No Beeps)|123456|654321|0|12|Fast|Disabled|45|Enabled", false, "MW21234566543210121145"},
      {"Aislecall|111111|N/A|9|N/A|N/A|N/A|N/A|N/A", false, "MW11111113906189061100"},
      {"Aislecall|111111|N/A|9|N/A|N/A|N/A|N/A|Disabled", true, "MW1111111390618906100"},
      // A Function without a code would make a command one character short.
      {"alarm dialer|507231|390618|1|6|Normal|Enabled|N/A|Disabled", false, ""},
  };
  for (const auto& [settings, shortLayout, command] : globals)
    EXPECT_EQ(codec::encodeGlobal(globalOf(settings), shortLayout).value_or(""), command) << settings;

  const std::tuple<int, const char*, const char*> inputs[] = {
      {8, "Normally Closed|Continuous|Hrs 18 Min 00 Sec 00|Hrs 01 Min 05 Sec 30|10|07", "I8W111007180000010530"},
      {4, "Disabled|Momentary|Hrs 00 Min 00 Sec 00|Hrs 00 Min 00 Sec 00|0|99", "I4W200099000000000000"},
  };
  for (const auto& [input, values, command] : inputs) EXPECT_EQ(codec::encodeInput(input, fieldLines(values)), command);

  const std::tuple<int, int, const char*, bool, const char*> phones[] = {
      // input, slot 0-7, line, short layout
      {8, 0, " P (1)       Not Programmed", false, "N8W00"},  // an empty slot is never a pager
      {1, 7, "   (8) 12345678901234567890123456789012", false, "N1W7012345678901234567890123456789012"},
      {3, 4, "   (5) ", false, "N3W40"},
  };
  for (const auto& [input, slot, line, shortLayout, command] : phones)
    EXPECT_EQ(codec::encodePhone(input, slot, line, shortLayout), command) << line;
}

// Two records differ where their write commands do.
TEST(Compare, ThroughTheWriteCommands) {
  const Edit sameMeaning = all(setField(3, Field::MsgRptCount, "02"), setField(3, Field::LapCounter, "01"),
                               setGlobal(&G::ringbackLimit, "06"), setPhone(5, 2, lines::notProgrammed(2, 7)),
                               setPhone(5, 3, lines::notProgrammed(3, 7, true)));
  const auto aislecall = [](const char* hookswitch) {
    return setGlobal(std::string("Aislecall|507231|N/A|1|N/A|N/A|N/A|N/A|") + hookswitch);
  };
  const Edit pager = setPhone(2, 3, " P (3) 9,555");
  const Edit noPager = setPhone(2, 3, "   (3) 9,555");
  // The edits of the two records, the layout, the differences one to a line, the problem.
  const std::tuple<const char*, Edit, Edit, Layout, std::string, std::string> rows[] = {
      {"same meaning, full", sameMeaning, Edit(), Layout::Full, "", ""},
      {"aislecall sends no N/A field", aislecall("N/A"),
       setGlobal("Aislecall|507231|390618|1|6|Fast|Enabled|N/A|Enabled"), Layout::Full, "", ""},
      {"hookswitch, short", aislecall("N/A"), aislecall("Disabled"), Layout::Short, "", ""},
      {"hookswitch, full", aislecall("N/A"), aislecall("Disabled"), Layout::Full,
       "Global\tHookswitch Flash\tN/A\tDisabled\n", ""},
      {"pager, short", pager, noPager, Layout::Short, "", ""},
      {"pager, full", pager, noPager, Layout::Full, "Input 2 number 3\tPager\tYes\tNo\n", ""},
      {"global values", setGlobal("Alarm Dialer (No Beeps)|123456|111111|3|12|Fast|Disabled|30|Enabled"), Edit(),
       Layout::Full,
       "Global\tFunction\tAlarm Dialer (No Beeps)\tAlarm Dialer\nGlobal\tSecurity Code\t123456\t507231\n"
       "Global\tAccess Code\t111111\t390618\nGlobal\tRing Delay\t3\t1\nGlobal\tRingback Limit\t12\t6\n"
       "Global\tDialing Speed\tFast\tNormal\nGlobal\tCall Progress Detection\tDisabled\tEnabled\n"
       "Global\tForced Play Timer\t30\tN/A\nGlobal\tHookswitch Flash\tEnabled\tDisabled\n",
       ""},
      {"timer only", all(setGlobal(&G::callProgress, "Disabled"), setGlobal(&G::forcedPlayTimer, "30")),
       all(setGlobal(&G::callProgress, "Disabled"), setGlobal(&G::forcedPlayTimer, "45")), Layout::Short,
       "Global\tForced Play Timer\t30\t45\n", ""},
      {"input fields",
       all(setInput(1, "Normally Closed|Continuous|Hrs 00 Min 00 Sec 00|Hrs 00 Min 00 Sec 00|2|1"),
           setInput(8, "Normally Open|Momentary|Hrs 00 Min 05 Sec 30|Hrs 18 Min 00 Sec 00|10|7")),
       Edit(), Layout::Short,
       "Input 1\tNormal State\tNormally Closed\tNormally Open\nInput 1\tDuration\tContinuous\tMomentary\n"
       "Input 8\tQualifier Timer\tHrs 00 Min 05 Sec 30\tHrs 00 Min 00 Sec 00\n"
       "Input 8\tResume Timer\tHrs 18 Min 00 Sec 00\tHrs 00 Min 00 Sec 00\nInput 8\tMsg Rpt Count\t10\t2\n"
       "Input 8\tLap Counter\t7\t1\n",
       ""},
      {"phone numbers", all(setPhone(3, 2, "   (2) 5551234"), setPhone(8, 8, " P (8) *70,555")),
       setPhone(3, 2, "   (2) 5559999"), Layout::Full,
       "Input 3 number 2\tPhone Number\t5551234\t5559999\nInput 8 number 8\tPager\tYes\tNo\n"
       "Input 8 number 8\tPhone Number\t*70,555\tNot Programmed\n",
       ""},
      {"a value that would break the line", setGlobal(&G::securityCode, "1\\2\t4\n"), Edit(), Layout::Full,
       "Global\tSecurity Code\t1\\x5c2\\x094\\x0a\t507231\n", ""},
      {"unknown function", Edit(), setGlobal(&G::function, "Alarm"), Layout::Full, "", "second"},
      {"incomplete", resizeList(&Programming::phoneNumbers, 50), Edit(), Layout::Full, "", "first"},
  };
  for (const auto& [name, first, second, layout, described, problem] : rows) {
    const auto result = comparison::compare(edited({first}), edited({second}), layout);
    std::string lines;
    for (const auto& difference : result.differences) lines += comparison::describe(difference) + "\n";
    EXPECT_EQ(lines, described) << name;
    EXPECT_EQ(result.problem.empty(), problem.empty()) << name;
    EXPECT_THAT(result.problem, testing::HasSubstr(problem)) << name;
  }
}

}  // namespace
}  // namespace tarvek
