// The HexOccupancy grid.
#include "draw/hex_occupancy.h"

#include <array>

#include "draw/hex_geometry.h"

namespace torvane {

namespace {

std::array<std::array<bool, kSectorRows>, kSectorColumns> occupancy{};

bool InSector(int column, int row) {
  return column >= 1 && column <= kSectorColumns && row >= 1 && row <= kSectorRows;
}

}  // namespace

void ClearHexOccupancy() { occupancy = {}; }

void MarkHexOccupied(int column, int row) {
  if (InSector(column, row)) occupancy[column - 1][row - 1] = true;
}

bool IsHexOccupied(int column, int row) {
  return InSector(column, row) && occupancy[column - 1][row - 1];
}

}  // namespace torvane
