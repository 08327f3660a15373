// Hex number labels: the numbers of the hexes without a world, or of every
// hex, written once all worlds of a script are drawn, and the one label
// format that the world entries share.
#include "draw/hex_numbers.h"

#include <array>

#include "draw/map_text.h"
#include "script/script_writer.h"

namespace torvane {

namespace {

// A label sits just inside the top edge of its hex (8.66025404 above centre).
constexpr double kLabelRaise = 8.3;
constexpr int kLabelLength = 4;

// "%02d%02d" of a hex of the sector.
std::array<char, kLabelLength> HexNumberText(int column, int row) {
  return {static_cast<char>('0' + column / 10), static_cast<char>('0' + column % 10),
          static_cast<char>('0' + row / 10), static_cast<char>('0' + row % 10)};
}

// The hexes a map shows: the whole sector, or the eight columns by ten rows
// of one subsector.
struct HexBlock {
  int firstColumn;
  int lastColumn;
  int firstRow;
  int lastRow;
};

HexBlock MapHexes(int subsector, MapKind map) {
  if (map == MapKind::kSectorMap) return {1, kSectorColumns, 1, kSectorRows};
  const int first_column = (subsector % kSubsectorsAcross) * kSubsectorColumns + 1;
  const int first_row = (subsector / kSubsectorsAcross) * kSubsectorRows + 1;
  return {first_column, first_column + kSubsectorColumns - 1, first_row,
          first_row + kSubsectorRows - 1};
}

}  // namespace

void DrawHexNumberLabel(const ScriptTarget& target, std::string_view text, MapPoint centre) {
  ScrText(target, text, kLabelLength, {centre.x, centre.y + kLabelRaise}, kHexNumberStyle);
}

void DrawHexNumbers(const MapOptions& options, const HexOccupancy& occupancy,
                    const ScriptTarget& target, int subsector, MapKind map) {
  if (map == MapKind::kSubsectorMap && (subsector < 0 || subsector >= kSubsectorCount)) return;
  const HexNumberMode mode = options.hexNumbers;
  if (mode == HexNumberMode::kNone || mode == HexNumberMode::kOccupied) return;
  // Column by column over the hexes that the map shows.
  const HexBlock block = MapHexes(subsector, map);
  for (int column = block.firstColumn; column <= block.lastColumn; ++column) {
    for (int row = block.firstRow; row <= block.lastRow; ++row) {
      if (mode != HexNumberMode::kAll && occupancy.IsOccupied(column, row)) continue;
      MapPoint centre;
      if (map == MapKind::kSubsectorMap) {
        SubsectorHexCenter(column, row, &centre);
      } else {
        HexCenter(column, row, &centre, HexRange::kSectorOnly);
      }
      const std::array<char, kLabelLength> text = HexNumberText(column, row);
      DrawHexNumberLabel(target, {text.data(), text.size()}, centre);
    }
  }
}

}  // namespace torvane
