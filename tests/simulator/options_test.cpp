// The command line and the written forms of faults, as a person types them: the end-to-end
// tests pass only the forms they need, through SimulatorProcess.

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
  EXPECT_EQ(std::make_pair(options.idleGap, options.replugDelay), std::make_pair(12ms, 250ms));
  EXPECT_EQ(options.parent, 4321);
  ASSERT_EQ(options.faults.size(), 2u);
  EXPECT_EQ(options.faults[0].describe(), "none:NR:3");
  EXPECT_EQ(options.faults[1].text, "a=b");
  EXPECT_TRUE(parseOptions({"-h"}).help);
  for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{{"--link"},
                                                                                         {"--link", ""},
                                                                                         {"--memory="},
                                                                                         {"--baud", "fast"},
                                                                                         {"--baud", "-1"},
                                                                                         {"--baud", "9600x"},
                                                                                         {"--gap", "0"},
                                                                                         {"--replug-delay", "soon"},
                                                                                         {"--fault", "none"},
                                                                                         {"--fault", "x:HI:1"},
                                                                                         {"--parent", "0"},
                                                                                         {"--short=yes"},
                                                                                         {"--verbose"},
                                                                                         {"link", "com1"},
                                                                                         {"--help=1"}})
    EXPECT_THROW(parseOptions(arguments), UsageError) << arguments.front();
}

TEST(Options, FaultsAreReadAndWrittenBackOrRefused) {
  const std::pair<const char*, const char*> forms[] = {{"late:HI:all:3000", "late:HI:all:3000"},
                                                       {"text:MR:1:a:b", "text:MR:1:a:b"},
                                                       {"text:NR:all:9555\\r", "text:NR:all:9555\\r"},
                                                       {"text:IW:1:", "text:IW:1:"},
                                                       {"unplug:mr:1", "unplug:MR:1"},
                                                       {"none:any:7", "none:any:7"},
                                                       {"drop:BY:all", "drop:BY:all"}};
  for (const auto& [text, written] : forms) EXPECT_EQ(parseFault(text).describe(), written);
  EXPECT_EQ(parseFault("text:NR:all:9555\\r").text, "9555\r");
  for (const char* text :
       {"", "none", "none:NR", "none:NR:3:9", "late:HI:1", "late:HI:1:soon", "late:HI:1:-5", "text:HI:1",
        "text:HI:1:\\q", "length:MR:1", "length:MR:1:x", "length:MR:1:99999", "drop:NR:0", "drop:NR:-1",
        "drop:NR:first", "drop:XX:1", "slow:HI:1", "NONE:HI:1", "none:HI:1x"})
    EXPECT_THROW(parseFault(text), FaultSyntaxError) << text;
}

}  // namespace
}  // namespace tarvek::sim
