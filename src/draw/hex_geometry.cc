// Hex grid geometry of the sector and subsector maps.
#include "draw/hex_geometry.h"

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

}  // namespace torvane
