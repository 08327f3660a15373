// World entries: places the world of one world line on the sector map or on
// a subsector map, marks its hex, and draws its zone ring, hex number, name,
// body, starport, allegiance, gas-giant marker and base symbols.
#include "draw/world_entry.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "draw/base_symbols.h"
#include "draw/formatted_input.h"
#include "draw/hex_geometry.h"
#include "draw/hex_numbers.h"
#include "draw/map_text.h"
#include "platform/ascii_text.h"
#include "script/script_writer.h"

namespace torvane {

namespace {

// The drawn name is a copy of at most this many characters.
constexpr size_t kNameLimit = 255;

struct ZoneRing {
  char code;
  int colour;
  double lineWidth;
};

constexpr std::array<ZoneRing, 2> kZoneRings{{
    {'A', 10, 0.5},
    {'R', 2, 1.0},
}};
constexpr double kZoneRadius = 6.0;
constexpr double kZoneStartAngle = 340.0;
constexpr double kZoneEndAngle = 200.0;

// Where each text of a world stands from its centre.
constexpr MapPoint kNameOffset{0.0, -4.5};
constexpr MapPoint kStarportOffset{0.0, 3.0};
constexpr MapPoint kAllegianceOffset{4.5, -2.5};

constexpr double kWorldRadius = 2.5;
constexpr int kDryWorldColour = 29;
constexpr int kWetWorldColour = 9;
constexpr MapPoint kGasGiantOffset{3.0, 3.0};
constexpr double kGasGiantRadius = 1.0;
constexpr int kGasGiantColour = 15;

std::string_view Field(std::string_view line, std::int32_t column, std::int32_t width) {
  return line.substr(static_cast<size_t>(column), static_cast<size_t>(width));
}

struct Placement {
  int column;
  int row;
  MapPoint centre;
};

std::optional<Placement> PlaceWorld(const WorldLayout& layout, std::string_view line, size_t length,
                                    int subsector, MapKind map) {
  const std::optional<WorldHex> hex = ReadWorldHex(layout, line, length);
  if (!hex) return std::nullopt;
  Placement placement{hex->column, hex->row, {}};
  if (map == MapKind::kSectorMap) {
    if (HexCenter(hex->column, hex->row, &placement.centre, HexRange::kSectorOnly) == 0)
      return std::nullopt;
  } else {
    if (HexInSubsector(hex->column, hex->row, subsector) == 0) return std::nullopt;
    SubsectorHexCenter(hex->column, hex->row, &placement.centre);
  }
  return placement;
}

// A population digit above 8 puts the name in capitals. A blank digit makes
// "%1x" skip on to the next digit, as Starfold's files expect.
bool HasLargePopulation(const WorldLayout& layout, std::string_view line, size_t length) {
  if (!FieldInside(layout.populationColumn(), 1, length)) return false;
  size_t pos = static_cast<size_t>(layout.populationColumn());
  const std::optional<int> population = ScanInteger(line, pos, 1, 16);
  return population && *population > 8;
}

// A subsector capital has "Cp" among its remark codes.
bool IsSubsectorCapital(const WorldLayout& layout, std::string_view line, size_t length) {
  return RemarkCodeText(layout, line, length).find(kCapitalRemark) != std::string_view::npos;
}

// The name field without its trailing white space, cut to kNameLimit and put
// in capitals when the population asks for it; empty when the field is blank.
std::string PrepareName(const WorldLayout& layout, std::string_view line, size_t length) {
  const std::int32_t column = layout.nameColumn();
  if (!FieldInside(column, 1, length) || layout.nameWidth() < 1) return {};
  const std::int64_t field_end =
      std::min(std::int64_t{column} + layout.nameWidth(), static_cast<std::int64_t>(length));
  std::string_view field =
      line.substr(static_cast<size_t>(column), static_cast<size_t>(field_end - column));
  field = TrimTrailing(field);
  std::string name(field.substr(0, kNameLimit));
  if (HasLargePopulation(layout, line, length)) {
    name = UpperAscii(name);
  }
  return name;
}

void DrawTextItem(const ScriptTarget& target, std::string_view text, MapPoint centre,
                  MapPoint offset, const TextStyle& style) {
  ScrText(target, text, static_cast<int>(text.size()), {centre.x + offset.x, centre.y + offset.y},
          style);
}

void DrawZoneRing(const WorldLayout& layout, const ScriptTarget& target, std::string_view line,
                  size_t length, MapPoint centre) {
  if (!FieldInside(layout.zoneColumn(), 1, length)) return;
  char zone = line[static_cast<size_t>(layout.zoneColumn())];
  if (zone == ' ') return;
  zone = ToAsciiUpper(zone);
  for (const ZoneRing& ring : kZoneRings) {
    if (ring.code != zone) continue;
    ScrArc(target, centre, kZoneRadius, kZoneStartAngle, kZoneEndAngle,
           {ring.colour, ring.lineWidth, "Solid", "Solid"});
  }
}

void DrawBody(RandomSource& random, const WorldLayout& layout, const ScriptTarget& target,
              std::string_view line, MapPoint centre) {
  if (line[static_cast<size_t>(layout.sizeColumn())] == '0') {
    std::string symbol(kAsteroidSymbolStem);
    symbol += static_cast<char>('1' + random.Next() % kAsteroidVariants);
    ScrSymbol(target, symbol, centre, 1.0, 1.0, 0.0);
    return;
  }
  const bool dry = line[static_cast<size_t>(layout.hydrographicsColumn())] == '0';
  ScrCircle(target, centre, kWorldRadius,
            {dry ? kDryWorldColour : kWetWorldColour, 0.0, "Solid", "Solid"});
}

}  // namespace

std::optional<WorldHex> ReadWorldHex(const WorldLayout& layout, std::string_view line,
                                     size_t length) {
  if (!FieldInside(layout.hexColumn(), kHexWidth, length) ||
      !FieldInside(layout.sizeColumn(), 1, length) ||
      !FieldInside(layout.hydrographicsColumn(), 1, length)) {
    return std::nullopt;
  }
  size_t pos = static_cast<size_t>(layout.hexColumn());
  const std::optional<int> column = ScanInteger(line, pos, 2, 10);
  if (!column) return std::nullopt;
  const std::optional<int> row = ScanInteger(line, pos, 2, 10);
  if (!row) return std::nullopt;
  if (*column < 1 || *column > kSectorColumns || *row < 1 || *row > kSectorRows) {
    return std::nullopt;
  }
  return WorldHex{*column, *row};
}

int DrawWorld(const WorldDrawing& drawing, std::string_view line, int subsector, MapKind map) {
  return DrawWorld(drawing, line, WorldLineLength(line), subsector, map);
}

int DrawWorld(const WorldDrawing& drawing, std::string_view line, size_t length, int subsector,
              MapKind map) {
  const MapOptions& options = drawing.options;
  const WorldLayout& layout = drawing.layout;
  const ScriptTarget& target = drawing.target;
  if (line.data() == nullptr || subsector < 0 || subsector >= kSubsectorCount) return 0;
  const std::optional<Placement> placement = PlaceWorld(layout, line, length, subsector, map);
  if (!placement) return 0;
  drawing.occupancy.Mark(placement->column, placement->row);
  const MapPoint centre = placement->centre;

  if (options.showZones != 0) DrawZoneRing(layout, target, line, length, centre);
  if (options.hexNumbers == HexNumberMode::kOccupied) {
    DrawHexNumberLabel(target, Field(line, layout.hexColumn(), kHexWidth), centre);
  }
  if (options.showNames != 0) {
    const std::string name = PrepareName(layout, line, length);
    if (!name.empty()) {
      DrawTextItem(target, name, centre, kNameOffset,
                   IsSubsectorCapital(layout, line, length) ? kCapitalNameStyle : kWorldNameStyle);
    }
  }
  DrawBody(drawing.random, layout, target, line, centre);
  if (options.showPorts != 0 && FieldInside(layout.starportColumn(), 1, length)) {
    DrawTextItem(target, Field(line, layout.starportColumn(), 1), centre, kStarportOffset,
                 kStarportStyle);
  }
  if (options.showAllegiance != 0 &&
      FieldInside(layout.allegianceColumn(), kAllegianceWidth, length)) {
    DrawTextItem(target, Field(line, layout.allegianceColumn(), kAllegianceWidth), centre,
                 kAllegianceOffset, kAllegianceStyle);
  }
  if (options.showGasGiants != 0 && FieldInside(layout.gasGiantColumn(), 1, length) &&
      line[static_cast<size_t>(layout.gasGiantColumn())] != '0') {
    ScrCircle(target, {centre.x + kGasGiantOffset.x, centre.y + kGasGiantOffset.y}, kGasGiantRadius,
              {kGasGiantColour, 0.0, "Solid", "Solid"});
  }
  DrawBases(drawing, line, length, centre);
  return 1;
}

}  // namespace torvane
