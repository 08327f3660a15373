#include "import/sector_layout.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

ImportedWorld World(int column, int row, std::string name) {
  ImportedWorld world;
  world.source = {"t.tab", 3};
  world.column = column;
  world.row = row;
  world.name = std::move(name);
  world.uwp = "A788899-C";
  return world;
}

ImportedRoute Route(SectorHex start, SectorHex end, std::string type = "",
                    std::string allegiance = "") {
  ImportedRoute route;
  route.source = {"t.xml", 9};
  route.start = start;
  route.end = end;
  route.type = std::move(type);
  route.allegiance = std::move(allegiance);
  return route;
}

TEST(SectorLayout, WorldLineHasEveryFieldInTorvanesColumns) {
  ImportedWorld world = World(12, 34, "Alpha");
  world.bases = "NS";
  world.remarks = "Hi In Cp";
  // A string, not the bare literal: GCC 12 at -O3 warns falsely (-Wrestrict)
  // on assigning this one-letter literal.
  world.zone = std::string("U");
  world.pbg = "703";
  world.allegiance = "ImDd";
  world.stars = "G2 V M1 V";
  ImportLog log;
  //                                  1         2         3         4         5         6
  //                        0123456789012345678901234567890123456789012345678901234567890123456
  EXPECT_EQ(WorldLine(world, CodeStyle::kNewer, log),
            "Alpha         1234 A788899-C  A Cp Hi In        A  703 Im G2 V M1 V");
}

TEST(SectorLayout, WorldLineWithoutOptionalFieldsSuppressesTheGasGiant) {
  ImportLog log;
  EXPECT_EQ(WorldLine(World(1, 1, ""), CodeStyle::kNewer, log),
            "              0101 A788899-C                       000");
  ImportedWorld world = World(32, 40, "Omega");
  world.pbg = "1 2";
  world.allegiance = "Zh";
  EXPECT_EQ(WorldLine(world, CodeStyle::kOlder, log),
            "Omega         3240 A788899-C                       102 Zh");
  EXPECT_EQ(log.notes.back(), "t.tab:3: PBG '1 2' written as '102'");
}

TEST(SectorLayout, RoutesArePlacedInTheStartSubsectorWithOffsets) {
  struct Case {
    SectorHex start, end;
    const char* type;
    const char* allegiance;
    PlacedRoute::Fit fit;
    int subsector;
    const char* line;
  };
  const Case cases[] = {
      {{0, 0, 1, 2}, {0, 0, 3, 4}, "Trade", "", PlacedRoute::kPlaced, 0, "$0102 0304 0 0 2"},
      {{0, 0, 8, 10}, {0, 0, 9, 11}, "", "ZhCo", PlacedRoute::kPlaced, 0, "$0810 0911 1 1 13"},
      // Into the sector to the right, written as the published data does (column 33).
      {{0, 0, 32, 9}, {0, 0, 33, 8}, "", "", PlacedRoute::kPlaced, 3, "$3209 0108 1 0 3"},
      {{0, 0, 32, 9}, {1, 0, 2, 8}, "", "", PlacedRoute::kPlaced, 3, "$3209 0208 1 0 3"},
      // Starting in the sector above: turned round.
      {{0, -1, 5, 40}, {0, 0, 5, 1}, "", "SwCf", PlacedRoute::kPlaced, 0, "$0501 0540 0 -1 15"},
      {{0, 0, 1, 0}, {0, 0, 1, 1}, "", "", PlacedRoute::kPlaced, 0, "$0101 0140 0 -1 3"},
      // Wholly outside.
      {{-1, 0, 5, 5}, {-1, 0, 6, 6}, "", "", PlacedRoute::kOutside, -1, ""},
      {{0, 0, 0, 1}, {0, 0, 0, 2}, "", "", PlacedRoute::kOutside, -1, ""},
      // Three subsectors across inside the sector, or two into the next: torvane
      // would draw them to the wrong place.
      {{0, 0, 4, 5}, {0, 0, 28, 5}, "", "", PlacedRoute::kLeftOut, -1, ""},
      {{0, 0, 28, 5}, {1, 0, 12, 5}, "", "", PlacedRoute::kLeftOut, -1, ""},
      {{0, 0, 2, 2}, {0, 0, 2, 2}, "", "", PlacedRoute::kLeftOut, -1, ""},
  };
  for (const Case& c : cases) {
    ImportLog log;
    const PlacedRoute placed = PlaceRoute(Route(c.start, c.end, c.type, c.allegiance), log);
    EXPECT_EQ(placed.fit, c.fit) << c.line;
    EXPECT_EQ(placed.subsector, c.subsector) << c.line;
    EXPECT_EQ(placed.line, c.line);
  }
  ImportLog log;
  PlaceRoute(Route({0, 0, 4, 5}, {0, 0, 28, 5}), log);
  EXPECT_EQ(log.problems.at(0),
            "t.xml:9: route from 0405 to 2805 reaches 3 subsectors across and 0 down, further "
            "than a map file can hold: left out");
  ImportedRoute coloured = Route({0, 0, 1, 1}, {0, 0, 2, 2}, "Trade");
  coloured.color_code = 10;
  EXPECT_EQ(PlaceRoute(coloured, log).line, "$0101 0202 0 0 10");
}

