// Base symbols round a world from its base code and remark codes, and the
// legend of the kinds of base met in the sector.
#pragma once

#include <cstdint>
#include <string_view>

#include "draw/hex_geometry.h"
#include "draw/map_options.h"
#include "draw/world_layout.h"
#include "script/script_file.h"

namespace torvane {

// A set of base kinds, one bit per kind (27 defined).
using BaseFlags = std::uint32_t;

// The name of the first kind sharing a bit with `flag`; empty when none does.
std::string_view BaseFlagName(BaseFlags flag);
// The number of kinds in a set.
int CountBaseFlags(BaseFlags flags);

// Draws the base symbols of a placed world round `centre` and records their
// kinds in LegendFlags. Does nothing while base symbols are switched off.
// `line` is as DrawWorld takes it and `length` is WorldLineLength(line).
void DrawBases(const MapOptions& options, const WorldLayout& layout, const ScriptTarget& target,
               std::string_view line, size_t length, MapPoint centre);

// Lists the recorded kinds (at most 11, in flag order) with their symbols.
void DrawLegend(const ScriptTarget& target, int subsector_map);

// LegendFlags: the kinds met since the sector's conversion began.
BaseFlags LegendFlags();
void ResetLegendFlags();

}  // namespace torvane
