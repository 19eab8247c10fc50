// tarvek-cli's figures against tarvek-sim at 9600 baud, the real executable run as a
// technician's script runs it (process start and the sign-off included):
//   - read and verify of a full unit against the wire time of their characters;
//   - write (with its verify) against its wire time plus the unit's end-of-write gaps;
//   - read of a short-layout unit against its wire time;
//   - cloning 5 units in a loop, against 5 writes' wire time plus gaps.
//
//   cli_bench [--runs N] [--gap MS]
//
// The machine may be busy with other work: the best of the runs is the program's own
// figure, the median says how much it varies.
//
// Each unit is reached with --device through a link, as an adapter's stable name is.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench_common.h"
#include "simulator/memory_file.h"
#include "support/simulator_process.h"
#include "support/temp_dir.h"

extern char** environ;

namespace {

using namespace tarvek;
using bench::wireMs;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kSignOff = 2 + 2;  // "BY", "OK"

// A whole read and the sign-off.
std::size_t readCharacters(bool shortLayout) { return bench::readCharacters(shortLayout) + kSignOff; }

// The greeting and the layout probe, the 73 write commands with their "OK"s, the read
// back and the sign-off.
std::size_t writeCharacters(const sim::Memory& memory) {
  std::size_t characters = (2 + 2) + (4 + 33) + (22 + 2) + 8 * (21 + 2);
  for (const sim::PhoneRecord& number : memory.numbers) characters += 5 + number.number.size() + 2;
  return characters + readCharacters(false);
}

// A unit as a site programs it: a few numbers, one of them a pager, the rest empty.
sim::Memory siteMemory() {
  sim::Memory memory = sim::Memory::factory();
  memory.global.securityCode = "112233";
  for (int input = 1; input <= 8; ++input) memory.number(input, 0) = {"5551234567", false};
  memory.number(2, 1) = {"9555,,1234#", true};
  return memory;
}

// Runs tarvek-cli with these arguments in `folder`; its exit status, and the time taken.
std::pair<int, double> runCli(const std::filesystem::path& folder, std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), TARVEK_CLI_EXE);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const std::string log = (folder / "cli.log").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  const auto start = Clock::now();
  pid_t pid = -1;
  int status = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) ::waitpid(pid, &status, 0);
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  posix_spawn_file_actions_destroy(&actions);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ms};
}

struct Units {
  explicit Units(int gapMs) : gap(gapMs) {}

  // A unit holding `memory` on the link ports/<name>; returns that link.
  std::string start(const std::string& name, const sim::Memory& memory, bool shortLayout = false) {
    const std::string link = folder / "ports" / name;
    const std::string memoryFile = folder / (name + ".memory");
    sim::saveMemoryFile(memoryFile, memory);
    std::vector<std::string> options{"--link", link,   "--memory", memoryFile,
                                     "--baud", "9600", "--gap",    std::to_string(gap)};
    if (shortLayout) options.push_back("--short");
    units.push_back(std::make_unique<test::SimulatorProcess>(options));
    return link;
  }

  test::TempDir folder;
  int gap;
  std::vector<std::unique_ptr<test::SimulatorProcess>> units;
};

// One figure over the runs: its times, and what they are held against.
struct Figure {
  const char* what;
  double wire;
  double line = 0;  // wire time plus the end-of-write gaps, where the unit waits them out
  std::vector<double> ms = {};
  bool failed = false;

  void add(const std::pair<int, double>& run) {
    ms.push_back(run.second);
    failed |= run.first != 0;
  }
  void print(double value, const char* label) const {
    std::printf("  %-28s %-6s %8.1f ms  wire %7.1f ms  ratio %.3f", what, label, value, wire, value / wire);
    if (line > 0) std::printf("  (wire + gaps %7.1f ms: ratio %.3f)", line, value / line);
    std::printf("%s\n", failed ? "  FAILED (see cli.log)" : "");
  }
};

int measure(int argc, char* argv[]) {
  const auto [runs, gapMs] = bench::parseOptions(argc, argv);
  std::printf(
      "tarvek-cli figures (9600 baud, 8N1; unit's end-of-write gap %d ms; process start included;\n"
      "best and median of %d runs)\n",
      gapMs, runs);
  const sim::Memory site = siteMemory();
  const double gaps = 64.0 * gapMs;
  const double write = wireMs(writeCharacters(site));
  Figure read{"read", wireMs(readCharacters(false))};
  Figure verify{"verify", wireMs(readCharacters(false))};
  Figure written{"write with verify", write, write + gaps};
  Figure shortRead{"read, short-layout unit", wireMs(readCharacters(true))};
  Figure cloning{"cloning 5 units in a loop", 5 * write, 5 * (write + gaps)};
  for (int run = 1; run <= runs; ++run) {
    Units units(gapMs);
    const auto& folder = units.folder.path();
    const std::string source = units.start("source", site);
    read.add(runCli(folder, {"read", "--device", source, "site.txt"}));
    verify.add(runCli(folder, {"verify", "--device", source, "site.txt"}));
    const std::string target = units.start("target", sim::Memory::factory());
    written.add(runCli(folder, {"write", "--yes", "--device", target, "site.txt"}));
    const std::string shortUnit = units.start("short", site, true);
    shortRead.add(runCli(folder, {"read", "--device", shortUnit, "short.txt"}));

    std::vector<std::string> clones;
    for (int unit = 1; unit <= 5; ++unit)
      clones.push_back(units.start("clone" + std::to_string(unit), sim::Memory::factory()));
    const auto start = Clock::now();
    int failed = 0;
    for (const std::string& clone : clones)
      failed += runCli(folder, {"write", "--yes", "--device", clone, "site.txt"}).first != 0;
    cloning.add({failed, std::chrono::duration<double, std::milli>(Clock::now() - start).count()});
  }
  bool ok = true;
  for (Figure* figure : {&read, &verify, &written, &shortRead, &cloning}) {
    std::sort(figure->ms.begin(), figure->ms.end());
    figure->print(figure->ms.front(), "best");
    figure->print(figure->ms[figure->ms.size() / 2], "median");
    ok &= !figure->failed;
  }
  std::printf("  a unit of the 5 cloned: best %.1f ms\n", cloning.ms.front() / 5);
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  try {
    return measure(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "cli_bench: %s\n", error.what());
    return 1;
  }
}
