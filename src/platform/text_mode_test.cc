// Encoded text as script commands are assembled in it: every "\n" becomes
// CR LF whatever its place, length or the pieces it arrives in.
#include "platform/text_mode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace torvane {
namespace {

// The bytes text mode writes, one character at a time.
std::string Encoded(const std::string& text) {
  std::string bytes;
  for (const char c : text) bytes += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return bytes;
}

TEST(EncodedText, EveryLineFeedBecomesCrLfAtEveryPlaceAndLength) {
  // Lengths across the byte-by-byte, word-at-a-time and long paths, with no
  // line feed, one at each place, and line feeds only.
  for (size_t length = 0; length <= 80; ++length) {
    std::string plain;
    for (size_t i = 0; i < length; ++i) plain += static_cast<char>('0' + i % 40);
    std::vector<std::string> texts{plain, std::string(length, '\n')};
    for (size_t at = 0; at < length; ++at) {
      texts.push_back(plain);
      texts.back()[at] = '\n';
    }
    for (const std::string& text : texts) {
      EncodedText encoded;
      encoded.Append("LAYER ");
      encoded.Append(text);
      encoded.Append('\n');
      ASSERT_EQ(encoded.Bytes(), "LAYER " + Encoded(text) + "\r\n") << length;
    }
  }
}

TEST(EncodedText, LineFeedNeighboursStayAsTheyAre) {
  EncodedText encoded;
  encoded.Append("a\r\nb\r");
  encoded.Append('\r');
  encoded.Append(std::string("\n\n\x0a\x8a\x0b\x09\x1a", 7) + std::string(40, '\x0a') + "z");
  EXPECT_EQ(encoded.Bytes(),
            "a\r\r\nb\r\r\r\n\r\n\r\n\x8a\x0b\x09\x1a" + Encoded(std::string(40, '\n')) + "z");
}

TEST(EncodedText, GrowsAcrossManyAppendsAndStartsOverWhenCleared) {
  EncodedText encoded;
  std::string expected;
  for (int i = 0; i < 5000; ++i) {
    const std::string piece = "CIRR 2.500000;" + std::to_string(i) + ".000000,30.000000;\n";
    encoded.Append(piece);
    expected += Encoded(piece);
  }
  encoded.Append(std::string(100000, 'x'));
  expected += std::string(100000, 'x');
  ASSERT_EQ(encoded.Bytes(), expected);
  encoded.Clear();
  EXPECT_EQ(encoded.Bytes(), "");
  encoded.Append("ECON\n");
  EXPECT_EQ(encoded.Bytes(), "ECON\r\n");
}

}  // namespace
}  // namespace torvane
