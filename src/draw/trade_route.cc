// Trade routes: reads a route line's hexes and colour, places its start in
// the subsector whose file holds it and cuts a route that leaves the map at
// the first limit line that it crosses.
#include "draw/trade_route.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

#include "draw/formatted_input.h"
#include "draw/hex_geometry.h"
#include "draw/route_line.h"
#include "script/script_writer.h"

namespace torvane {

namespace {

constexpr double kRouteInset = 5.0;
constexpr double kRouteWidth = 0.75;

// Right and top limit lines, one unit outside the area of the hexes.
constexpr double kSectorLimitX = 486;
constexpr double kSectorLimitY = 702.480577;
constexpr double kSubsectorLimitX = 126;
constexpr double kSubsectorLimitY = 182.86534;

struct RouteValues {
  int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
  // The end's offset in subsectors from the start's, as the file gives it.
  // Read, as the pattern reads it, but not used: the end is placed from its
  // own hex.
  int subsectorOffsetX = 0, subsectorOffsetY = 0;
  int code = 0;
};

// The pattern " %2d%2d %2d%2d %d %d %d": the number of values converted,
// stopping at the first that fails.
int ReadRouteValues(std::string_view text, RouteValues* values) {
  size_t pos = 0;
  const std::array<std::pair<int, int*>, 7> fields{{
      {2, &values->c1},
      {2, &values->r1},
      {2, &values->c2},
      {2, &values->r2},
      {0, &values->subsectorOffsetX},
      {0, &values->subsectorOffsetY},
      {0, &values->code},
  }};
  int count = 0;
  for (const auto& [width, value] : fields) {
    const std::optional<int> read = ScanInteger(text, pos, width, 10);
    if (!read) break;
    *value = *read;
    ++count;
  }
  return count;
}

// Distance from `from` along the direction to a limit `gap` away on one
// axis, with `step` that axis' component of a unit step; infinite when the
// route runs parallel to the limit line.
double DistanceToLimit(double gap, double step) {
  if (step == 0) return std::numeric_limits<double>::infinity();
  return std::fabs(gap / step);
}

}  // namespace

int DrawRoute(const MapOptions& options, const ScriptTarget& target, std::string_view line,
              int subsector, MapKind map) {
  if (options.showRoutes == 0) return 1;
  if (line.data() == nullptr || line.empty() || line[0] == '\0') return 0;
  if (subsector < 0 || subsector >= kSubsectorCount) return 0;

  RouteValues v;
  const int count = ReadRouteValues(line.substr(1), &v);
  if (count < 4) return 0;
  const int colour = count == 7 && v.code >= 0 && v.code < static_cast<int>(RouteColorTable.size())
                         ? RouteColorTable[static_cast<size_t>(v.code)]
                         : kDefaultRouteColour;

  // Hex values are at most two characters wide, so none of this overflows.
  const int c1 =
      (v.c1 - 1) % kSubsectorColumns + kSubsectorColumns * (subsector % kSubsectorsAcross) + 1;
  const int r1 = (v.r1 - 1) % kSubsectorRows + kSubsectorRows * (subsector / kSubsectorsAcross) + 1;
  const int sc = (c1 - 1) / kSubsectorColumns;
  const int sr = (r1 - 1) / kSubsectorRows;
  const int dc = WrapSubsectorOffset((v.c2 - 1) / kSubsectorColumns - sc);
  const int dr = WrapSubsectorOffset((v.r2 - 1) / kSubsectorRows - sr);

  int c2 = v.c2;
  int r2 = v.r2;
  const bool on_subsector = map == MapKind::kSubsectorMap;
  const bool leaves_left = dc < 0 && (on_subsector || c1 + kSubsectorColumns * dc < 1);
  const bool leaves_right =
      dc > 0 && (on_subsector || c1 + kSubsectorColumns * dc > kSectorColumns);
  const bool leaves_top = dr < 0 && (on_subsector || r1 + kSubsectorRows * dr < 1);
  const bool leaves_bottom = dr > 0 && (on_subsector || r1 + kSubsectorRows * dr > kSectorRows);
  if (leaves_left || leaves_right) {
    c2 = (c2 - 1) % kSubsectorColumns + kSubsectorColumns * (sc + dc) + 1;
  }
  if (leaves_top || leaves_bottom) {
    r2 = (r2 - 1) % kSubsectorRows + kSubsectorRows * (sr + dr) + 1;
  }
  if (c1 == c2 && r1 == r2) return 0;

  MapPoint p1;
  MapPoint p2;
  HexCenter(c1, r1, &p1, HexRange::kAnyHex);
  HexCenter(c2, r2, &p2, HexRange::kAnyHex);
  if (on_subsector) {
    ShiftToSubsector(&p1, subsector);
    ShiftToSubsector(&p2, subsector);
  }

  if (leaves_left || leaves_right || leaves_top || leaves_bottom) {
    const double theta = Direction(p1.x, p1.y, p2.x, p2.y);
    const double dx = p2.x - p1.x;
    const double dy = p2.y - p1.y;
    const double limit_x = on_subsector ? kSubsectorLimitX : kSectorLimitX;
    const double limit_y = on_subsector ? kSubsectorLimitY : kSectorLimitY;
    double d = std::sqrt(dx * dx + dy * dy);
    if (leaves_left) d = DistanceToLimit(p1.x, std::cos(theta));
    if (leaves_right) d = DistanceToLimit(limit_x - p1.x, std::cos(theta));
    if (leaves_top || leaves_bottom) {
      const double e = leaves_top ? DistanceToLimit(limit_y - p1.y, std::sin(theta))
                                  : DistanceToLimit(p1.y, std::sin(theta));
      if (!(d < e)) d = e;
    }
    d += kRouteInset;
    p2 = {p1.x + d * std::cos(theta), p1.y + d * std::sin(theta)};
  }

  ScrLine(target, p1, p2, kRouteInset, {colour, kRouteWidth, "Solid", "Solid"});
  return 1;
}

}  // namespace torvane
