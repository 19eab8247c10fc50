#include "simulator/command.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvek::sim {
namespace {

struct FramingCase {
  std::string bytes;
  Layout layout;
  Framing framing;
  std::optional<CommandKind> kind;
};

std::string globalWrite(std::size_t length) { return "MW" + std::string(length - 2, '0'); }

TEST(Framing, FixedLengthCommandsAreCompleteAtTheirLengthAndPhoneWritesAtTheGap) {
  const auto F = Layout::Full;
  const auto S = Layout::Short;
  const FramingCase cases[] = {
      {"", F, Framing::Partial, std::nullopt},
      {"H", F, Framing::Partial, std::nullopt},
      {"HI", F, Framing::Complete, CommandKind::Hello},
      {"HX", F, Framing::Unknown, std::nullopt},
      {"hi", F, Framing::Unknown, std::nullopt},
      {"M", F, Framing::Partial, std::nullopt},
      {"MR", F, Framing::Complete, CommandKind::GlobalRead},
      {"MW", F, Framing::Partial, std::nullopt},
      {globalWrite(21), F, Framing::Partial, std::nullopt},
      {globalWrite(22), F, Framing::Complete, CommandKind::GlobalWrite},
      {globalWrite(20), S, Framing::Partial, std::nullopt},
      {globalWrite(21), S, Framing::Complete, CommandKind::GlobalWrite},
      {"BY", S, Framing::Complete, CommandKind::Bye},
      {"I", F, Framing::Partial, std::nullopt},
      {"I3", F, Framing::Partial, std::nullopt},
      {"I3R", F, Framing::Complete, CommandKind::InputRead},
      {"I9R", F, Framing::Complete, CommandKind::InputRead},  // the index is checked when answering
      {"I3X", F, Framing::Unknown, std::nullopt},
      {"I3W10020300053001000", F, Framing::Partial, std::nullopt},
      {"I3W100203000530010000", F, Framing::Complete, CommandKind::InputWrite},
      {"I3W100203000530010000", S, Framing::Complete, CommandKind::InputWrite},
      {"N1R", F, Framing::Partial, std::nullopt},
      {"N1R0", F, Framing::Complete, CommandKind::NumberRead},
      {"N1W", F, Framing::Partial, std::nullopt},
      {"N1W0", F, Framing::EndsAtGap, CommandKind::NumberWrite},
      {"N2W319555", F, Framing::EndsAtGap, CommandKind::NumberWrite},
      {"N2W39555", S, Framing::EndsAtGap, CommandKind::NumberWrite},
      {"N1X", F, Framing::Unknown, std::nullopt},
      {"OK", F, Framing::Unknown, std::nullopt},
      {"X", F, Framing::Unknown, std::nullopt},
      {"N1W0" + std::string(61, '5'), F, Framing::Unknown, std::nullopt},
  };
  for (const FramingCase& c : cases) {
    EXPECT_EQ(frameCommand(c.bytes, c.layout), c.framing) << '"' << c.bytes << '"';
    EXPECT_EQ(commandKind(c.bytes, c.layout), c.kind) << '"' << c.bytes << '"';
  }
}

TEST(CommandKinds, AreNamedByTheirLettersInEitherCase) {
  const std::pair<CommandKind, const char*> names[] = {
      {CommandKind::Hello, "HI"},       {CommandKind::GlobalRead, "MR"},  {CommandKind::InputRead, "IR"},
      {CommandKind::NumberRead, "NR"},  {CommandKind::GlobalWrite, "MW"}, {CommandKind::InputWrite, "IW"},
      {CommandKind::NumberWrite, "NW"}, {CommandKind::Bye, "BY"}};
  for (const auto& [kind, name] : names) {
    EXPECT_EQ(kindName(kind), name);
    EXPECT_EQ(kindFromName(name), kind);
    std::string lower = name;
    for (char& c : lower) c = static_cast<char>(c - 'A' + 'a');
    EXPECT_EQ(kindFromName(lower), kind);
  }
  for (const char* unknown : {"", "H", "HIX", "XX", "any"}) EXPECT_EQ(kindFromName(unknown), std::nullopt) << unknown;
}

}  // namespace
}  // namespace tarvek::sim
