#pragma once

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "simulator/command.h"

namespace tarvek::sim {

enum class FaultType {
  NoAnswer,  // none: the command takes effect, the answer never comes
  Late,      // late: the answer comes after a delay
  Text,      // text: another answer instead of the right one
  Length,    // length: the answer cut or space-padded to a length
  Drop,      // drop: the line goes dead as the command arrives; the command has no effect
  Unplug,    // unplug: the command is answered, but the port's name is gone at once and the line
             // goes dead when the port is closed
};

// One injected fault, written TYPE:KIND:WHICH[:ARGUMENT], e.g. "none:NR:3",
// "late:HI:all:3000", "text:HI:1:ok", "length:MR:1:19", "drop:NR:10", "unplug:MR:1".
struct Fault {
  FaultType type = FaultType::NoAnswer;
  std::optional<CommandKind> kind;  // nullopt: commands of any kind ("any")
  std::optional<int> ordinal;       // the n-th such command, from 1; nullopt: every one ("all")
  std::chrono::milliseconds delay{0};
  std::string text;
  std::size_t length = 0;

  // Whether the fault hits a command that is the kindOrdinal-th of its kind and the
  // anyOrdinal-th of all commands.
  bool hits(CommandKind commandKind, int kindOrdinal, int anyOrdinal) const;
  // Back to the written form.
  std::string describe() const;
};

class FaultSyntaxError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// Throws FaultSyntaxError naming what is wrong.
Fault parseFault(std::string_view faultText);

// The written forms, for --help.
inline constexpr std::string_view kFaultHelp =
    "  none:KIND:WHICH          no answer (a write still takes effect)\n"
    "  late:KIND:WHICH:MS       the answer only after MS milliseconds\n"
    "  text:KIND:WHICH:TEXT     TEXT instead of the right answer (escapes \\r \\n \\t \\\\ \\xNN)\n"
    "  length:KIND:WHICH:N      the answer cut or space-padded to N characters\n"
    "  drop:KIND:WHICH          the line dies as the command arrives (the pseudo-terminal is\n"
    "                           closed; the command has no effect)\n"
    "  unplug:KIND:WHICH        the command is answered, but the link goes as it arrives and the\n"
    "                           line dies when the port is closed: the next opening fails\n"
    "  KIND is HI, MR, IR, NR, MW, IW, NW, BY or any; WHICH is n (the n-th such command,\n"
    "  counted from 1 since start) or all.\n";

}  // namespace tarvek::sim
