// tarvek-cli as a technician runs it: the real executable, copied into a program folder
// of its own, against simulated units linked there as its Comm ports.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>

#include "core/settings_storage.h"
#include "simulator/memory_file.h"
#include "support/simulator_process.h"
#include "support/temp_dir.h"

namespace tarvek::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;  // everything written to the terminal
};

bool appendFrom(int fd, std::string& into) {
  char buffer[4096];
  const ssize_t count = ::read(fd, buffer, sizeof buffer);
  if (count > 0) into.append(buffer, static_cast<std::size_t>(count));
  return count > 0 || (count < 0 && errno == EINTR);
}

// Runs the program in `folder` and waits for its end (a minute at most). Its standard
// error is a terminal; with an `answer`, its standard input is too, and the first question
// is answered with it.
Outcome runIn(const fs::path& folder, std::vector<std::string> arguments, const std::string& answer) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("no pipe");
  arguments.insert(arguments.begin(), (folder / "tarvek-cli").string());
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  int terminal = -1;
  const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
  if (pid < 0) throw std::runtime_error("no pseudo-terminal");
  if (pid == 0) {
    if (answer.empty()) ::dup2(::open("/dev/null", O_RDONLY), STDIN_FILENO);
    ::dup2(out[1], STDOUT_FILENO);
    if (::chdir(folder.c_str()) == 0) ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(out[1]);

  Outcome run;
  bool outOpen = true, answered = false, ended = false;
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + 60s;
  while (!ended && std::chrono::steady_clock::now() < deadline) {
    pollfd fds[2] = {{out[0], POLLIN, 0}, {terminal, POLLIN, 0}};
    ::poll(fds, 2, 100);
    if (outOpen && fds[0].revents) outOpen = appendFrom(out[0], run.out);
    if (fds[1].revents) appendFrom(terminal, run.err);
    if (!answered && !answer.empty() && run.err.find("[y/N] ") != std::string::npos)
      answered = ::write(terminal, answer.data(), answer.size()) == static_cast<ssize_t>(answer.size());
    // The terminal stays open while anyone holds it: the end is the program's own.
    if (!outOpen) ended = ::waitpid(pid, &status, WNOHANG) == pid;
  }
  if (!ended) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
  }
  // What it wrote last, until the terminal reports its end.
  pollfd rest{terminal, POLLIN, 0};
  while (::poll(&rest, 1, 1000) > 0 && appendFrom(terminal, run.err)) continue;
  for (int fd : {out[0], terminal}) ::close(fd);
  run.status = ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

struct Row {
  const char* name;
  std::vector<std::string> arguments;
  std::string answer = {};  // the terminal answers the question with this; empty: input is no terminal
  int status = 0;
  std::string out = {};  // standard output holds this (exactly, with exactOut)
  std::string err = {};  // standard error holds this
  bool exactOut = false;
  std::function<void()> before = {};
  std::function<void()> check = {};
};

TEST(TarvekCli, EachCommandAndRefusalEndToEnd) {
  TempDir folder;
  fs::copy_file(TARVEK_CLI_EXE, folder / "tarvek-cli");
  const auto unit = [&](int port, const sim::Memory& memory, std::vector<std::string> options) {
    const fs::path memoryFile = folder / ("unit" + std::to_string(port) + ".txt");
    sim::saveMemoryFile(memoryFile, memory);
    options.insert(options.end(),
                   {"--link", folder / "ports" / ("com" + std::to_string(port)), "--memory", memoryFile});
    return std::make_unique<SimulatorProcess>(options);
  };
  sim::Memory site = sim::Memory::factory();
  site.global.securityCode = "112233";
  site.number(2, 3) = {"9555", true};
  const auto a = unit(1, site, {});
  const auto b = unit(2, sim::Memory::factory(), {});
  const auto unplugged = unit(3, sim::Memory::factory(), {"--fault", "unplug:NR:10"});
  const auto shortUnit = unit(4, site, {"--short"});  // its layout carries no pager mark

  const std::vector<Row> rows = {
      {.name = "read", .arguments = {"read", "site.txt"}, .exactOut = true},
      {.name = "read refuses an existing file",
       .arguments = {"read", "site.txt"},
       .status = 2,
       .err = "site.txt exists: give --force"},
      {.name = "a read stopping part way writes nothing",
       .arguments = {"read", "--port", "3", "partial.txt"},
       .status = 3,
       .err = "Communications error",
       .exactOut = true,
       .check = [&] { EXPECT_FALSE(fs::exists(folder / "partial.txt")); }},
      {.name = "read to standard output, traced",
       .arguments = {"read", "--trace", "trace.txt", "-"},
       .out = "Security Code            112233\r\n",
       .check = [&] { EXPECT_NE(readFile(folder / "trace.txt").find(" > MR\n"), std::string::npos); }},
      {.name = "write refuses without a terminal and --yes",
       .arguments = {"write", "--port", "2", "site.txt"},
       .status = 2,
       .err = "give --yes"},
      {.name = "write declined on the terminal",
       .arguments = {"write", "--port", "2", "site.txt"},
       .answer = "n\n",
       .status = 4,
       .err = "Continue? [y/N] "},
      {.name = "write",
       .arguments = {"write", "--yes", "--port", "2", "site.txt"},
       .err = "Successful data transmission",
       .exactOut = true},
      {.name = "diff",
       .arguments = {"diff", "site.txt", "edited.txt"},
       .status = 1,
       .out = "Global\tSecurity Code\t112233\t654321\n",
       .exactOut = true,
       .before =
           [&] {
             std::string text = readFile(folder / "site.txt");
             writeFile(folder / "edited.txt", text.replace(text.find("112233"), 6, "654321"));
           }},
      {.name = "verify by device finds the edit, and so the write",
       .arguments = {"verify", "--device", (folder / "ports/com2").string(), "edited.txt"},
       .status = 1,
       .out = "Global\tSecurity Code\t654321\t112233\n",
       .exactOut = true},
      {.name = "a short unit refuses a pager mark",
       .arguments = {"write", "--yes", "--port", "4", "site.txt"},
       .status = 2,
       .err = "Input 2 number 4, Pager"},
      {.name = "verify in the short unit's layout",
       .arguments = {"verify", "--port", "4", "site.txt"},
       .exactOut = true},
      {.name = "a bad file",
       .arguments = {"diff", "site.txt", "unit1.txt"},
       .status = 2,
       .err = "is not a readable settings file"},
      {.name = "ports --link",
       .arguments = {"ports", "--link", "5", a->device()},
       .err = "Comm 5 is now " + a->device()},
      {.name = "ports", .arguments = {"ports"}, .out = "Comm 5\t" + a->device() + "\tthere"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.before) row.before();
    const Outcome run = runIn(folder.path(), row.arguments, row.answer);
    EXPECT_EQ(run.status, row.status) << run.err;
    if (row.exactOut)
      EXPECT_EQ(run.out, row.out);
    else
      EXPECT_NE(run.out.find(row.out), std::string::npos) << run.out;
    EXPECT_NE(run.err.find(row.err), std::string::npos) << run.err;
    if (row.check) row.check();
  }
}

}  // namespace
}  // namespace tarvek::test
