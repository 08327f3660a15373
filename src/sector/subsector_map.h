// One subsector of the sector being converted: its index line (name and map
// file), its name labels, and the walk over its map file's world and route
// lines.
#pragma once

#include <algorithm>
#include <array>
#include <string_view>

#include "draw/hex_geometry.h"
#include "draw/run_context.h"
#include "draw/world_layout.h"
#include "platform/file_system.h"
#include "script/script_file.h"
#include "sector/index_line.h"
#include "sector/sector_context.h"

namespace torvane {

// Draws subsector `subsector` (0 to 15) into `target`: 1 when its map file
// was read and its lines handed on, else 0. `drive` and `sector_dir` are
// the sector's drive and directory as sector conversion built them. On the
// sector map (`map` kSectorMap) the subsector's name is recorded in
// `names`; a subsector map's neighbour labels read the names of the
// subsectors round it from `names`, so the sector pass over all sixteen
// must come first.
int DrawSubsector(RunContext& run, SectorContext& sector, SubsectorNames& names,
                  std::string_view sector_text, std::string_view drive, std::string_view sector_dir,
                  const ScriptTarget& target, int subsector, MapKind map);

// What a line of a map file is, by its first character: a route line
// begins with '$', a comment with '#' or '@', anything else is handed to
// world drawing (which rejects blank and short lines itself).
enum class MapLineKind { kWorld, kRoute, kComment };

// Characters, not a string: a look-up in a string would call memchr for
// every line.
inline constexpr std::array<char, 2> kCommentLineStarts = {'#', '@'};
inline constexpr char kRouteLineStart = '$';

inline MapLineKind MapLineKindOf(std::string_view line) {
  const char first = line.empty() ? '\0' : line.front();
  if (first == kRouteLineStart) return MapLineKind::kRoute;
  if (std::find(kCommentLineStarts.begin(), kCommentLineStarts.end(), first) !=
      kCommentLineStarts.end()) {
    return MapLineKind::kComment;
  }
  return MapLineKind::kWorld;
}

// Calls `visit(line, length, kind)` for each line of a map file's text in
// turn. `line` is the rest of the text from the line's first character, as
// route lines may take values from the lines after them; `length` is
// WorldLineLength(line), found once for the walk and for the line's reader.
// The walk ends after the last line, with or without its "\n".
template <typename Visit>
void ForEachMapLine(std::string_view map_text, Visit visit) {
  size_t start = 0;
  while (true) {
    const std::string_view line = map_text.substr(start);
    const size_t length = WorldLineLength(line);
    visit(line, length, MapLineKindOf(line));
    if (length + 1 >= line.size()) return;
    start += length + 1;
  }
}

}  // namespace torvane
