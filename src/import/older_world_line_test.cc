#include "import/older_world_line.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

// The fields found, joined: hex|name|uwp|bases|remarks|zone|pbg|allegiance|stars.
std::string Found(std::string_view line, const OlderLayout& layout = {}) {
  std::string why;
  const std::optional<OlderWorldFields> f = FindWorldFields(line, layout, why);
  if (!f) return "error: " + why;
  return std::string(f->hex) + "|" + std::string(f->name) + "|" + std::string(f->uwp) + "|" +
         std::string(f->bases) + "|" + std::string(f->remarks) + "|" + std::string(f->zone) + "|" +
         std::string(f->pbg) + "|" + std::string(f->allegiance) + "|" + std::string(f->stars);
}

std::string Describe(const OlderLayout& layout) {
  return std::to_string(layout.base_after_profile) + " " +
         std::to_string(layout.pbg_after_profile) + " " + std::to_string(layout.zone_before_pbg) +
         " " + std::to_string(layout.allegiance_after_pbg);
}

// torvane's own columns: base 11 after the profile, PBG 32, zone 3 before
// the PBG, allegiance 4 after it.
const OlderLayout kTorvaneLayout{11, 32, 3, 4};

TEST(OlderWorldLine, FieldsAreFoundByTheirShapesWhereverTheyStand) {
  struct Case {
    const char* line;
    const char* expected;
  };
  const Case cases[] = {
      // torvane's own columns.
      {"Alpha         0102 A788899-C  A Hi Cp           A  123 Im G2 V M1 V",
       "0102|Alpha|A788899-C|A|Hi Cp|A|123|Im|G2 V M1 V"},
      // A name of 14 characters runs into the hex, as torvane's files have it.
      {"Jennet's Haven1635 A98A515-C    Ni Wa Pr           400 Na",
       "1635|Jennet's Haven|A98A515-C||Ni Wa Pr||400|Na|"},
      // Two blanks between hex and profile.
      {"Orrinvale       0105  E373533-7    Ni         101 Na",
       "0105|Orrinvale|E373533-7||Ni||101|Na|"},
      // A wider name field, "--" for no allegiance, the base one blank after the profile.
      {"Vexhal               0103 D9C4599-6   Ni Fl                            223 -- M2 V",
       "0103|Vexhal|D9C4599-6||Ni Fl||223|--|M2 V"},
      {"Garrow Deep          0236 D671455-6 S Lo                               203 -- G9 V",
       "0236|Garrow Deep|D671455-6|S|Lo||203|--|G9 V"},
      // A zone one blank before the PBG; runs of blanks between all fields.
      {"Tessaly                 0137  X963000-0    Ba          G 000 -- G4 V",
       "0137|Tessaly|X963000-0||Ba|G|000|--|G4 V"},
      {"Keln                0602  A3557B9-B  N  Ag Ri   R   101 Su F0 V",
       "0602|Keln|A3557B9-B|N|Ag Ri|R|101|Su|F0 V"},
      // Remarks with blanks inside braces, and remarks longer than their field.
      {"Lumen               0506  X200000-X     {Twin Suns Here}         001 Na",
       "0506|Lumen|X200000-X||{Twin Suns Here}||001|Na|"},
      {"Corrow        0505 C560865-7  S De Ph Ri O:0507 Xx Yy 914 Lh",
       "0505|Corrow|C560865-7|S|De Ph Ri O:0507 Xx Yy||914|Lh|"},
      // Unknown PBG digits; no allegiance, the stars right after the PBG.
      {"Dunmere       0910 X000000-0    Ba              ?1X Na",
       "0910|Dunmere|X000000-0||Ba||?1X|Na|"},
      {"Dunmere       0910 X000000-0    Ba              XXX", "0910|Dunmere|X000000-0||Ba||XXX||"},
      {"Fell          0911 C444444-4    Ni              102 G2 V",
       "0911|Fell|C444444-4||Ni||102||G2 V"},
      {"Fell          0911 C444444-4    Ni              102 DB",
       "0911|Fell|C444444-4||Ni||102||DB"},
      // Fields left off the end of the line, a tab between fields, no name.
      {"Gamma         1811 C444444-4", "1811|Gamma|C444444-4||||||"},
      {"Beta          0304 B5A0000-8  N Ba", "0304|Beta|B5A0000-8|N|Ba||||"},
      {"Tabbed\t0304\tB5A0000-8\tN\tBa\t\t001\tZh", "0304|Tabbed|B5A0000-8|N|Ba||001|Zh|"},
      {"              2502 X853000-0    Ba Po           R  004 Na F5 V",
       "2502||X853000-0||Ba Po|R|004|Na|F5 V"},
      // A name that ends in digits: the hex is the last four before the profile.
      {"Station 120105 A788899-C", "0105|Station 12|A788899-C||||||"},
  };
  for (const Case& c : cases) EXPECT_EQ(Found(c.line), c.expected) << c.line;
}

