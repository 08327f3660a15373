#include "platform/text_encoding.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

TEST(TextEncoding, Windows1252RoundTripsThroughUtf8) {
  // é (Latin-1), ’ and € (the code page's own 0x80 to 0x9F), ASCII.
  const std::string windows =
      "Sh\xE9"
      "aniki \x92 \x80 x";
  const std::string utf8 =
      "Sh\xC3\xA9"
      "aniki \xE2\x80\x99 \xE2\x82\xAC x";
  EXPECT_EQ(Utf8FromWindows1252(windows), utf8);
  std::string back;
  for (std::string_view rest = utf8; !rest.empty();) {
    char32_t c;
    const size_t length = DecodeUtf8(rest, &c);
    ASSERT_GT(length, 0u);
    back += static_cast<char>(*Windows1252Byte(c));
    rest.remove_prefix(length);
  }
  EXPECT_EQ(back, windows);
  EXPECT_EQ(Windows1252Byte(0x0151), std::nullopt);  // ő
  EXPECT_EQ(Windows1252Byte(0xFFFD), std::nullopt);
  EXPECT_EQ(Windows1252Character(0x81), U'\xFFFD');
}

TEST(TextEncoding, OnlyWellFormedUtf8IsValid) {
  EXPECT_TRUE(IsValidUtf8("plain \xC3\xA9 \xF0\x9F\x8C\x8D"));
  for (const char* bad : {"\xE9", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
  }
}

}  // namespace
}  // namespace torvane
