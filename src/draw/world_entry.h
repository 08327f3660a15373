// World entries: one world line of a subsector map file drawn as its zone
// ring, hex number, name, circle or asteroid symbol, starport, allegiance,
// gas-giant marker and base symbols.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "script/script_file.h"

namespace torvane {

// Column positions of a world line. The record holds 28 positions in a
// fixed order; only some are read, the others are kept so that the record
// matches the layout as Starfold's files define it.
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
  constexpr std::int32_t gasGiantColumn() const { return positions[21]; }
  constexpr std::int32_t allegianceColumn() const { return positions[22]; }
};

inline constexpr WorldLayout kStandardWorldLayout{{0,  14, 14, 19, 20, 21, 22, 23, 24, 25,
                                                   27, 30, -1, -1, -1, -1, 32, 16, 48, 51,
                                                   52, 53, 55, -1, 0,  58, 59, 60}};

// The line: from the line's first character to the end of the whole map
// text; the line itself ends at the first "\n". The length of a line.
size_t WorldLineLength(std::string_view line);

// The part of a world line in which a remark code counts: from the remarks
// column to one past the remarks field, as a code that begins on the field's
// last character counts, and never beyond the line's `length`. Empty when
// the remarks column lies outside the line.
std::string_view RemarkCodeText(const WorldLayout& layout, std::string_view line, size_t length);

// Draws the world of `line`. On the sector map (`subsector_map` 0) a world
// is drawn wherever its hex lies in the sector; on a subsector map only when
// its hex lies in `subsector`. 1 when drawn, 0 when the line is rejected.
int DrawWorld(const WorldLayout& layout, const ScriptTarget& target, std::string_view line,
              int subsector, int subsector_map);
// The same for a caller that has measured the line: `length` is
// WorldLineLength(line).
int DrawWorld(const WorldLayout& layout, const ScriptTarget& target, std::string_view line,
              size_t length, int subsector, int subsector_map);

}  // namespace torvane
