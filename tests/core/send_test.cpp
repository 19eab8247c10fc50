#include <gtest/gtest.h>

#include <functional>

#include "core/codec.h"
#include "core/display_lines.h"
#include "core/link_operations.h"
#include "core/session.h"
#include "support/recording_progress.h"
#include "support/scripted_port.h"
#include "support/scripted_prompts.h"

namespace tarvek {
namespace {

using namespace std::chrono_literals;

struct SendBench {
  SendBench() {
    port.responder = [this](const std::string& command) -> std::optional<std::string> {
      if (command == refuse) return std::string("ER");
      return std::string("OK");
    };
    prompts.answers.push_back(Answer::Yes);
    record.phoneNumbers[lines::phoneLineIndex(2, 3)] = " P (3) 9,555";
  }

  SendOutcome send() { return sendProgramming(Link{port, session, prompts, progress}, record); }

  std::vector<std::string> sent() const {
    std::vector<std::string> commands;
    for (const auto& exchange : port.exchanges) commands.push_back(exchange.sent);
    return commands;
  }

  test::ScriptedPort port;
  Session session;
  test::ScriptedPrompts prompts;
  test::RecordingProgress progress;
  Programming record = newProgramming();
  std::string refuse;
};

TEST(Send, AsksThenWritesAllSeventyThreeCommandsInOrder) {
  SendBench b;
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
    EXPECT_EQ(exchange.readLength, 2u);
    EXPECT_EQ(exchange.timeout, 4000ms);
  }
  EXPECT_EQ(b.port.openCount, 73);
  EXPECT_EQ(b.port.closeCount, 73);
  const std::vector<std::string> steps{"show Sending", "10", "20", "30", "40",  "50",
                                       "60",           "70", "80", "90", "100", "close"};
  EXPECT_EQ(b.progress.events, steps);
}

TEST(Send, NoAndCancelSendNothingAndShowNothing) {
  for (Answer answer : {Answer::No, Answer::Cancel}) {
    SendBench b;
    b.prompts.answers = {answer};
    EXPECT_EQ(b.send(), SendOutcome::Declined);
    EXPECT_TRUE(b.port.calls.empty());
    EXPECT_TRUE(b.progress.events.empty());
    EXPECT_EQ(b.prompts.shown.size(), 1u);
  }
}

TEST(Send, TheFirstCommandNotAnsweredOkStopsTheTransfer) {
  const std::pair<std::string, std::size_t> refusals[] = {
      {"MW05072313906181060000", 1}, {"I4W000201000000000000", 5}, {"N8W70", 73}};
  for (const auto& [command, count] : refusals) {
    SendBench b;
    b.refuse = command;
    EXPECT_EQ(b.send(), SendOutcome::NotVerified) << command;
    EXPECT_EQ(b.port.exchanges.size(), count) << command;
    EXPECT_EQ(b.prompts.lastText(), "The Tarvek did not verify a good transmission") << command;
    EXPECT_EQ(b.progress.events.back(), "close") << command;
    EXPECT_FALSE(b.port.isOpen()) << command;
  }
}

TEST(Send, AnythingButOkIsNotAnAcknowledgement) {
  for (const std::optional<std::string>& answer :
       {std::optional<std::string>("ok"), std::optional<std::string>("O"), std::optional<std::string>()}) {
    SendBench b;
    b.port.responder = [&](const std::string& command) -> std::optional<std::string> {
      return command.starts_with("I1") ? answer : std::optional<std::string>("OK");
    };
    EXPECT_EQ(b.send(), SendOutcome::NotVerified);
    EXPECT_EQ(b.port.exchanges.size(), 2u);
    // The bar had reached 10 with the Global settings accepted.
    EXPECT_EQ(b.progress.events, (std::vector<std::string>{"show Sending", "10", "close"}));
  }
}

TEST(Send, APortThatStopsOpeningEndsWithCommunicationsError) {
  for (int openable : {0, 1, 30}) {
    SendBench b;
    b.port.opens = [openable](int n) { return n <= openable; };
    EXPECT_EQ(b.send(), SendOutcome::PortNotOpened);
    EXPECT_EQ(b.port.exchanges.size(), static_cast<std::size_t>(openable));
    EXPECT_EQ(b.prompts.lastText(), "Communications error");
    EXPECT_EQ(b.progress.events.back(), "close");
  }
}

TEST(Send, ADeadPortIsNotRespondingAndClosesEverything) {
  SendBench b;
  b.port.failsOnRead = [](const std::string& command) { return command == "N5W30"; };
  EXPECT_EQ(b.send(), SendOutcome::NotResponding);
  EXPECT_EQ(b.prompts.lastText(), "The Tarvek is not responding");
  EXPECT_FALSE(b.port.isOpen());
  EXPECT_EQ(b.progress.events.back(), "close");
}

struct Refusal {
  std::function<void(Programming&)> damage;
  bool reducedFeatures;
  const char* text;
  std::string detail;  // what the message lists
};

TEST(Send, ARecordTheUnitCannotTakeIsRefusedBeforeAnythingIsSent) {
  const Refusal refusals[] = {
      {[](Programming& r) { r.global.function.clear(); }, false, messages::kNoFunction, ""},
      {[](Programming& r) { r.inputSpecs[4] = lines::field(lines::Field::QualifierTimer, "Hrs 99 Min 00 Sec 00"); },
       false, messages::kOutOfRange, "Input 1, Qualifier Timer: \"Hrs 99 Min 00 Sec 00\""},
      // The bench's pager number, which a unit with the short layout does not take.
      {[](Programming&) {}, true, messages::kOutOfRange, "Input 2 number 3, Pager: \"P\""},
      // A partly read record, or a file saved from one.
      {[](Programming& r) { r.phoneNumbers.resize(70); }, false, messages::kIncomplete,
       "Input 7, Phone Numbers: missing\nInput 8, Phone Numbers: missing"},
      {[](Programming& r) { r.inputSpecs.clear(); }, false, messages::kIncomplete,
       "Input 1, Input Specifications: missing\nInput 2, Input Specifications: missing\n"
       "Input 3, Input Specifications: missing\nInput 4, Input Specifications: missing\n"
       "Input 5, Input Specifications: missing\nInput 6, Input Specifications: missing\n"
       "Input 7, Input Specifications: missing\nInput 8, Input Specifications: missing"},
      {[](Programming& r) { r.phoneNumbers.push_back("Input 9"); }, false, messages::kIncomplete,
       "After Input 8, Phone Numbers: \"Input 9\""},
      {[](Programming& r) { r.inputSpecs[9] = "Input  "; }, false, messages::kIncomplete,
       "Input 2, Input Specifications: missing"},
  };
  for (const Refusal& refusal : refusals) {
    SendBench b;
    refusal.damage(b.record);
    b.session.reducedFeatures = refusal.reducedFeatures;
    EXPECT_EQ(b.send(), SendOutcome::Refused) << refusal.detail;
    EXPECT_TRUE(b.port.calls.empty()) << refusal.detail;
    EXPECT_TRUE(b.progress.events.empty()) << refusal.detail;
    ASSERT_EQ(b.prompts.shown.size(), 1u) << refusal.detail;
    EXPECT_EQ(b.prompts.shown[0].buttons, Buttons::Ok);
    EXPECT_EQ(b.prompts.shown[0].text, refusal.text);
    EXPECT_EQ(b.prompts.shown[0].detail, refusal.detail);
  }
}

TEST(Send, TheShortLayoutDropsHookswitchAndPagerDigits) {
  SendBench b;
  b.session.reducedFeatures = true;
  b.record.phoneNumbers[lines::phoneLineIndex(2, 3)] = "   (3) 9,555";
  EXPECT_EQ(b.send(), SendOutcome::Sent);
  const auto commands = b.sent();
  EXPECT_EQ(commands[0], "MW0507231390618106000");
  EXPECT_EQ(commands[1 + 8 + 8 + 2], "N2W29,555");
  EXPECT_EQ(commands.back(), "N8W7");
}

TEST(Send, LeavesTheFlagsAsTheyWere) {
  SendBench b;
  b.session.reducedFeatures = false;
  b.session.expectedAnswerLength = 33;
  const Session before = b.session;
  b.send();
  EXPECT_EQ(b.session.reducedFeatures, before.reducedFeatures);
  EXPECT_EQ(b.session.expectedAnswerLength, before.expectedAnswerLength);
}

}  // namespace
}  // namespace tarvek
