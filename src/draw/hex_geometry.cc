// Hex grid geometry of the sector and subsector maps.
#include "draw/hex_geometry.h"

#include <cmath>

namespace torvane {

int ShiftToSubsector(MapPoint* point, int subsector) {
  if (point == nullptr || subsector < 0 || subsector > 15) return 0;
  point->x -= (subsector % 4) * kSubsectorWidth;
  point->y -= ((15 - subsector) / 4) * kSubsectorHeight;
  return 1;
}

int HexInSubsector(int column, int row, int subsector) {
  if (subsector < 0 || subsector > 15) return 0;
  if (column < 1 || column > kSectorColumns || row < 1 || row > kSectorRows) return 0;
  return (column - 1) / kSubsectorColumns == subsector % 4 &&
                 (row - 1) / kSubsectorRows == subsector / 4
             ? 1
             : 0;
}

double Direction(double from_x, double from_y, double to_x, double to_y) {
  const double dx = to_x - from_x;
  const double dy = to_y - from_y;
  if (dx == 0) return dy >= 0 ? kQuarterTurn : -kQuarterTurn;
  const double t = std::atan(dy / dx);
  if (dx > 0) return t;
  return dy >= 0 ? t + kHalfTurn : t - kHalfTurn;
}

}  // namespace torvane
