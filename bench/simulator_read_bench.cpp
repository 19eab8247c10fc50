// Times what a programmer's "Connect" costs against tarvek-sim at 9600 baud: the
// greeting, "MR", 8 input reads and 64 phone reads, the port opened and closed around
// each of the 74 exchanges, and compares it with the wire time of the bytes exchanged.
//
//   simulator_read_bench [--runs N] [--client posix|qt|both] [--baud N]
//
// posix opens the port as plain POSIX code does; qt goes through QSerialPort, as the
// programmer does.

#include <QCoreApplication>
#include <QSerialPort>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_common.h"
#include "raw_port.h"
#include "support/simulator_process.h"
#include "support/temp_dir.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct Exchange {
  std::string command;
  std::size_t length;
  std::chrono::milliseconds timeout;
};

std::vector<Exchange> fullRead() {
  std::vector<Exchange> exchanges{{"HI", 2, 2000ms}, {"MR", 20, 4000ms}};
  for (char n = '1'; n <= '8'; ++n) exchanges.push_back({{'I', n, 'R'}, 10, 4000ms});
  for (char n = '1'; n <= '8'; ++n) {
    for (char k = '0'; k <= '7'; ++k) exchanges.push_back({{'N', n, 'R', k}, 33, 4000ms});
  }
  return exchanges;
}

std::string posixExchange(const std::filesystem::path& port, const Exchange& e) {
  tarvek::test::RawPort raw(port);
  return raw.exchange(e.command, e.length, e.timeout);
}

std::string qtExchange(const std::filesystem::path& port, const Exchange& e) {
  QSerialPort serial;
  serial.setPortName(QString::fromStdString(port.string()));
  serial.setBaudRate(QSerialPort::Baud9600);
  if (!serial.open(QIODevice::ReadWrite)) return {};
  serial.clear(QSerialPort::Input);
  serial.write(e.command.data(), static_cast<qint64>(e.command.size()));
  serial.waitForBytesWritten(1000);
  QByteArray answer;
  const auto deadline = Clock::now() + e.timeout;
  while (static_cast<std::size_t>(answer.size()) < e.length && Clock::now() < deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (serial.bytesAvailable() == 0 && !serial.waitForReadyRead(static_cast<int>(std::max(left.count(), 1L)))) break;
    answer += serial.read(static_cast<qint64>(e.length) - answer.size());
  }
  serial.close();
  return answer.toStdString();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  int runs = 3;
  int baud = 9600;
  std::string client = "both";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--runs") runs = std::stoi(argv[i + 1]);
    if (name == "--client") client = argv[i + 1];
    if (name == "--baud") baud = std::stoi(argv[i + 1]);
  }

  tarvek::test::TempDir dir;
  const std::filesystem::path link = dir / "ports" / "com1";
  tarvek::test::SimulatorProcess simulator({"--link", link, "--baud", std::to_string(baud)});

  const std::vector<Exchange> exchanges = fullRead();
  std::size_t characters = 0;
  for (const Exchange& e : exchanges) characters += e.command.size() + e.length;
  const double wireMs = tarvek::bench::wireMs(characters);
  std::printf("full read: %zu exchanges, %zu characters, wire time at 9600 baud %.1f ms\n", exchanges.size(),
              characters, wireMs);

  for (const std::string kind : {"posix", "qt"}) {
    if (client != "both" && client != kind) continue;
    for (int run = 1; run <= runs; ++run) {
      const auto start = Clock::now();
      std::size_t wrong = 0;
      for (const Exchange& e : exchanges) {
        const std::string answer = kind == "qt" ? qtExchange(link, e) : posixExchange(link, e);
        if (answer.size() != e.length) ++wrong;
      }
      const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      std::printf("%-5s run %d: %8.1f ms  = %.3f x wire time, %+.2f ms per exchange%s\n", kind.c_str(), run, ms,
                  ms / wireMs, (ms - wireMs) / static_cast<double>(exchanges.size()),
                  wrong ? ("  (" + std::to_string(wrong) + " answers of the wrong length)").c_str() : "");
    }
  }
  return simulator.stop() == 0 ? 0 : 1;
}
