#pragma once

#include <memory>
#include <optional>
#include <string>

#include "cli/command_line.h"
#include "cli/exit_status.h"
#include "core/program_folders.h"
#include "core/programming.h"
#include "core/session.h"

namespace tarvek {
class QtSerialPort;
struct Link;
}  // namespace tarvek

namespace tarvek::cli {

class Terminal;
class TracingPort;

// read, write, verify and diff: the operations of the screens, run one after another on
// one unit, with their messages and progress on the terminal.
class UnitCommands {
 public:
  UnitCommands(Invocation invocation, ProgramFolders folders, Terminal& terminal);
  ~UnitCommands();
  UnitCommands(const UnitCommands&) = delete;
  UnitCommands& operator=(const UnitCommands&) = delete;

  ExitStatus run();

  // A termination signal: the exchange sequence in progress runs to its end, a waiting
  // question is cancelled, nothing new starts, and the unit is signed off.
  void stop(int signal);
  int stoppedBy() const { return m_signal; }

 private:
  ExitStatus read();
  ExitStatus write();
  ExitStatus verify();
  ExitStatus diff();

  // The port of --device or of the Comm number, traced with --trace. False after saying why.
  bool openPort();
  Link link();
  // Connect on the selection screen; the whole programming, or nullopt after its messages.
  std::optional<Programming> readUnit();
  // Compares `file` with what the unit holds in its own layout, and prints the differences.
  ExitStatus compareWithUnit(const Programming& file, const Programming& unit);
  // The sign-off "BY" after a greeting succeeded, and the trace closed.
  void finish();
  bool stopping();
  // The greeting was not answered "OK".
  void notFound();
  std::optional<Programming> loadFile(const std::string& path);
  // "Comm 3 is /dev/ttyS2" or the device given.
  std::string portName() const;

  Invocation m_invocation;
  ProgramFolders m_folders;
  Terminal& m_terminal;
  Session m_session;
  bool m_online = false;  // a greeting succeeded: the unit is signed off at the end
  std::unique_ptr<QtSerialPort> m_serial;
  std::unique_ptr<TracingPort> m_tracing;
  int m_signal = 0;
};

}  // namespace tarvek::cli
