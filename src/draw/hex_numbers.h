// Hex number labels: the numbers of unoccupied or of all hexes, and the one
// label that a world writes with itself.
#pragma once

#include <string_view>

#include "draw/hex_geometry.h"
#include "draw/hex_occupancy.h"
#include "draw/map_options.h"
#include "script/script_file.h"

namespace torvane {

// Writes the labels that the hex number mode of `options` asks for, after every
// world of the script is drawn and `occupancy` marks their hexes. `subsector` is ignored on the
// sector map.
void DrawHexNumbers(const MapOptions& options, const HexOccupancy& occupancy,
                    const ScriptTarget& target, int subsector, MapKind map);

// One label: the first four characters of `text`, 8.3 units above `centre`.
void DrawHexNumberLabel(const ScriptTarget& target, std::string_view text, MapPoint centre);

}  // namespace torvane
