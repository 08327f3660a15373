// Hex number labels: which hexes each mode labels on the sector and the
// subsector maps, their order, text and position.
#include "draw/hex_numbers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "draw/world_entry.h"
#include "testing/test_script.h"

namespace torvane {
namespace {

using torvane_test::TestScript;

using enum MapKind;

using Lines = std::vector<std::string>;

const Lines kLabelSettings = {
    "LAYER STANDARD",  "COLOR 15", "TSPECF Courier New", "TSPECH 1.500000",
    "TSPECA 0.000000", "TSPECJ 7", "TSPECS 0",
};

// The label texts in the order written.
Lines LabelTexts(const Lines& lines) {
  Lines texts;
  for (const std::string& line : lines) {
    if (line.starts_with("TEXTM ")) texts.push_back(line.substr(6));
  }
  return texts;
}

TEST(HexNumbers, NoneAndOccupiedModesLeaveLabelsToNobodyOrToTheWorlds) {
  for (HexNumberMode mode : {HexNumberMode::kNone, HexNumberMode::kOccupied}) {
    TestScript script;
    script.options().hexNumbers = mode;
    DrawHexNumbers(script.options(), script.sector().occupancy, script.target(), -1, kSectorMap);
    DrawHexNumbers(script.options(), script.sector().occupancy, script.target(), 5, kSubsectorMap);
    EXPECT_TRUE(script.TakeLines().empty());
  }
}

TEST(HexNumbers, UnoccupiedModeLabelsEveryHexOfAnEmptySectorColumnByColumn) {
  TestScript script;
  script.options().hexNumbers = HexNumberMode::kUnoccupied;
  DrawHexNumbers(script.options(), script.sector().occupancy, script.target(), -1, kSectorMap);
  const Lines lines = script.TakeLines();
  ASSERT_EQ(lines.size(), kLabelSettings.size() + 2 * 1280);
  Lines head = kLabelSettings;
  head.insert(head.end(),
              {"TEXTM 0101", "10.000000,701.120323", "TEXTM 0102", "10.000000,683.799815"});
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + static_cast<long>(head.size())), head);
  EXPECT_EQ(lines[kLabelSettings.size() + 2 * 40], "TEXTM 0201");
  EXPECT_EQ(lines[kLabelSettings.size() + 2 * 40 + 1], "25.000000,692.460069");
  EXPECT_EQ(Lines(lines.end() - 2, lines.end()), (Lines{"TEXTM 3240", "475.000000,16.960254"}));
}

TEST(HexNumbers, UnoccupiedModeSkipsTheHexesOfDrawnWorlds) {
  TestScript script;
  script.options().hexNumbers = HexNumberMode::kUnoccupied;
  ASSERT_EQ(DrawTestWorld(script, "Mora          0102 A788899-C                    "), 1);
  script.sector().occupancy.Mark(32, 40);
  script.TakeLines();
  DrawHexNumbers(script.options(), script.sector().occupancy, script.target(), -1, kSectorMap);
  const Lines texts = LabelTexts(script.TakeLines());
  ASSERT_EQ(texts.size(), 1278u);
  EXPECT_EQ(texts[0], "0101");
  EXPECT_EQ(texts[1], "0103");
  EXPECT_EQ(texts.back(), "3239");
}

TEST(HexNumbers, AllModeLabelsOccupiedHexesWithTheirOwnNumbers) {
  TestScript script;
  script.options().hexNumbers = HexNumberMode::kAll;
  // The world's label comes from here, made from its column and row.
  ASSERT_EQ(DrawTestWorld(script, "Mora          +1+2 A788899-C                    "), 1);
  script.TakeLines();
  DrawHexNumbers(script.options(), script.sector().occupancy, script.target(), -1, kSectorMap);
  const Lines texts = LabelTexts(script.TakeLines());
  ASSERT_EQ(texts.size(), 1280u);
  EXPECT_EQ(texts[1], "0102");
}

