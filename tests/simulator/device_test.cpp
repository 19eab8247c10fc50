#include "simulator/device.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "simulator/record_codec.h"

namespace tarvek::sim {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

const Instant kStart = Instant{} + 1h;
constexpr auto kCharacter = std::chrono::nanoseconds(1'041'666);  // 10 bits at 9600 baud

// The client end of the device's line: sends bytes at a time and runs the device's
// clock forward, collecting what it answers, when, and what else it reports.
class Line {
 public:
  explicit Line(DeviceSettings settings, Memory memory = Memory::factory())
      : device(std::move(settings), std::move(memory)) {}

  std::string exchange(std::string_view bytes, std::chrono::nanoseconds patience = 1s) {
    device.receive(bytes, now);
    return runFor(patience);
  }

  // Runs the device until `length` has passed, polling at every moment it asks for.
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

  Device device;
  Instant now = kStart;
  std::vector<TranscriptEntry> transcript;
  std::vector<Instant> byteTimes;
  int drops = 0;
  int memoryChanges = 0;

 private:
  std::string take(DeviceOutput output) {
    byteTimes.insert(byteTimes.end(), output.bytes.size(), now);
    transcript.insert(transcript.end(), output.transcript.begin(), output.transcript.end());
    drops += output.dropLine ? 1 : 0;
    memoryChanges += output.memoryChanged ? 1 : 0;
    return output.bytes;
  }
};

DeviceSettings fast(Layout layout = Layout::Full) { return DeviceSettings{layout, 0, 5ms, {}}; }

DeviceSettings withFaults(std::initializer_list<const char*> faultTexts, Layout layout = Layout::Full) {
  DeviceSettings settings = fast(layout);
  for (const char* faultText : faultTexts) settings.faults.push_back(parseFault(faultText));
  return settings;
}

Memory programmed() {
  Memory memory = Memory::factory();
  memory.global = GlobalRecord{"2", "123456", "654321", "3", "12", "1", "1", "30"};
  memory.input(3) = InputRecord{"1", "0", "02", "03", 330, 3600};
  memory.input(8) = InputRecord{"2", "1", "10", "99", 65535, 0};
  memory.number(2, 3) = PhoneRecord{"9555", true};
  memory.number(8, 7) = PhoneRecord{"*70,5551234#", false};
  return memory;
}

struct ReadCase {
  Layout layout;
  const char* command;
  std::string answer;
};

TEST(DeviceReads, AnswerEveryRecordInBothLayouts) {
  const auto F = Layout::Full;
  const auto S = Layout::Short;
  const ReadCase cases[] = {
      {F, "HI", "OK"},
      {F, "BY", "OK"},
      {F, "MR", "21234566543213121130"},
      {F, "I1R", "000201\x00\x00\x00\x00"s},
      {F, "I3R", "100203\x4a\x01\x10\x0e"},
      {F, "I8R", "211099\xff\xff\x00\x00"s},
      {F, "N1R0", std::string(32, ' ') + "0"},
      {F, "N2R3", "9555" + std::string(28, ' ') + "1"},
      {F, "N8R7", "*70,5551234#" + std::string(20, ' ') + "0"},
      {S, "HI", "OK"},
      {S, "MR", "2123456654321312130\r"},
      {S, "I3R", "100203\x4a\x01\x10\x0e"},
      {S, "N1R0", std::string(31, ' ') + "\r"},
      {S, "N2R3", "9555" + std::string(27, ' ') + "\r"},
      {S, "BY", "OK"},
  };
  for (const ReadCase& c : cases) {
    Line line(fast(c.layout), programmed());
    EXPECT_EQ(line.exchange(c.command), c.answer) << c.command << (c.layout == S ? " (short)" : "");
  }
}

TEST(DeviceReads, AFactoryUnitAnswersItsDefaults) {
  Line line(fast());
  EXPECT_EQ(line.exchange("MR"), "05072313906181060000");
  for (int input = 1; input <= 8; ++input) {
    EXPECT_EQ(line.exchange("I" + std::to_string(input) + "R"), "000201\x00\x00\x00\x00"s);
  }
  EXPECT_EQ(line.exchange("N5R4"), std::string(32, ' ') + "0");
}

TEST(DeviceReads, NoAnswerToRecordsThatDoNotExistOrToNoise) {
  Line line(fast(), programmed());
  for (const char* command : {"I9R", "I0R", "N1R8", "N9R0", "XY", "ok", "hi", "OK", "M"}) {
    EXPECT_EQ(line.exchange(command), "") << command;
  }
  // Each was thrown away at the gap; the line is in step again.
  EXPECT_EQ(line.exchange("HI"), "OK");
  ASSERT_EQ(line.transcript.size(), 10u);
  EXPECT_EQ(line.transcript[0].note, "no such record");
  EXPECT_EQ(line.transcript[4].note, "not a command");
  EXPECT_FALSE(line.transcript[4].answer);
}

TEST(DeviceWrites, AreStoredAndReadBack) {
  Line line(fast());
  const Memory target = programmed();
  EXPECT_EQ(line.exchange(globalWriteCommand(target.global, Layout::Full)), "OK");
  EXPECT_EQ(line.exchange("I3W100203000530010000"), "OK");
  EXPECT_EQ(line.exchange("I8W211099181215000000"), "OK");
  EXPECT_EQ(line.exchange("N2W319555"), "OK");
  EXPECT_EQ(line.exchange("N8W70*70,5551234#"), "OK");
  EXPECT_EQ(line.device.memory(), target);
  EXPECT_EQ(line.memoryChanges, 5);

  EXPECT_EQ(line.exchange("MR"), "21234566543213121130");
  EXPECT_EQ(line.exchange("I3R"), "100203\x4a\x01\x10\x0e");
  EXPECT_EQ(line.exchange("N2R3"), "9555" + std::string(28, ' ') + "1");

  // Writing an empty number clears the slot.
  EXPECT_EQ(line.exchange("N2W30"), "OK");
  EXPECT_EQ(line.exchange("N2R3"), std::string(32, ' ') + "0");
}

TEST(DeviceWrites, TheShortLayoutKeepsWhatItsCommandsDoNotCarry) {
  Memory start = Memory::factory();
  start.global.hookswitchFlash = "1";
  start.number(1, 0) = PhoneRecord{"111", true};
  Line line(fast(Layout::Short), start);
  EXPECT_EQ(line.exchange("MW2123456654321312130"), "OK");
  EXPECT_EQ(line.exchange("N1W0555"), "OK");

  GlobalRecord global{"2", "123456", "654321", "3", "12", "1", "1", "30"};
  EXPECT_EQ(line.device.memory().global, global);
  EXPECT_EQ(line.device.memory().number(1, 0), (PhoneRecord{"555", true}));
  EXPECT_EQ(line.exchange("MR"), "2123456654321312130\r");
  EXPECT_EQ(line.exchange("N1R0"), "555" + std::string(28, ' ') + "\r");
}

TEST(DeviceWrites, MalformedAreRefusedAndChangeNothing) {
  const std::string digits33(33, '5');
  for (const std::string& command : {
           "MW31234566543213121130"s,  // function 3
           "MW2123456654321312113x"s,  // forced play timer
           "I3W300203000530010000"s,   // normal state 3
           "I9W100203000530010000"s,   // no input 9
           "I3W100203006000010000"s,   // 60 minutes
           "N1W0"s,                    // no pager flag
           "N1W02"s,                   // pager flag 2
           "N1W00555 1234"s,           // a blank in the number
           "N9W00"s,                   // no input 9
           "N1W8"s + "0"s,             // no slot 8
           "N1W00"s + digits33,        // 33 digits
       }) {
    Line line(fast(), programmed());
    EXPECT_EQ(line.exchange(command), "ER") << command;
    EXPECT_EQ(line.device.memory(), programmed()) << command;
    EXPECT_EQ(line.memoryChanges, 0) << command;
    ASSERT_EQ(line.transcript.size(), 1u);
    EXPECT_EQ(line.transcript[0].note, "malformed, refused");
  }
}

TEST(DeviceWrites, AFullLayoutGlobalWriteDoesNotFitAShortUnit) {
  // 22 characters to a unit that takes 21: the 21 form a write with a bad timer, the
  // 22nd is noise.
  Line line(fast(Layout::Short), programmed());
  EXPECT_EQ(line.exchange("MW05072313906181060000"), "OK");
  EXPECT_EQ(line.device.memory().global.forcedPlayTimer, "00");
  ASSERT_EQ(line.transcript.size(), 2u);
  EXPECT_EQ(line.transcript[1].received, "0");
}

TEST(DeviceWrites, AShortLayoutGlobalWriteIsTooShortForAFullUnit) {
  // The unit waits for a 22nd character that never comes, then drops the 21 at the gap.
  Line line(fast(), programmed());
  EXPECT_EQ(line.exchange("MW0507231390618106000"), "");
  EXPECT_EQ(line.device.memory(), programmed());
  ASSERT_EQ(line.transcript.size(), 1u);
  EXPECT_EQ(line.transcript[0].note, "not a command");
}

TEST(DeviceFraming, APhoneWriteEndsAtTheIdleGap) {
  Line line(fast(), programmed());
  line.device.receive("N4W31", line.now);
  EXPECT_EQ(line.runFor(3ms), "");
  line.device.receive("9555", line.now);
  EXPECT_EQ(line.runFor(5ms - 1us), "");
  EXPECT_EQ(line.runFor(1us), "OK");
  EXPECT_EQ(line.device.memory().number(4, 3), (PhoneRecord{"9555", true}));
}

TEST(DeviceFraming, ASilenceLongerThanTheGapEndsTheWriteEarly) {
  Line line(fast(), programmed());
  EXPECT_EQ(line.exchange("N4W31", 20ms), "OK");
  EXPECT_EQ(line.exchange("9555", 20ms), "");
  EXPECT_EQ(line.device.memory().number(4, 3), (PhoneRecord{"", true}));
  ASSERT_EQ(line.transcript.size(), 2u);
  EXPECT_EQ(line.transcript[0].received, "N4W31");
  EXPECT_EQ(line.transcript[1].received, "9555");
  EXPECT_EQ(line.transcript[1].note, "not a command");
}

TEST(DeviceFraming, FixedLengthCommandsAreAnsweredAtTheirLastCharacter) {
  Line line(fast(), programmed());
  line.device.receive("I3", line.now);
  EXPECT_EQ(line.runFor(1ms), "");
  line.device.receive("R", line.now);
  EXPECT_EQ(line.device.poll(line.now).bytes, "100203\x4a\x01\x10\x0e");
}

TEST(DeviceFraming, CommandsBackToBackInOneReadAreEachAnswered) {
  Line line(fast(), programmed());
  EXPECT_EQ(line.exchange("HIMRBY"), "OK21234566543213121130OK");
}

TEST(DeviceFraming, AHalfCommandIsThrownAwayAtTheGap) {
  Line line(fast(), programmed());
  EXPECT_EQ(line.exchange("I3", 10ms), "");
  EXPECT_EQ(line.exchange("I8R"), "211099\xff\xff\x00\x00"s);
  ASSERT_EQ(line.transcript.size(), 2u);
  EXPECT_EQ(line.transcript[0].received, "I3");
  EXPECT_FALSE(line.transcript[0].answer);
}

TEST(DeviceTiming, ReceivedCharactersCountTheirWireTimeAndAnswersArePaced) {
  Device device(DeviceSettings{Layout::Full, 9600, 5ms, {}}, Memory::factory());
  EXPECT_EQ(device.characterTime(), kCharacter);
  device.receive("HI", kStart);
  EXPECT_EQ(device.nextWakeUp(), kStart + kCharacter);
  EXPECT_EQ(device.poll(kStart + 2 * kCharacter - 1ns).bytes, "");
  EXPECT_EQ(device.poll(kStart + 2 * kCharacter).bytes, "");  // the command is in; the answer starts now
  EXPECT_EQ(device.nextWakeUp(), kStart + 3 * kCharacter);
  EXPECT_EQ(device.poll(kStart + 3 * kCharacter).bytes, "O");
  EXPECT_EQ(device.poll(kStart + 4 * kCharacter - 1ns).bytes, "");
  EXPECT_EQ(device.poll(kStart + 4 * kCharacter).bytes, "K");
  EXPECT_EQ(device.nextWakeUp(), std::nullopt);
}

TEST(DeviceTiming, ARecordEndsAfterTheWireTimeOfCommandAndAnswer) {
  Line line(DeviceSettings{Layout::Full, 9600, 5ms, {}});
  EXPECT_EQ(line.exchange("N1R0").size(), 33u);
  ASSERT_EQ(line.byteTimes.size(), 33u);
  for (std::size_t i = 0; i < 33; ++i) EXPECT_EQ(line.byteTimes[i], kStart + static_cast<int>(5 + i) * kCharacter);
}

TEST(DeviceTiming, BytesReceivedTogetherArriveOneAfterAnother) {
  Device device(DeviceSettings{Layout::Full, 9600, 5ms, {}}, Memory::factory());
  device.receive("H", kStart);
  device.receive("I", kStart + 100us);  // still on the wire behind the "H"
  EXPECT_EQ(device.poll(kStart + 2 * kCharacter - 1ns).bytes, "");
  device.poll(kStart + 2 * kCharacter);
  EXPECT_EQ(device.poll(kStart + 3 * kCharacter).bytes, "O");
}

TEST(DeviceTiming, APhoneWriteIsAnsweredOneGapAfterItsLastCharacter) {
  Line line(DeviceSettings{Layout::Full, 9600, 5ms, {}});
  EXPECT_EQ(line.exchange("N2W319555"), "OK");
  const Instant lastIn = kStart + 9 * kCharacter;
  EXPECT_EQ(line.byteTimes, (std::vector<Instant>{lastIn + 5ms + kCharacter, lastIn + 5ms + 2 * kCharacter}));
}

TEST(DeviceFaults, NoAnswerSilencesTheNthCommandOnly) {
  Line line(withFaults({"none:HI:2"}));
  EXPECT_EQ(line.exchange("HI"), "OK");
  EXPECT_EQ(line.exchange("HI"), "");
  EXPECT_EQ(line.exchange("HI"), "OK");
  EXPECT_EQ(line.transcript[1].note, "fault none:HI:2");
}

TEST(DeviceFaults, AnUnansweredWriteStillTakesEffect) {
  Line line(withFaults({"none:NW:1"}));
  EXPECT_EQ(line.exchange("N1W01555"), "");
  EXPECT_EQ(line.device.memory().number(1, 0), (PhoneRecord{"555", true}));
  EXPECT_EQ(line.memoryChanges, 1);
}

TEST(DeviceFaults, ALateAnswerComesAfterItsDelay) {
  Line line(withFaults({"late:HI:all:3000"}));
  EXPECT_EQ(line.exchange("HI", 3000ms - 1us), "");
  EXPECT_EQ(line.runFor(1us), "OK");
  EXPECT_EQ(line.exchange("HI", 2999ms), "");
  EXPECT_EQ(line.runFor(1ms), "OK");
}

TEST(DeviceFaults, TextAndLengthReplaceOrReshapeTheAnswer) {
  struct Case {
    std::vector<const char*> faults;
    const char* command;
    std::string answer;
  };
  const std::vector<Case> cases = {
      {{"text:HI:1:ok"}, "HI", "ok"},
      {{"text:HI:1:O"}, "HI", "O"},
      {{"text:HI:1:OK and more"}, "HI", "OK and more"},
      {{"text:MR:1:05072313906181060\\r"}, "MR", "05072313906181060\r"},
      {{"text:IW:1:NO"}, "I1W000201000000000000", "NO"},
      {{"length:MR:1:19"}, "MR", "0507231390618106000"},
      {{"length:HI:1:5"}, "HI", "OK   "},
      {{"length:NR:1:32"}, "N1R0", std::string(32, ' ')},
      {{"length:IR:1:9"}, "I1R", "000201\x00\x00\x00"s},
      {{"length:HI:1:0"}, "HI", ""},
      {{"text:HI:1:OKAY", "length:HI:1:3"}, "HI", "OKA"},
      {{"length:HI:1:3", "text:HI:1:OKAY"}, "HI", "OKAY"},
      {{"text:NR:all:X"}, "N1R0", "X"},
  };
  for (const Case& c : cases) {
    DeviceSettings settings = fast();
    for (const char* faultText : c.faults) settings.faults.push_back(parseFault(faultText));
    Line line(settings);
    EXPECT_EQ(line.exchange(c.command), c.answer) << c.faults.front();
  }
}

TEST(DeviceFaults, CountCommandsOfEachKindApart) {
  Line line(withFaults({"text:NR:3:X", "none:any:2"}));
  EXPECT_EQ(line.exchange("N1R0").size(), 33u);  // NR 1, command 1
  EXPECT_EQ(line.exchange("I1R"), "");           // command 2
  EXPECT_EQ(line.exchange("N1R1").size(), 33u);  // NR 2
  EXPECT_EQ(line.exchange("N1R2"), "X");         // NR 3
  EXPECT_EQ(line.exchange("N1R3").size(), 33u);
}

TEST(DeviceFaults, EveryCommandOfAKind) {
  Line line(withFaults({"none:NR:all"}));
  for (int slot = 0; slot < 8; ++slot) EXPECT_EQ(line.exchange("N1R" + std::to_string(slot)), "");
  EXPECT_EQ(line.exchange("HI"), "OK");
}

TEST(DeviceFaults, ADropKillsTheLineAsTheCommandArrives) {
  Line line(withFaults({"drop:NR:1"}));
  EXPECT_EQ(line.exchange("N1R0HI"), "");  // what came after it on the line is gone too
  EXPECT_EQ(line.drops, 1);
  ASSERT_EQ(line.transcript.size(), 1u);
  EXPECT_EQ(line.transcript[0].note, "line dropped, fault drop:NR:1");
  // The line that comes back serves as before.
  EXPECT_EQ(line.exchange("HI"), "OK");
  EXPECT_EQ(line.drops, 1);
}

TEST(DeviceFaults, ADroppedWriteIsNotStored) {
  Line line(withFaults({"drop:NW:1"}), programmed());
  EXPECT_EQ(line.exchange("N2W30"), "");
  EXPECT_EQ(line.drops, 1);
  EXPECT_EQ(line.device.memory(), programmed());
  EXPECT_EQ(line.memoryChanges, 0);
}

TEST(DeviceFaults, ADropOfTheNthReadComesAfterTheEarlierAnswers) {
  Line line(withFaults({"drop:NR:2"}));
  EXPECT_EQ(line.exchange("N1R0").size(), 33u);
  EXPECT_EQ(line.drops, 0);
  EXPECT_EQ(line.exchange("N1R1"), "");
  EXPECT_EQ(line.drops, 1);
}

TEST(DeviceFaults, AnUnplugAnswersAndKillsTheLineWhenThePortIsClosed) {
  Device device(withFaults({"unplug:MR:1"}), Memory::factory());
  device.receive("MR", kStart);
  const DeviceOutput answered = device.poll(kStart);
  EXPECT_TRUE(answered.unplugged);
  EXPECT_EQ(answered.bytes.size(), 20u);
  EXPECT_FALSE(answered.dropLine);
  EXPECT_FALSE(device.poll(kStart + 1s).dropLine);
  device.portClosed(kStart + 1s);
  const DeviceOutput closed = device.poll(kStart + 1s);
  EXPECT_TRUE(closed.dropLine);
  EXPECT_FALSE(closed.unplugged);
  // Only once.
  device.portClosed(kStart + 2s);
  EXPECT_FALSE(device.poll(kStart + 2s).dropLine);
}

TEST(DeviceFaults, ALateAnswerIsLostWhenThePortClosesBeforeIt) {
  Line line(withFaults({"late:HI:1:100"}));
  EXPECT_EQ(line.exchange("HI", 50ms), "");
  line.device.portClosed(line.now);
  EXPECT_EQ(line.runFor(1s), "");
  EXPECT_EQ(line.exchange("MR").size(), 20u);
}

TEST(DevicePort, ClosingThePortCutsAPacedAnswerShort) {
  Line line(DeviceSettings{Layout::Full, 9600, 5ms, {}});
  line.device.receive("N1R0", line.now);
  EXPECT_EQ(line.runFor(4 * kCharacter + 10 * kCharacter).size(), 10u);
  line.device.portClosed(line.now);
  EXPECT_EQ(line.runFor(1s), "");
  // The next answer is not held back behind the one cut short.
  const Instant sent = line.now;
  EXPECT_EQ(line.exchange("HI"), "OK");
  EXPECT_EQ(line.byteTimes.back(), sent + 4 * kCharacter);
}

}  // namespace
}  // namespace tarvek::sim
