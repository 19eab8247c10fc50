// tarvek-sim as a program: what its command line answers, and how it ends. Serving the
// line is what the end-to-end tests do.

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "support/simulator_process.h"
#include "support/temp_dir.h"

namespace tarvek::test {
namespace {

using namespace std::chrono_literals;

// Runs tarvek-sim to its end (at most 20 s) and returns its exit status and output.
std::pair<int, std::string> runSimulator(const std::string& arguments) {
  const std::string command = "timeout 20 " + simulatorExecutable().string() + " " + arguments + " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  std::string output;
  char buffer[512];
  while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = ::pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(SimulatorProgram, ExplainsItselfAndStopsOnWhatItCannotUse) {
  TempDir dir;
  writeFile(dir / "bad-memory.txt", "function 00\n");
  // The arguments, the exit status, a part of what it writes.
  const std::tuple<std::string, int, std::string> rows[] = {
      {"--help", 0, "--link PATH"},
      {"--fault none:HX:1", 2, "unknown command kind \"HX\""},
      {"--memory " + (dir / "bad-memory.txt").string(), 1, "bad-memory.txt, line 1: function must be 1 character"},
      {"--transcript " + (dir / "no-folder" / "t.log").string(), 1, "cannot open the transcript"},
  };
  for (const auto& [arguments, status, part] : rows) {
    const auto [exitStatus, output] = runSimulator(arguments);
    EXPECT_EQ(exitStatus, status) << arguments;
    EXPECT_NE(output.find(part), std::string::npos) << arguments << ": " << output;
  }
}

TEST(SimulatorProgram, StopSignalsEndItCleanlyAndTakeTheLinkAway) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    TempDir dir;
    const auto link = dir / "ports" / "com1";
    SimulatorProcess simulator({"--link", link});
    ASSERT_TRUE(std::filesystem::is_symlink(link));
    ::kill(simulator.pid(), signal);
    EXPECT_TRUE(simulator.waitForEnd(5s)) << signal;
    EXPECT_EQ(simulator.stop(), 0) << signal;
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
    SimulatorProcess simulator({"--link", link});
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
}  // namespace tarvek::test
