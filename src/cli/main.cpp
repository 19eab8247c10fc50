// tarvek-cli: reads, writes and checks a Tarvek's programming without a display, through
// the same operations, files and folders as tarvek-programmer.

#include <signal.h>

#include <QCoreApplication>
#include <cstdio>
#include <memory>

#include "cli/command_line.h"
#include "cli/ports_command.h"
#include "cli/terminal.h"
#include "cli/unit_commands.h"
#include "port/executable_folders.h"
#include "port/termination_signals.h"

namespace {

using namespace tarvek;
using namespace tarvek::cli;

int run(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("tarvek-cli"));
  QCoreApplication::setApplicationVersion(QStringLiteral(TARVEK_VERSION));

  std::vector<std::string> arguments;
  for (const QString& argument : QCoreApplication::arguments().mid(1)) arguments.push_back(argument.toStdString());
  const Parsed parsed = parseCommandLine(arguments, TARVEK_VERSION);
  std::fputs(parsed.output.c_str(), stdout);
  std::fputs(parsed.error.c_str(), stderr);
  if (!parsed.invocation) return code(parsed.status);
  const Invocation& invocation = *parsed.invocation;

  const ProgramFolders folders = executableFolders();
  if (invocation.command == Command::Ports)
    return code(invocation.linkPort
                    ? linkPort(folders, *invocation.linkPort, invocation.files.front(), invocation.force)
                    : listPorts(folders));

  Terminal terminal(invocation.yes);
  UnitCommands commands(invocation, folders, terminal);
  int signal = 0;
  {
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, [&](int received) { commands.stop(received); });
    const ExitStatus status = commands.run();
    signal = commands.stoppedBy();
    if (signal == 0) return code(status);
  }
  // Ended by a signal once the unit was left whole and signed off: the shell (a loop over
  // several units) sees the signal, not a status.
  std::fflush(nullptr);
  ::signal(signal, SIG_DFL);
  ::raise(signal);
  return 128 + signal;
}

}  // namespace

int main(int argc, char* argv[]) { return run(argc, argv); }
