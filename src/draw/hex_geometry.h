// Hex grid geometry: where a hex's centre lies on the sector map or on the
// map of its subsector, moving points into a subsector's frame, which
// subsector holds a hex.
#pragma once

#include "script/map_point.h"

namespace torvane {

inline constexpr int kSectorColumns = 32;
inline constexpr int kSectorRows = 40;
inline constexpr int kSubsectorColumns = 8;
inline constexpr int kSubsectorRows = 10;
// Subsectors A to D make the top row, M to P the bottom one.
inline constexpr int kSubsectorsAcross = kSectorColumns / kSubsectorColumns;
inline constexpr int kSubsectorsDown = kSectorRows / kSubsectorRows;
inline constexpr int kSubsectorCount = kSubsectorsAcross * kSubsectorsDown;
static_assert(kSubsectorCount == 16 && kSectorColumns % kSubsectorColumns == 0 &&
              kSectorRows % kSubsectorRows == 0);

// These decimal values, not full-precision ones, fix the scripts' numbers.
inline constexpr double kColumnSpacing = 15;
inline constexpr double kFirstColumnX = 10;
inline constexpr double kRowSpacing = 17.32050808;
inline constexpr double kHalfRow = 8.66025404;
inline constexpr int kSubsectorWidth = 120;
inline constexpr double kSubsectorHeight = 173.2050808;

// The map being drawn: the whole sector, or one subsector on a map of its own.
enum class MapKind { kSectorMap, kSubsectorMap };

// Which hexes HexCenter places: only those of the sector, or any column and
// row by the same formulas (routes that leave the sector need that).
enum class HexRange { kSectorOnly, kAnyHex };

// Centre of a hex on the sector map; 1, or 0 for a hex outside `range`. Defined
// here with SubsectorHexCenter, as every world and hex number label asks for
// a centre: inlined, the call costs more than the arithmetic.
inline int HexCenter(int column, int row, MapPoint* out, HexRange range) {
  if (out == nullptr) return 0;
  if (range == HexRange::kSectorOnly &&
      (column < 1 || column > kSectorColumns || row < 1 || row > kSectorRows)) {
    return 0;
  }
  out->x = (column - 1) * kColumnSpacing + kFirstColumnX;
  out->y = (kSectorRows - row) * kRowSpacing + kHalfRow;
  // Odd columns stand half a row higher; the low bit makes -1, -3, ... odd.
  if ((column & 1) != 0) out->y += kHalfRow;
  return 1;
}

// Centre of a hex of the sector on the map of the subsector holding it.
inline int SubsectorHexCenter(int column, int row, MapPoint* out) {
  if (out == nullptr) return 0;
  out->x = ((column - 1) % kSubsectorColumns) * kColumnSpacing + kFirstColumnX;
  out->y = (kSubsectorRows - 1 - (row - 1) % kSubsectorRows) * kRowSpacing + kHalfRow;
  if ((column & 1) != 0) out->y += kHalfRow;
  return 1;
}

// Moves a sector-map point into the frame of subsector `subsector` (0 to
// 15); 0 and no change for any other index.
int ShiftToSubsector(MapPoint* point, int subsector);

// The subsector (0 to 15) holding a hex of the sector.
constexpr int SubsectorOfHex(int column, int row) {
  return (column - 1) / kSubsectorColumns + kSubsectorsAcross * ((row - 1) / kSubsectorRows);
}

// 1 when the hex lies in subsector `subsector`, else 0.
int HexInSubsector(int column, int row, int subsector);

}  // namespace torvane
