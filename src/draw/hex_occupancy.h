// HexOccupancy: which hexes have a world drawn in the script being written.
#pragma once

namespace torvane {

// Clears every hex; done before each script is drawn.
void ClearHexOccupancy();
// Marks a hex of the sector (column 1 to 32, row 1 to 40); others are ignored.
void MarkHexOccupied(int column, int row);
// False for hexes outside the sector.
bool IsHexOccupied(int column, int row);

}  // namespace torvane
