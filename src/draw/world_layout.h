// The layout of a world line: the columns of its fields, the length of a
// line within the map text, and the part of it where remark codes count.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace torvane {

// Column positions of a world line. The record holds 28 positions in a
// fixed order; only some are read, the others are kept so that the record
// matches the layout as Starfold's files define it. The importer and the
// benchmark's generator write their lines by the same record.
struct WorldLayout {
  std::array<std::int32_t, 28> positions;

  constexpr std::int32_t nameColumn() const { return positions[0]; }
  constexpr std::int32_t nameWidth() const { return positions[1]; }
  constexpr std::int32_t hexColumn() const { return positions[2]; }
  constexpr std::int32_t starportColumn() const { return positions[3]; }
  constexpr std::int32_t sizeColumn() const { return positions[4]; }
  constexpr std::int32_t hydrographicsColumn() const { return positions[6]; }
  constexpr std::int32_t populationColumn() const { return positions[7]; }
  constexpr std::int32_t baseColumn() const { return positions[11]; }
  constexpr std::int32_t remarksColumn() const { return positions[16]; }
  constexpr std::int32_t remarksWidth() const { return positions[17]; }
  constexpr std::int32_t zoneColumn() const { return positions[18]; }
  // The population multiplier, belts and gas giants stand here side by side;
  // torvane reads only the gas giants.
  constexpr std::int32_t pbgColumn() const { return positions[19]; }
  constexpr std::int32_t gasGiantColumn() const { return positions[21]; }
  constexpr std::int32_t allegianceColumn() const { return positions[22]; }
  // Where the stars begin; torvane does not read them.
  constexpr std::int32_t starsColumn() const { return positions[25]; }
};

inline constexpr WorldLayout kStandardWorldLayout{{0,  14, 14, 19, 20, 21, 22, 23, 24, 25,
                                                   27, 30, -1, -1, -1, -1, 32, 16, 48, 51,
                                                   52, 53, 55, -1, 0,  58, 59, 60}};

// The columns and widths of a layout that programs writing world lines
// use, as offsets into a line.
struct WorldColumns {
  size_t name, nameWidth, hex, starport, base, remarks, remarksWidth, zone, pbg, allegiance, stars;
};

constexpr WorldColumns ColumnsOf(const WorldLayout& layout) {
  const auto at = [](std::int32_t position) { return static_cast<size_t>(position); };
  return {at(layout.nameColumn()),     at(layout.nameWidth()),   at(layout.hexColumn()),
          at(layout.starportColumn()), at(layout.baseColumn()),  at(layout.remarksColumn()),
          at(layout.remarksWidth()),   at(layout.zoneColumn()),  at(layout.pbgColumn()),
          at(layout.allegianceColumn()), at(layout.starsColumn())};
}

inline constexpr WorldColumns kStandardWorldColumns = ColumnsOf(kStandardWorldLayout);

// The widths that the record does not hold.
inline constexpr std::int32_t kHexWidth = 4;
inline constexpr std::int32_t kAllegianceWidth = 2;

// The remark code of a subsector capital, whose name is drawn in red.
inline constexpr std::string_view kCapitalRemark = "Cp";

// True when `width` characters from `column` lie inside a line of `length`.
inline bool FieldInside(std::int32_t column, std::int32_t width, size_t length) {
  return column >= 0 && width >= 1 &&
         std::int64_t{column} + width <= static_cast<std::int64_t>(length);
}

// The line: from the line's first character to the end of the whole map
// text; the line itself ends at the first "\n". The length of a line.
size_t WorldLineLength(std::string_view line);

// The part of a world line in which a remark code counts: from the remarks
// column to one past the remarks field, as a code that begins on the field's
// last character counts, and never beyond the line's `length`. Empty when
// the remarks column lies outside the line.
std::string_view RemarkCodeText(const WorldLayout& layout, std::string_view line, size_t length);

}  // namespace torvane
