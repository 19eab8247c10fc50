#include "simulator/byte_escape.h"

#include <gtest/gtest.h>

namespace tarvek::sim {
namespace {

struct EscapeCase {
  std::string bytes;
  std::string text;
};

TEST(ByteEscape, ShowsControlAndBinaryBytesReadably) {
  const EscapeCase cases[] = {
      {"HI", "HI"},
      {"", ""},
      {"9555 ,*#", "9555 ,*#"},
      {"00\r", "00\\r"},
      {"a\nb\tc", "a\\nb\\tc"},
      {std::string("\x00\x01", 2), "\\x00\\x01"},
      {"\x4a\x01\x10\x0e", "J\\x01\\x10\\x0E"},
      {"\xff\x7f", "\\xFF\\x7F"},
      {"say \"OK\" \\ done", "say \\\"OK\\\" \\\\ done"},
  };
  for (const EscapeCase& c : cases) {
    EXPECT_EQ(escapeBytes(c.bytes), c.text);
    EXPECT_EQ(unescapeBytes(c.text), c.bytes) << c.text;
  }
}

TEST(ByteEscape, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  EXPECT_EQ(unescapeBytes(escapeBytes(all)), all);
}

TEST(ByteEscape, TakesLowerCaseHex) { EXPECT_EQ(unescapeBytes("\\x0d\\xff"), std::string("\r\xff")); }

TEST(ByteEscape, RefusesBrokenEscapes) {
  for (const char* text : {"\\", "ok\\", "\\q", "\\x", "\\x4", "\\xZZ", "\\x4g"}) {
    EXPECT_EQ(unescapeBytes(text), std::nullopt) << text;
  }
}

}  // namespace
}  // namespace tarvek::sim
