#include "simulator/fault.h"

#include <gtest/gtest.h>

namespace tarvek::sim {
namespace {

using namespace std::chrono_literals;

struct GoodFault {
  const char* faultText;
  FaultType type;
  std::optional<CommandKind> kind;
  std::optional<int> ordinal;
  std::chrono::milliseconds delay;
  std::string text;
  std::size_t length;
  const char* written;
};

TEST(FaultSyntax, ReadsEveryType) {
  const GoodFault cases[] = {
      {"none:NR:3", FaultType::NoAnswer, CommandKind::NumberRead, 3, 0ms, "", 0, "none:NR:3"},
      {"late:HI:all:3000", FaultType::Late, CommandKind::Hello, std::nullopt, 3000ms, "", 0, "late:HI:all:3000"},
      {"text:HI:1:ok", FaultType::Text, CommandKind::Hello, 1, 0ms, "ok", 0, "text:HI:1:ok"},
      {"text:HI:2:O", FaultType::Text, CommandKind::Hello, 2, 0ms, "O", 0, "text:HI:2:O"},
      {"text:MR:1:a:b", FaultType::Text, CommandKind::GlobalRead, 1, 0ms, "a:b", 0, "text:MR:1:a:b"},
      {"text:NR:all:9555\\r", FaultType::Text, CommandKind::NumberRead, std::nullopt, 0ms, "9555\r", 0,
       "text:NR:all:9555\\r"},
      {"text:IW:1:", FaultType::Text, CommandKind::InputWrite, 1, 0ms, "", 0, "text:IW:1:"},
      {"length:MR:1:19", FaultType::Length, CommandKind::GlobalRead, 1, 0ms, "", 19, "length:MR:1:19"},
      {"drop:NR:10", FaultType::Drop, CommandKind::NumberRead, 10, 0ms, "", 0, "drop:NR:10"},
      {"unplug:mr:1", FaultType::Unplug, CommandKind::GlobalRead, 1, 0ms, "", 0, "unplug:MR:1"},
      {"none:any:7", FaultType::NoAnswer, std::nullopt, 7, 0ms, "", 0, "none:any:7"},
      {"none:BY:all", FaultType::NoAnswer, CommandKind::Bye, std::nullopt, 0ms, "", 0, "none:BY:all"},
  };
  for (const GoodFault& c : cases) {
    const Fault fault = parseFault(c.faultText);
    EXPECT_EQ(fault.type, c.type) << c.faultText;
    EXPECT_EQ(fault.kind, c.kind) << c.faultText;
    EXPECT_EQ(fault.ordinal, c.ordinal) << c.faultText;
    EXPECT_EQ(fault.delay, c.delay) << c.faultText;
    EXPECT_EQ(fault.text, c.text) << c.faultText;
    EXPECT_EQ(fault.length, c.length) << c.faultText;
    EXPECT_EQ(fault.describe(), c.written) << c.faultText;
  }
}

TEST(FaultSyntax, RefusesWhatItCannotRead) {
  for (const char* faultText :
       {"", "none", "none:NR", "none:NR:3:9", "late:HI:1", "late:HI:1:soon", "late:HI:1:-5", "text:HI:1",
        "text:HI:1:\\q", "length:MR:1", "length:MR:1:x", "length:MR:1:99999", "drop:NR:0", "drop:NR:-1",
        "drop:NR:first", "drop:XX:1", "slow:HI:1", "NONE:HI:1", "none:HI:1x"}) {
    EXPECT_THROW(parseFault(faultText), FaultSyntaxError) << faultText;
  }
}

TEST(FaultMatching, HitsTheNthCommandOfItsKindOrEveryOne) {
  const Fault third = parseFault("none:NR:3");
  EXPECT_FALSE(third.hits(CommandKind::NumberRead, 2, 12));
  EXPECT_TRUE(third.hits(CommandKind::NumberRead, 3, 13));
  EXPECT_FALSE(third.hits(CommandKind::NumberRead, 4, 14));
  EXPECT_FALSE(third.hits(CommandKind::InputRead, 3, 3));

  const Fault every = parseFault("late:HI:all:10");
  EXPECT_TRUE(every.hits(CommandKind::Hello, 1, 1));
  EXPECT_TRUE(every.hits(CommandKind::Hello, 40, 500));
  EXPECT_FALSE(every.hits(CommandKind::Bye, 1, 2));

  // "any" counts all commands together.
  const Fault seventh = parseFault("drop:any:7");
  EXPECT_TRUE(seventh.hits(CommandKind::InputRead, 5, 7));
  EXPECT_FALSE(seventh.hits(CommandKind::InputRead, 7, 9));
  EXPECT_TRUE(parseFault("none:any:all").hits(CommandKind::GlobalWrite, 1, 1));
}

}  // namespace
}  // namespace tarvek::sim
