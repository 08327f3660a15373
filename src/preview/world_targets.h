// Hover targets for the worlds of map files: each world line becomes a
// transparent hex over the picture with the line as its tooltip, so that a
// web page showing the map can tell which world the pointer is on.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "preview/map_frame.h"

namespace torvane {

struct WorldTarget {
  int column;
  int row;
  std::string line;  // as it stands in the map file, without its line end
};

// Appends the world lines of a map file's text, each with its hex read as
// torvane reads it; only those in `subsector` (0 to 15) when one is given.
// Comment, name and route lines, and lines whose hex cannot be read, are
// left out.
void ReadWorldTargets(std::string_view map_text, std::optional<int> subsector,
                      std::vector<WorldTarget>& targets);

// Appends the targets, each hex placed where a map of `kind` puts it, after
// the style rule that makes them transparent but catch the pointer. Nothing
// when there are none.
void AppendWorldTargets(std::string& out, const std::vector<WorldTarget>& targets, MapKind kind);

}  // namespace torvane