TEST(OlderWorldLine, OneCodeBetweenProfileAndPbgGoesToTheNearerField) {
  struct Case {
    const char* line;
    OlderLayout layout;
    const char* expected;
  };
  const Case cases[] = {
      {"Alpha         0101 A788899-C  A                 123 Im",
       {},
       "0101|Alpha|A788899-C|A|||123|Im|"},
      {"Alpha         0101 A788899-C                 A  123 Im",
       {},
       "0101|Alpha|A788899-C|||A|123|Im|"},
      // Where the two lie close, the file's layout decides.
      {"Alpha         0101 A788899-C  A  123 Im", {}, "0101|Alpha|A788899-C|A|||123|Im|"},
      {"Alpha         0101 A788899-C  A  123 Im",
       {-1, 14, 3, 4},
       "0101|Alpha|A788899-C|||A|123|Im|"},
      {"Alpha         0101 A788899-C  A  123 Im",
       {11, 14, -1, 4},
       "0101|Alpha|A788899-C|A|||123|Im|"},
      // A one-letter code where the layout puts neither is a remark.
      {"Alpha         0101 A788899-C       Q     A  123 Im",
       {11, 25, 3, 4},
       "0101|Alpha|A788899-C||Q|A|123|Im|"},
  };
  for (const Case& c : cases) EXPECT_EQ(Found(c.line, c.layout), c.expected) << c.line;
}

TEST(OlderWorldLine, LayoutTellsAllegianceFromStars) {
  struct Case {
    const char* line;
    const char* expected;
  };
  const Case cases[] = {
      {"Fell          0911 C444444-4    Ni              102 Xy G2 V",
       "0911|Fell|C444444-4||Ni||102|Xy|G2 V"},
      // Further on than the file's allegiances stand: the stars.
      {"Fell          0911 C444444-4    Ni              102    DA",
       "0911|Fell|C444444-4||Ni||102||DA"},
      {"Fell          0911 C444444-4    Ni              102    Qq",
       "0911|Fell|C444444-4||Ni||102||Qq"},
      {"Fell          0911 C444444-4    Ni              102 M5 V",
       "0911|Fell|C444444-4||Ni||102||M5 V"},
      // Where the allegiances stand, codes that look like stars are ones.
      {"Fell          0911 C444444-4    Ni              1B2 A3 G2 V",
       "0911|Fell|C444444-4||Ni||1B2|A3|G2 V"},
      {"Fell          0911 C444444-4    Ni              102 K1",
       "0911|Fell|C444444-4||Ni||102|K1|"},
      {"Fell          0911 C444444-4    Ni              102 DD M0 V D",
       "0911|Fell|C444444-4||Ni||102|DD|M0 V D"},
  };
  for (const Case& c : cases) EXPECT_EQ(Found(c.line, kTorvaneLayout), c.expected) << c.line;
}

TEST(OlderWorldLine, AnAllegianceToldFromAStarByItsShapeAloneIsADoubt) {
  std::string why;
  const auto fields =
      FindWorldFields("Fell          0911 C444444-4    Ni              102 A3 G2 V", {}, why);
  ASSERT_TRUE(fields);
  EXPECT_EQ(fields->stars, "A3 G2 V");
  EXPECT_EQ(fields->doubt,
            "'A3' after the PBG may be an allegiance or the first star, and the file does not "
            "say where its allegiances stand: read as a star");
  EXPECT_EQ(FindWorldFields("Fell          0911 C444444-4    Ni  102 Im G2 V", {}, why)->doubt, "");
}

