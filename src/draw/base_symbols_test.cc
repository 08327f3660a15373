// Base symbols placed round a world and the legend of the kinds met, checked
// against the script lines a user reads.
#include "draw/base_symbols.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/test_script.h"

namespace torvane {
namespace {

// The name of the first kind sharing a bit with `flag`; empty when none does.
std::string_view BaseFlagName(BaseFlags flag) {
  for (const BaseFlagRow& row : BaseFlagTable) {
    if ((row.flag & flag) != 0) return row.name;
  }
  return {};
}

using torvane_test::TestScript;

using enum MapKind;

using Lines = std::vector<std::string>;

// Symbols are placed round this centre.
constexpr MapPoint kCentre{100, 200};

// Draws the bases of `line` as DrawWorld hands the line on, measured.
void DrawLineBases(TestScript& script, std::string_view line) {
  DrawBases(torvane_test::WorldDrawingOf(script), line, WorldLineLength(line), kCentre);
}

struct BasesCase {
  const char* behaviour;
  // Columns: base code at 30, remarks field 32 to 47.
  //                 0         1         2         3         4         5
  //                 012345678901234567890123456789012345678901234567890
  std::string_view line;
  Lines symbols;
};

TEST(BaseSymbols, CodeAndRemarkSymbolsTakeTheirPlacesRoundTheWorld) {
  const BasesCase cases[] = {
      {"code symbols take the highest entries, remark symbols the lowest",
       "Regina        1910 A788899-C  A Ri Pa Ex        A 703 Im G2V",
       {"INSSYM Imperial Naval Base", "1.000000;1.000000;0.000000;96.500000,202.500000;",
        "INSSYM Imperial Scout Base", "1.000000;1.000000;0.000000;96.000000,200.000000;",
        "INSSYM Exile Camp", "1.000000;1.000000;0.000000;96.500000,197.500000;"}},
      {"remarks alone use the list for their own count",
       "Deneb         1910 A788899-C    Pr Rs           A 703 Im G2V",
       {"INSSYM Prison Camp", "1.000000;1.000000;0.000000;96.500000,202.500000;",
        "INSSYM Research Station", "1.000000;1.000000;0.000000;96.500000,197.500000;"}},
      {"a lower-case code works like its capital",
       "Lower         1910 A788899-C  a                 A 703 Im G2V",
       {"INSSYM Imperial Naval Base", "1.000000;1.000000;0.000000;96.500000,202.500000;",
        "INSSYM Imperial Scout Base", "1.000000;1.000000;0.000000;96.500000,197.500000;"}},
      {"a single symbol stands left of the centre",
       "Zho           1910 A788899-C  Z                 A 703 Im G2V",
       {"INSSYM Zhodani Base", "1.000000;1.000000;0.000000;96.000000,200.000000;"}},
      {"H carries both Vargr kinds",
       "Vargr         1910 A788899-C  H                 A 703 Im G2V",
       {"INSSYM Vargr Naval Base", "1.000000;1.000000;0.000000;96.500000,202.500000;",
        "INSSYM Vargr Corsair Base", "1.000000;1.000000;0.000000;96.500000,197.500000;"}},
      {"T",
       "Tlauk         1910 A788899-C  T                 A 703 Im G2V",
       {"INSSYM Tlaukhu Base", "1.000000;1.000000;0.000000;96.000000,200.000000;"}},
      {"V has no row", "Vee           1910 A788899-C  V                 A 703 Im G2V", {}},
      {"a digit is no code", "Digit         1910 A788899-C  5                 A 703 Im G2V", {}},
      {"a star is no code", "Star          1910 A788899-C  *                 A 703 Im G2V", {}},
      {"remark codes are case-sensitive",
       "Lower         1910 A788899-C  A ex pr rs        A 703 Im G2V",
       {"INSSYM Imperial Naval Base", "1.000000;1.000000;0.000000;96.500000,202.500000;",
        "INSSYM Imperial Scout Base", "1.000000;1.000000;0.000000;96.500000,197.500000;"}},
      {"codes before the remarks column do not count",
       "Exeter Prison 1910 A788899-C                    A 703",
       {}},
      {"a code after the remarks field does not count",
       "Late          1910 A788899-C                      Ex",
       {}},
      {"a code beginning on the first column after the field does not count",
       "Edge48        1910 A788899-C                    Rs",
       {}},
      {"a code beginning on the field's last column counts though it ends outside",
       "Edge47        1910 A788899-C                   Rs",
       {"INSSYM Research Station", "1.000000;1.000000;0.000000;96.000000,200.000000;"}},
      {"a code ending on the field's last column counts",
       "Edge46        1910 A788899-C                  RsA 703 Im G2V",
       {"INSSYM Research Station", "1.000000;1.000000;0.000000;96.000000,200.000000;"}},
      {"a code inside a longer word counts",
       "Word          1910 A788899-C    Ag Expo         A 703 Im G2V",
       {"INSSYM Exile Camp", "1.000000;1.000000;0.000000;96.000000,200.000000;"}},
      {"an unknown code still shows the remark symbols",
       "Unknown       1910 A788899-C  V Ex              A 703 Im G2V",
       {"INSSYM Exile Camp", "1.000000;1.000000;0.000000;96.000000,200.000000;"}},
      {"four symbols put the remarks to the right",
       "Four          1910 A788899-C  F Ex Pr           A 703 Im G2V",
       {"INSSYM Independent Naval Base", "1.000000;1.000000;0.000000;96.500000,202.500000;",
        "INSSYM Military Base", "1.000000;1.000000;0.000000;96.500000,197.500000;",
        "INSSYM Exile Camp", "1.000000;1.000000;0.000000;103.500000,202.500000;",
        "INSSYM Prison Camp", "1.000000;1.000000;0.000000;103.500000,197.500000;"}},
      {"five symbols fill the whole layout, remarks in flag order",
       "Five          1910 A788899-C  A Rs Pr Ex        A 703 Im G2V",
       {"INSSYM Imperial Naval Base", "1.000000;1.000000;0.000000;96.500000,202.500000;",
        "INSSYM Imperial Scout Base", "1.000000;1.000000;0.000000;96.000000,200.000000;",
        "INSSYM Exile Camp", "1.000000;1.000000;0.000000;96.500000,197.500000;",
        "INSSYM Prison Camp", "1.000000;1.000000;0.000000;103.500000,202.500000;",
        "INSSYM Research Station", "1.000000;1.000000;0.000000;103.500000,197.500000;"}},
      {"remarks on the following line do not count",
       "Short         1910 A788899-C  N\nRemarks Ex Pr Rs Ex Pr Rs Ex Pr Rs Ex Pr Rs Ex Pr Rs",
       {"INSSYM Imperial Naval Base", "1.000000;1.000000;0.000000;96.000000,200.000000;"}},
      {"a line ending before the base column has no symbols", "Tiny          1910 A78", {}},
      {"an empty line has no symbols", "", {}},
  };
  for (const BasesCase& c : cases) {
    TestScript script;
    ScrSelect(script.target());
    script.TakeLines();
    DrawLineBases(script, c.line);
    EXPECT_EQ(script.TakeLines(), c.symbols) << c.behaviour;
  }
}

TEST(BaseSymbols, EveryKindDrawnIsRecordedForTheLegend) {
  TestScript script;
  DrawLineBases(script, "Regina        1910 A788899-C  A Ri Pa Ex        A 703 Im G2V");
  EXPECT_EQ(script.sector().legendFlags, 0x800003u);
  DrawLineBases(script, "Unknown       1910 A788899-C  V                 A 703 Im G2V");
  EXPECT_EQ(script.sector().legendFlags, 0x800003u);
  DrawLineBases(script, "Deneb         1910 A788899-C  Z Pr Rs           A 703 Im G2V");
  EXPECT_EQ(script.sector().legendFlags, 0x3900003u);
  script.sector().legendFlags = 0;
  EXPECT_EQ(script.sector().legendFlags, 0u);
}

TEST(BaseSymbols, BasesSwitchedOffDrawAndRecordNothing) {
  TestScript script;
  script.options().showBases = 0;
  DrawLineBases(script, "Five          1910 A788899-C  A Rs Pr Ex        A 703 Im G2V");
  EXPECT_EQ(script.sector().legendFlags, 0u);
  DrawLegend(script.target(), script.sector().legendFlags, kSectorMap);
  DrawLegend(script.target(), script.sector().legendFlags, kSubsectorMap);
  EXPECT_EQ(script.TakeLines(), Lines{});
}

TEST(BaseSymbols, FlagNamesAndCounts) {
  EXPECT_EQ(BaseFlagName(1), "Imperial Naval Base");
  EXPECT_EQ(BaseFlagName(1u << 26), "Reserve");
  EXPECT_EQ(BaseFlagName((1u << 25) | (1u << 13)), "Hiver Embassy Centre");
  EXPECT_TRUE(BaseFlagName(1u << 27).empty());
  EXPECT_TRUE(BaseFlagName(0).empty());
  EXPECT_EQ(CountBaseFlags(0), 0);
  EXPECT_EQ(CountBaseFlags(0x3900003u), 6);
  EXPECT_EQ(CountBaseFlags(0xFFFFFFFFu), 32);
}

// Records the kinds of the base codes given, one world each.
void RecordCodes(TestScript& script, std::string_view codes) {
  std::string line = "World         1910 A788899-C  ?                 A 703 Im G2V";
  for (char code : codes) {
    line[30] = code;
    DrawLineBases(script, line);
  }
}

TEST(BaseLegend, NothingIsWrittenWithoutRecordedKinds) {
  TestScript script;
  DrawLegend(script.target(), script.sector().legendFlags, kSectorMap);
  DrawLegend(script.target(), script.sector().legendFlags, kSubsectorMap);
  EXPECT_EQ(script.TakeLines(), Lines{});
}

TEST(BaseLegend, SectorLegendListsTheFirstElevenKindsInFlagOrder) {
  TestScript script;
  // Met from the highest kind down: Z, Q, P, H, U, F, B, D, S make bits 0 to 11 and 20.
  RecordCodes(script, "ZQPHUFBDS");
  script.TakeLines();
  DrawLegend(script.target(), script.sector().legendFlags, kSectorMap);
  ScrSelect(script.target());
  const Lines expected = {
      "LAYER MAP BORDER",
      "COLOR 15",
      "TSPECF Arial",
      "TSPECH 2.500000",
      "TSPECA 0.000000",
      "TSPECJ 3",
      "TSPECS 16",
      "TEXTM Imperial Naval Base",
      "503.000000,404.500000",
      "INSSYM Imperial Naval Base",
      "1.000000;1.000000;0.000000;499.000000,404.500000;",
      "TEXTM Imperial Scout Base",
      "503.000000,400.400000",
      "INSSYM Imperial Scout Base",
      "1.000000;1.000000;0.000000;499.000000,400.400000;",
      "TEXTM Imperial Naval Depot",
      "503.000000,396.300000",
      "INSSYM Imperial Naval Depot",
      "1.000000;1.000000;0.000000;499.000000,396.300000;",
      "TEXTM Imperial Way Station",
      "503.000000,392.200000",
      "INSSYM Imperial Way Station",
      "1.000000;1.000000;0.000000;499.000000,392.200000;",
      "TEXTM Independent Naval Base",
      "503.000000,388.100000",
      "INSSYM Independent Naval Base",
      "1.000000;1.000000;0.000000;499.000000,388.100000;",
      "TEXTM Military Base",
      "503.000000,384.000000",
      "INSSYM Military Base",
      "1.000000;1.000000;0.000000;499.000000,384.000000;",
      "TEXTM Tlaukhu Base",
      "503.000000,379.900000",
      "INSSYM Tlaukhu Base",
      "1.000000;1.000000;0.000000;499.000000,379.900000;",
      "TEXTM Aslan Clan Base",
      "503.000000,375.800000",
      "INSSYM Aslan Clan Base",
      "1.000000;1.000000;0.000000;499.000000,375.800000;",
      "TEXTM Vargr Naval Base",
      "503.000000,371.700000",
      "INSSYM Vargr Naval Base",
      "1.000000;1.000000;0.000000;499.000000,371.700000;",
      "TEXTM Vargr Corsair Base",
      "503.000000,367.600000",
      "INSSYM Vargr Corsair Base",
      "1.000000;1.000000;0.000000;499.000000,367.600000;",
      "TEXTM Droyne Naval Base",
      "503.000000,363.500000",
      "INSSYM Droyne Naval Base",
      "1.000000;1.000000;0.000000;499.000000,363.500000;",
      // The legend released the writer: the next command selects anew.
      "LAYER STANDARD",
  };
  EXPECT_EQ(script.TakeLines(), expected);
}

TEST(BaseLegend, SubsectorLegendStandsLeftOfTheSubsector) {
  TestScript script;
  DrawLineBases(script, "Deneb         1910 A788899-C  K Pr Rs           A 703 Im G2V");
  script.TakeLines();
  DrawLegend(script.target(), script.sector().legendFlags, kSubsectorMap);
  ScrSelect(script.target());
  const Lines expected = {
      "LAYER MAP BORDER",
      "COLOR 15",
      "TSPECF Arial",
      "TSPECH 2.500000",
      "TSPECA 0.000000",
      "TSPECJ 3",
      "TSPECS 16",
      "TEXTM K'Kree Naval Base",
      "-50.000000,56.500000",
      "INSSYM K'Kree Naval Base",
      "1.000000;1.000000;0.000000;-54.000000,56.500000;",
      "TEXTM Prison Camp",
      "-50.000000,52.400000",
      "INSSYM Prison Camp",
      "1.000000;1.000000;0.000000;-54.000000,52.400000;",
      "TEXTM Research Station",
      "-50.000000,48.300000",
      "INSSYM Research Station",
      "1.000000;1.000000;0.000000;-54.000000,48.300000;",
      "LAYER STANDARD",
  };
  EXPECT_EQ(script.TakeLines(), expected);
}

TEST(BaseLegend, EleventhSubsectorEntryStandsAtFifteenAndAHalf) {
  TestScript script;
  RecordCodes(script, "ZQPHUFBDS");
  script.TakeLines();
  DrawLegend(script.target(), script.sector().legendFlags, kSubsectorMap);
  const Lines lines = script.TakeLines();
  ASSERT_EQ(lines.size(), 51u);
  EXPECT_EQ(lines[47], "TEXTM Droyne Naval Base");
  EXPECT_EQ(lines[48], "-50.000000,15.500000");
  EXPECT_EQ(lines[50], "1.000000;1.000000;0.000000;-54.000000,15.500000;");
}

}  // namespace
}  // namespace torvane
