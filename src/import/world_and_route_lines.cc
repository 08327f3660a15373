// Sets the fitted fields of a world in torvane's columns, and a route's
// start, end and offsets in a route line.
#include "import/world_and_route_lines.h"

#include <cstdio>
#include <utility>

#include "draw/hex_geometry.h"
#include "draw/route_line.h"
#include "draw/world_layout.h"
#include "import/base_code_mapping.h"
#include "import/field_mapping.h"
#include "import/remark_mapping.h"

namespace torvane {

namespace {

// Columns of a world line, as torvane reads them.
constexpr WorldColumns kColumns = kStandardWorldColumns;
// Each field ends before the next begins, so no field overwrites another.
static_assert(kColumns.name + kNameWidth <= kColumns.hex &&
              kColumns.hex + kHexWidth < kColumns.starport &&
              kColumns.starport + 9 < kColumns.base && kColumns.base < kColumns.remarks &&
              kColumns.remarks + kRemarksWidth <= kColumns.zone && kColumns.zone < kColumns.pbg &&
              kColumns.pbg + 3 <= kColumns.allegiance &&
              kColumns.allegiance + kAllegianceWidth < kColumns.stars);

void Put(std::string& line, size_t column, std::string_view text) {
  line.replace(column, text.size(), text);
}

bool SameHex(const SectorHex& a, const SectorHex& b) {
  return a.sector_x == b.sector_x && a.sector_y == b.sector_y && a.column == b.column &&
         a.row == b.row;
}

std::string DescribeHex(const SectorHex& hex) {
  std::string text = HexNumber(hex.column, hex.row);
  if (hex.sector_x != 0 || hex.sector_y != 0) {
    text += " of the sector " + std::to_string(hex.sector_x) + " across, " +
            std::to_string(hex.sector_y) + " down";
  }
  return text;
}

}  // namespace

std::string WorldLine(const ImportedWorld& world, CodeStyle codes, ImportLog& log,
                      MapEncoding encoding) {
  const SourceLine& source = world.source;
  std::string line(kColumns.stars, ' ');
  // In Windows-1252 each character is one byte: the name is cut in characters.
  Put(line, kColumns.name,
      FitName(MapText(world.name, encoding, "name", source, log), source, log));
  Put(line, kColumns.hex, HexNumber(world.column, world.row));
  Put(line, kColumns.starport, world.uwp);
  line[kColumns.base] = MapBaseCode(world.bases, world.allegiance, source, log);
  Put(line, kColumns.remarks,
      FitRemarks(MapText(world.remarks, encoding, "remarks", source, log), codes, source, log));
  line[kColumns.zone] = MapZone(world.zone, source, log);
  Put(line, kColumns.pbg, FitPbg(world.pbg, source, log));
  Put(line, kColumns.allegiance, MapAllegiance(world.allegiance, source, log));
  line += MapText(TrimBlanks(world.stars), encoding, "stars", source, log);
  // A control character in any field (a stray byte inside a remark) would
  // break the line for torvane: each becomes a blank.
  return std::string(TrimTrailing(ReplaceControls(line), " "));
}

std::string ColumnHeader() {
  std::string header(kColumns.stars, ' ');
  Put(header, kColumns.name, "#Name");
  Put(header, kColumns.hex, "Hex");
  Put(header, kColumns.starport, "Profile");
  Put(header, kColumns.base, "B");
  Put(header, kColumns.remarks, "Remarks");
  Put(header, kColumns.zone, "Z");
  Put(header, kColumns.pbg, "PBG");
  Put(header, kColumns.allegiance, "Al");
  return header + "Stars";
}

PlacedRoute PlaceRoute(const ImportedRoute& route, ImportLog& log) {
  PlacedRoute placed;
  SectorHex start = NormaliseHex(route.start);
  SectorHex end = NormaliseHex(route.end);
  const auto inside = [](const SectorHex& hex) { return hex.sector_x == 0 && hex.sector_y == 0; };
  if (!inside(start)) {
    if (!inside(end)) {
      log.Note(route.source, "route from " + DescribeHex(start) + " to " + DescribeHex(end) +
                                 " lies wholly outside the sector: left out");
      placed.fit = PlacedRoute::kOutside;
      return placed;
    }
    log.Note(route.source,
             "route from " + DescribeHex(start) + " turned round to start inside the sector");
    std::swap(start, end);
  }
  if (SameHex(start, end)) {
    log.Problem(route.source, "route starts and ends in hex " + DescribeHex(start) + ": left out");
    return placed;
  }
  const int start_column = (start.column - 1) / kSubsectorColumns;
  const int start_row = (start.row - 1) / kSubsectorRows;
  const int dx =
      (end.column - 1) / kSubsectorColumns + kSubsectorsAcross * end.sector_x - start_column;
  const int dy = (end.row - 1) / kSubsectorRows + kSubsectorsDown * end.sector_y - start_row;
  // torvane works the offsets out again from the end hex, wrapped into -2 to 2.
  if (WrapSubsectorOffset((end.column - 1) / kSubsectorColumns - start_column) != dx ||
      WrapSubsectorOffset((end.row - 1) / kSubsectorRows - start_row) != dy) {
    log.Problem(route.source, "route from " + DescribeHex(start) + " to " + DescribeHex(end) +
                                  " reaches " + std::to_string(dx) + " subsectors across and " +
                                  std::to_string(dy) +
                                  " down, further than a map file can hold: left out");
    return placed;
  }
  const int code =
      route.color_code ? *route.color_code : RouteColorCode(route.type, route.allegiance);
  char text[64];
  std::snprintf(text, sizeof text, "$%s %s %d %d %d", HexNumber(start.column, start.row).c_str(),
                HexNumber(end.column, end.row).c_str(), dx, dy, code);
  placed.fit = PlacedRoute::kPlaced;
  placed.subsector = SubsectorOfHex(start.column, start.row);
  placed.line = text;
  return placed;
}

}  // namespace torvane
