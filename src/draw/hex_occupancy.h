// HexOccupancy: which hexes have a world drawn in the script being written.
#pragma once

#include <array>

#include "draw/hex_geometry.h"

namespace torvane {

class HexOccupancy {
 public:
  // Clears every hex; done before each script is drawn.
  void Clear() { occupied_ = {}; }
  // Marks a hex of the sector (column 1 to 32, row 1 to 40); others are ignored.
  void Mark(int column, int row) {
    if (InSector(column, row)) occupied_[column - 1][row - 1] = true;
  }
  // False for hexes outside the sector.
  bool IsOccupied(int column, int row) const {
    return InSector(column, row) && occupied_[column - 1][row - 1];
  }

 private:
  static bool InSector(int column, int row) {
    return column >= 1 && column <= kSectorColumns && row >= 1 && row <= kSectorRows;
  }

  std::array<std::array<bool, kSectorRows>, kSectorColumns> occupied_{};
};

}  // namespace torvane
