// What the device does that the programmer's end-to-end tests never make it do: refuse
// what a programmer should not send, pace a real line, keep what the short layout does
// not carry, and combine faults.

#include "simulator/device.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tarvek::sim {
namespace {

using namespace std::chrono_literals;

const Instant kStart = Instant{} + 1h;
constexpr auto kCharacter = std::chrono::nanoseconds(1'041'666);  // 10 bits at 9600 baud
const std::string kEmptyNumber = std::string(32, ' ') + "0";

// The client end of the line: sends bytes and runs the device's clock forward,
// collecting what it answers, when, and what it notes.
struct Line {
  explicit Line(DeviceSettings settings, Memory memory = Memory::factory())
      : device(std::move(settings), std::move(memory)) {}

  std::string exchange(std::string_view bytes, std::chrono::nanoseconds patience = 1s) {
    device.receive(bytes, now);
    return runFor(patience);
  }
  std::string runFor(std::chrono::nanoseconds length) {
    const Instant end = now + length;
    std::string received;
    for (auto next = device.nextWakeUp(); next && *next <= end; next = device.nextWakeUp()) {
      now = std::max(now, *next);
      received += take(device.poll(now));
    }
    now = end;
    return received + take(device.poll(now));
  }
  std::string take(DeviceOutput output) {
    byteTimes.insert(byteTimes.end(), output.bytes.size(), now);
    for (const TranscriptEntry& entry : output.transcript) notes.push_back(entry.note);
    memoryChanges += output.memoryChanged ? 1 : 0;
    return output.bytes;
  }

