// ScriptState: the settings last written to one script, so that a setting
// is written only when it changes.
#pragma once

#include <limits>
#include <string>

namespace torvane {

inline constexpr int kUnsetInt = std::numeric_limits<int>::max();
inline constexpr double kUnsetDouble = std::numeric_limits<double>::max();

// The reset values are never requested, so the first request for each
// setting writes it.
struct ScriptState {
  // "LAYER STANDARD" has been written since the script was opened or last
  // released, and the values below are those of the script.
  bool current = false;
  std::string layer;
  std::string lineStyle;
  std::string fillStyle;
  std::string textFont;
  int colour = kUnsetInt;
  int textJustification = kUnsetInt;
  int textStyle = kUnsetInt;
  double lineWidth = kUnsetDouble;
  double textAngle = kUnsetDouble;
  double textHeight = kUnsetDouble;
};

}  // namespace torvane
