// World entries: placement and rejection of world lines, the elements drawn
// for a world and their exact commands, and the fields read the way C's
// formatted input reads them.
#include "draw/world_entry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "testing/test_script.h"

namespace torvane {
namespace {

using torvane_test::TestScript;

using enum MapKind;

using Lines = std::vector<std::string>;

// Hex 1910, starport A, size 7, hydrographics 8, population 8, no base,
// remarks with Cp, amber zone, three gas giants, allegiance Im: 57 columns.
constexpr std::string_view kRegina = "Regina        1910 A788899-C    Ri Pa Ph An Cp  A  703 Im";

std::string Edit(std::string_view line, size_t column, std::string_view text) {
  std::string edited(line);
  edited.replace(column, text.size(), text);
  return edited;
}

// Only the world body is drawn unless a test switches more on.
void ShowBodyOnly(MapOptions& options) {
  options.showAllegiance = 0;
  options.showGasGiants = 0;
  options.showNames = 0;
  options.showPorts = 0;
  options.showZones = 0;
  options.hexNumbers = HexNumberMode::kNone;
}

// The lines that draw something, without the settings before them.
Lines DrawingLines(const Lines& lines) {
  Lines drawing;
  for (const std::string& line : lines) {
    for (std::string_view command : {"TEXTM ", "CIRR ", "ARCS ", "INSSYM "}) {
      if (line.starts_with(command)) drawing.push_back(line);
    }
  }
  return drawing;
}

bool AnyHexOccupied(const HexOccupancy& occupancy) {
  for (int column = 1; column <= kSectorColumns; ++column) {
    for (int row = 1; row <= kSectorRows; ++row) {
      if (occupancy.IsOccupied(column, row)) return true;
    }
  }
  return false;
}

TEST(WorldEntry, FullWorldLineOnTheSectorMapWritesEveryElementInOrder) {
  TestScript script;
  EXPECT_EQ(DrawTestWorld(script, kRegina, 2), 1);
  EXPECT_EQ(script.TakeLines(), (Lines{
                                    "LAYER STANDARD",
                                    "COLOR 10",
                                    "LWIDTH 0.500000",
                                    "LSTYLE Solid",
                                    "FSTYLE Solid",
                                    "ARCS 280.000000,536.935750;<340.000000,6.000000;200.000000",
                                    "COLOR 15",
                                    "TSPECF Courier New",
                                    "TSPECH 1.500000",
                                    "TSPECA 0.000000",
                                    "TSPECJ 7",
                                    "TSPECS 0",
                                    "TEXTM 1910",
                                    "280.000000,545.235750",
                                    "COLOR 2",
                                    "TSPECF Arial",
                                    "TSPECH 2.500000",
                                    "TSPECS 16",
                                    "TEXTM Regina",
                                    "280.000000,532.435750",
                                    "COLOR 9",
                                    "LWIDTH 0.000000",
                                    "CIRR 2.500000;280.000000,536.935750;",
                                    "COLOR 15",
                                    "TSPECH 2.000000",
                                    "TSPECJ 1",
                                    "TSPECS 0",
                                    "TEXTM A",
                                    "280.000000,539.935750",
                                    "TSPECH 1.500000",
                                    "TSPECJ 6",
                                    "TEXTM Im",
                                    "284.500000,534.435750",
                                    "CIRR 1.000000;283.000000,539.935750;",
                                }));
  EXPECT_TRUE(script.sector().occupancy.IsOccupied(19, 10));
  EXPECT_EQ(script.log().ErrorCount(), 0);
}

TEST(WorldEntry, SubsectorMapDrawsOnlyItsOwnWorldsInItsOwnFrame) {
  TestScript script;
  ShowBodyOnly(script.options());
  EXPECT_EQ(DrawTestWorld(script, kRegina, 0, kSubsectorMap), 0);
  EXPECT_TRUE(script.TakeLines().empty());
  EXPECT_FALSE(script.sector().occupancy.IsOccupied(19, 10));
  EXPECT_EQ(DrawTestWorld(script, kRegina, 2, kSubsectorMap), 1);
  EXPECT_EQ(script.TakeLines(), (Lines{
                                    "LAYER STANDARD",
                                    "COLOR 9",
                                    "LWIDTH 0.000000",
                                    "LSTYLE Solid",
                                    "FSTYLE Solid",
                                    "CIRR 2.500000;40.000000,17.320508;",
                                }));
  EXPECT_TRUE(script.sector().occupancy.IsOccupied(19, 10));
}

TEST(WorldEntry, RejectedLinesDrawAndMarkNothing) {
  struct Case {
    std::string text;
    int subsector;
    MapKind subsector_map;
  };
  const Case cases[] = {
      {"", 0, kSectorMap},
      {"Short         0101 A78", 0, kSectorMap},
      {"Short         0101 A78\n8", 0, kSectorMap},
      {Edit(kRegina, 14, "xx01"), 0, kSectorMap},
      {Edit(kRegina, 14, "01xx"), 0, kSectorMap},
      {Edit(kRegina, 14, "- 10"), 0, kSectorMap},
      {Edit(kRegina, 14, "0000"), 0, kSectorMap},
      {Edit(kRegina, 14, "3301"), 0, kSectorMap},
      {Edit(kRegina, 14, "0141"), 0, kSectorMap},
      {Edit(kRegina, 14, "-101"), 0, kSectorMap},
      {Edit(kRegina, 14, "01-1"), 0, kSectorMap},
      {Edit(kRegina, 14, "0141"), 3, kSubsectorMap},
      {Edit(kRegina, 14, "0101"), 1, kSubsectorMap},
      {std::string(kRegina), -1, kSectorMap},
      {std::string(kRegina), 16, kSectorMap},
      {std::string(kRegina), 16, kSubsectorMap},
      // The second number may be sought past the line's end, but not past the text's.
      {"Blank         01       ", 0, kSectorMap},
      {"Blank         01       \n \t\n", 0, kSectorMap},
  };
  for (const Case& c : cases) {
    TestScript script;
    EXPECT_EQ(DrawTestWorld(script, c.text, c.subsector, c.subsector_map), 0) << c.text;
    EXPECT_TRUE(script.TakeLines().empty()) << c.text;
    EXPECT_FALSE(AnyHexOccupied(script.sector().occupancy)) << c.text;
  }
  TestScript script;
  EXPECT_EQ(DrawTestWorld(script, std::string_view()), 0);
}

TEST(WorldEntry, HexFieldIsReadAsFormattedInputAndLabelledAsItStands) {
  struct Case {
    std::string text;
    int column, row;
    std::string label;
  };
  const Case cases[] = {
      {Edit(kRegina, 14, "0101"), 1, 1, "TEXTM 0101"},
      {Edit(kRegina, 14, "3240"), 32, 40, "TEXTM 3240"},
      {Edit(kRegina, 14, " 1 2"), 1, 2, "TEXTM  1 2"},
      {Edit(kRegina, 14, "+1+2"), 1, 2, "TEXTM +1+2"},
      {Edit(kRegina, 14, "1 2 "), 1, 2, "TEXTM 1 2 "},
      {Edit(kRegina, 14, "01\t5"), 1, 5, "TEXTM 01\t5"},
      // Formatted input skips the line end when seeking the row.
      {"Blank         01       \n05 next line", 1, 5, "TEXTM 01  "},
  };
  for (const Case& c : cases) {
    TestScript script;
    ShowBodyOnly(script.options());
    script.options().hexNumbers = HexNumberMode::kOccupied;
    EXPECT_EQ(DrawTestWorld(script, c.text), 1) << c.text;
    EXPECT_TRUE(script.sector().occupancy.IsOccupied(c.column, c.row)) << c.text;
    EXPECT_EQ(DrawingLines(script.TakeLines()).front(), c.label) << c.text;
  }
}

TEST(WorldEntry, HexNumberGoesWithTheWorldOnlyInOccupiedMode) {
  for (HexNumberMode mode :
       {HexNumberMode::kNone, HexNumberMode::kUnoccupied, HexNumberMode::kAll}) {
    TestScript script;
    ShowBodyOnly(script.options());
    script.options().hexNumbers = mode;
    DrawTestWorld(script, kRegina);
    EXPECT_EQ(DrawingLines(script.TakeLines()), Lines{"CIRR 2.500000;280.000000,536.935750;"});
  }
}

TEST(WorldEntry, ZoneRingFollowsTheZoneLetterInEitherCase) {
  const std::string arc = "ARCS 280.000000,536.935750;<340.000000,6.000000;200.000000";
  struct Case {
    std::string text;
    Lines ring;
  };
  const Case cases[] = {
      {Edit(kRegina, 48, "A"), {"COLOR 10", "LWIDTH 0.500000"}},
      {Edit(kRegina, 48, "a"), {"COLOR 10", "LWIDTH 0.500000"}},
      {Edit(kRegina, 48, "R"), {"COLOR 2", "LWIDTH 1.000000"}},
      {Edit(kRegina, 48, "r"), {"COLOR 2", "LWIDTH 1.000000"}},
      {Edit(kRegina, 48, " "), {}},
      {Edit(kRegina, 48, "X"), {}},
      // A line of 48 characters has no zone, whatever follows it.
      {std::string(kRegina.substr(0, 48)) + "\nR", {}},
  };
  for (const Case& c : cases) {
    TestScript script;
    ShowBodyOnly(script.options());
    script.options().showZones = 1;
    DrawTestWorld(script, c.text);
    Lines expected = {"LAYER STANDARD"};
    if (!c.ring.empty()) {
      expected.insert(expected.end(), c.ring.begin(), c.ring.end());
      expected.insert(expected.end(), {"LSTYLE Solid", "FSTYLE Solid", arc, "COLOR 9",
                                       "LWIDTH 0.000000", "CIRR 2.500000;280.000000,536.935750;"});
    } else {
      expected.insert(expected.end(), {"COLOR 9", "LWIDTH 0.000000", "LSTYLE Solid", "FSTYLE Solid",
                                       "CIRR 2.500000;280.000000,536.935750;"});
    }
    EXPECT_EQ(script.TakeLines(), expected) << c.text;
  }
  TestScript script;
  ShowBodyOnly(script.options());
  DrawTestWorld(script, Edit(kRegina, 48, "R"));
  EXPECT_EQ(DrawingLines(script.TakeLines()), Lines{"CIRR 2.500000;280.000000,536.935750;"});
}

TEST(WorldEntry, NameIsTrimmedPutInCapitalsAndColouredForSubsectorCapitals) {
  const std::string plain = Edit(kRegina, 32, "Ri Pa Ph An    ");
  struct Case {
    std::string text;
    std::string colour;
    std::string name;
  };
  const Case cases[] = {
      {plain, "COLOR 15", "TEXTM Regina"},
      {Edit(plain, 23, "9"), "COLOR 15", "TEXTM REGINA"},
      {Edit(plain, 23, "A"), "COLOR 15", "TEXTM REGINA"},
      {Edit(plain, 23, "a"), "COLOR 15", "TEXTM REGINA"},
      {Edit(plain, 23, "F"), "COLOR 15", "TEXTM REGINA"},
      // A blank population digit makes "%1x" read the digit after it.
      {Edit(plain, 23, " 9"), "COLOR 15", "TEXTM REGINA"},
      {Edit(plain, 23, " 3"), "COLOR 15", "TEXTM Regina"},
      {Edit(plain, 23, "-F"), "COLOR 15", "TEXTM Regina"},
      {Edit(plain, 0, "  mora 2      "), "COLOR 15", "TEXTM   mora 2"},
      {Edit(plain, 0, "Abcdefghijklmn"), "COLOR 15", "TEXTM Abcdefghijklmn"},
      {Edit(plain, 0, "Mora\t\v\f\r    "), "COLOR 15", "TEXTM Mora"},
      {Edit(plain, 32, "Cp"), "COLOR 2", "TEXTM Regina"},
      {Edit(plain, 46, "Cp"), "COLOR 2", "TEXTM Regina"},
      {Edit(plain, 47, "Cp"), "COLOR 2", "TEXTM Regina"},
      {Edit(Edit(plain, 23, "9"), 40, "Cp"), "COLOR 2", "TEXTM REGINA"},
      {plain + " Cp", "COLOR 15", "TEXTM Regina"},
      {Edit(plain, 40, "CP"), "COLOR 15", "TEXTM Regina"},
      {Edit(plain, 40, "cp"), "COLOR 15", "TEXTM Regina"},
      {plain + "\nRegina        1910 A788899-C    Cp", "COLOR 15", "TEXTM Regina"},
      // A line that ends at the population column has no population digit.
      {"Regina        1910 A788\nF", "COLOR 15", "TEXTM Regina"},
      // "%1x" skips white space into the next line, as formatted input does.
      {"Regina        1910 A788 \nB", "COLOR 15", "TEXTM REGINA"},
      {"Regina        1910 A788 \n", "COLOR 15", "TEXTM Regina"},
  };
  for (const Case& c : cases) {
    TestScript script;
    ShowBodyOnly(script.options());
    script.options().showNames = 1;
    DrawTestWorld(script, c.text);
    const Lines lines = script.TakeLines();
    ASSERT_GE(lines.size(), 8u) << c.text;
    EXPECT_EQ(lines[1], c.colour) << c.text;
    EXPECT_EQ(lines[7], c.name) << c.text;
  }
}

TEST(WorldEntry, RemarkCodesAreSoughtFromTheFieldToOnePastItInsideTheLine) {
  struct Case {
    const char* behaviour;
    std::int32_t column;
    std::int32_t width;
    std::string_view line;
    std::string_view text;
  };
  //                                  0         1         2         3         4         5
  //                                  012345678901234567890123456789012345678901234567890
  constexpr std::string_view kLine = "Regina        1910 A788899-C    Ri Pa Ph An Cp  A  703 Im";
  const Case cases[] = {
      {"the standard field and the column after it", 32, 16, kLine, "Ri Pa Ph An Cp  A"},
      {"a line ending inside the field", 32, 16, kLine.substr(0, 40), "Ri Pa Ph"},
      {"a line ending on the remarks column", 32, 16, kLine.substr(0, 32), ""},
      {"a field reaching past the line", 51, 16, kLine, "703 Im"},
      {"a field without width keeps one column", 32, 0, kLine, "R"},
      {"a field of negative width", 32, -1, kLine, ""},
      {"a negative column", -1, 16, kLine, ""},
      {"the widest field", 32, INT32_MAX, kLine, "Ri Pa Ph An Cp  A  703 Im"},
  };
  for (const Case& c : cases) {
    WorldLayout layout = kStandardWorldLayout;
    layout.positions[16] = c.column;
    layout.positions[17] = c.width;
    EXPECT_EQ(RemarkCodeText(layout, c.line, c.line.size()), c.text) << c.behaviour;
  }
}

TEST(WorldEntry, BlankNameFieldDrawsNoName) {
  TestScript script;
  ShowBodyOnly(script.options());
  script.options().showNames = 1;
  DrawTestWorld(script, Edit(kRegina, 0, "              "));
  EXPECT_EQ(DrawingLines(script.TakeLines()), Lines{"CIRR 2.500000;280.000000,536.935750;"});
}

TEST(WorldEntry, NameCopyIsCutAt255Characters) {
  WorldLayout wide = kStandardWorldLayout;
  wide.positions[1] = 300;
  const std::string line = std::string(kRegina) + " " + std::string(250, 'n');
  TestScript script;
  ShowBodyOnly(script.options());
  script.options().showNames = 1;
  DrawWorld(torvane_test::WorldDrawingOf(script, wide), line, 0, kSectorMap);
  const Lines drawing = DrawingLines(script.TakeLines());
  ASSERT_FALSE(drawing.empty());
  EXPECT_EQ(drawing.front(), "TEXTM " + line.substr(0, 255));
}

TEST(WorldEntry, WorldCircleIsColouredByItsWater) {
  const std::pair<std::string, std::string> cases[] = {
      {Edit(kRegina, 22, "8"), "COLOR 9"},
      {Edit(kRegina, 22, " "), "COLOR 9"},
      {Edit(kRegina, 22, "0"), "COLOR 29"},
  };
  for (const auto& [text, colour] : cases) {
    TestScript script;
    ShowBodyOnly(script.options());
    DrawTestWorld(script, text);
    EXPECT_EQ(script.TakeLines(),
              (Lines{"LAYER STANDARD", colour, "LWIDTH 0.000000", "LSTYLE Solid", "FSTYLE Solid",
                     "CIRR 2.500000;280.000000,536.935750;"}))
        << text;
  }
}

TEST(WorldEntry, AsteroidBeltDrawsASymbolAndNoCircle) {
  for (std::string_view hydrographics : {"8", "0"}) {
    TestScript script;
    ShowBodyOnly(script.options());
    DrawTestWorld(script, Edit(Edit(kRegina, 20, "0"), 22, hydrographics));
    const Lines lines = script.TakeLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "LAYER STANDARD");
    const std::string_view prefix = "INSSYM Asteroid ";
    ASSERT_EQ(lines[1].size(), prefix.size() + 1) << lines[1];
    EXPECT_TRUE(lines[1].starts_with(prefix)) << lines[1];
    EXPECT_GE(lines[1].back(), '1');
    EXPECT_LE(lines[1].back(), '8');
    EXPECT_EQ(lines[2], "1.000000;1.000000;0.000000;280.000000,536.935750;");
  }
}

TEST(WorldEntry, EachAsteroidBeltTakesOneRandomValue) {
  TestScript script;
  ShowBodyOnly(script.options());
  // Seed 1234 gives 59566414, 1997250508 and 148423250 first: digits 7, 5, 3.
  script.context().random = RandomSource(1234);
  const std::string belt = Edit(kRegina, 20, "0");
  DrawTestWorld(script, Edit(belt, 14, "0101"));
  DrawTestWorld(script, Edit(kRegina, 14, "0102"));
  DrawTestWorld(script, Edit(belt, 14, "0103"));
  DrawTestWorld(script, Edit(belt, 14, "0104"));
  Lines symbols;
  for (const std::string& line : DrawingLines(script.TakeLines())) {
    if (line.starts_with("INSSYM ")) symbols.push_back(line);
  }
  EXPECT_EQ(symbols, (Lines{"INSSYM Asteroid 7", "INSSYM Asteroid 5", "INSSYM Asteroid 3"}));
}

TEST(WorldEntry, StarportAllegianceAndGasGiantNeedTheirColumns) {
  const std::string body = "CIRR 2.500000;280.000000,536.935750;";
  const std::string port = "TEXTM A";
  const std::string allegiance = "TEXTM Im";
  const std::string gas_giant = "CIRR 1.000000;283.000000,539.935750;";
  struct Case {
    std::string text;
    Lines drawing;
  };
  const Case cases[] = {
      {std::string(kRegina), {body, port, allegiance, gas_giant}},
      {Edit(kRegina, 19, " "), {body, "TEXTM  ", allegiance, gas_giant}},
      {Edit(kRegina, 53, " "), {body, port, allegiance, gas_giant}},
      {Edit(kRegina, 53, "0"), {body, port, allegiance}},
      {std::string(kRegina.substr(0, 56)) + "\nXX", {body, port, gas_giant}},
      {std::string(kRegina.substr(0, 54)), {body, port, gas_giant}},
      {Edit(kRegina.substr(0, 54), 53, " "), {body, port, gas_giant}},
      {std::string(kRegina.substr(0, 53)) + "\n1", {body, port}},
  };
  for (const Case& c : cases) {
    TestScript script;
    ShowBodyOnly(script.options());
    MapOptions& options = script.options();
    options.showPorts = 1;
    options.showAllegiance = 1;
    options.showGasGiants = 1;
    EXPECT_EQ(DrawTestWorld(script, c.text), 1) << c.text;
    EXPECT_EQ(DrawingLines(script.TakeLines()), c.drawing) << c.text;
  }
}

TEST(WorldEntry, BaseSymbolsAreDrawnLast) {
  TestScript script;
  ShowBodyOnly(script.options());
  DrawTestWorld(script, Edit(kRegina, 30, "N"));
  const Lines drawing = DrawingLines(script.TakeLines());
  ASSERT_EQ(drawing.size(), 2u);
  EXPECT_EQ(drawing[0], "CIRR 2.500000;280.000000,536.935750;");
  EXPECT_TRUE(drawing[1].starts_with("INSSYM ")) << drawing[1];
}

}  // namespace
}  // namespace torvane
