// Hex centres, the subsector shift and test, and directions, checked against
// the positions a user reads in the scripts.
#include "draw/hex_geometry.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

using enum HexRange;

struct CenterCase {
  int column, row;
  HexRange range;
  double x, y;
};

TEST(HexGeometry, HexCentersOnTheSectorMap) {
  const CenterCase cases[] = {
      {1, 1, kSectorOnly, 10, 692.8203232},
      {2, 1, kSectorOnly, 25, 684.16006916},
      {1, 40, kSectorOnly, 10, 17.32050808},
      {32, 40, kSectorOnly, 475, 8.66025404},
      {0, 5, kAnyHex, -5, 614.87803684},
      {33, 5, kAnyHex, 490, 623.53829088},
      {6, 0, kAnyHex, 85, 701.48057724},
      {6, 41, kAnyHex, 85, -8.66025404},
      {5, 41, kAnyHex, 70, 0},
      {-1, 1, kAnyHex, -20, 692.8203232},
  };
  for (const CenterCase& c : cases) {
    MapPoint p;
    ASSERT_EQ(HexCenter(c.column, c.row, &p, c.range), 1) << c.column << "," << c.row;
    EXPECT_DOUBLE_EQ(p.x, c.x);
    EXPECT_NEAR(p.y, c.y, 1e-9) << c.column << "," << c.row;
  }
}

TEST(HexGeometry, RangeCheckRejectsHexesOutsideTheSectorAndKeepsThePoint) {
  for (const auto& [column, row] : {std::pair{0, 5}, {33, 1}, {1, 0}, {1, 41}}) {
    MapPoint p{7, 8};
    EXPECT_EQ(HexCenter(column, row, &p, kSectorOnly), 0);
    EXPECT_EQ(p.x, 7);
    EXPECT_EQ(p.y, 8);
  }
  EXPECT_EQ(HexCenter(1, 1, nullptr, kAnyHex), 0);
  EXPECT_EQ(SubsectorHexCenter(1, 1, nullptr), 0);
}

TEST(HexGeometry, SubsectorCentersMatchTheShiftedSectorCenters) {
  MapPoint p;
  SubsectorHexCenter(9, 11, &p);
  EXPECT_DOUBLE_EQ(p.x, 10);
  EXPECT_NEAR(p.y, 173.2050808, 1e-9);
  MapPoint shifted;
  HexCenter(9, 11, &shifted, kSectorOnly);
  EXPECT_NEAR(shifted.y, 519.6152424, 1e-9);
  ASSERT_EQ(ShiftToSubsector(&shifted, 5), 1);
  EXPECT_NEAR(shifted.x, p.x, 1e-9);
  EXPECT_NEAR(shifted.y, p.y, 1e-9);
  for (const auto& [column, row] : {std::pair{16, 20}, {8, 10}}) {
    SubsectorHexCenter(column, row, &p);
    EXPECT_DOUBLE_EQ(p.x, 115);
    EXPECT_NEAR(p.y, 8.66025404, 1e-9);
  }
}

TEST(HexGeometry, ShiftToSubsectorMovesByWholeSubsectors) {
  MapPoint p{500, 600};
  EXPECT_EQ(ShiftToSubsector(&p, 16), 0);
  EXPECT_EQ(ShiftToSubsector(&p, -1), 0);
  EXPECT_EQ(p.x, 500);
  EXPECT_EQ(p.y, 600);
  ASSERT_EQ(ShiftToSubsector(&p, 0), 1);
  EXPECT_EQ(p.x, 500);
  EXPECT_NEAR(p.y, 600 - 519.6152424, 1e-9);
  MapPoint q{500, 600};
  ASSERT_EQ(ShiftToSubsector(&q, 15), 1);
  EXPECT_EQ(q.x, 140);
  EXPECT_EQ(q.y, 600);
  EXPECT_EQ(ShiftToSubsector(nullptr, 3), 0);
}

TEST(HexGeometry, HexInSubsectorFollowsTheEightByTenBlocks) {
  EXPECT_EQ(HexInSubsector(8, 10, 0), 1);
  EXPECT_EQ(HexInSubsector(9, 10, 0), 0);
  EXPECT_EQ(HexInSubsector(9, 10, 1), 1);
  EXPECT_EQ(HexInSubsector(32, 40, 15), 1);
  EXPECT_EQ(HexInSubsector(0, 5, 0), 0);
  EXPECT_EQ(HexInSubsector(5, 0, 0), 0);
  EXPECT_EQ(HexInSubsector(1, 1, 16), 0);
  EXPECT_EQ(HexInSubsector(1, 1, -1), 0);
}

TEST(HexGeometry, DirectionUsesTheDecimalTurns) {
  EXPECT_EQ(Direction(3, 4, 3, 4), 1.570796327);
  EXPECT_EQ(Direction(0, 0, 0, -1), -1.570796327);
  EXPECT_EQ(Direction(0, 0, -1, 0), 3.1415926535);
  const double left_down = Direction(0, 0, -1, -1e-9);
  EXPECT_GT(left_down, -3.1415926535);
  EXPECT_LT(left_down, -3.14159);
  EXPECT_EQ(Direction(0, 0, 1, 0), 0.0);
}

}  // namespace
}  // namespace torvane
