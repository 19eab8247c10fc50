#include "cli/unit_commands.h"

#include <QCoreApplication>
#include <QDateTime>
#include <cstdio>
#include <filesystem>

#include "cli/terminal.h"
#include "cli/tracing_port.h"
#include "core/compare.h"
#include "core/link_operations.h"
#include "core/port_device.h"
#include "core/record_check.h"
#include "core/settings_storage.h"
#include "core/setup_file.h"
#include "port/qt_serial_port.h"
#include "port/settings_texts.h"
#include "port/text_codec.h"

namespace tarvek::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kNotFound = "Tarvek not found on Comm";
// The unit answers the sign-off "OK": waiting for those two characters, not the screens'
// ten, spares each run a second.
constexpr std::size_t kSignOffAnswer = 2;

void fail(const std::string& command, const std::string& what) {
  std::fprintf(stderr, "tarvek-cli %s: %s\n", command.c_str(), what.c_str());
}

bool exists(const std::string& path) {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(path, ignored));
}

// A difference as a line of text for the terminal: record text is Windows-1252.
void printDifferences(const comparison::Comparison& result) {
  for (const auto& difference : result.differences)
    std::printf("%s\n", fromWindows1252(comparison::describe(difference)).toUtf8().constData());
  std::fflush(stdout);
}

}  // namespace

UnitCommands::UnitCommands(Invocation invocation, ProgramFolders folders, Terminal& terminal)
    : m_invocation(std::move(invocation)), m_folders(std::move(folders)), m_terminal(terminal) {}

UnitCommands::~UnitCommands() = default;

ExitStatus UnitCommands::run() {
  switch (m_invocation.command) {
    case Command::Read:
      return read();
    case Command::Write:
      return write();
    case Command::Verify:
      return verify();
    case Command::Diff:
      return diff();
    case Command::Ports:
      break;
  }
  return ExitStatus::BadUsage;
}

void UnitCommands::stop(int signal) {
  if (m_signal == 0) m_signal = signal;
  m_terminal.endQuestions();
}

bool UnitCommands::stopping() {
  // The signal comes through the event loop.
  QCoreApplication::processEvents();
  return m_signal != 0;
}

Link UnitCommands::link() {
  SerialPort& port = m_tracing ? static_cast<SerialPort&>(*m_tracing) : *m_serial;
  return Link{port, m_session, m_terminal, m_terminal};
}

std::string UnitCommands::portName() const {
  if (!m_invocation.device.empty()) return m_invocation.device;
  const int port = m_session.portNumber;
  return portDeviceText(port, resolvePortDevice(m_folders.program, port, platformPortName(port)));
}

bool UnitCommands::openPort() {
  if (m_invocation.device.empty()) {
    m_session.portNumber =
        m_invocation.port ? *m_invocation.port : readPortAtStartUp(m_folders.program, m_folders.saved);
    m_serial = std::make_unique<QtSerialPort>(m_folders.program);
  } else {
    m_serial = std::make_unique<QtSerialPort>(QtSerialPort::Fixed{m_invocation.device});
  }
  if (m_invocation.trace.empty()) return true;

  files::FileError error;
  auto file = files::RegularFile::open(m_invocation.trace, files::RegularFile::Mode::Write, error);
  if (!file.isOpen() || !file.truncate(error)) {
    m_terminal.show(Message{"The trace file " + m_invocation.trace + " could not be written.",
                            {},
                            Buttons::Ok,
                            Icon::Warning,
                            error.reason});
    return false;
  }
  std::string heading = "# tarvek-cli " + QCoreApplication::arguments().mid(1).join(' ').toStdString();
  heading += "\n# " + QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toStdString() + ": " + portName();
  m_tracing = std::make_unique<TracingPort>(*m_serial, std::move(file), heading);
  return true;
}

void UnitCommands::finish() {
  if (m_serial && m_online) signOff(link().port, m_session.portNumber, kSignOffAnswer);
  std::string error;
  if (m_tracing && !m_tracing->finish(error))
    m_terminal.show(
        Message{"The trace file " + m_invocation.trace + " is incomplete.", {}, Buttons::Ok, Icon::Warning, error});
}

void UnitCommands::notFound() {
  // The port-not-found screen's words; a device given by its path is named instead.
  if (!m_invocation.device.empty())
    m_terminal.inform("Tarvek not found on " + m_invocation.device);
  else
    m_terminal.inform(std::string(kNotFound) + " " + std::to_string(m_session.portNumber), portName());
}

std::optional<Programming> UnitCommands::loadFile(const std::string& path) {
  settings::ReadResult result = settings::load(path);
  if (!result.record)
    m_terminal.show(Message{
        "The file " + path + " is not a readable settings file.", {}, Buttons::Ok, Icon::Warning, result.problem});
  return std::move(result.record);
}

std::optional<Programming> UnitCommands::readUnit() {
  Programming record;
  const ReadResult result = connectAndRead(link(), record);
  m_online = m_online || result.greeted;
  if (result.outcome == ConnectOutcome::NotFound) notFound();
  if (result.outcome != ConnectOutcome::Finished) return std::nullopt;
  // A read that stopped part way has said why.
  if (!isComplete(record)) return std::nullopt;
  return record;
}