TEST(OlderWorldLine, LinesWhoseFieldsCannotBeFoundAreExplained) {
  struct Case {
    const char* line;
    OlderLayout layout;
    const char* expected;
  };
  const Case cases[] = {
      {"Not a world line",
       {},
       "error: not a world line: no hex and world profile such as '0101 A788899-C'"},
      {"Broken        0101 A7888-C    Ni              123 Im",
       {},
       "error: not a world line: no hex and world profile such as '0101 A788899-C'"},
      {"Short         010 A788899-C",
       {},
       "error: not a world line: no hex and world profile such as '0101 A788899-C'"},
      {"Beta          0304 B5A0000-8  N Ba Lo            1-3 Im", kTorvaneLayout,
       "error: no PBG (three digits, X or ?) where the file's world lines hold it, 32 columns "
       "after the world profile"},
      {"Beta          0304 B5A0000-8  N Ba Lo            123 Imperial G2 V", kTorvaneLayout,
       "error: allegiance 'Imperial' is not 2 to 4 letters or \"--\""},
      {"Beta          0304 B5A0000-8  N Ba Lo            123 ? G2 V", kTorvaneLayout,
       "error: allegiance '?' is not 2 to 4 letters or \"--\""},
  };
  for (const Case& c : cases) EXPECT_EQ(Found(c.line, c.layout), c.expected) << c.line;
}

TEST(OlderWorldLine, HeaderRowsGiveTheLayout) {
  struct Case {
    const char* header;
    const char* expected;  // base, PBG after the profile; zone before, allegiance after the PBG
  };
  const Case cases[] = {
      {"#Name         Hex  Profile    B Remarks         Z  PBG Al Stars", "11 32 3 4"},
      {"#PlanetName   Loc. UPP Code   B   Notes         Z  PBG Al LRX *", "11 32 3 4"},
      {"#Name           Hex  UWP        B Remarks                Z  PBG Al Stars", "11 39 3 4"},
      {"# name loc. upp pbg", "-1 4 -1 -1"},
      {"#PlanetName   Loc. UPP Code   B   Notes", "none"},
      {"#--------1---------2---------3---------4---------5---------6---", "none"},
      {"Name          Hex  UWP       PBG", "none"},
  };
  for (const Case& c : cases) {
    const std::optional<OlderLayout> layout = LayoutOfHeader(c.header);
    EXPECT_EQ(layout ? Describe(*layout) : "none", c.expected) << c.header;
  }
}

TEST(OlderWorldLine, LinesWithoutHeaderGiveTheLayoutMostOfThemFollow) {
  const std::vector<std::string_view> lines{
      "# comment",
      "Vexhal               0103 D9C4599-6   Ni Fl                            223 -- M2 V",
      "Garrow Deep          0236 D671455-6 S Lo                     A         203 -- G9 V",
      "Hollin               0301 E551000-6   Po Ba                            003 Na K2 IV",
      "Pell                 0302 E551000-6   Po Ba                              003 Na",
      "Not a world line",
  };
  EXPECT_EQ(Describe(LayoutOfLines(lines)), "10 45 -1 4");
  EXPECT_EQ(Describe(LayoutOfLines({})), "-1 -1 -1 -1");
}

TEST(OlderWorldLine, HexAndProfileMarkAWorldLine) {
  EXPECT_TRUE(HasHexAndProfile("Jennet's Haven1635 A98A515-C"));
  EXPECT_TRUE(HasHexAndProfile("Orrinvale       0105  E373533-7    Ni"));
  EXPECT_TRUE(HasHexAndProfile("0105 ?373?\?\?-?"));
  EXPECT_FALSE(HasHexAndProfile("Fantastic Reach"));
  EXPECT_FALSE(HasHexAndProfile("Made up in 1105 for the tests."));
  EXPECT_FALSE(HasHexAndProfile("Alpha 0105 A788899-CX"));
}

}  // namespace
}  // namespace torvane