TEST(SectorLayout, SectorFilesHoldIndexRoutesAndWorldsInHexOrder) {
  ImportedSector sector;
  sector.title = "Test Reach";
  sector.subsector_names[0] = "First";
  sector.subsector_names[5] = "A Subsector Name Too Long To Fit";
  sector.worlds = {World(2, 1, "Second"), World(1, 2, "First"), World(9, 11, "Effy"),
                   World(1, 2, "Twin")};
  sector.worlds[2].bases = "D";
  sector.worlds[2].allegiance = "ZhCo";
  sector.routes = {Route({0, 0, 1, 2}, {0, 0, 2, 1}), Route({-1, 0, 1, 1}, {-1, 0, 1, 2})};
  LayoutCounts counts;
  ImportLog log;
  const std::vector<LaidOutFile> files =
      LayOutSector(sector, "test", "t.tab", MapEncoding::kWindows1252, counts, log);
  EXPECT_EQ(counts.worlds, 3);
  EXPECT_EQ(counts.routes, 1);
  EXPECT_EQ(counts.routes_outside, 1);
  ASSERT_EQ(files.size(), 17u);
  EXPECT_EQ(files[0].path, "test.dat");
  EXPECT_EQ(files[0].text,
            "Test Reach\n"
            "\n"
            "A: First                     SUBA.DAT\n"
            "B:                           SUBB.DAT\n"
            "C:                           SUBC.DAT\n"
            "D:                           SUBD.DAT\n"
            "E:                           SUBE.DAT\n"
            "F: A Subsector Name Too Long SUBF.DAT\n"
            "G:                           SUBG.DAT\n"
            "H:                           SUBH.DAT\n"
            "I:                           SUBI.DAT\n"
            "J:                           SUBJ.DAT\n"
            "K:                           SUBK.DAT\n"
            "L:                           SUBL.DAT\n"
            "M:                           SUBM.DAT\n"
            "N:                           SUBN.DAT\n"
            "O:                           SUBO.DAT\n"
            "P:                           SUBP.DAT\n"
            "\n"
            "Bases:\n"
            "D = Imperial Naval Depot\n"
            "  = None\n"
            "\n"
            "Allegiance:\n"
            "Zh = ZhCo\n"
            "\n"
            "Imported by torvane-import from t.tab\n");
  EXPECT_EQ(files[1].path, "map/SUBA.DAT");
  EXPECT_EQ(files[1].text,
            "@SUB-SECTOR: First SECTOR: Test Reach\n"
            "#\n"
            "$0102 0201 0 0 3\n"
            "#--------1---------2---------3---------4---------5---------6---\n"
            "#Name         Hex  Profile    B Remarks         Z  PBG Al Stars\n"
            "First         0102 A788899-C                       000\n"
            "Second        0201 A788899-C                       000\n");
  EXPECT_EQ(files[6].path, "map/SUBF.DAT");
  EXPECT_NE(files[6].text.find("\nEffy          0911 A788899-C  D                    000 Zh\n"),
            std::string::npos);
  EXPECT_EQ(files[16].path, "map/SUBP.DAT");
  ASSERT_EQ(log.problems.size(), 1u);
  EXPECT_EQ(log.problems[0],
            "t.tab:3: hex 0102 already holds 'First' from t.tab:3: world left out");
}

TEST(SectorLayout, PbgDigitsAbove9AreWritten9AndUnknownOnes0InTheirOwnPlace) {
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
    ImportedWorld world = World(1, 1, "Alpha");
    world.pbg = c.pbg;
    ImportLog log;
    EXPECT_EQ(WorldLine(world, CodeStyle::kNewer, log),
              "Alpha         0101 A788899-C                       " + std::string(c.written))
        << c.pbg;
    const std::vector<std::string> notes =
        *c.note ? std::vector<std::string>{"t.tab:3: " + std::string(c.note)}
                : std::vector<std::string>{};
    EXPECT_EQ(log.notes, notes) << c.pbg;
    EXPECT_EQ(log.changes, *c.note ? 1 : 0) << c.pbg;
  }
}

TEST(SectorLayout, CountsSayWhichWorldLinesWereWrittenChangedOrSkipped) {
  ImportedSector sector;
  sector.world_lines_read = 5;
  sector.worlds = {World(1, 1, ""), World(1, 1, "Twin"), World(2, 2, "Plain"),
                   World(3, 3, "A Name Too Long For It")};
  for (size_t i = 0; i < sector.worlds.size(); ++i) {
    sector.worlds[i].source.line = static_cast<int>(i + 2);
    sector.worlds[i].pbg = "100";
  }
  LayoutCounts counts;
  ImportLog log;
  log.Skip({"t.tab", 9}, "not a world line");
  LayOutSector(sector, "test", "t.tab", MapEncoding::kWindows1252, counts, log);
  EXPECT_EQ(counts.world_lines_read, 5);
  EXPECT_EQ(counts.worlds, 3);
  EXPECT_EQ(counts.changed, 1);
  EXPECT_EQ(counts.skipped, 2);
  EXPECT_EQ(counts.written_lines, (std::vector<int>{2, 4, 5}));
  EXPECT_EQ(log.skipped_lines, (std::vector<int>{9, 3}));
  // A second world in the hex of an unnamed one.
  EXPECT_EQ(log.problems.back(),
            "t.tab:3: hex 0101 already holds an unnamed world from t.tab:2: world left out");
}

TEST(SectorLayout, ControlCharactersInAnyFieldBecomeBlanks) {
  ImportedWorld world = World(1, 1, "Al\x01pha");
  world.remarks =
      "Ni W\x10"
      "a";
  world.allegiance = "I\x7F";
  world.pbg = "100";
  world.stars = "G2\vV";
  ImportLog log;
  EXPECT_EQ(WorldLine(world, CodeStyle::kOlder, log),
            "Al pha        0101 A788899-C    Ni W a             100 I  G2 V");
}

}  // namespace
}  // namespace torvane
