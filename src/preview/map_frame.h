// Which map a script draws (the whole sector or one subsector), the part of
// the map plane the picture shows, and the hex grid under it.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "draw/hex_geometry.h"
#include "preview/script_reader.h"
#include "script/map_point.h"

namespace torvane {

// The picture shows map x from `left` to `right` and map y from `bottom` to
// `top`: the frame of the hexes and the labels beside it.
struct MapFrame {
  MapKind kind;
  int columns;
  int rows;
  double left;
  double bottom;
  double right;
  double top;
};

MapFrame FrameOf(MapKind kind);

// A sector map when a text stands where only a sector map puts one (the
// title, the subsector names, the date text: draw/map_text.h) or anything
// is drawn outside the picture of a subsector map; else a subsector map
// when a text stands where only a subsector map puts one (its name, the
// caption, the legend); else a sector map, which shows the most.
MapKind ChooseMapKind(const std::vector<ScriptCommand>& commands);

// The corners of the flat-topped hex of radius 10 round `centre`,
// counter-clockwise from the one on its right.
std::array<MapPoint, 6> HexCorners(MapPoint centre);

// The flat-topped hexes of the frame (radius 10, columns 15 apart, rows
// 17.32050808 apart, odd columns half a row higher) as one faint path.
void AppendHexGrid(std::string& out, const MapFrame& frame);

}  // namespace torvane
