#include <gtest/gtest.h>

#include <random>

#include "core/link_operations.h"
#include "core/session.h"
#include "simulator/device.h"
#include "support/recording_progress.h"
#include "support/scripted_port.h"
#include "support/scripted_prompts.h"

namespace tarvek {
namespace {

// The simulated unit answering the scripted port: each command arrives, the line then
// stays quiet long enough to end a phone-number write, and the answer is what is due.
void attach(test::ScriptedPort& port, sim::Device& device) {
  port.responder = [&device](const std::string& command) -> std::optional<std::string> {
    static sim::Instant clock{};
    device.receive(command, clock += std::chrono::seconds(1));
    const std::string answer = device.poll(clock += std::chrono::seconds(1)).bytes;
    return answer.empty() ? std::nullopt : std::optional(answer);
  };
}

// A memory that Send takes back: counts 01 to 99, timers up to 18 hours.
sim::Memory randomMemory(std::mt19937& random, bool shortLayout) {
  const auto pick = [&](std::string_view choices) { return std::string(1, choices[random() % choices.size()]); };
  const auto digits = [&](std::size_t count) {
    std::string text;
    while (text.size() < count) text += pick("0123456789");
    return text;
  };
  const auto count = [&] {
    const unsigned value = 1 + random() % 99;
    return std::string{char('0' + value / 10), char('0' + value % 10)};
  };
  const auto timer = [&] {
    const unsigned kind = random() % 4;
    return static_cast<std::uint16_t>(kind == 0 ? 0 : kind == 1 ? 18 * 3600 : random() % (18 * 3600));
  };
  sim::Memory memory;
  memory.global = {pick("012"), digits(6),  digits(6),  digits(1),
                   count(),     pick("01"), pick("01"), random() % 3 ? count() : "00"};
  for (auto& input : memory.inputs) input = {pick("012"), pick("01"), count(), count(), timer(), timer()};
  for (auto& number : memory.numbers) {
    const std::size_t length = random() % 3 == 0 ? 0 : 1 + random() % (shortLayout ? 31 : 32);
    number = {"", random() % 4 == 0};
    while (number.number.size() < length) number.number += pick("0123456789*#,");
  }
  return memory;
}

// What a unit holds after its memory was read and sent back to a factory-state unit.
// The losses are the protocol's own: Aislecall shows five settings as "N/A", which go
// out as fixed values; an empty slot goes out without a pager mark; a short-layout unit
// carries neither Hookswitch Flash nor pager marks.
sim::Memory afterRoundTrip(sim::Memory memory, bool shortLayout) {
  for (auto& number : memory.numbers) number.pager = number.pager && !number.number.empty() && !shortLayout;
  if (memory.global.function == "1") {
    memory.global.accessCode = "390618";
    memory.global.ringbackLimit = "06";
    memory.global.dialingSpeed = "1";
    memory.global.hookswitchFlash = "1";
    memory.global.forcedPlayTimer = "00";
  }
  if (shortLayout) memory.global.hookswitchFlash = sim::Memory::factory().global.hookswitchFlash;
  return memory;
}

TEST(RoundTrip, ReadThenSendStoresTheSameMemory) {
  std::mt19937 random(20261206);
  for (int round = 0; round < 150; ++round) {
    const bool shortLayout = round % 3 == 2;
    const sim::Memory original = randomMemory(random, shortLayout);
    sim::DeviceSettings settings;
    settings.baud = 0;
    settings.layout = shortLayout ? sim::Layout::Short : sim::Layout::Full;
    sim::Device source(settings, original);
    sim::Device target(settings, sim::Memory::factory());

    Session session;
    test::ScriptedPrompts prompts;
    test::RecordingProgress progress;
    test::ScriptedPort readPort;
    attach(readPort, source);
    Programming record;
    ASSERT_EQ(connectAndRead(Link{readPort, session, prompts, progress}, record).outcome, ConnectOutcome::Finished);
    ASSERT_TRUE(prompts.shown.empty()) << prompts.lastText();
    ASSERT_EQ(session.reducedFeatures, shortLayout);

    test::ScriptedPort sendPort;
    attach(sendPort, target);
    prompts.answers.push_back(Answer::Yes);
    ASSERT_EQ(sendProgramming(Link{sendPort, session, prompts, progress}, record), SendOutcome::Sent)
        << prompts.lastText();
    ASSERT_EQ(target.memory(), afterRoundTrip(original, shortLayout)) << "round " << round;
  }
}

}  // namespace
}  // namespace tarvek
