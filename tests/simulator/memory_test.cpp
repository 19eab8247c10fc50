// The memory file as a person writes it by hand (the end-to-end tests only ever write it
// through the same code that reads it), and the files it refuses.

#include <gtest/gtest.h>

#include "simulator/memory_file.h"
#include "simulator/memory_text.h"
#include "support/temp_dir.h"

namespace tarvek::sim {
namespace {

using namespace std::string_literals;

// What reading a memory says of it: "taken", or the error.
template <typename Read>
std::string refusal(Read read) {
  try {
    read();
    return "taken";
  } catch (const MemoryFormatError& error) {
    return error.what();
  }
}

TEST(Memory, TheTextReadsAsDocumentedAndComesBack) {
  const std::string text = "\n" + formatMemory(Memory::factory());
  for (const char* line :
       {"function 0", "security-code 507231", "access-code 390618", "ring-delay 1", "ringback-limit 06",
        "dialing-speed 0", "hookswitch-flash 0", "forced-play-timer 00",
        "input 8 normal-state 0 duration 0 msg-rpt-count 02 lap-counter 01 qualifier-timer 0 resume-timer 0",
        "number 8 7 pager 0 \"\""})
    EXPECT_NE(text.find("\n"s + line + "\n"), std::string::npos) << line;

  Memory odd = Memory::factory();
  odd.global = GlobalRecord{"7", "12 456", "\"\\\r\n\t\x01", "x", "\xff\x00"s, " ", "#", "99"};
  odd.input(4) = InputRecord{"5", " ", "00", "ab", 65535, 330};
  odd.number(5, 5) = PhoneRecord{"555 12\r", true};
  EXPECT_EQ(parseMemory(formatMemory(odd)), odd) << formatMemory(odd);

  // Lines left out keep the factory values; comments, blank lines and indents are passed over.
  Memory expected = Memory::factory();
  expected.global.securityCode = "12 456";
  expected.input(3).resumeTimer = 3600;
  expected.input(3).normalState = "2";
  expected.number(2, 3) = PhoneRecord{"9555", true};
  EXPECT_EQ(parseMemory("# two changes\n\nsecurity-code \"12 456\"\n   input 3 resume-timer 3600 normal-state 2\n"
                        "number 2 3 pager 1 \"9555\"\r\n"),
            expected);
}

TEST(Memory, TheTextRefusesWhatItCannotReadNamingTheLine) {
  const std::pair<const char*, const char*> rows[] = {
      {"function 12", "line 1: function must be 1 character"},
      {"function", "line 1: function takes one value"},
      {"\nsecurity-code 12345", "line 2: security-code must be 6 characters"},
      {"colour blue", "line 1: unknown name \"colour\""},
      {"input x duration 0", "line 1: the input number must be 1 to 8"},
      {"input", "line 1: input needs its number"},
      {"input 1 duration", "line 1: input fields come in pairs: name value"},
      {"input 1 speed 3", "line 1: unknown input field \"speed\""},
      {"input 1 qualifier-timer 65536", "line 1: qualifier-timer must be 0 to 65535"},
      {"number 1 8 pager 0 \"\"", "line 1: the slot must be 0 to 7"},
      {"number 1 0 pager 2 \"\"", "line 1: pager must be 0 or 1"},
      {"number 1 0 0 \"5\"", "line 1: expected: number INPUT SLOT pager 0|1 \"DIGITS\""},
      {"number 1 0 pager 0 \"555", "line 1: unterminated quoted value"},
      {"number 1 0 pager 0 \"5\\q\"", "line 1: bad escape in a quoted value"},
      {"number 1 0 pager 0 \"123456789012345678901234567890123\"", "line 1: a number has at most 32 characters"},
  };
  for (const auto& [text, message] : rows) EXPECT_EQ(refusal([&] { parseMemory(text); }), message) << text;
}

TEST(Memory, TheFileIsCreatedWhenMissingLoadedAsItIsAndReplacedWhole) {
  test::TempDir dir;
  const auto file = dir / "memory.txt";
  EXPECT_EQ(loadOrCreateMemoryFile(file), Memory::factory());
  EXPECT_EQ(test::readFile(file), formatMemory(Memory::factory()));
  test::writeFile(file, "function 2\n");
  EXPECT_EQ(loadOrCreateMemoryFile(file).global.function, "2");
  EXPECT_EQ(test::readFile(file), "function 2\n");
  saveMemoryFile(file, Memory::factory());
  EXPECT_EQ(test::readFile(file), formatMemory(Memory::factory()));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "a temporary file was left";

  test::writeFile(file, "function 0\nfunction 00\n");
  EXPECT_EQ(refusal([&] { loadOrCreateMemoryFile(file); }), file.string() + ", line 2: function must be 1 character");
  EXPECT_THROW(loadMemoryFile(dir / "missing.txt"), std::system_error);
  EXPECT_THROW(saveMemoryFile(dir / "no-such-folder" / "memory.txt", Memory::factory()), std::system_error);
}

}  // namespace
}  // namespace tarvek::sim