TEST(HexNumbers, SubsectorMapLabelsOnlyItsOwnHexesInItsOwnFrame) {
  TestScript script;
  script.options().hexNumbers = HexNumberMode::kUnoccupied;
  DrawHexNumbers(script.options(), script.sector().occupancy, script.target(), 5, kSubsectorMap);
  const Lines lines = script.TakeLines();
  ASSERT_EQ(lines.size(), kLabelSettings.size() + 2 * 80);
  EXPECT_EQ(lines[7], "TEXTM 0911");
  EXPECT_EQ(lines[8], "10.000000,181.505081");
  EXPECT_EQ(Lines(lines.end() - 2, lines.end()), (Lines{"TEXTM 1620", "115.000000,16.960254"}));
}

TEST(HexNumbers, EverySubsectorMapLabelsItsOwnBlockColumnByColumnInTheSameFrame) {
  struct Case {
    int subsector;
    // The first, second and eleventh labels and the last.
    Lines texts;
  };
  const Case cases[] = {
      {0, {"0101", "0102", "0201", "0810"}},  {3, {"2501", "2502", "2601", "3210"}},
      {5, {"0911", "0912", "1011", "1620"}},  {10, {"1721", "1722", "1821", "2430"}},
      {12, {"0131", "0132", "0231", "0840"}}, {15, {"2531", "2532", "2631", "3240"}},
  };
  for (const Case& c : cases) {
    TestScript script;
    script.options().hexNumbers = HexNumberMode::kAll;
    DrawHexNumbers(script.options(), script.sector().occupancy, script.target(), c.subsector,
                   kSubsectorMap);
    const Lines lines = script.TakeLines();
    const Lines texts = LabelTexts(lines);
    ASSERT_EQ(texts.size(), 80u) << c.subsector;
    EXPECT_EQ((Lines{texts[0], texts[1], texts[10], texts[79]}), c.texts) << c.subsector;
    EXPECT_EQ(lines[kLabelSettings.size() + 1], "10.000000,181.505081") << c.subsector;
    EXPECT_EQ(lines.back(), "115.000000,16.960254") << c.subsector;
  }
}

TEST(HexNumbers, SubsectorMapSkipsOnlyTheWorldsDrawnIntoIt) {
  TestScript script;
  script.options().hexNumbers = HexNumberMode::kUnoccupied;
  const std::string_view line_in_a = "Mora          0102 A788899-C                    ";
  const std::string_view line_in_f = "Lost          0911 A788899-C                    ";
  EXPECT_EQ(DrawTestWorld(script, line_in_a, 0, kSubsectorMap), 1);
  EXPECT_EQ(DrawTestWorld(script, line_in_f, 0, kSubsectorMap), 0);
  script.TakeLines();
  DrawHexNumbers(script.options(), script.sector().occupancy, script.target(), 0, kSubsectorMap);
  const Lines texts = LabelTexts(script.TakeLines());
  ASSERT_EQ(texts.size(), 79u);
  EXPECT_EQ(texts[0], "0101");
  EXPECT_EQ(texts[1], "0103");
  DrawHexNumbers(script.options(), script.sector().occupancy, script.target(), 5, kSubsectorMap);
  EXPECT_EQ(LabelTexts(script.TakeLines()).front(), "0911");
}

TEST(HexNumbers, SubsectorMapOutsideTheSectorGetsNoLabels) {
  for (int subsector : {-1, 16}) {
    TestScript script;
    script.options().hexNumbers = HexNumberMode::kAll;
    DrawHexNumbers(script.options(), script.sector().occupancy, script.target(), subsector,
                   kSubsectorMap);
    EXPECT_TRUE(script.TakeLines().empty());
  }
}

TEST(HexNumbers, LabelIsCutToFourCharacters) {
  TestScript script;
  DrawHexNumberLabel(script.target(), "0101 A788899-C", {10, 20});
  Lines expected = kLabelSettings;
  expected.insert(expected.end(), {"TEXTM 0101", "10.000000,28.300000"});
  EXPECT_EQ(script.TakeLines(), expected);
}

}  // namespace
}  // namespace torvane
