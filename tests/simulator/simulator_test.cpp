// What tarvek-sim does that the programmer's end-to-end tests never make it do: refuse
// what a programmer should not send, pace a real line, keep what the short layout does
// not carry, combine faults; its memory file and command line as a person writes them;
// and how the program ends. The transcript is read by the end-to-end tests.

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <sstream>

#include "simulator/device.h"
#include "simulator/memory_file.h"
#include "simulator/memory_text.h"
#include "simulator/options.h"
#include "support/simulator_process.h"
#include "support/temp_dir.h"

namespace tarvek::sim {
namespace {

using namespace std::chrono_literals;
using test::TempDir;

const Instant kStart = Instant{} + 1h;
constexpr auto kCharacter = std::chrono::nanoseconds(1'041'666);  // 10 bits at 9600 baud

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
  const char* const malformed = "malformed, refused";
  // The bytes, the answer, the note; the short layout where named.
  const std::tuple<std::string, const char*, const char*, Layout> rows[] = {
      {"hi", "", notACommand, Layout::Full},
      {"I3", "", notACommand, Layout::Full},                     // half a command, thrown away at the gap
      {"MW0507231390618106000", "", notACommand, Layout::Full},  // a short unit's Global write to a full one
      {"N1W0" + std::string(61, '5'), "", notACommand, Layout::Full},
      {"I9R", "", "no such record", Layout::Full},
      {"MW31234566543213121130", "ER", malformed, Layout::Full},  // function 3
      {"MW212345665432131213x", "ER", malformed, Layout::Short},
      {"I3W300203000530010000", "ER", malformed, Layout::Full},  // normal state 3
      {"I3W100203000530181216", "ER", malformed, Layout::Full},  // 65536 seconds
      {"N1W00555 1234", "ER", malformed, Layout::Full},          // a blank in the number
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
  const std::string empty = std::string(32, ' ') + "0";
  const std::pair<std::vector<const char*>, std::vector<std::pair<const char*, std::string>>> rows[] = {
      {{"text:NR:3:X", "none:any:2"}, {{"N1R0", empty}, {"I1R", ""}, {"N1R1", empty}, {"N1R2", "X"}, {"N1R3", empty}}},
      {{"text:HI:1:OKAY", "length:HI:1:3"}, {{"HI", "OKA"}, {"HI", "OK"}}},
      {{"length:HI:1:3", "text:HI:1:OKAY"}, {{"HI", "OKAY"}}},
  };
  for (const auto& [faults, exchanges] : rows) {
    Line line(fast(Layout::Full, faults));
    for (const auto& [command, answer] : exchanges) EXPECT_EQ(line.exchange(command), answer) << faults[0];
  }
}

// The memory file as a person writes it by hand, in the names the formatter uses (the
// end-to-end tests only ever write it through the same code that reads it), and the files
// it refuses.
TEST(Memory, TheTextReadsAsDocumentedAndComesBack) {
  Memory odd = Memory::factory();
  odd.global = GlobalRecord{"7", "12 456", "\"\\\r\n\t\x01", "x", std::string("\xff\x00", 2), " ", "#", "99"};
  odd.input(4) = InputRecord{"5", " ", "00", "ab", 65535, 330};
  odd.number(5, 5) = PhoneRecord{"555 12\r", true};
  EXPECT_EQ(parseMemory(formatMemory(odd)), odd) << formatMemory(odd);

  // Lines left out keep the factory values; comments, blank lines and indents are passed over.
  Memory expected = Memory::factory();
  expected.global.securityCode = "12 456";
  expected.input(3).resumeTimer = 3600;
  expected.input(3).normalState = "2";
  expected.number(2, 3) = PhoneRecord{"9555", true};
  EXPECT_EQ(parseMemory("# two changes\n\nsecurity-code \"12 456\"\n   input 3 resume-timer 3600 normal-state 2\n"
                        "number 2 3 pager 1 \"9555\"\r\n"),
            expected);

  // What it cannot read, it names with the line.
  const std::pair<const char*, const char*> refused[] = {
      {"\nsecurity-code 12345", "line 2: security-code must be 6 characters"},
      {"colour blue", "line 1: unknown name \"colour\""},
      {"number 1 0 pager 0 \"555", "line 1: unterminated quoted value"},
      {"number 1 0 pager 0 \"123456789012345678901234567890123\"", "line 1: a number has at most 32 characters"},
  };
  for (const auto& [text, message] : refused) {
    try {
      parseMemory(text);
      ADD_FAILURE() << text << " was taken";
    } catch (const MemoryFormatError& error) {
      EXPECT_STREQ(error.what(), message) << text;
    }
  }
}

TEST(Memory, TheFileIsCreatedWhenMissingLoadedAsItIsAndReplacedWhole) {
  TempDir dir;
  const auto file = dir / "memory.txt";
  EXPECT_EQ(loadOrCreateMemoryFile(file), Memory::factory());
  EXPECT_EQ(test::readFile(file), formatMemory(Memory::factory()));
  test::writeFile(file, "function 2\n");
  EXPECT_EQ(loadOrCreateMemoryFile(file).global.function, "2");
  EXPECT_EQ(test::readFile(file), "function 2\n");
  saveMemoryFile(file, Memory::factory());
  EXPECT_EQ(test::readFile(file), formatMemory(Memory::factory()));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "a temporary file was left";
  EXPECT_THROW(loadMemoryFile(dir / "missing.txt"), std::system_error);
  EXPECT_THROW(saveMemoryFile(dir / "no-such-folder" / "memory.txt", Memory::factory()), std::system_error);
}

// The command line and the written forms of faults, as a person types them: the end-to-end
// tests pass only the forms they need, through SimulatorProcess.
TEST(Options, TakesTheOtherSpellingAndEachFaultFormOrSaysWhyNot) {
  // The end-to-end tests pass every option as "--name value".
  const Options options = parseOptions({"--gap=12", "--fault=text:HI:1:a=b", "--short"});
  EXPECT_EQ(std::make_tuple(options.idleGap, options.faults.at(0).text, options.layout),
            std::make_tuple(12ms, "a=b", Layout::Short));
  EXPECT_TRUE(parseOptions({"-h"}).help);
  // Refused command lines, the arguments between blanks.
  for (const char* line :
       {"--link", "--memory=", "--baud 9600x", "--gap 0", "--fault none", "--short=yes", "link com1"}) {
    std::istringstream words(line);
    EXPECT_THROW(parseOptions({std::istream_iterator<std::string>(words), {}}), UsageError) << line;
  }

  for (const char* form :
       {"late:HI:all:3000", "text:MR:1:a:b", "text:NR:all:9555\\r", "text:IW:1:", "none:any:7", "drop:BY:all"})
    EXPECT_EQ(parseFault(form).describe(), form);
  EXPECT_EQ(parseFault("unplug:mr:1").describe(), "unplug:MR:1");
  EXPECT_EQ(parseFault("text:NR:all:9555\\r").text, "9555\r");
  for (const char* text : {"", "none:NR", "none:NR:3:9", "late:HI:1:-5", "text:HI:1:\\q", "length:MR:1:99999",
                           "drop:XX:1", "slow:HI:1", "none:HI:1x"})
    EXPECT_THROW(parseFault(text), FaultSyntaxError) << text;
}

// tarvek-sim as a program: what its command line answers, and how it ends. Serving the
// line is what the end-to-end tests do.
TEST(SimulatorProgram, ExplainsItselfAndStopsOnWhatItCannotUse) {
  TempDir dir;
  test::writeFile(dir / "bad-memory.txt", "function 00\n");
  // The arguments, the exit status, a part of what it writes.
  const std::tuple<std::string, int, std::string> rows[] = {
      {"--help", 0, "--link PATH"},
      {"--fault none:HX:1", 2, "unknown command kind \"HX\""},
      {"--memory " + (dir / "bad-memory.txt").string(), 1, "bad-memory.txt, line 1: function must be 1 character"},
      {"--transcript " + (dir / "no-folder" / "t.log").string(), 1, "cannot open the transcript"},
  };
  for (const auto& [arguments, status, part] : rows) {
    // At most 20 s, standard error with the output.
    const std::string command = "timeout 20 " + test::simulatorExecutable().string() + " " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    char buffer[512];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    const int exit = ::pclose(pipe);
    EXPECT_EQ(WIFEXITED(exit) ? WEXITSTATUS(exit) : -1, status) << arguments;
    EXPECT_NE(output.find(part), std::string::npos) << arguments << ": " << output;
  }
}

TEST(SimulatorProgram, StopSignalsEndItCleanlyAndTakeTheLinkAway) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    TempDir dir;
    const auto link = dir / "ports" / "com1";
    test::SimulatorProcess simulator({"--link", link});
    ASSERT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(simulator.stop(signal), 0) << signal;
    EXPECT_FALSE(std::filesystem::is_symlink(link)) << signal;
  }
}