ExitStatus UnitCommands::compareWithUnit(const Programming& file, const Programming& unit) {
  const auto layout = m_session.reducedFeatures ? comparison::Layout::Short : comparison::Layout::Full;
  const comparison::Comparison result = comparison::compare(file, unit, layout);
  if (!result.problem.empty()) {
    m_terminal.inform(result.problem);
    return ExitStatus::Differences;
  }
  printDifferences(result);
  if (!result.differences.empty()) return ExitStatus::Differences;
  m_terminal.inform("The Tarvek holds the programming of " + m_invocation.files.front() + ".");
  return ExitStatus::Done;
}

ExitStatus UnitCommands::read() {
  const std::string& file = m_invocation.files.front();
  const bool toOutput = file == "-";
  const auto refuseExisting = [&] {
    if (toOutput || m_invocation.force || !exists(file)) return false;
    fail("read", file + " exists: give --force to replace it.");
    return true;
  };
  if (refuseExisting()) return ExitStatus::BadUsage;
  if (!openPort()) return ExitStatus::BadUsage;

  const auto record = readUnit();
  ExitStatus status = ExitStatus::UnitFailed;
  if (record && !stopping()) {
    const auto problems = entry::checkRecord(*record, m_session.reducedFeatures);
    if (!problems.empty())
      m_terminal.show(
          Message{"Some values read from the Tarvek are out of range, listed below. A write refuses the "
                  "file until they are corrected.",
                  {},
                  Buttons::Ok,
                  Icon::Warning,
                  entry::problemList(problems)});
    const std::string text = settings::fileText(
        settings::fileLines(*record, toOutput ? std::string() : reportNameOf(file), savedTimeText()));
    std::string error;
    if (toOutput) {
      const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
      status = written ? ExitStatus::Done : ExitStatus::BadUsage;
      if (!written) fail("read", "the standard output could not be written.");
    } else if (refuseExisting()) {
      status = ExitStatus::BadUsage;
    } else if (settings::saveText(file, text, settings::SaveMode::Replace, error)) {
      status = ExitStatus::Done;
    } else {
      m_terminal.show(
          Message{"The programming could not be saved in " + file + ".", {}, Buttons::Ok, Icon::Warning, error});
      status = ExitStatus::BadUsage;
    }
  } else if (m_online && !record) {
    m_terminal.inform("The read stopped part way: nothing was written.");
  }
  finish();
  return status;
}

ExitStatus UnitCommands::write() {
  const auto record = loadFile(m_invocation.files.front());
  if (!record) return ExitStatus::BadUsage;
  if (!m_invocation.yes && !Terminal::interactive()) {
    fail("write", "the overwrite question needs a terminal: give --yes to write without asking.");
    return ExitStatus::BadUsage;
  }
  if (!openPort()) return ExitStatus::BadUsage;

  ExitStatus status = ExitStatus::UnitFailed;
  const ProbeResult probe = connectFromMain(link());
  m_online = m_online || probe.greeted;
  if (probe.outcome == ProbeOutcome::NotFound) notFound();
  if (probe.outcome == ProbeOutcome::Online && !stopping()) {
    switch (sendProgramming(link(), *record)) {
      case SendOutcome::Sent:
        status = ExitStatus::Done;
        break;
      case SendOutcome::Declined:
        status = ExitStatus::Declined;
        break;
      case SendOutcome::Refused:
        status = ExitStatus::BadUsage;
        break;
      case SendOutcome::NotVerified:
      case SendOutcome::PortNotOpened:
      case SendOutcome::NotResponding:
        break;
    }
    if (status == ExitStatus::Done && m_invocation.verify && !stopping()) {
      const auto unit = readUnit();
      status = unit ? compareWithUnit(*record, *unit) : ExitStatus::UnitFailed;
    }
  }
  finish();
  return status;
}

ExitStatus UnitCommands::verify() {
  const auto file = loadFile(m_invocation.files.front());
  if (!file) return ExitStatus::BadUsage;
  const comparison::Comparison itself = comparison::compare(*file, *file, comparison::Layout::Full);
  if (!itself.problem.empty()) {
    m_terminal.inform("The file " + m_invocation.files.front() + " cannot be compared.", itself.problem);
    return ExitStatus::BadUsage;
  }
  if (!openPort()) return ExitStatus::BadUsage;
  const auto unit = readUnit();
  const ExitStatus status = unit ? compareWithUnit(*file, *unit) : ExitStatus::UnitFailed;
  finish();
  return status;
}

ExitStatus UnitCommands::diff() {
  const auto first = loadFile(m_invocation.files[0]);
  const auto second = first ? loadFile(m_invocation.files[1]) : std::nullopt;
  if (!second) return ExitStatus::BadUsage;
  const comparison::Comparison result = comparison::compare(*first, *second, comparison::Layout::Full);
  if (!result.problem.empty()) {
    m_terminal.inform(result.problem);
    return ExitStatus::BadUsage;
  }
  printDifferences(result);
  if (!result.differences.empty()) return ExitStatus::Differences;
  m_terminal.inform(m_invocation.files[0] + " and " + m_invocation.files[1] + " hold the same programming.");
  return ExitStatus::Done;
}

}  // namespace tarvek::cli
