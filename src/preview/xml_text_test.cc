#include "preview/xml_text.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

TEST(XmlTextTest, MarkupCharactersAreEscapedAndOtherTextsReadAsWindows1252) {
  const struct {
    std::string_view bytes;
    std::string_view xml;
  } cases[] = {
      {"Lyra Reach", "Lyra Reach"},
      {"Orrin's Gap & <Co> \"x\"", "Orrin&apos;s Gap &amp; &lt;Co&gt; &quot;x&quot;"},
      {"K\xC3\xBCr \xE2\x82\xAC", "K\xC3\xBCr \xE2\x82\xAC"},  // valid UTF-8 stays
      {"G\xFCnt\x81r", "G\xC3\xBCnt\xEF\xBF\xBDr"},      // not UTF-8: Windows-1252, 0x81 undefined
      {"\xC3", "\xC3\x83"},                              // a cut-off sequence so
      {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                  // an overlong '/' so
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},  // a UTF-16 surrogate so
      {"\xEF\xBF\xBE", "\xEF\xBF\xBD"},                  // U+FFFE
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
}  // namespace torvane
