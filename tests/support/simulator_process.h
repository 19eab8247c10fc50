#pragma once

#include <sys/types.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tarvek::test {

// tarvek-sim running as a child process for the length of a test. The constructor
// returns once the link is served; the destructor stops it (SIGTERM, then waits). Should
// this process end without it (killed, crashed), tarvek-sim ends too.
class SimulatorProcess {
 public:
  // Takes tarvek-sim's options ("--link", path, "--fault", "none:NR:3", ...); it answers
  // at once unless they give a "--baud".
  explicit SimulatorProcess(const std::vector<std::string>& options);
  ~SimulatorProcess();
  SimulatorProcess(const SimulatorProcess&) = delete;
  SimulatorProcess& operator=(const SimulatorProcess&) = delete;

  // Waits until tarvek-sim serves a new line after a dropped one, and returns its
  // pseudo-terminal. Throws std::runtime_error after 20 s or when it ended.
  std::string waitForNewLine();
  // The pseudo-terminal of the line served last.
  const std::string& device() const { return m_device; }
  pid_t pid() const { return m_pid; }

  // Sends the signal and waits (SIGKILL after 10 s). Returns the exit code, or 128 plus
  // the signal that ended it. Later calls return the same.
  int stop(int signal = SIGTERM);

 private:
  // Reads what it writes ("ready <device>" for each line served) until it has served
  // `lines` lines, it ended, or the time ran out; true in the first case.
  bool readOutput(int lines, std::chrono::milliseconds timeout);

  pid_t m_pid = -1;
  int m_output = -1;  // its standard output; closed once it ended
  std::string m_unread;
  std::string m_device;
  int m_lines = 0;
  std::optional<int> m_status;
};

// The tarvek-sim this build made.
std::filesystem::path simulatorExecutable();

}  // namespace tarvek::test
