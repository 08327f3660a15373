// Hex grid geometry of the sector and subsector maps.
#include "draw/hex_geometry.h"

namespace torvane {

int ShiftToSubsector(MapPoint* point, int subsector) {
  if (point == nullptr || subsector < 0 || subsector >= kSubsectorCount) return 0;
  point->x -= (subsector % kSubsectorsAcross) * kSubsectorWidth;
  point->y -= ((kSubsectorCount - 1 - subsector) / kSubsectorsAcross) * kSubsectorHeight;
  return 1;
}

int HexInSubsector(int column, int row, int subsector) {
  if (subsector < 0 || subsector >= kSubsectorCount) return 0;
  if (column < 1 || column > kSectorColumns || row < 1 || row > kSectorRows) return 0;
  return SubsectorOfHex(column, row) == subsector ? 1 : 0;
}

}  // namespace torvane
