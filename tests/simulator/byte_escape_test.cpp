#include "simulator/byte_escape.h"

#include <gtest/gtest.h>

namespace tarvek::sim {
namespace {

TEST(ByteEscape, ShowsControlAndBinaryBytesReadablyAndBack) {
  const std::pair<std::string, std::string> cases[] = {
      {"9555 ,*#", "9555 ,*#"},
      {"00\r", "00\\r"},
      {"a\nb\tc", "a\\nb\\tc"},
      {std::string("\x00\x01", 2), "\\x00\\x01"},
      {"\x4a\x10\xff\x7f", "J\\x10\\xFF\\x7F"},
      {"say \"OK\" \\ done", "say \\\"OK\\\" \\\\ done"},
  };
  for (const auto& [bytes, text] : cases) {
    EXPECT_EQ(escapeBytes(bytes), text);
    EXPECT_EQ(unescapeBytes(text), bytes) << text;
  }
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  EXPECT_EQ(unescapeBytes(escapeBytes(all)), all);
  EXPECT_EQ(unescapeBytes("\\x0d\\xff"), std::string("\r\xff"));
}

TEST(ByteEscape, RefusesBrokenEscapes) {
  for (const char* text : {"\\", "ok\\", "\\q", "\\x", "\\x4", "\\xZZ", "\\x4g"}) {
    EXPECT_EQ(unescapeBytes(text), std::nullopt) << text;
  }
}

}  // namespace
}  // namespace tarvek::sim
