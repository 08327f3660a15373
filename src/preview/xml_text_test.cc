#include "preview/xml_text.h"

#include <gtest/gtest.h>

namespace torvane::preview {
namespace {

TEST(XmlTextTest, MarkupCharactersAreEscapedAndBadBytesReplaced) {
  const struct {
    std::string_view bytes;
    std::string_view xml;
  } cases[] = {
      {"Lyra Reach", "Lyra Reach"},
      {"Orrin's Gap & <Co> \"x\"", "Orrin&apos;s Gap &amp; &lt;Co&gt; &quot;x&quot;"},
      {"K\xC3\xBCr \xE2\x82\xAC", "K\xC3\xBCr \xE2\x82\xAC"},    // valid UTF-8 stays
      {"G\xFCnt\x81r", "G\xEF\xBF\xBDnt\xEF\xBF\xBDr"},          // Latin-1 / CP437 bytes
      {"\xC3", "\xEF\xBF\xBD"},                                  // cut-off sequence
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // overlong '/'
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // UTF-16 surrogate
      {"\xEF\xBF\xBE", "\xEF\xBF\xBD"},                          // U+FFFE
      {std::string_view("a\0b\x1A", 4),
       "a\xEF\xBF\xBD"
       "b\xEF\xBF\xBD"},  // controls
      {"a\tb\r\n", "a&#9;b&#13;&#10;"},
  };
  for (const auto& c : cases) {
    std::string out;
    AppendXmlText(out, c.bytes);
    EXPECT_EQ(out, c.xml) << c.bytes;
  }
}

TEST(XmlTextTest, NumbersHaveAtMostThreeDecimalsAndNoTrailingZeros) {
  const struct {
    double value;
    std::string_view text;
  } cases[] = {
      {10, "10"},   {-588.897275, "-588.897"}, {2.5, "2.5"},     {0.0004, "0"}, {-0.0004, "0"},
      {100, "100"}, {1e6, "1000000"},          {0.0005, "0.001"}};
  for (const auto& c : cases) {
    std::string out;
    AppendNumber(out, c.value);
    EXPECT_EQ(out, c.text) << c.value;
  }
}

}  // namespace
}  // namespace torvane::preview
