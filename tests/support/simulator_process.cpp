#include "support/simulator_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "simulator/memory_file.h"
#include "support/folder_watch.h"

extern char** environ;

namespace tarvek::test {
namespace {

using namespace std::chrono_literals;

int exitStatus(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

std::filesystem::path simulatorExecutable() {
  if (const char* fromEnvironment = std::getenv("TARVEK_SIM_EXE"); fromEnvironment && *fromEnvironment) {
    return fromEnvironment;
  }
#ifdef TARVEK_SIM_EXE
  return TARVEK_SIM_EXE;
#else
  throw std::runtime_error("the path of tarvek-sim is unknown: set TARVEK_SIM_EXE");
#endif
}

std::vector<std::string> simulatorArguments(const SimulatorOptions& options) {
  std::vector<std::string> arguments;
  const auto add = [&arguments](std::string name, std::string value) {
    arguments.push_back(std::move(name));
    arguments.push_back(std::move(value));
  };
  if (!options.link.empty()) add("--link", options.link.string());
  if (!options.memoryFile.empty()) add("--memory", options.memoryFile.string());
  if (!options.transcriptFile.empty()) add("--transcript", options.transcriptFile.string());
  if (options.shortLayout) arguments.emplace_back("--short");
  add("--baud", std::to_string(options.baud));
  for (const std::string& fault : options.faults) add("--fault", fault);
  if (options.replugDelay) add("--replug-delay", std::to_string(options.replugDelay->count()));
  if (options.idleGap) add("--gap", std::to_string(options.idleGap->count()));
  arguments.insert(arguments.end(), options.extraArguments.begin(), options.extraArguments.end());
  return arguments;
}

SimulatorProcess::SimulatorProcess(SimulatorOptions options, std::chrono::milliseconds readyTimeout)
    : m_options(std::move(options)) {
  std::vector<std::string> arguments = simulatorArguments(m_options);
  arguments.insert(arguments.begin(), simulatorExecutable().string());
  arguments.push_back("--ready-file");
  arguments.push_back((m_scratch / "ready").string());
  // Never outlives this process, however it ends.
  arguments.push_back("--parent");
  arguments.push_back(std::to_string(::getpid()));
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  // Its "ready" lines would only clutter the test output; errors still show on stderr.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  const int error = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) throw std::system_error(error, std::generic_category(), "cannot start " + arguments[0]);
  // Readable once it has ended: its end is waited for, not polled.
  m_pidfd = static_cast<int>(::syscall(SYS_pidfd_open, m_pid, 0));
  try {
    waitForLine(1, readyTimeout);
  } catch (...) {
    stop();
    throw;
  }
}

SimulatorProcess::~SimulatorProcess() {
  stop();
  if (m_pidfd >= 0) ::close(m_pidfd);
}

std::string SimulatorProcess::waitForNewLine(std::chrono::milliseconds timeout) {
  waitForLine(m_line + 1, timeout);
  return m_device;
}

void SimulatorProcess::waitForLine(int line, std::chrono::milliseconds timeout) {
  const std::filesystem::path readyFile = m_scratch / "ready";
  // The file is written in one step: the device's path, then the count of lines served.
  const auto served = [&] {
    std::error_code missing;
    if (!std::filesystem::exists(readyFile, missing)) return false;
    std::istringstream content(readFile(readyFile));
    std::string device;
    int count = 0;
    if (!std::getline(content, device) || !(content >> count) || count < line) return false;
    m_device = device;
    m_line = count;
    return true;
  };
  if (waitInFolder(m_scratch.path(), served, timeout, m_pidfd)) return;
  if (!running())
    throw std::runtime_error("tarvek-sim ended (status " + std::to_string(*m_status) + ") before serving a line");
  throw std::runtime_error("tarvek-sim served no line in time");
}

bool SimulatorProcess::running() {
  if (m_status) return false;
  int status = 0;
  const pid_t done = ::waitpid(m_pid, &status, WNOHANG);
  if (done == m_pid) m_status = exitStatus(status);
  return !m_status;
}

bool SimulatorProcess::waitForEnd(std::chrono::milliseconds timeout) {
  if (!running()) return true;
  pollfd ended{m_pidfd, POLLIN, 0};
  ::poll(&ended, 1, static_cast<int>(timeout.count()));
  return !running();
}

int SimulatorProcess::stop() {
  if (m_pid <= 0) return -1;
  if (!running()) return *m_status;
  ::kill(m_pid, SIGTERM);
  if (!waitForEnd(10s)) {
    ::kill(m_pid, SIGKILL);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_status = exitStatus(status);
  }
  return *m_status;
}

sim::Memory readSimulatorMemory(const std::filesystem::path& file) { return sim::loadMemoryFile(file); }

void writeSimulatorMemory(const std::filesystem::path& file, const sim::Memory& memory) {
  sim::saveMemoryFile(file, memory);
}

}  // namespace tarvek::test
