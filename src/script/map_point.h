// MapPoint: a point in map units, as the script commands take it and the
// hex geometry computes it, and the direction from one point to another.
#pragma once

namespace torvane {

// x grows to the right and y upward.
struct MapPoint {
  double x = 0.0;
  double y = 0.0;
};

// These decimal values, not full-precision ones, fix the scripts' numbers.
inline constexpr double kQuarterTurn = 1.570796327;
inline constexpr double kHalfTurn = 3.1415926535;

// Angle in radians, counter-clockwise from the x axis, of the step from
// (from_x, from_y) to (to_x, to_y); above -kHalfTurn and at most kHalfTurn.
double Direction(double from_x, double from_y, double to_x, double to_y);

}  // namespace torvane
