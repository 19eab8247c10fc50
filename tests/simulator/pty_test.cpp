// tarvek-sim as the programmer meets it: a child process serving a pseudo-terminal
// behind a link, opened and closed around every exchange by plain POSIX code.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <thread>

#include "raw_port.h"
#include "simulator/memory_text.h"
#include "support/simulator_process.h"
#include "support/temp_dir.h"

namespace tarvek::test {
namespace {

using namespace std::chrono_literals;

const std::string kFactoryGlobal = "05072313906181060000";

class SimulatorOnPty : public ::testing::Test {
 protected:
  std::filesystem::path link() const { return m_dir / "ports" / "com1"; }
  std::filesystem::path file(const std::string& name) const { return m_dir / name; }
  SimulatorOptions options(std::vector<std::string> faults = {}) const {
    SimulatorOptions o;
    o.link = link();
    o.faults = std::move(faults);
    return o;
  }
  std::string exchange(std::string_view command, std::size_t length, std::chrono::milliseconds timeout = 4000ms) const {
    RawPort port(link());
    return port.exchange(command, length, timeout);
  }
  bool linkExists() const {
    std::error_code ignored;
    return std::filesystem::is_symlink(std::filesystem::symlink_status(link(), ignored));
  }
  // Waits up to two seconds for the link to come or go.
  bool linkBecomes(bool present) const {
    for (int i = 0; i < 1000 && linkExists() != present; ++i) std::this_thread::sleep_for(2ms);
    return linkExists() == present;
  }

 private:
  TempDir m_dir;
};

TEST_F(SimulatorOnPty, GreetsAndReadsAcrossOpeningsOfThePort) {
  SimulatorProcess simulator(options());
  EXPECT_EQ(std::filesystem::read_symlink(link()), simulator.device());
  {
    RawPort port(link());
    EXPECT_EQ(port.exchange("HI", 2, 2000ms), "OK");
    EXPECT_EQ(port.exchange("MR", 20, 4000ms), kFactoryGlobal);
  }
  {
    RawPort port(link());
    EXPECT_EQ(port.exchange("N1R0", 33, 4000ms), std::string(32, ' ') + "0");
  }
  EXPECT_EQ(exchange("MR", 20), kFactoryGlobal);
  EXPECT_EQ(simulator.stop(), 0);
}

TEST_F(SimulatorOnPty, ServesAPreparedMemoryAndSavesEachAcceptedWrite) {
  sim::Memory memory = sim::Memory::factory();
  memory.number(2, 3) = sim::PhoneRecord{"9555", true};
  writeSimulatorMemory(file("memory.txt"), memory);
  SimulatorOptions o = options();
  o.memoryFile = file("memory.txt");
  SimulatorProcess simulator(o);

  EXPECT_EQ(exchange("N2R3", 33), "9555" + std::string(28, ' ') + "1");
  EXPECT_EQ(exchange("I3W100203000530010000", 2), "OK");
  memory.input(3) = sim::InputRecord{"1", "0", "02", "03", 330, 3600};
  EXPECT_EQ(readSimulatorMemory(file("memory.txt")), memory);

  EXPECT_EQ(exchange("N2W30", 2), "OK");
  memory.number(2, 3) = sim::PhoneRecord{};
  EXPECT_EQ(readSimulatorMemory(file("memory.txt")), memory);

  EXPECT_EQ(exchange("N2W3x", 2), "ER");
  EXPECT_EQ(readSimulatorMemory(file("memory.txt")), memory);
  EXPECT_EQ(simulator.stop(), 0);
  EXPECT_EQ(readSimulatorMemory(file("memory.txt")), memory);
}

TEST_F(SimulatorOnPty, AMissingMemoryFileStartsFromTheFactoryState) {
  SimulatorOptions o = options();
  o.memoryFile = file("new-memory.txt");
  SimulatorProcess simulator(o);
  EXPECT_EQ(readSimulatorMemory(file("new-memory.txt")), sim::Memory::factory());
}

TEST_F(SimulatorOnPty, AShortUnitEndsItsAnswersWithACarriageReturn) {
  SimulatorOptions o = options();
  o.shortLayout = true;
  SimulatorProcess simulator(o);
  EXPECT_EQ(exchange("MR", 20), "0507231390618106000\r");
  EXPECT_EQ(exchange("N1R0", 33, 300ms), std::string(31, ' ') + "\r");
}

TEST_F(SimulatorOnPty, TheTranscriptHasALinePerCommand) {
  SimulatorOptions o = options({"none:BY:1"});
  o.transcriptFile = file("transcript.txt");
  {
    SimulatorProcess simulator(o);
    exchange("HI", 2);
    exchange("I3R", 10);
    exchange("BY", 10, 200ms);
  }
  const std::string text = readFile(file("transcript.txt"));
  ASSERT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << text;
  EXPECT_NE(text.find("  \"HI\" -> \"OK\"\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  \"I3R\" -> \"000201\\x00\\x00\\x00\\x00\"\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  \"BY\" -> (no answer)  # fault none:BY:1\n"), std::string::npos) << text;
}

TEST_F(SimulatorOnPty, AnswerBytesThatNoClientReadDoNotLingerForTheNextOpening) {
  SimulatorProcess simulator(options({"length:HI:1:200", "late:MR:1:300"}));
  {
    RawPort port(link());
    EXPECT_EQ(port.exchange("HI", 2, 2000ms), "OK");  // 198 blanks follow
  }
  {
    RawPort port(link());
    EXPECT_EQ(port.exchange("MR", 20, 100ms), "");  // gives up before the late answer
  }
  std::this_thread::sleep_for(400ms);
  // This client keeps what was waiting before it opened: nothing must be.
  RawPort port(link(), false);
  EXPECT_EQ(port.exchange("MR", 20, 2000ms), kFactoryGlobal);
  EXPECT_EQ(port.read(1, 100ms), "");
}

TEST_F(SimulatorOnPty, ARealLinePacesTheAnswer) {
  SimulatorOptions o = options();
  o.baud = 9600;
  SimulatorProcess simulator(o);
  RawPort port(link());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(port.exchange("N1R0", 33, 2000ms).size(), 33u);
  // 37 characters of 10 bits at 9600 baud cannot take less than 38.5 ms.
  EXPECT_GE(std::chrono::steady_clock::now() - start, 38500us);
}

TEST_F(SimulatorOnPty, ADroppedLineComesBackUnderTheSameLink) {
  SimulatorOptions o = options({"drop:NR:2"});
  o.replugDelay = 300ms;
  SimulatorProcess simulator(o);
  EXPECT_EQ(exchange("N1R0", 33).size(), 33u);
  {
    RawPort port(link());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.exchange("N1R1", 33, 4000ms), "");
    EXPECT_TRUE(port.hungUp());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2000ms) << "the hang-up was not seen at once";
  }
  EXPECT_FALSE(linkExists());
  const std::string second = simulator.waitForNewLine();
  ASSERT_TRUE(linkBecomes(true));
  EXPECT_EQ(std::filesystem::read_symlink(link()), second);
  EXPECT_EQ(exchange("HI", 2), "OK");
  EXPECT_EQ(exchange("N1R2", 33).size(), 33u);
  EXPECT_EQ(simulator.stop(), 0);
}

