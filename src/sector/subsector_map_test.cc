// Subsectors: index lines read by their fixed columns, the map path built
// from them, name and neighbour labels, and the walk over a map file.
#include "sector/subsector_map.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "testing/sector_files.h"
#include "testing/test_script.h"

namespace torvane {
namespace {

// The name of subsector `subsector`; empty outside 0 to 15.
std::string_view SubsectorName(const SubsectorNames& names, int subsector) {
  if (subsector < 0 || subsector >= kSubsectorCount) return {};
  return names.names[static_cast<size_t>(subsector)];
}

using torvane_test::TestScript;

using enum MapKind;

using Lines = std::vector<std::string>;

constexpr std::string_view kDrive = "c:";
constexpr std::string_view kSectorDir = "\\maps\\delta/";

using torvane_test::IndexLine;

int Draw(TestScript& script, std::string_view sector_text, int subsector, MapKind subsector_map) {
  SectorContext& sector = script.sector();
  sector.text = sector_text;
  sector.drive = kDrive;
  sector.sectorDir = kSectorDir;
  return DrawSubsector(script.context(), sector, script.target(), subsector, subsector_map);
}

// Subsector A of a sector "delta/" on no drive, its map file SUBA.DAT.
int DrawFromDelta(TestScript& script) {
  const std::string sector_text = "Delta\n" + IndexLine('A', "Alpha", "SUBA.DAT");
  SectorContext& sector = script.sector();
  sector.text = sector_text;
  sector.drive = "";
  sector.sectorDir = "delta/";
  return DrawSubsector(script.context(), sector, script.target(), 0, MapKind::kSubsectorMap);
}

// No map file exists here, so every map path that is built shows in the
// loader's message.
TEST(SubsectorIndex, FieldsAndMapPathFromIndexLine) {
  const struct {
    const char* what;
    std::string sector_text;
    int subsector;
    std::string_view name;
    std::string_view errors;
  } kCases[] = {
      {"later line wins",
       "Delta\n" + IndexLine('C', "Old", "OLD.DAT") + IndexLine('D', "Dock", "SUBD.DAT") +
           IndexLine('C', "Harbour", "SUBC.DAT"),
       2, "Harbour", "Couldn't open file <c:\\maps\\delta/map\\SUBC.DAT>!\n"},
      {"26-character name runs into the file field",
       "Delta\nA: ABCDEFGHIJKLMNOPQRSTUVWXYZSUBA.DAT\n", 0, "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
       "Couldn't open file <c:\\maps\\delta/map\\SUBA.DAT>!\n"},
      {"file field cut at 20", "Delta\n" + IndexLine('A', "Alpha", "ABCDEFGHIJKLMNOP.DATXYZ"), 0,
       "Alpha", "Couldn't open file <c:\\maps\\delta/map\\ABCDEFGHIJKLMNOP.DAT>!\n"},
      {"file field keeps leading blanks", "Delta\n" + IndexLine('A', "Alpha", "  SUBA.DAT \t\r"), 0,
       "Alpha", "Couldn't open file <c:\\maps\\delta/map\\  SUBA.DAT>!\n"},
      {"directory in file field", "Delta\n" + IndexLine('A', "Alpha", "MAP\\SUBA.DAT"), 0, "Alpha",
       "Couldn't open file <c:\\maps\\delta/map\\SUBA.DAT>!\n"},
      {"drive in file field", "Delta\n" + IndexLine('A', "Alpha", "x:\\old\\suba.dat"), 0, "Alpha",
       "Couldn't open file <c:\\maps\\delta/map\\suba.dat>!\n"},
      {"short title", "Dl\n" + IndexLine('A', "Alpha", "SUBA.DAT"), 0, "Alpha",
       "Couldn't open file <c:\\maps\\delta/map\\SUBA.DAT>!\n"},
      {"empty title", "\n" + IndexLine('A', "Alpha", "SUBA.DAT"), 0, "Alpha",
       "Couldn't open file <c:\\maps\\delta/map\\SUBA.DAT>!\n"},
      {"line ends right after the name field", "Delta\n" + IndexLine('C', "Harbour", ""), 2,
       "Harbour", "Couldn't open file <c:\\maps\\delta/map\\>!\n"},
      {"line ends inside the name field", "Delta\nC: Harbour\n" + IndexLine('D', "Dock", "D.DAT"),
       2, "Harbour", "No subsector file specified for C (Harbour)!\n"},
      {"text ends inside the name field", "Delta\nC: Harbour \t", 2, "Harbour",
       "No subsector file specified for C (Harbour)!\n"},
      {"line ends at column 2", "Delta\nC:x\nD: Dock", 2, "",
       "No subsector file specified for C ()!\n"},
      {"text ends at column 2", "Delta\nC:", 2, "", "No subsector file specified for C ()!\n"},
      {"title line is no index line", IndexLine('A', "Alpha", "SUBA.DAT"), 0, "", ""},
      {"lower-case letter", "Delta\n" + IndexLine('a', "Alpha", "SUBA.DAT"), 0, "", ""},
      {"no line for the subsector", "Delta\n" + IndexLine('A', "Alpha", "SUBA.DAT"), 2, "", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    TestScript script;
    EXPECT_EQ(Draw(script, c.sector_text, c.subsector, kSectorMap), 0);
    EXPECT_EQ(SubsectorName(script.names(), c.subsector), c.name);
    EXPECT_EQ(script.errors(), c.errors);
    EXPECT_EQ(script.log().ErrorCount(), c.errors.empty() ? 0 : 1);
  }
}

// Each call is followed by a select, whose "LAYER STANDARD" shows that the
// border group was released.
TEST(SubsectorIndex, NameLabelsOnSectorAndSubsectorMaps) {
  const struct {
    const char* what;
    std::string_view sector_text;
    MapKind subsector_map;
    Lines lines;
  } kCases[] = {
      {"sector map",
       "Delta\nC: Harbour\n",
       kSectorMap,
       {"LAYER STANDARD", "LAYER MAP BORDER", "COLOR 15", "TSPECF Arial", "TSPECH 3.000000",
        "TSPECA 0.000000", "TSPECJ 0", "TSPECS 16", "TEXTM Harbour", "501.000000,602.000000",
        "LAYER STANDARD"}},
      {"subsector map",
       "Delta\nC: Harbour\n",
       kSubsectorMap,
       {"LAYER STANDARD", "LAYER MAP BORDER", "COLOR 15", "TSPECF Arial", "TSPECH 5.000000",
        "TSPECA 0.000000", "TSPECJ 7", "TSPECS 16", "TEXTM Harbour Subsector",
        "62.500000,-15.000000", "LAYER STANDARD", "LAYER MAP BORDER", "LAYER STANDARD"}},
      {"empty name on the sector map", "Delta\nC:   \n", kSectorMap, {"LAYER STANDARD"}},
      {"empty name on a subsector map keeps the neighbour group",
       "Delta\nC:   \n",
       kSubsectorMap,
       {"LAYER STANDARD", "LAYER MAP BORDER", "LAYER STANDARD"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    TestScript script;
    EXPECT_EQ(Draw(script, c.sector_text, 2, c.subsector_map), 0);
    ScrSelect(script.target());
    EXPECT_EQ(script.TakeLines(), c.lines);
    EXPECT_EQ(script.log().ErrorCount(), 1);
  }
}

constexpr std::string_view kNamedSector =
    "Delta\nA: Alpha\nB: Bravo\nC: Charlie\nD: Delta\nE: Echo\nF: Foxtrot\nG: Golf\nH: Hotel\n"
    "I: India\nJ: Juliet\nK: Kilo\nL: Lima\nM: Mike\nN: November\nO: Oscar\nP: Papa\n";

void DrawSectorPass(TestScript& script, std::string_view sector_text) {
  for (int subsector = 0; subsector < 16; ++subsector)
    Draw(script, sector_text, subsector, kSectorMap);
  script.TakeLines();
}

TEST(SubsectorIndex, NeighbourLabelsInsideTheSector) {
  const struct {
    int subsector;
    Lines lines;
  } kCases[] = {
      // clang-format off
      {0, {"LAYER STANDARD", "LAYER MAP BORDER",
           "COLOR 15", "TSPECF Arial", "TSPECH 5.000000", "TSPECA 0.000000", "TSPECJ 7",
           "TSPECS 16", "TEXTM Alpha Subsector", "62.500000,-15.000000",
           "LAYER STANDARD", "LAYER MAP BORDER",
           "COLOR 15", "TSPECF Arial", "TSPECH 4.000000", "TSPECA 270.000000", "TSPECJ 4",
           "TSPECS 16", "TEXTM Bravo", "130.000000,95.933000",
           "TSPECA 180.000000", "TEXTM Echo", "62.500000,-5.000000",
           "LAYER STANDARD"}},
      {15, {"LAYER STANDARD", "LAYER MAP BORDER",
            "COLOR 15", "TSPECF Arial", "TSPECH 5.000000", "TSPECA 0.000000", "TSPECJ 7",
            "TSPECS 16", "TEXTM Papa Subsector", "62.500000,-15.000000",
            "LAYER STANDARD", "LAYER MAP BORDER",
            "COLOR 15", "TSPECF Arial", "TSPECH 4.000000", "TSPECA 0.000000", "TSPECJ 4",
            "TSPECS 16", "TEXTM Lima", "62.500000,186.865000",
            "TSPECA 90.000000", "TEXTM Oscar", "-5.000000,95.933000",
            "LAYER STANDARD"}},
      {5, {"LAYER STANDARD", "LAYER MAP BORDER",
           "COLOR 15", "TSPECF Arial", "TSPECH 5.000000", "TSPECA 0.000000", "TSPECJ 7",
           "TSPECS 16", "TEXTM Foxtrot Subsector", "62.500000,-15.000000",
           "LAYER STANDARD", "LAYER MAP BORDER",
           "COLOR 15", "TSPECF Arial", "TSPECH 4.000000", "TSPECA 0.000000", "TSPECJ 4",
           "TSPECS 16", "TEXTM Bravo", "62.500000,186.865000",
           "TSPECA 90.000000", "TEXTM Echo", "-5.000000,95.933000",
           "TSPECA 270.000000", "TEXTM Golf", "130.000000,95.933000",
           "TSPECA 180.000000", "TEXTM Juliet", "62.500000,-5.000000",
           "LAYER STANDARD"}},
      // clang-format on
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.subsector);
    TestScript script;
    DrawSectorPass(script, kNamedSector);
    Draw(script, kNamedSector, c.subsector, kSubsectorMap);
    ScrSelect(script.target());
    EXPECT_EQ(script.TakeLines(), c.lines);
  }
}

TEST(SubsectorIndex, NamesLastUntilTheNextSectorReplacesThem) {
  TestScript script;
  DrawSectorPass(script, kNamedSector);
  // A later sector without a line for B and with an empty name for E.
  constexpr std::string_view kSparseSector = "Delta\nA: Able\nE:\n";
  Draw(script, kSparseSector, 0, kSectorMap);
  EXPECT_EQ(SubsectorName(script.names(), 0), "Able");
  EXPECT_EQ(SubsectorName(script.names(), 1), "Bravo");
  DrawSectorPass(script, kSparseSector);
  EXPECT_EQ(SubsectorName(script.names(), 1), "");
  EXPECT_EQ(SubsectorName(script.names(), 4), "");
  Draw(script, kSparseSector, 0, kSubsectorMap);
  ScrSelect(script.target());
  EXPECT_EQ(
      script.TakeLines(),
      (Lines{"LAYER STANDARD", "LAYER MAP BORDER", "COLOR 15", "TSPECF Arial", "TSPECH 5.000000",
             "TSPECA 0.000000", "TSPECJ 7", "TSPECS 16", "TEXTM Able Subsector",
             "62.500000,-15.000000", "LAYER STANDARD", "LAYER MAP BORDER", "LAYER STANDARD"}));
}

TEST(SubsectorIndex, RejectsMissingTextAndIndexOutsideTheSector) {
  TestScript script;
  const std::string sector_text = "Delta\n" + IndexLine('A', "Alpha", "SUBA.DAT");
  for (int subsector : {-1, 16}) {
    EXPECT_EQ(Draw(script, sector_text, subsector, kSubsectorMap), 0);
    EXPECT_EQ(SubsectorName(script.names(), subsector), "");
  }
  EXPECT_EQ(Draw(script, std::string_view(), 0, kSubsectorMap), 0);
  script.sector().text = sector_text;
  script.sector().drive = std::string_view();
  EXPECT_EQ(DrawSubsector(script.context(), script.sector(), script.target(), 0, kSubsectorMap), 0);
  EXPECT_EQ(script.TakeLines(), Lines{});
  EXPECT_EQ(script.log().ErrorCount(), 0);
}

// World and route drawing judge the lines themselves; here every kind of
// line and ending must be walked to the end of a map file that was read.
TEST(SubsectorMapFile, EveryLineShapeIsWalkedToTheEnd) {
  const std::string_view kMapTexts[] = {
      "# comment\n@ note\n$0101 0102 3 5\n\n0101 Regina  A788899-C\nlast line",
      "# comment\n$0101 0102\n",
      "$0101",
      "\r\n",
      "\n\n\n",
      "\x1a",
  };
  for (std::string_view map_text : kMapTexts) {
    SCOPED_TRACE(map_text);
    TestScript script;
    script.fs().AddFile("delta/map/SUBA.DAT", std::string(map_text));
    EXPECT_EQ(DrawFromDelta(script), 1);
    EXPECT_EQ(
        std::count(script.fs().Log().begin(), script.fs().Log().end(), "open delta/map/SUBA.DAT"),
        1);
    EXPECT_EQ(script.fs().OpenFiles(), 1);  // the script alone
    EXPECT_EQ(script.errors(), "");
  }
}

TEST(SubsectorMapFile, WorldLinesAreDrawnUpToTheLastWithOrWithoutItsLineEnd) {
  const std::string kWorlds =
      "Alpha         0101 A788899-C\n"
      "\n"
      "Beta          0102 A788899-C\n"
      "# Gamma       0103 A788899-C\n"
      "Delta         0104 A788899-C";
  for (std::string_view end : {"", "\n", "\n\n"}) {
    SCOPED_TRACE(testing::Message() << "ending " << end.size());
    TestScript script;
    script.fs().AddFile("delta/map/SUBA.DAT", kWorlds + std::string(end));
    ASSERT_EQ(DrawFromDelta(script), 1);
    EXPECT_TRUE(script.sector().occupancy.IsOccupied(1, 1));
    EXPECT_TRUE(script.sector().occupancy.IsOccupied(1, 2));
    EXPECT_FALSE(script.sector().occupancy.IsOccupied(1, 3));
    EXPECT_TRUE(script.sector().occupancy.IsOccupied(1, 4));
  }
}

}  // namespace
}  // namespace torvane
