#include "import/world_and_route_lines.h"

#include <gtest/gtest.h>

#include "testing/imported_data.h"

namespace torvane {
namespace {

using torvane_test::ImportedRouteBetween;
using torvane_test::ImportedWorldAt;

TEST(WorldAndRouteLines, WorldLineHasEveryFieldInTorvanesColumns) {
  ImportedWorld world = ImportedWorldAt(12, 34, "Alpha");
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

TEST(WorldAndRouteLines, WorldLineWithoutOptionalFieldsSuppressesTheGasGiant) {
  ImportLog log;
  EXPECT_EQ(WorldLine(ImportedWorldAt(1, 1, ""), CodeStyle::kNewer, log),
            "              0101 A788899-C                       000");
  ImportedWorld world = ImportedWorldAt(32, 40, "Omega");
  world.pbg = "1 2";
  world.allegiance = "Zh";
  EXPECT_EQ(WorldLine(world, CodeStyle::kOlder, log),
            "Omega         3240 A788899-C                       102 Zh");
  EXPECT_EQ(log.notes.back(), "t.tab:3: PBG '1 2' written as '102'");
}

TEST(WorldAndRouteLines, RoutesArePlacedInTheStartSubsectorWithOffsets) {
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
    const PlacedRoute placed =
        PlaceRoute(ImportedRouteBetween(c.start, c.end, c.type, c.allegiance), log);
    EXPECT_EQ(placed.fit, c.fit) << c.line;
    EXPECT_EQ(placed.subsector, c.subsector) << c.line;
    EXPECT_EQ(placed.line, c.line);
  }
  ImportLog log;
  PlaceRoute(ImportedRouteBetween({0, 0, 4, 5}, {0, 0, 28, 5}), log);
  EXPECT_EQ(log.problems.at(0),
            "t.xml:9: route from 0405 to 2805 reaches 3 subsectors across and 0 down, further "
            "than a map file can hold: left out");
  ImportedRoute coloured = ImportedRouteBetween({0, 0, 1, 1}, {0, 0, 2, 2}, "Trade");
  coloured.color_code = 10;
  EXPECT_EQ(PlaceRoute(coloured, log).line, "$0101 0202 0 0 10");
}

TEST(WorldAndRouteLines, ControlCharactersInAnyFieldBecomeBlanks) {
  ImportedWorld world = ImportedWorldAt(1, 1, "Al\x01pha");
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

// Fourteen characters, whatever their bytes in UTF-8.
TEST(WorldAndRouteLines, TheNameFieldIsCutInCharacters) {
  const ImportedWorld world = ImportedWorldAt(1, 1,
                                              "\xC3\x89"
                                              "l\xC3\xA9na \xC3\x89t\xC3\xA9 \xC3\x89"
                                              "clat");  // 15 characters
  ImportLog log;
  EXPECT_EQ(WorldLine(world, CodeStyle::kNewer, log).substr(0, 18),
            "\xC9l\xE9na \xC9t\xE9 \xC9"
            "cla0101");
}

}  // namespace
}  // namespace torvane
