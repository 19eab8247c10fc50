#include "simulator/command.h"

#include <cctype>

namespace tarvek::sim {
namespace {

// The shape of each command: fixed characters, '?' for an index, and the whole length
// (0 for the phone-number write, which runs on until the line is idle).
struct Shape {
  std::string_view head;
  std::size_t length;
  CommandKind kind;
};

// A phone-number write can never be longer than this (letters, pager, 32 digits); the
// cap only keeps a stream of noise from growing the buffer without end.
constexpr std::size_t kLongestFrame = 64;

std::array<Shape, 8> shapes(Layout layout) {
  return {{{"HI", 2, CommandKind::Hello},
           {"MR", 2, CommandKind::GlobalRead},
           {"MW", globalWriteLength(layout), CommandKind::GlobalWrite},
           {"BY", 2, CommandKind::Bye},
           {"I?R", 3, CommandKind::InputRead},
           {"I?W", kInputWriteLength, CommandKind::InputWrite},
           {"N?R?", 4, CommandKind::NumberRead},
           {"N?W?", 0, CommandKind::NumberWrite}}};
}

bool beginsLike(std::string_view bytes, std::string_view head) {
  for (std::size_t i = 0; i < bytes.size() && i < head.size(); ++i) {
    if (head[i] != '?' && head[i] != bytes[i]) return false;
  }
  return true;
}

Framing frameAgainst(std::string_view bytes, const Shape& shape) {
  if (!beginsLike(bytes, shape.head)) return Framing::Unknown;
  if (shape.length == 0) return bytes.size() < shape.head.size() ? Framing::Partial : Framing::EndsAtGap;
  if (bytes.size() < shape.length) return Framing::Partial;
  return bytes.size() == shape.length ? Framing::Complete : Framing::Unknown;
}

}  // namespace

std::string_view kindName(CommandKind kind) {
  switch (kind) {
    case CommandKind::Hello:
      return "HI";
    case CommandKind::GlobalRead:
      return "MR";
    case CommandKind::InputRead:
      return "IR";
    case CommandKind::NumberRead:
      return "NR";
    case CommandKind::GlobalWrite:
      return "MW";
    case CommandKind::InputWrite:
      return "IW";
    case CommandKind::NumberWrite:
      return "NW";
    case CommandKind::Bye:
      return "BY";
  }
  return "??";
}

std::optional<CommandKind> kindFromName(std::string_view name) {
  if (name.size() != 2) return std::nullopt;
  const char upper[] = {static_cast<char>(std::toupper(static_cast<unsigned char>(name[0]))),
                        static_cast<char>(std::toupper(static_cast<unsigned char>(name[1])))};
  for (const CommandKind kind : kAllCommandKinds) {
    if (kindName(kind) == std::string_view(upper, 2)) return kind;
  }
  return std::nullopt;
}

Framing frameCommand(std::string_view bytes, Layout layout) {
  if (bytes.empty()) return Framing::Partial;
  if (bytes.size() > kLongestFrame) return Framing::Unknown;
  Framing result = Framing::Unknown;
  for (const Shape& shape : shapes(layout)) {
    const Framing framing = frameAgainst(bytes, shape);
    if (framing == Framing::Complete || framing == Framing::EndsAtGap) return framing;
    if (framing == Framing::Partial) result = Framing::Partial;
  }
  return result;
}

std::optional<CommandKind> commandKind(std::string_view bytes, Layout layout) {
  if (bytes.size() > kLongestFrame) return std::nullopt;
  for (const Shape& shape : shapes(layout)) {
    const Framing framing = frameAgainst(bytes, shape);
    if (framing == Framing::Complete || framing == Framing::EndsAtGap) return shape.kind;
  }
  return std::nullopt;
}

}  // namespace tarvek::sim
