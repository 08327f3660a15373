// The layout of a subsector's index line in the sector data file:
// "A: " and the name in a field of its own width, then the map file's name
// ("A: Veyl                      SUBA.DAT"). The importer and the
// benchmark's generator write index lines by it.
#pragma once

#include <cstddef>

namespace torvane {

// Columns counted from the line's letter.
inline constexpr size_t kIndexNameColumn = 3;
inline constexpr size_t kSubsectorNameLimit = 26;
inline constexpr size_t kIndexFileColumn = kIndexNameColumn + kSubsectorNameLimit;

}  // namespace torvane
