#include "import/field_mapping.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

const SourceLine kSource{"t.tab", 7};

TEST(FieldMapping, ZonesMapToAmberRedOrNone) {
  struct Case {
    const char* zone;
    char expected;
  };
  const Case cases[] = {{"A", 'A'}, {"a", 'A'},   {"Amber", 'A'}, {"U", 'A'},
                        {"R", 'R'}, {"red", 'R'}, {"F", 'R'},     {"", ' '},
                        {"-", ' '}, {"G", ' '},   {" ", ' '},     {"B", ' '}};
  for (const Case& c : cases) {
    ImportLog log;
    EXPECT_EQ(MapZone(c.zone, kSource, log), c.expected) << c.zone;
  }
  ImportLog log;
  MapZone("B", kSource, log);
  ASSERT_EQ(log.notes.size(), 1u);
  EXPECT_EQ(log.notes[0], "t.tab:7: zone 'B' is not amber or red: no zone written");
}

TEST(FieldMapping, AllegiancesReduceToTwoLetters) {
  struct Case {
    const char* code;
    const char* expected;
  };
  const Case cases[] = {{"CsIm", "Cs"}, {"CsZh", "Cz"}, {"ImDd", "Im"}, {"ImAp", "Im"},
                        {"ZhCo", "Zh"}, {"ZhIN", "Zh"}, {"VDeG", "Va"}, {"VAsP", "Va"},
                        {"AsT0", "As"}, {"NaHu", "Na"}, {"NaXX", "Na"}, {"----", ""},
                        {"--", ""},     {"-", ""},      {"SwCf", "Sw"}, {"DaCf", "Da"},
                        {"HvFd", "Hv"}, {"Im", "Im"},   {"Zh", "Zh"},   {"", ""},
                        {"CsVa", "Cs"}, {"Vx", "Vx"}};
  for (const Case& c : cases) {
    ImportLog log;
    EXPECT_EQ(MapAllegiance(c.code, kSource, log), c.expected) << c.code;
  }
}

TEST(FieldMapping, RouteColourCodesComeFromTypeThenAllegiance) {
  struct Case {
    const char* type;
    const char* allegiance;
    int expected;
  };
  const Case cases[] = {{"Trade", "", 2}, {"trade", "ZhCo", 2}, {"Xboat", "", 3}, {"X-Boat", "", 3},
                        {"", "", 3},      {"Comm", "", 3},      {"", "ImDd", 3},  {"", "ZhCo", 13},
                        {"", "SwCf", 15}, {"Comm", "DaCf", 15}};
  for (const Case& c : cases) {
    EXPECT_EQ(RouteColorCode(c.type, c.allegiance), c.expected) << c.type << "/" << c.allegiance;
  }
}

TEST(FieldMapping, NamesAreCutToFourteenColumnsAndKeptOffCommentMarks) {
  ImportLog log;
  EXPECT_EQ(FitName("  Regina  ", kSource, log), "Regina");
  EXPECT_EQ(FitName("Fourteen Chars", kSource, log), "Fourteen Chars");
  EXPECT_TRUE(log.notes.empty());
  EXPECT_EQ(FitName("A Rather Long Name", kSource, log), "A Rather Long ");
  EXPECT_EQ(FitName("#9 Station", kSource, log), " #9 Station");
  EXPECT_EQ(FitName("$Money", kSource, log), " $Money");
  EXPECT_EQ(FitName("@Home", kSource, log), " @Home");
  EXPECT_EQ(FitName("Tab\tName", kSource, log), "Tab Name");
  // 13 ASCII bytes then a two-byte character: the character is not split.
  EXPECT_EQ(FitName("Thirteen char\xC3\xA9", kSource, log), "Thirteen char");
  EXPECT_EQ(FitName("Twelve chars\xC3\xA9", kSource, log), "Twelve chars\xC3\xA9");
  EXPECT_EQ(log.notes.front(), "t.tab:7: name 'A Rather Long Name' cut to 'A Rather Long '");
  EXPECT_EQ(log.notes.size(), 5u);
}

TEST(FieldMapping, PbgDigitsAbove9AreWritten9AndUnknownOnes0InTheirOwnPlace) {
  struct Case {
    const char* pbg;
    const char* written;
    const char* note;  // "" for none
  };
  const Case cases[] = {
      {"123", "123", ""},
      {"?03", "003", "PBG '?03' written as '003'"},
      {"?11", "011", "PBG '?11' written as '011'"},
      {"1?3", "103", "PBG '1?3' written as '103'"},
      {"X12", "012", "PBG 'X12' written as '012'"},
      {"XXX", "000", "PBG 'XXX' written as '000'"},
      {"x0?", "000", "PBG 'x0?' written as '000'"},
      {"12", "120", "PBG '12' written as '120'"},
      {"1234", "123", "PBG '1234' written as '123'"},
      {"A12", "912", "PBG 'A12' written as '912': a digit above 9 is written 9"},
      {"0B0", "090", "PBG '0B0' written as '090': a digit above 9 is written 9"},
      {"5D?", "590", "PBG '5D?' written as '590': a digit above 9 is written 9"},
      {"", "000", "no PBG: written as '000'"},
  };
  for (const Case& c : cases) {
    ImportLog log;
    EXPECT_EQ(FitPbg(c.pbg, kSource, log), c.written) << c.pbg;
    const std::vector<std::string> notes =
        *c.note ? std::vector<std::string>{"t.tab:7: " + std::string(c.note)}
                : std::vector<std::string>{};
    EXPECT_EQ(log.notes, notes) << c.pbg;
    EXPECT_EQ(log.changes, *c.note ? 1 : 0) << c.pbg;
  }
}

}  // namespace
}  // namespace torvane
