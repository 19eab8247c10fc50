#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "simulator/memory.h"
#include "support/temp_dir.h"

namespace tarvek::test {

// How to start tarvek-sim; each field is one of its options.
struct SimulatorOptions {
  std::filesystem::path link;            // --link: where the programmer finds the port (e.g. <dir>/ports/com1)
  std::filesystem::path memoryFile;      // --memory, when set
  std::filesystem::path transcriptFile;  // --transcript, when set
  bool shortLayout = false;              // --short
  int baud = 0;                          // --baud; 0 answers at once, 9600 paces like a real line
  std::vector<std::string> faults;       // --fault each, e.g. "none:NR:3", "text:HI:1:ok"
  std::optional<std::chrono::milliseconds> replugDelay;  // --replug-delay
  std::optional<std::chrono::milliseconds> idleGap;      // --gap
  std::vector<std::string> extraArguments;
};

// tarvek-sim running as a child process for the length of a test. The constructor
// returns once the link is served; the destructor stops it (SIGTERM, then waits). Should
// this process end without it (killed, crashed), tarvek-sim ends too.
class SimulatorProcess {
 public:
  explicit SimulatorProcess(SimulatorOptions options,
                            std::chrono::milliseconds readyTimeout = std::chrono::seconds(20));
  ~SimulatorProcess();
  SimulatorProcess(const SimulatorProcess&) = delete;
  SimulatorProcess& operator=(const SimulatorProcess&) = delete;

  // Waits until tarvek-sim serves a new line after a dropped one, and returns its
  // pseudo-terminal. Throws std::runtime_error when the time is up or it ended.
  std::string waitForNewLine(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  // The pseudo-terminal of the line served last seen.
  const std::string& device() const { return m_device; }
  const SimulatorOptions& options() const { return m_options; }
  pid_t pid() const { return m_pid; }

  // Sends SIGTERM and waits (SIGKILL after 10 s). Returns the exit code, or 128 plus
  // the signal that ended it. Later calls return the same.
  int stop();
  bool running();
  // Waits for it to end by itself; true when it has.
  bool waitForEnd(std::chrono::milliseconds timeout);

 private:
  void waitForLine(int line, std::chrono::milliseconds timeout);

  SimulatorOptions m_options;
  TempDir m_scratch;  // holds the ready file
  pid_t m_pid = -1;
  int m_pidfd = -1;
  std::optional<int> m_status;
  std::string m_device;
  int m_line = 0;  // how many lines tarvek-sim had served when last looked
};

// The built tarvek-sim: $TARVEK_SIM_EXE when set, else the one this build made.
std::filesystem::path simulatorExecutable();

// The arguments SimulatorProcess passes, ready file aside (for tests of the helper and scripts).
std::vector<std::string> simulatorArguments(const SimulatorOptions& options);

// Device memories through the simulator's own reader and writer, so tests can set up a
// unit before starting it and compare what it holds after.
sim::Memory readSimulatorMemory(const std::filesystem::path& file);
void writeSimulatorMemory(const std::filesystem::path& file, const sim::Memory& memory);

}  // namespace tarvek::test
