// Trade routes: a route line of a subsector map file drawn as one straight
// line between two hex centres, cut at the edge of the map when it leaves.
#pragma once

#include <string_view>

#include "draw/hex_geometry.h"
#include "draw/map_options.h"
#include "script/script_file.h"

namespace torvane {

// `line` starts at the route line's "$" and runs to the end of the whole map
// text: values missing from the line are read from the lines after it.
// `subsector` is the subsector whose file holds the line. 1 when drawn or
// routes are switched off; 0 when the line is rejected.
int DrawRoute(const MapOptions& options, const ScriptTarget& target, std::string_view line,
              int subsector, MapKind map);

}  // namespace torvane
