#include "cli/command_line.h"

#include <QCommandLineParser>
#include <QStringList>
#include <array>

namespace tarvek::cli {

namespace {

struct CommandSpec {
  Command command;
  const char* name;
  const char* arguments;  // the usage line's part after the options
  std::size_t files;      // how many positional arguments it takes
  const char* summary;    // one line, for the list of commands
  const char* description;
};

const std::array<CommandSpec, 5> kCommands{{
    {Command::Read, "read", "FILE", 1, "read the unit's programming into a settings file",
     "Greets the Tarvek, reads its whole programming as Connect on the selection screen does, signs off\n"
     "with \"BY\" and writes the settings file that Save writes (FILE \"-\": standard output). A read that\n"
     "stops part way writes nothing. An existing FILE is replaced only with --force."},
    {Command::Write, "write", "FILE", 1, "write a settings file into the unit, then check it",
     "Opens FILE as Existing File does, greets the Tarvek and probes its layout as Connect on the Main\n"
     "screen does, runs Send's checks, asks the overwrite question (on a terminal; --yes answers it),\n"
     "sends the programming as Send does, reads the unit back and compares (unless --no-verify), and\n"
     "signs off. Without a terminal the question cannot be asked: give --yes."},
    {Command::Verify, "verify", "FILE", 1, "compare the unit's programming with a settings file",
     "Reads the Tarvek's programming and compares it with FILE in the unit's layout. Differences go to\n"
     "standard output, one a line: where, field, the file's value and the unit's, separated by tabs."},
    {Command::Diff, "diff", "FILE FILE", 2, "compare two settings files",
     "Compares two settings files as the unit would see them (the full layout). Differences go to\n"
     "standard output, one a line: where, field, the first file's value and the second's, by tabs."},
    {Command::Ports, "ports", "[--link N DEVICE]", 0, "list the ports, or link Comm N to a device",
     "Lists Comm 1 to 16 with the device each one means and whether it is there, then the serial\n"
     "adapters the system sees with their stable /dev/serial/by-id names. With --link N DEVICE, makes\n"
     "ports/comN in the program folder a link to DEVICE (an adapter's stable name when it has one)."},
}};

constexpr const char* kStatuses =
    "Exit status: 0 done (and equal), 1 differences found, 2 bad usage or bad file,\n"
    "3 the unit or the port failed (a read that stopped part way included), 4 the overwrite\n"
    "question declined.\n";

std::string overview(const std::string& version) {
  std::string text =
      "Usage: tarvek-cli COMMAND [options] ARGUMENTS\n\n"
      "tarvek-cli " +
      version +
      ": the Tarvek PC Programmer on the command line. It works in the\n"
      "program folder of tarvek-programmer, with its setup.txt and ports/comN links.\n\nCommands:\n";
  for (const CommandSpec& spec : kCommands) {
    std::string usage = std::string(spec.name) + " " + spec.arguments;
    usage.resize(std::max<std::size_t>(usage.size() + 2, 26), ' ');
    text += "  " + usage + spec.summary + "\n";
  }
  return text + "\n'tarvek-cli COMMAND --help' describes a command and its options.\n\n" + kStatuses;
}

QString qt(const char* text) { return QString::fromUtf8(text); }

Parsed usageError(const std::string& name, const std::string& what) {
  Parsed parsed;
  const std::string command = name.empty() ? "tarvek-cli" : "tarvek-cli " + name;
  parsed.error = command + ": " + what + "\nTry '" + command + " --help'.\n";
  parsed.status = ExitStatus::BadUsage;
  return parsed;
}

}  // namespace

Parsed parseCommandLine(const std::vector<std::string>& arguments, const std::string& version) {
  if (arguments.empty()) return usageError({}, "a command is needed: read, write, verify, diff or ports.");
  const std::string& word = arguments.front();
  if (word == "-h" || word == "--help" || word == "help") return Parsed{std::nullopt, overview(version), {}, {}};
  if (word == "--version") return Parsed{std::nullopt, "tarvek-cli " + version + "\n", {}, {}};
  const CommandSpec* spec = nullptr;
  for (const CommandSpec& candidate : kCommands)
    if (word == candidate.name) spec = &candidate;
  if (!spec) return usageError({}, "'" + word + "' is no command: read, write, verify, diff or ports.");

  const bool unit =
      spec->command == Command::Read || spec->command == Command::Write || spec->command == Command::Verify;
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.setApplicationDescription(qt(spec->description));
  const QCommandLineOption help({"h", "help"}, qt("Shows this help."));
  const QCommandLineOption port("port", qt("Comm port N, 1 to 16 (default: the one setup.txt names)."), "N");
  const QCommandLineOption device("device", qt("The serial device PATH instead of a Comm port."), "PATH");
  const QCommandLineOption trace("trace", qt("Writes every command and answer with its time into FILE."), "FILE");
  const QCommandLineOption force("force", qt(spec->command == Command::Ports ? "Links a DEVICE that is not there (yet)."
                                                                             : "Replaces an existing FILE."));
  const QCommandLineOption yes("yes", qt("Answers the overwrite question Yes, without asking."));
  const QCommandLineOption noVerify("no-verify", qt("Does not read the unit back after writing."));
  const QCommandLineOption link("link", qt("Makes ports/comN a link to DEVICE."), "N");
  parser.addOption(help);
  if (unit) parser.addOptions({port, device, trace});
  if (spec->command == Command::Read || spec->command == Command::Ports) parser.addOption(force);
  if (spec->command == Command::Write) parser.addOptions({yes, noVerify});
  if (spec->command == Command::Ports) parser.addOption(link);
  if (spec->files == 2) {
    parser.addPositionalArgument("FILE", qt("The first settings file."));
    parser.addPositionalArgument("FILE", qt("The second settings file."));
  } else if (spec->files == 1) {
    parser.addPositionalArgument(
        "FILE", qt(spec->command == Command::Read ? "The settings file to write, or -." : "The settings file."));
  } else {
    parser.addPositionalArgument("DEVICE", qt("With --link: the device, e.g. /dev/ttyUSB0."));
  }

  QStringList list{QStringLiteral("tarvek-cli")};
  for (std::size_t i = 1; i < arguments.size(); ++i) list << QString::fromStdString(arguments[i]);
  if (!parser.parse(list)) return usageError(spec->name, parser.errorText().toStdString());
  if (parser.isSet(help)) {
    // Qt's usage line names neither the command nor its arguments as this program takes them.
    QString text = parser.helpText();
    text.replace(0, text.indexOf('\n'),
                 QStringLiteral("Usage: tarvek-cli %1 [options] %2\n")
                     .arg(QString::fromUtf8(spec->name), QString::fromUtf8(spec->arguments)));
    return Parsed{std::nullopt, text.toStdString() + "\n" + kStatuses, {}, {}};
  }

  Invocation invocation;
  invocation.command = spec->command;
  invocation.name = spec->name;
  for (const QString& file : parser.positionalArguments()) invocation.files.push_back(file.toStdString());

  const auto portNumber = [](const QString& text) -> std::optional<int> {
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < 1 || number > 16) return std::nullopt;
    return number;
  };
  if (unit) {
    if (parser.isSet(port) && parser.isSet(device)) return usageError(spec->name, "give --port or --device, not both.");
    if (parser.isSet(port)) {
      invocation.port = portNumber(parser.value(port));
      if (!invocation.port) return usageError(spec->name, "--port takes a number from 1 to 16.");
    }
    invocation.device = parser.value(device).toStdString();
    invocation.trace = parser.value(trace).toStdString();
  }
  const bool writing = spec->command == Command::Write;
  invocation.force = (spec->command == Command::Read || spec->command == Command::Ports) && parser.isSet(force);
  invocation.yes = writing && parser.isSet(yes);
  invocation.verify = !writing || !parser.isSet(noVerify);

  if (spec->command == Command::Ports) {
    if (parser.isSet(link)) {
      invocation.linkPort = portNumber(parser.value(link));
      if (!invocation.linkPort) return usageError(spec->name, "--link takes a port number from 1 to 16.");
      if (invocation.files.size() != 1) return usageError(spec->name, "--link N needs one DEVICE.");
    } else if (!invocation.files.empty() || invocation.force) {
      return usageError(spec->name, "a DEVICE and --force go with --link N.");
    }
  } else if (invocation.files.size() != spec->files) {
    return usageError(spec->name, spec->files == 2 ? "two settings files are needed." : "one settings file is needed.");
  }
  return Parsed{invocation, {}, {}, ExitStatus::Done};
}

}  // namespace tarvek::cli
