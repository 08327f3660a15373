// What a route line of a map file ("$SSSS EEEE dx dy K") means beyond its
// hexes: the colour its code K gives, and how far its offsets reach. The
// importer and the benchmark's generator write route lines by these.
#pragma once

#include <array>

namespace torvane {

// From a route's colour code to the colour number written to the script.
inline constexpr std::array<int, 16> RouteColorTable{0,  7, 13, 9, 11, 25, 10, 16,
                                                     14, 3, 1,  5, 2,  6,  4,  15};
// Colour of a route without a code or with one outside the table.
inline constexpr int kDefaultRouteColour = 5;

// Brings a subsector offset into -2 to 2: a route reaches at most two
// subsectors across, so 3 means one back the other way.
constexpr int WrapSubsectorOffset(int offset) {
  while (offset < -2) offset += 4;
  while (offset > 2) offset -= 4;
  return offset;
}

}  // namespace torvane
