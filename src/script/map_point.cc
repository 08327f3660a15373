// The direction between two map points.
#include "script/map_point.h"

#include <cmath>

namespace torvane {

double Direction(double from_x, double from_y, double to_x, double to_y) {
  const double dx = to_x - from_x;
  const double dy = to_y - from_y;
  if (dx == 0) return dy >= 0 ? kQuarterTurn : -kQuarterTurn;
  const double t = std::atan(dy / dx);
  if (dx > 0) return t;
  return dy >= 0 ? t + kHalfTurn : t - kHalfTurn;
}

}  // namespace torvane