TEST_F(SimulatorOnPty, AnUnpluggedAdapterIsMissingAtTheNextOpening) {
  SimulatorOptions o = options({"unplug:HI:1"});
  o.replugDelay = 500ms;
  SimulatorProcess simulator(o);
  EXPECT_EQ(exchange("HI", 2), "OK");
  EXPECT_FALSE(linkExists()) << "the link was still there when the answer had come";
  try {
    RawPort port(link());
    ADD_FAILURE() << "the port opened while the adapter was unplugged";
  } catch (const std::system_error& error) {
    EXPECT_EQ(error.code().value(), ENOENT);
  }
  simulator.waitForNewLine();
  EXPECT_EQ(exchange("HI", 2), "OK");
}

TEST_F(SimulatorOnPty, StopSignalsEndItCleanly) {
  for (const int signal : {SIGTERM, SIGINT}) {
    SimulatorOptions o = options();
    o.memoryFile = file("memory.txt");
    SimulatorProcess simulator(o);
    EXPECT_EQ(exchange("N8W11234", 2), "OK");
    ::kill(simulator.pid(), signal);
    for (int i = 0; i < 2500 && simulator.running(); ++i) std::this_thread::sleep_for(2ms);
    EXPECT_FALSE(simulator.running()) << signal;
    EXPECT_EQ(simulator.stop(), 0) << signal;
    EXPECT_FALSE(linkExists()) << signal;
    EXPECT_EQ(readSimulatorMemory(file("memory.txt")).number(8, 1), (sim::PhoneRecord{"234", true})) << signal;
  }
}

TEST_F(SimulatorOnPty, EndsWithTheProcessThatStartedIt) {
  int pidPipe[2];
  ASSERT_EQ(::pipe(pidPipe), 0);
  const pid_t starter = ::fork();
  ASSERT_GE(starter, 0);
  if (starter == 0) {
    SimulatorProcess simulator(options());
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
  const bool ended = linkBecomes(false);
  EXPECT_TRUE(ended) << "tarvek-sim outlived the process that started it";
  if (!ended) ::kill(simulator, SIGTERM);
}

std::pair<int, std::string> runSimulator(const std::string& arguments) {
  const std::string command = simulatorExecutable().string() + " " + arguments + " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  std::string output;
  char buffer[512];
  while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = ::pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST_F(SimulatorOnPty, TheCommandLineExplainsItselfAndRefusesMistakes) {
  const auto [helpStatus, help] = runSimulator("--help");
  EXPECT_EQ(helpStatus, 0);
  EXPECT_NE(help.find("--link PATH"), std::string::npos) << help;
  EXPECT_NE(help.find("--memory FILE"), std::string::npos) << help;

  const auto [usageStatus, usage] = runSimulator("--fault none:HX:1");
  EXPECT_EQ(usageStatus, 2);
  EXPECT_NE(usage.find("unknown command kind \"HX\""), std::string::npos) << usage;

  writeFile(file("bad-memory.txt"), "function 00\n");
  const auto [badStatus, bad] = runSimulator("--baud 0 --memory " + file("bad-memory.txt").string());
  EXPECT_EQ(badStatus, 1);
  EXPECT_NE(bad.find("line 1: function must be 1 character"), std::string::npos) << bad;
}

TEST(SimulatorArguments, NameEveryOptionSet) {
  SimulatorOptions o;
  o.link = "/p/ports/com1";
  o.memoryFile = "/b/sim-memory.txt";
  o.transcriptFile = "/b/t.log";
  o.shortLayout = true;
  o.baud = 9600;
  o.faults = {"none:NR:3", "drop:NR:10"};
  o.replugDelay = 250ms;
  o.idleGap = 7ms;
  EXPECT_EQ(simulatorArguments(o),
            (std::vector<std::string>{"--link", "/p/ports/com1", "--memory", "/b/sim-memory.txt", "--transcript",
                                      "/b/t.log", "--short", "--baud", "9600", "--fault", "none:NR:3", "--fault",
                                      "drop:NR:10", "--replug-delay", "250", "--gap", "7"}));
}

}  // namespace
}  // namespace tarvek::test
