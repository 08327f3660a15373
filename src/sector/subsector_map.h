// One subsector of the sector being converted: its index line (name and map
// file), its name labels, and the walk over its map file's world and route
// lines.
#pragma once

#include <string_view>

#include "draw/hex_geometry.h"
#include "platform/file_system.h"
#include "script/script_file.h"
#include "sector/index_line.h"
#include "sector/map_line.h"
#include "sector/run_context.h"
#include "sector/sector_context.h"

namespace torvane {

// Draws subsector `subsector` (0 to 15) of the sector's text into `target`:
// 1 when its map file was read and its lines handed on, else 0. On the
// sector map (`map` kSectorMap) the subsector's name is recorded in the
// sector's subsector names; a subsector map's neighbour labels read the
// names of the subsectors round it from there, so the sector pass over all
// sixteen must come first.
int DrawSubsector(RunContext& run, SectorContext& sector, const ScriptTarget& target, int subsector,
                  MapKind map);

}  // namespace torvane
