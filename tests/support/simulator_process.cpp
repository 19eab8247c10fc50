#include "support/simulator_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <stdexcept>
#include <system_error>

extern char** environ;

namespace tarvek::test {

using namespace std::chrono_literals;

std::filesystem::path simulatorExecutable() { return TARVEK_SIM_EXE; }

SimulatorProcess::SimulatorProcess(const std::vector<std::string>& options) {
  std::vector<std::string> arguments{simulatorExecutable().string(), "--baud", "0"};
  arguments.insert(arguments.end(), options.begin(), options.end());
  // Never outlives this process, however it ends.
  arguments.insert(arguments.end(), {"--parent", std::to_string(::getpid())});
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  int output[2];
  if (::pipe2(output, O_CLOEXEC) != 0) throw std::system_error(errno, std::generic_category(), "pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  const int error = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(output[1]);
  m_output = output[0];
  if (error != 0) {
    ::close(m_output);
    throw std::system_error(error, std::generic_category(), "cannot start " + arguments[0]);
  }
  if (!readOutput(1, 20s)) {
    stop();
    throw std::runtime_error("tarvek-sim served no line");
  }
}

SimulatorProcess::~SimulatorProcess() {
  stop();
  if (m_output >= 0) ::close(m_output);
}

std::string SimulatorProcess::waitForNewLine() {
  if (!readOutput(m_lines + 1, 20s)) throw std::runtime_error("tarvek-sim served no new line");
  return m_device;
}

bool SimulatorProcess::readOutput(int lines, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (m_lines < lines && m_output >= 0) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd readable{m_output, POLLIN, 0};
    const int ready = left.count() > 0 ? ::poll(&readable, 1, static_cast<int>(left.count())) : 0;
    if (ready == 0) return false;
    if (ready < 0) continue;  // interrupted
    char buffer[512];
    const ssize_t n = ::read(m_output, buffer, sizeof buffer);
    if (n <= 0) {  // it ended
      ::close(m_output);
      m_output = -1;
      break;
    }
    m_unread.append(buffer, static_cast<std::size_t>(n));
    for (std::size_t end; (end = m_unread.find('\n')) != std::string::npos; m_unread.erase(0, end + 1)) {
      if (m_unread.rfind("ready ", 0) != 0) continue;
      m_device = m_unread.substr(6, end - 6);
      ++m_lines;
    }
  }
  return m_lines >= lines;
}

int SimulatorProcess::stop(int signal) {
  if (m_pid <= 0 || m_status) return m_status.value_or(-1);
  ::kill(m_pid, signal);
  readOutput(INT_MAX, 10s);  // its output ends with it
  if (m_output >= 0) ::kill(m_pid, SIGKILL);
  int status = 0;
  ::waitpid(m_pid, &status, 0);
  m_status = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
  return *m_status;
}

}  // namespace tarvek::test
