#include "simulator/memory_text.h"

#include <gtest/gtest.h>

namespace tarvek::sim {
namespace {

using namespace std::string_literals;

bool hasLine(const std::string& text, const std::string& line) {
  return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

TEST(MemoryText, TheFactoryStateReadsAsItIsStored) {
  const std::string text = formatMemory(Memory::factory());
  for (const char* line :
       {"function 0", "security-code 507231", "access-code 390618", "ring-delay 1", "ringback-limit 06",
        "dialing-speed 0", "hookswitch-flash 0", "forced-play-timer 00",
        "input 1 normal-state 0 duration 0 msg-rpt-count 02 lap-counter 01 qualifier-timer 0 resume-timer 0",
        "input 8 normal-state 0 duration 0 msg-rpt-count 02 lap-counter 01 qualifier-timer 0 resume-timer 0",
        "number 1 0 pager 0 \"\"", "number 8 7 pager 0 \"\""}) {
    EXPECT_TRUE(hasLine(text, line)) << line;
  }
  EXPECT_EQ(parseMemory(text), Memory::factory());
}

TEST(MemoryText, AnyMemoryRoundTrips) {
  Memory memory = Memory::factory();
  memory.global = GlobalRecord{"7", "12 456", "\"\\\r\n\t\x01", "x", "\xff\x00"s, " ", "#", "99"};
  memory.input(4) = InputRecord{"5", " ", "00", "ab", 65535, 330};
  memory.number(2, 3) = PhoneRecord{"9555", true};
  memory.number(8, 7) = PhoneRecord{"12345678901234567890123456789012", false};
  memory.number(5, 5) = PhoneRecord{"555 12\r", true};
  const std::string text = formatMemory(memory);
  EXPECT_EQ(parseMemory(text), memory) << text;
  EXPECT_TRUE(hasLine(text, "number 2 3 pager 1 \"9555\""));
  EXPECT_TRUE(hasLine(text, "security-code \"12 456\""));
  EXPECT_TRUE(hasLine(text,
                      "input 4 normal-state 5 duration \" \" msg-rpt-count 00 lap-counter ab "
                      "qualifier-timer 65535 resume-timer 330"));
}

TEST(MemoryText, LinesLeftOutKeepTheFactoryValues) {
  const Memory memory = parseMemory(
      "# a unit with two changes\n"
      "\n"
      "function 1\n"
      "   input 3 resume-timer 3600 normal-state 2\n"
      "number 2 3 pager 1 \"9555\"\r\n");
  Memory expected = Memory::factory();
  expected.global.function = "1";
  expected.input(3).resumeTimer = 3600;
  expected.input(3).normalState = "2";
  expected.number(2, 3) = PhoneRecord{"9555", true};
  EXPECT_EQ(memory, expected);
}

struct BadText {
  const char* text;
  const char* message;
};

TEST(MemoryText, RefusesWhatItCannotReadNamingTheLine) {
  const BadText cases[] = {
      {"function 12", "line 1: function must be 1 character"},
      {"function", "line 1: function takes one value"},
      {"\nsecurity-code 12345", "line 2: security-code must be 6 characters"},
      {"ring-delay 1 2", "line 1: ring-delay takes one value"},
      {"colour blue", "line 1: unknown name \"colour\""},
      {"input 9 duration 0", "line 1: the input number must be 1 to 8"},
      {"input x duration 0", "line 1: the input number must be 1 to 8"},
      {"input", "line 1: input needs its number"},
      {"input 1 duration", "line 1: input fields come in pairs: name value"},
      {"input 1 speed 3", "line 1: unknown input field \"speed\""},
      {"input 1 lap-counter 1", "line 1: lap-counter must be 2 characters"},
      {"input 1 qualifier-timer 65536", "line 1: qualifier-timer must be 0 to 65535"},
      {"input 1 resume-timer -1", "line 1: resume-timer must be 0 to 65535"},
      {"number 1 8 pager 0 \"\"", "line 1: the slot must be 0 to 7"},
      {"number 0 1 pager 0 \"\"", "line 1: the input number must be 1 to 8"},
      {"number 1 0 pager 2 \"\"", "line 1: pager must be 0 or 1"},
      {"number 1 0 pager 0", "line 1: expected: number INPUT SLOT pager 0|1 \"DIGITS\""},
      {"number 1 0 0 \"5\"", "line 1: expected: number INPUT SLOT pager 0|1 \"DIGITS\""},
      {"number 1 0 pager 0 \"555", "line 1: unterminated quoted value"},
      {"number 1 0 pager 0 \"5\\q\"", "line 1: bad escape in a quoted value"},
      {"number 1 0 pager 0 \"123456789012345678901234567890123\"", "line 1: a number has at most 32 characters"},
  };
  for (const BadText& c : cases) {
    try {
      parseMemory(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const MemoryFormatError& error) {
      EXPECT_EQ(std::string(error.what()), c.message) << c.text;
    }
  }
}

}  // namespace
}  // namespace tarvek::sim
