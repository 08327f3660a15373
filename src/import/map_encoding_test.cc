#include "import/map_encoding.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

TEST(MapText, NamesAreWrittenInWindows1252WithAsciiForWhatItLacks) {
  const struct {
    std::string text;
    std::string written;
    std::string note;  // "" for none
  } cases[] = {
      {"Aikre Aa\xE2\x80\x99", "Aikre Aa\x92", ""},
      {"Sh\xC3\xA9"
       "aniki",
       "Sh\xE9"
       "aniki",
       ""},
      {"M\xC3\xBCnster", "M\xFCnster", ""},
      {"Gy\xC5\x91r \xC5\x91", "Gyor o",
       "t.tab:3: name 'Gy\xC5\x91r \xC5\x91' written as 'Gyor o': Windows-1252 has no "
       "'\xC5\x91'"},
      {"Ko\xE2\x80\x90Sa \xE4\xB8\x96", "Ko-Sa ?",
       "t.tab:3: name 'Ko\xE2\x80\x90Sa \xE4\xB8\x96' written as 'Ko-Sa ?': Windows-1252 has "
       "no '\xE2\x80\x90', '\xE4\xB8\x96'"},
      {"Sh\xE9"
       "aniki",
       "Sh\xE9"
       "aniki",
       ""},  // not UTF-8: in the code page already
  };
  for (const auto& c : cases) {
    ImportLog log;
    EXPECT_EQ(MapText(c.text, MapEncoding::kWindows1252, "name", {"t.tab", 3}, log), c.written);
    EXPECT_EQ(log.notes.empty() ? "" : log.notes.front(), c.note);
    EXPECT_EQ(log.changes, c.note.empty() ? 0 : 1);
    ImportLog kept;
    EXPECT_EQ(MapText(c.text, MapEncoding::kUtf8, "name", {"t.tab", 3}, kept), c.text);
    EXPECT_TRUE(kept.notes.empty());
  }
  EXPECT_EQ(MapEncodingNamed("UTF-8"), MapEncoding::kUtf8);
  EXPECT_EQ(MapEncodingNamed("cp1252"), MapEncoding::kWindows1252);
  EXPECT_EQ(MapEncodingNamed("latin1"), std::nullopt);
}

}  // namespace
}  // namespace torvane
