// World entries: one world line of a subsector map file drawn as its zone
// ring, hex number, name, circle or asteroid symbol, starport, allegiance,
// gas-giant marker and base symbols.
#pragma once

#include <optional>
#include <string_view>

#include "draw/base_symbols.h"
#include "draw/hex_geometry.h"
#include "draw/hex_occupancy.h"
#include "draw/map_options.h"
#include "draw/world_layout.h"
#include "platform/random_source.h"
#include "script/script_file.h"

namespace torvane {

// An asteroid belt is drawn as one of the catalogue symbols "Asteroid 1" to
// "Asteroid 8", taken at random.
inline constexpr std::string_view kAsteroidSymbolStem = "Asteroid ";
inline constexpr int kAsteroidVariants = 8;

// Draws the world of `line`. On the sector map (`map` kSectorMap) a world
// is drawn wherever its hex lies in the sector; on a subsector map only when
// its hex lies in `subsector`. The run's options choose the items drawn; an
// asteroid belt takes a value of its random source. A drawn world marks its
// hex in the drawing's occupancy and adds its bases to its legend flags. 1 when drawn, 0
// when the line is rejected.
int DrawWorld(const WorldDrawing& drawing, std::string_view line, int subsector, MapKind map);
// The same for a caller that has measured the line: `length` is
// WorldLineLength(line).
int DrawWorld(const WorldDrawing& drawing, std::string_view line, size_t length, int subsector,
              MapKind map);

struct WorldHex {
  int column;
  int row;
};

// The hex of the world of `line` (as DrawWorld takes it, `length` being
// WorldLineLength(line)): nothing when DrawWorld would reject the line on
// either map, its hex field unreadable or outside the sector, or its size
// or hydrographics column beyond the line's end.
std::optional<WorldHex> ReadWorldHex(const WorldLayout& layout, std::string_view line,
                                     size_t length);

}  // namespace torvane
