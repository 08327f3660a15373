// The lines of a map file: what each is, by its first character, and the
// walk over them. The converter reads map files by these; the importer
// writes them and the fuzz targets check them by the same.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "draw/world_layout.h"

namespace torvane {

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