TEST(SimulatorProgram, EndsWithTheProcessThatStartedIt) {
  TempDir dir;
  const auto link = dir / "ports" / "com1";
  int pidPipe[2];
  ASSERT_EQ(::pipe(pidPipe), 0);
  const pid_t starter = ::fork();
  ASSERT_GE(starter, 0);
  if (starter == 0) {
    test::SimulatorProcess simulator({"--link", link});
    const pid_t pid = simulator.pid();
    if (::write(pidPipe[1], &pid, sizeof pid) == sizeof pid) ::pause();
    ::_exit(1);
  }
  pid_t simulator = 0;
  ASSERT_EQ(::read(pidPipe[0], &simulator, sizeof simulator), ssize_t(sizeof simulator));
  ::close(pidPipe[0]);
  ::close(pidPipe[1]);
  ::kill(starter, SIGKILL);  // no destructor runs
  ::waitpid(starter, nullptr, 0);
  // Not our child: its end is seen through a pidfd; none when it is gone already.
  pollfd ending{static_cast<int>(::syscall(SYS_pidfd_open, simulator, 0)), POLLIN, 0};
  const bool ended = ending.fd < 0 || ::poll(&ending, 1, 2000) == 1;
  if (ending.fd >= 0) ::close(ending.fd);
  EXPECT_TRUE(ended) << "tarvek-sim outlived the process that started it";
  EXPECT_FALSE(std::filesystem::is_symlink(link));
  if (!ended) ::kill(simulator, SIGTERM);
}

}  // namespace
}  // namespace tarvek::sim
