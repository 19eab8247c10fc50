#include "simulator/options.h"

#include <gtest/gtest.h>

namespace tarvek::sim {
namespace {

using namespace std::chrono_literals;

TEST(Options, TakesEveryOptionInBothSpellings) {
  const Options options = parseOptions({"--link", "prog/ports/com1", "--memory=mem.txt", "--transcript", "t.log",
                                        "--ready-file=ready", "--short", "--baud", "0", "--gap=12", "--replug-delay",
                                        "250", "--fault", "none:NR:3", "--fault=text:HI:1:a=b", "--parent", "4321"});
  EXPECT_EQ(options.link, "prog/ports/com1");
  EXPECT_EQ(options.memoryFile, "mem.txt");
  EXPECT_EQ(options.transcriptFile, "t.log");
  EXPECT_EQ(options.readyFile, "ready");
  EXPECT_EQ(options.layout, Layout::Short);
  EXPECT_EQ(options.baud, 0);
  EXPECT_EQ(options.idleGap, 12ms);
  EXPECT_EQ(options.replugDelay, 250ms);
  EXPECT_EQ(options.parent, 4321);
  ASSERT_EQ(options.faults.size(), 2u);
  EXPECT_EQ(options.faults[0].describe(), "none:NR:3");
  EXPECT_EQ(options.faults[1].text, "a=b");
  EXPECT_TRUE(parseOptions({"-h"}).help);
}

TEST(Options, RefusesWhatItCannotUse) {
  const std::vector<std::vector<std::string>> cases = {
      {"--link"},          {"--link", ""},        {"--memory="},     {"--baud", "fast"},
      {"--baud", "-1"},    {"--baud", "9600x"},   {"--gap", "0"},    {"--replug-delay", "soon"},
      {"--fault", "none"}, {"--fault", "x:HI:1"}, {"--parent", "0"}, {"--short=yes"},
      {"--verbose"},       {"link", "com1"},      {"--help=1"},
  };
  for (const auto& arguments : cases) EXPECT_THROW(parseOptions(arguments), UsageError) << arguments.front();
}

}  // namespace
}  // namespace tarvek::sim
