#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "simulator/layout.h"

namespace tarvek::sim {

// Command families, named on the command line by their letters.
enum class CommandKind { Hello, GlobalRead, InputRead, NumberRead, GlobalWrite, InputWrite, NumberWrite, Bye };

inline constexpr std::array<CommandKind, 8> kAllCommandKinds = {
    CommandKind::Hello,       CommandKind::GlobalRead, CommandKind::InputRead,   CommandKind::NumberRead,
    CommandKind::GlobalWrite, CommandKind::InputWrite, CommandKind::NumberWrite, CommandKind::Bye};

// "HI", "MR", "IR", "NR", "MW", "IW", "NW", "BY".
std::string_view kindName(CommandKind kind);
// The kind named by its letters, upper or lower case.
std::optional<CommandKind> kindFromName(std::string_view name);

// Where a run of received bytes stands. Commands carry no terminator: fixed-length ones
// are complete at their length; the phone-number write has no fixed length and is only
// complete when the line falls idle.
enum class Framing {
  Partial,    // a beginning of some command
  Complete,   // a whole fixed-length command
  EndsAtGap,  // a phone-number write, possibly still growing
  Unknown,    // no command begins like this
};

Framing frameCommand(std::string_view bytes, Layout layout);

// The kind of a complete command (Complete or EndsAtGap), else nullopt.
std::optional<CommandKind> commandKind(std::string_view bytes, Layout layout);

}  // namespace tarvek::sim