  Device device;
  Instant now = kStart;
  std::vector<std::string> notes;
  std::vector<Instant> byteTimes;
  int memoryChanges = 0;
};

DeviceSettings fast(Layout layout = Layout::Full, std::vector<const char*> faults = {}) {
  DeviceSettings settings{layout, 0, 5ms, {}};
  for (const char* fault : faults) settings.faults.push_back(parseFault(fault));
  return settings;
}

Memory programmed() {
  Memory memory = Memory::factory();
  memory.global = GlobalRecord{"2", "123456", "654321", "3", "12", "1", "1", "30"};
  memory.input(3) = InputRecord{"1", "0", "02", "03", 330, 3600};
  memory.number(2, 3) = PhoneRecord{"9555", true};
  return memory;
}

struct RefusalCase {
  std::string bytes;
  const char* answer;
  const char* note;
  Layout layout = Layout::Full;
};

TEST(Device, RefusesWhatAProgrammerShouldNotSendAndStaysInStep) {
  const char* kNotACommand = "not a command";
  const char* kNoRecord = "no such record";
  const char* kMalformed = "malformed, refused";
  const RefusalCase cases[] = {
      {"XY", "", kNotACommand},
      {"hi", "", kNotACommand},
      {"I3", "", kNotACommand},                     // half a command, thrown away at the gap
      {"MW0507231390618106000", "", kNotACommand},  // a short unit's Global write to a full one
      {"N1W0" + std::string(61, '5'), "", kNotACommand},
      {"I9R", "", kNoRecord},
      {"N1R8", "", kNoRecord},
      {"N9R0", "", kNoRecord},
      {"MW31234566543213121130", "ER", kMalformed},  // function 3
      {"MW2123a566543213121130", "ER", kMalformed},  // security code
      {"MW21234566 43213121130", "ER", kMalformed},  // access code
      {"MW2123456654321x121130", "ER", kMalformed},  // ring delay
      {"MW21234566543213x21130", "ER", kMalformed},  // ringback limit
      {"MW21234566543213122130", "ER", kMalformed},  // dialing speed 2
      {"MW21234566543213121230", "ER", kMalformed},  // hookswitch 2
      {"MW2123456654321312113x", "ER", kMalformed},  // forced play timer
      {"MW212345665432131213x", "ER", kMalformed, Layout::Short},
      {"I9W100203000530010000", "ER", kMalformed},  // no input 9
      {"I3W300203000530010000", "ER", kMalformed},  // normal state 3
      {"I3W120203000530010000", "ER", kMalformed},  // duration 2
      {"I3W10x203000530010000", "ER", kMalformed},  // message repeat count
      {"I3W1002 3000530010000", "ER", kMalformed},  // lap counter
      {"I3W100203006030010000", "ER", kMalformed},  // 60 minutes
      {"I3W100203190000010000", "ER", kMalformed},  // above 16 bits
      {"I3W100203000530181216", "ER", kMalformed},  // 65536 seconds
      {"N1W0", "ER", kMalformed},                   // no pager flag
      {"N1W02", "ER", kMalformed},                  // pager flag 2
      {"N1W00555 1234", "ER", kMalformed},          // a blank in the number
      {"N9W00", "ER", kMalformed},                  // no input 9
      {"N1W80", "ER", kMalformed},                  // no slot 8
      {"N1W00" + std::string(33, '5'), "ER", kMalformed},
      {"N1W7" + std::string(32, '5'), "ER", kMalformed, Layout::Short},
  };
  for (const RefusalCase& c : cases) {
    Line line(fast(c.layout), programmed());
    EXPECT_EQ(line.exchange(c.bytes), c.answer) << c.bytes;
    EXPECT_EQ(line.notes, std::vector<std::string>{c.note}) << c.bytes;
    EXPECT_EQ(line.device.memory(), programmed()) << c.bytes;
    EXPECT_EQ(line.memoryChanges, 0) << c.bytes;
    EXPECT_EQ(line.exchange("HI"), "OK") << "out of step after " << c.bytes;
  }
}

TEST(Device, AShortUnitKeepsWhatItsWritesDoNotCarry) {
  Line line(fast(Layout::Short), programmed());
  EXPECT_EQ(line.exchange("MW0507231390618106000"), "OK");
  EXPECT_EQ(line.exchange("N2W37777"), "OK");
  GlobalRecord global = Memory::factory().global;
  global.hookswitchFlash = "1";
  EXPECT_EQ(line.device.memory().global, global);
  EXPECT_EQ(line.device.memory().number(2, 3), (PhoneRecord{"7777", true}));
}

struct PaceCase {
  const char* command;
  std::size_t answerLength;
  Instant first;  // when the first answer byte is complete on the line
};

TEST(Device, ARealLineCountsTheWireTimeOfCommandAndAnswer) {
  const PaceCase cases[] = {
      {"HI", 2, kStart + 3 * kCharacter},
      {"N1R0", 33, kStart + 5 * kCharacter},
      // A phone write ends one gap after its last character.
      {"N2W319555", 2, kStart + 9 * kCharacter + 5ms + kCharacter},
  };
  for (const PaceCase& c : cases) {
    Line line(DeviceSettings{Layout::Full, 9600, 5ms, {}});
    EXPECT_EQ(line.exchange(c.command).size(), c.answerLength) << c.command;
    std::vector<Instant> expected;
    for (std::size_t i = 0; i < c.answerLength; ++i) expected.push_back(c.first + static_cast<int>(i) * kCharacter);
    EXPECT_EQ(line.byteTimes, expected) << c.command;
  }
}

TEST(Device, ClosingThePortLosesTheAnswerOnItsWayAndNotTheNext) {
  Line line(DeviceSettings{Layout::Full, 9600, 5ms, {}});
  line.device.receive("N1R0", line.now);
  EXPECT_EQ(line.runFor(14 * kCharacter).size(), 10u);
  line.device.portClosed(line.now);
  // The next command is answered at once, with nothing of the answer cut short.
  const Instant sent = line.now;
  EXPECT_EQ(line.exchange("HI"), "OK");
  EXPECT_EQ(line.byteTimes.back(), sent + 4 * kCharacter);
}

struct FaultCase {
  std::vector<const char*> faults;
  std::vector<std::pair<const char*, std::string>> exchanges;  // command, answer
};

TEST(Device, FaultsCountCommandsAndApplyInTheirOrder) {
  const FaultCase cases[] = {
      {{"text:NR:3:X", "none:any:2"},
       {{"N1R0", kEmptyNumber}, {"I1R", ""}, {"N1R1", kEmptyNumber}, {"N1R2", "X"}, {"N1R3", kEmptyNumber}}},
      {{"text:HI:1:OKAY", "length:HI:1:3"}, {{"HI", "OKA"}, {"HI", "OK"}}},
      {{"length:HI:1:3", "text:HI:1:OKAY"}, {{"HI", "OKAY"}}},
  };
  for (const FaultCase& c : cases) {
    Line line(fast(Layout::Full, c.faults));
    for (const auto& [command, answer] : c.exchanges) EXPECT_EQ(line.exchange(command), answer) << c.faults[0];
  }
}

}  // namespace
}  // namespace tarvek::sim
