#include <gtest/gtest.h>

#include <random>

#include "core/link_operations.h"
#include "core/session.h"
#include "simulator/device.h"
#include "support/record_printers.h"
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
    clock += std::chrono::seconds(1);
    device.receive(command, clock);
    clock += std::chrono::seconds(1);
    const std::string answer = device.poll(clock).bytes;
    if (answer.empty()) return std::nullopt;
    return answer;
  };
}

std::string digits(std::mt19937& random, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += static_cast<char>('0' + random() % 10);
  return text;
}

// A memory that Send takes back: counts 01 to 99, timers up to 18 hours.
sim::Memory randomMemory(std::mt19937& random) {
  const auto pick = [&](const char* choices) {
    const std::string options = choices;
    return std::string(1, options[random() % options.size()]);
  };
  const auto count = [&] {
    const unsigned value = 1 + random() % 99;
    return std::string(1, static_cast<char>('0' + value / 10)) + static_cast<char>('0' + value % 10);
  };
  sim::Memory memory;
  memory.global = {pick("012"), digits(random, 6), digits(random, 6), digits(random, 1),
                   count(),     pick("01"),        pick("01"),        random() % 3 ? count() : "00"};
  for (auto& input : memory.inputs) {
    constexpr std::uint16_t kEighteenHours = 18 * 3600;
    const auto timer = [&] {
      switch (random() % 4) {
        case 0:
          return std::uint16_t{0};
        case 1:
          return kEighteenHours;
        default:
          return static_cast<std::uint16_t>(random() % kEighteenHours);
      }
    };
    input = {pick("012"), pick("01"), count(), count(), timer(), timer()};
  }
  const std::string dialChars = "0123456789*#,";
  for (auto& number : memory.numbers) {
    const std::size_t length = random() % 3 == 0 ? 0 : 1 + random() % 32;
    number.number.clear();
    for (std::size_t i = 0; i < length; ++i) number.number += dialChars[random() % dialChars.size()];
    number.pager = random() % 4 == 0;
  }
  return memory;
}

// What a unit holds after its memory was read and sent back to a factory-state unit.
// The losses are the protocol's own: Aislecall shows five settings as "N/A", which go
// out as fixed values; an empty slot goes out without a pager mark; a short-layout unit
// carries neither Hookswitch Flash nor pager marks, and its numbers hold 31 characters.
sim::Memory afterRoundTrip(sim::Memory memory, bool shortLayout) {
  for (auto& number : memory.numbers)
    if (number.number.empty()) number.pager = false;
  if (memory.global.function == "1") {
    memory.global.accessCode = "390618";
    memory.global.ringbackLimit = "06";
    memory.global.dialingSpeed = "1";
    memory.global.hookswitchFlash = "1";
    memory.global.forcedPlayTimer = "00";
  }
  if (shortLayout) {
    memory.global.hookswitchFlash = sim::Memory::factory().global.hookswitchFlash;
    for (auto& number : memory.numbers) number.pager = false;
  }
  return memory;
}

TEST(RoundTrip, ReadThenSendStoresTheSameMemory) {
  std::mt19937 random(20261206);
  for (int round = 0; round < 150; ++round) {
    const bool shortLayout = round % 3 == 2;
    sim::Memory original = randomMemory(random);
    if (shortLayout)
      for (auto& number : original.numbers)
        if (number.number.size() > 31) number.number.resize(31);

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
