// What drawing one world needs: the run's options and random source, the
// hexes and base kinds the script being drawn has met, how a world line is
// read, and the script drawn into.
#pragma once

#include "draw/base_kinds.h"
#include "draw/hex_occupancy.h"
#include "draw/map_options.h"
#include "draw/world_layout.h"
#include "platform/random_source.h"
#include "script/script_file.h"

namespace torvane {

// The records a world reads and changes belong to the run and the sector
// above the drawing code, so they travel together in this one value.
struct WorldDrawing {
  const MapOptions& options;
  RandomSource& random;
  HexOccupancy& occupancy;  // marked for every world drawn
  BaseFlags& legendFlags;   // gains the kinds of base drawn
  const WorldLayout& layout;
  const ScriptTarget& target;
};

}  // namespace torvane
