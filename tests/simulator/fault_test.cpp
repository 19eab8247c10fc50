// The written forms of faults the end-to-end tests do not use, and the mistakes refused.

#include "simulator/fault.h"

#include <gtest/gtest.h>

namespace tarvek::sim {
namespace {

TEST(FaultSyntax, ReadsEveryFormAndWritesItBack) {
  const std::pair<const char*, const char*> cases[] = {
      {"late:HI:all:3000", "late:HI:all:3000"},
      {"text:MR:1:a:b", "text:MR:1:a:b"},
      {"text:NR:all:9555\\r", "text:NR:all:9555\\r"},
      {"text:IW:1:", "text:IW:1:"},
      {"length:MR:1:19", "length:MR:1:19"},
      {"unplug:mr:1", "unplug:MR:1"},
      {"none:any:7", "none:any:7"},
      {"drop:BY:all", "drop:BY:all"},
  };
  for (const auto& [faultText, written] : cases) EXPECT_EQ(parseFault(faultText).describe(), written);
  EXPECT_EQ(parseFault("text:NR:all:9555\\r").text, "9555\r");
}

TEST(FaultSyntax, RefusesWhatItCannotRead) {
  for (const char* faultText :
       {"", "none", "none:NR", "none:NR:3:9", "late:HI:1", "late:HI:1:soon", "late:HI:1:-5", "text:HI:1",
        "text:HI:1:\\q", "length:MR:1", "length:MR:1:x", "length:MR:1:99999", "drop:NR:0", "drop:NR:-1",
        "drop:NR:first", "drop:XX:1", "slow:HI:1", "NONE:HI:1", "none:HI:1x"}) {
    EXPECT_THROW(parseFault(faultText), FaultSyntaxError) << faultText;
  }
}

}  // namespace
}  // namespace tarvek::sim
