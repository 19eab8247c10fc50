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

TEST(Device, RefusesWhatAProgrammerShouldNotSendAndStaysInStep) {
  const char* const notACommand = "not a command";
  const char* const noRecord = "no such record";
  const char* const malformed = "malformed, refused";
  // The bytes, the answer, the note; the short layout where named.
  const std::tuple<std::string, const char*, const char*, Layout> rows[] = {
      {"XY", "", notACommand, Layout::Full},
      {"hi", "", notACommand, Layout::Full},
      {"I3", "", notACommand, Layout::Full},                     // half a command, thrown away at the gap
      {"MW0507231390618106000", "", notACommand, Layout::Full},  // a short unit's Global write to a full one
      {"N1W0" + std::string(61, '5'), "", notACommand, Layout::Full},
      {"I9R", "", noRecord, Layout::Full},
      {"N1R8", "", noRecord, Layout::Full},
      {"N9R0", "", noRecord, Layout::Full},
      {"MW31234566543213121130", "ER", malformed, Layout::Full},  // function 3
      {"MW2123a566543213121130", "ER", malformed, Layout::Full},  // security code
      {"MW21234566 43213121130", "ER", malformed, Layout::Full},  // access code
      {"MW2123456654321x121130", "ER", malformed, Layout::Full},  // ring delay
      {"MW21234566543213x21130", "ER", malformed, Layout::Full},  // ringback limit
      {"MW21234566543213122130", "ER", malformed, Layout::Full},  // dialing speed 2
      {"MW21234566543213121230", "ER", malformed, Layout::Full},  // hookswitch 2
      {"MW2123456654321312113x", "ER", malformed, Layout::Full},  // forced play timer
      {"MW212345665432131213x", "ER", malformed, Layout::Short},
      {"I9W100203000530010000", "ER", malformed, Layout::Full},  // no input 9
      {"I3W300203000530010000", "ER", malformed, Layout::Full},  // normal state 3
      {"I3W120203000530010000", "ER", malformed, Layout::Full},  // duration 2
      {"I3W10x203000530010000", "ER", malformed, Layout::Full},  // message repeat count
      {"I3W1002 3000530010000", "ER", malformed, Layout::Full},  // lap counter
      {"I3W100203006030010000", "ER", malformed, Layout::Full},  // 60 minutes
      {"I3W100203190000010000", "ER", malformed, Layout::Full},  // above 16 bits
      {"I3W100203000530181216", "ER", malformed, Layout::Full},  // 65536 seconds
      {"N1W0", "ER", malformed, Layout::Full},                   // no pager flag
      {"N1W02", "ER", malformed, Layout::Full},                  // pager flag 2
      {"N1W00555 1234", "ER", malformed, Layout::Full},          // a blank in the number
      {"N9W00", "ER", malformed, Layout::Full},                  // no input 9
      {"N1W80", "ER", malformed, Layout::Full},                  // no slot 8
      {"N1W00" + std::string(33, '5'), "ER", malformed, Layout::Full},
      {"N1W7" + std::string(32, '5'), "ER", malformed, Layout::Short},
  };
  for (const auto& [bytes, answer, note, layout] : rows) {
    Line line(fast(layout), programmed());
    EXPECT_EQ(line.exchange(bytes), answer) << bytes;
    EXPECT_EQ(line.notes, std::vector<std::string>{note}) << bytes;
    EXPECT_TRUE(line.device.memory() == programmed() && line.memoryChanges == 0) << bytes;
    EXPECT_EQ(line.exchange("HI"), "OK") << "out of step after " << bytes;
  }
}

TEST(Device, AShortUnitKeepsWhatItsWritesDoNotCarry) {
  Line line(fast(Layout::Short), programmed());
  EXPECT_EQ(line.exchange("MW0507231390618106000") + line.exchange("N2W37777"), "OKOK");
  GlobalRecord global = Memory::factory().global;
  global.hookswitchFlash = "1";
  EXPECT_EQ(line.device.memory().global, global);
  EXPECT_EQ(line.device.memory().number(2, 3), (PhoneRecord{"7777", true}));
}

TEST(Device, ARealLineCountsTheWireTimeOfCommandAndAnswer) {
  // The command, the length of its answer, when the answer's first byte is complete.
  const std::tuple<const char*, std::size_t, Instant> rows[] = {
      {"HI", 2, kStart + 3 * kCharacter},
      {"N1R0", 33, kStart + 5 * kCharacter},
      {"N2W319555", 2, kStart + 9 * kCharacter + 5ms + kCharacter},  // a phone write ends a gap after it
  };
  for (const auto& [command, length, first] : rows) {
    Line line(DeviceSettings{Layout::Full, 9600, 5ms, {}});
    EXPECT_EQ(line.exchange(command).size(), length) << command;
    std::vector<Instant> expected;
    for (std::size_t i = 0; i < length; ++i) expected.push_back(first + static_cast<int>(i) * kCharacter);
    EXPECT_EQ(line.byteTimes, expected) << command;
  }
  // Closing the port loses the answer on its way, and not the next.
  Line line(DeviceSettings{Layout::Full, 9600, 5ms, {}});
  line.device.receive("N1R0", line.now);
  EXPECT_EQ(line.runFor(14 * kCharacter).size(), 10u);
  line.device.portClosed(line.now);
  const Instant sent = line.now;
  EXPECT_EQ(line.exchange("HI"), "OK");
  EXPECT_EQ(line.byteTimes.back(), sent + 4 * kCharacter);
}

TEST(Device, FaultsCountCommandsAndApplyInTheirOrder) {
  const std::pair<std::vector<const char*>, std::vector<std::pair<const char*, std::string>>> rows[] = {
      {{"text:NR:3:X", "none:any:2"},
       {{"N1R0", kEmptyNumber}, {"I1R", ""}, {"N1R1", kEmptyNumber}, {"N1R2", "X"}, {"N1R3", kEmptyNumber}}},
      {{"text:HI:1:OKAY", "length:HI:1:3"}, {{"HI", "OKA"}, {"HI", "OK"}}},
      {{"length:HI:1:3", "text:HI:1:OKAY"}, {{"HI", "OKAY"}}},
  };
  for (const auto& [faults, exchanges] : rows) {
    Line line(fast(Layout::Full, faults));
    for (const auto& [command, answer] : exchanges) EXPECT_EQ(line.exchange(command), answer) << faults[0];
  }
}

}  // namespace
}  // namespace tarvek::sim
