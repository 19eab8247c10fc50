#include "simulator/options.h"

#include <charconv>
#include <optional>

namespace tarvek::sim {
namespace {

std::optional<long> number(const std::string& text) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

long bounded(const std::string& name, const std::string& text, long low, long high) {
  const auto value = number(text);
  if (!value || *value < low || *value > high) {
    throw UsageError(name + " needs a number from " + std::to_string(low) + " to " + std::to_string(high) + ", not \"" +
                     text + "\"");
  }
  return *value;
}

}  // namespace

Options parseOptions(const std::vector<std::string>& arguments) {
  Options options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string name = arguments[i];
    std::optional<std::string> inlineValue;
    if (const std::size_t equals = name.find('='); name.rfind("--", 0) == 0 && equals != std::string::npos) {
      inlineValue = name.substr(equals + 1);
      name.resize(equals);
    }
    const auto value = [&]() -> std::string {
      if (inlineValue) return *inlineValue;
      if (i + 1 >= arguments.size()) throw UsageError(name + " needs a value");
      return arguments[++i];
    };
    const auto path = [&]() {
      std::string text = value();
      if (text.empty()) throw UsageError(name + " needs a path");
      return std::filesystem::path(text);
    };
    const auto flag = [&]() {
      if (inlineValue) throw UsageError(name + " takes no value");
    };

    if (name == "--help" || name == "-h") {
      flag();
      options.help = true;
    } else if (name == "--link") {
      options.link = path();
    } else if (name == "--memory") {
      options.memoryFile = path();
    } else if (name == "--transcript") {
      options.transcriptFile = path();
    } else if (name == "--ready-file") {
      options.readyFile = path();
    } else if (name == "--short") {
      flag();
      options.layout = Layout::Short;
    } else if (name == "--baud") {
      options.baud = static_cast<int>(bounded(name, value(), 0, 4'000'000));
    } else if (name == "--gap") {
      options.idleGap = std::chrono::milliseconds(bounded(name, value(), 1, 10'000));
    } else if (name == "--replug-delay") {
      options.replugDelay = std::chrono::milliseconds(bounded(name, value(), 0, 600'000));
    } else if (name == "--parent") {
      options.parent = bounded(name, value(), 1, 4'194'304);
    } else if (name == "--fault") {
      try {
        options.faults.push_back(parseFault(value()));
      } catch (const FaultSyntaxError& error) {
        throw UsageError(error.what());
      }
    } else {
      throw UsageError("unknown option \"" + arguments[i] + "\" (see --help)");
    }
  }
  return options;
}

std::string helpText() {
  return std::string(
             "Usage: tarvek-sim [OPTION]...\n"
             "Serves a simulated Tarvek alarm dialer on a pseudo-terminal, for the PC programmer\n"
             "and its tests. It runs until SIGINT or SIGTERM; then the link and the ready file are\n"
             "removed and the memory file is written.\n"
             "\n"
             "  --link PATH           make PATH a symbolic link to the pseudo-terminal (the programmer\n"
             "                        finds port N at ports/comN in its folder); removed on exit\n"
             "  --memory FILE         load the unit's memory from FILE, a text file (made from the\n"
             "                        factory state when missing); written back after every accepted\n"
             "                        write command (a temporary file renamed over it)\n"
             "  --short               an older unit: Global and phone-number answers end with a\n"
             "                        carriage return, no Hookswitch Flash, no pager flag, numbers of\n"
             "                        at most 31 characters\n"
             "  --baud N              line speed for timing, 8N1 (default 9600): received characters\n"
             "                        count their wire time and answers go out at that pace;\n"
             "                        0 answers at once, for fast tests\n"
             "  --gap MS              silence that ends a phone-number write, which has no terminator\n"
             "                        and no fixed length (default 5, about 5 characters at 9600 baud)\n"
             "  --transcript FILE     append one line per command received: time, the bytes, the answer\n"
             "  --ready-file PATH     once the line is served, write to PATH two lines: the pseudo-\n"
             "                        terminal's path and how many lines have been served (1, then 2\n"
             "                        after a drop...); removed while the line is down and on exit\n"
             "  --fault FAULT         inject a fault; may be repeated, applied in the order given:\n") +
         std::string(kFaultHelp) +
         "  --replug-delay MS     after a dropped line, how long until a new pseudo-terminal is\n"
         "                        served and the link points to it (default 1000); meanwhile the\n"
         "                        link is gone, as an unplugged adapter's device is\n"
         "  --parent PID          end as on SIGTERM when process PID, which started it, ends, even\n"
         "                        if it was killed or crashed (a test or a benchmark)\n"
         "  -h, --help            show this help\n"
         "\n"
         "Commands (no terminator): HI and BY answer OK; MR, I<n>R and N<n>R<k> answer the records;\n"
         "MW, I<n>W and N<n>W<k> store the fields and answer OK, or ER for a malformed write, which\n"
         "changes nothing. Anything else gets no answer. A line \"ready <pseudo-terminal>\" on\n"
         "standard output says when the line is served.\n"
         "\n"
         "Examples:\n"
         "  tarvek-sim --link program/ports/com1 --memory sim-memory.txt\n"
         "  tarvek-sim --link /tmp/com1 --baud 0 --fault text:HI:1:ok --fault drop:NR:10\n";
}

}  // namespace tarvek::sim
