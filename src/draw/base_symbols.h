// Base symbols round a world from its base code and remark codes, and the
// legend of the kinds of base met in the sector.
#pragma once

#include <cstdint>
#include <string_view>

#include "draw/base_kinds.h"
#include "draw/hex_geometry.h"
#include "draw/map_options.h"
#include "draw/world_drawing.h"
#include "draw/world_layout.h"
#include "script/script_file.h"

namespace torvane {

// The number of kinds in a set.
int CountBaseFlags(BaseFlags flags);

// Draws the base symbols of a placed world round `centre` and adds their
// kinds to the drawing's legend flags. Does nothing while base symbols are
// switched off. `line` is as DrawWorld takes it and `length` is
// WorldLineLength(line).
void DrawBases(const WorldDrawing& drawing, std::string_view line, size_t length, MapPoint centre);

// Lists the kinds of `legend_flags` (at most 11, in flag order) with their
// symbols.
void DrawLegend(const ScriptTarget& target, BaseFlags legend_flags, MapKind map);

}  // namespace torvane
