// The programmer's figures against tarvek-sim at 9600 baud, through the real screens
// and the real serial port:
//   - start-up to the selection screen, less the two seconds of the sign-on screen;
//   - Connect on the selection screen to the Main screen, a unit in its factory state in
//     the full layout and one in the short (carriage-return) layout, each against the
//     wire time of the characters exchanged;
//   - a full read and a full send (no numbers, and all 64 numbers 32 characters long),
//     each against the wire time of the characters exchanged;
//   - the peak memory (RSS) through a read, an edit and a send.
//
//   programmer_bench [--runs N] [--gap MS]
//
// The phone-number write has no terminator: the unit takes the silence after it (the
// gap, a few character times) as its end, so a send also waits those gaps out. The
// send figures are given against the wire time alone and against wire time plus gaps.

#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "bench_common.h"
#include "core/display_lines.h"
#include "gui/application.h"
#include "port/qt_serial_port.h"
#include "support/scripted_prompts.h"
#include "support/simulator_process.h"
#include "support/temp_dir.h"

namespace {

using namespace tarvek;
using namespace std::chrono_literals;

using bench::readCharacters;
using bench::wireMs;

long peakRssKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// Seconds since this process started, from the kernel's record of it.
double secondsSinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const auto afterName = text.rfind(')');
  std::istringstream fields(text.substr(afterName + 2));
  std::string field;
  for (int i = 3; i <= 22 && fields >> field; ++i) {
  }
  const double startTicks = std::stod(field);
  std::ifstream uptimeFile("/proc/uptime");
  double uptime = 0;
  uptimeFile >> uptime;
  return uptime - startTicks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::size_t sendCharacters(const Programming& record) {
  std::size_t characters = 22 + 2 + 8 * (21 + 2);
  for (int input = 1; input <= 8; ++input)
    for (int slot = 1; slot <= 8; ++slot) {
      const std::string& line = record.phoneNumbers[static_cast<std::size_t>(lines::phoneLineIndex(input, slot))];
      const std::size_t number = lines::isNotProgrammed(line) ? 0 : lines::phoneNumber(line).size();
      characters += 5 + number + 2;
    }
  return characters;
}

Programming allNumbersLong() {
  Programming record = newProgramming();
  for (int input = 1; input <= 8; ++input)
    for (int slot = 1; slot <= 8; ++slot)
      record.phoneNumbers[static_cast<std::size_t>(lines::phoneLineIndex(input, slot))] =
          lines::phone(slot, "1234567890*#,1234567890*#,123456", slot % 2 == 0);
  return record;
}

struct Bench {
  explicit Bench(int gapMs, bool shortLayout = false) : port(folder.path()), app(folder.path(), prompts, port) {
    std::vector<std::string> options{"--link", folder / "ports/com1", "--memory", folder / "unit.txt", "--baud", "9600",
                                     "--gap",  std::to_string(gapMs)};
    if (shortLayout) options.push_back("--short");
    simulator = std::make_unique<test::SimulatorProcess>(options);
  }

  test::TempDir folder;
  test::ScriptedPrompts prompts;
  QtSerialPort port;
  Application app;
  std::unique_ptr<test::SimulatorProcess> simulator;
};

// Connect on the selection screen until the Main screen shows the unit's programming:
// the milliseconds it took, nullopt (after saying why) when the read failed.
std::optional<double> connectToMain(Bench& bench) {
  QElapsedTimer clock;
  clock.start();
  QTest::mouseClick(bench.app.selectScreen()->connectButton(), Qt::LeftButton);
  const double readMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  MainScreen* main = bench.app.mainScreen();
  if (!main || !main->isVisible() || !bench.prompts.shown.empty()) {
    std::printf("  the read failed: %s\n", bench.prompts.lastText().c_str());
    return std::nullopt;
  }
  return readMs;
}

void report(const char* what, double ms, double wire, double line = 0) {
  std::printf("  %-42s %8.1f ms  wire %7.1f ms  ratio %.3f", what, ms, wire, ms / wire);
  if (line > 0) std::printf("  (wire + gaps %7.1f ms: ratio %.3f)", line, ms / line);
  std::printf("\n");
}

int measure(int argc, char* argv[]) {
  const auto [runs, gapMs] = bench::parseOptions(argc, argv);

  QApplication qtApp(argc, argv);
  std::printf("Tarvek PC Programmer figures (9600 baud, 8N1; unit's end-of-write gap %d ms)\n", gapMs);

  {
    // Start-up: the real sign-on screen and its timer, in a fresh program folder.
    test::TempDir folder;
    test::ScriptedPrompts prompts;
    QtSerialPort port(folder.path());
    Application app(folder.path(), prompts, port);
    app.start();
    QElapsedTimer clock;
    clock.start();
    (void)QTest::qWaitFor([&] { return app.selectScreen() && app.selectScreen()->isVisible(); }, 10000);
    const double sinceStart = secondsSinceProcessStart() * 1000.0;
    std::printf(
        "start-up to the selection screen, less the 2 s sign-on: %.0f ms (from process start; the "
        "sign-on itself took %lld ms)\n",
        sinceStart - 2000.0, static_cast<long long>(clock.elapsed()));
  }

  const long rssBefore = peakRssKiB();
  for (int run = 1; run <= runs; ++run) {
    std::printf("run %d\n", run);
    Bench bench(gapMs);
    bench.app.startUp();
    const std::optional<double> readMs = connectToMain(bench);
    if (!readMs) return 1;
    report("Connect to Main screen, full layout", *readMs, wireMs(readCharacters(false)));
    {
      Bench shortUnit(gapMs, true);
      shortUnit.app.startUp();
      const std::optional<double> shortReadMs = connectToMain(shortUnit);
      if (!shortReadMs) return 1;
      report("Connect to Main screen, short layout", *shortReadMs, wireMs(readCharacters(true)));
    }
    MainScreen* main = bench.app.mainScreen();
    QElapsedTimer clock;

    // An edit: the Global settings editor opened and left with Back.
    QTest::mouseClick(main->findChild<QPushButton*>(QStringLiteral("cmdEditGlobal")), Qt::LeftButton);
    if (QWidget* editor = bench.app.editorScreen())
      QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("cmdBack")), Qt::LeftButton);

    for (const bool longNumbers : {false, true}) {
      const Programming record = longNumbers ? allNumbersLong() : newProgramming();
      bench.app.document().setRecord(record);
      bench.prompts.shown.clear();
      bench.prompts.answers.push_back(Answer::Yes);
      clock.restart();
      QTest::mouseClick(main->sendButton(), Qt::LeftButton);
      const double sendMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
      if (bench.prompts.lastText() != "Successful data transmission") {
        std::printf("  the send failed: %s\n", bench.prompts.lastText().c_str());
        return 1;
      }
      const double wire = wireMs(sendCharacters(record));
      report(longNumbers ? "Send, all 64 numbers 32 characters" : "Send, no numbers", sendMs, wire,
             wire + 64.0 * gapMs);
    }
  }
  std::printf("peak memory (RSS) through reads, edits and sends: %ld KiB (%ld KiB before the first read)\n",
              peakRssKiB(), rssBefore);
  return 0;
}

}  // namespace

// Every simulator is stopped on the way out, by its owner on a return or an exception,
// and by itself when this process is killed or crashes (SimulatorProcess).
int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  try {
    return measure(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "programmer_bench: %s\n", error.what());
    return 1;
  }
}
