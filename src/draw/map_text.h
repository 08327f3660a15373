// The texts of the maps: each text style as one row, and the anchors of the
// labels that only one kind of map writes, by which the previewer tells a
// sector map from a subsector map.
#pragma once

#include "script/map_point.h"
#include "script/script_writer.h"

namespace torvane {

inline constexpr int kMapTextColour = 15;
inline constexpr int kSubsectorCapitalColour = 2;

// colour, font, height, angle, justification, style
inline constexpr TextStyle kSectorTitleStyle{kMapTextColour, "Arial", 23.0, 90.0, 6, 16};
inline constexpr TextStyle kDateTextStyle{kMapTextColour, "Arial", 8.0, 90.0, 2, 16};
inline constexpr TextStyle kSubsectorListStyle{kMapTextColour, "Arial", 3.0, 0.0, 0, 16};
inline constexpr TextStyle kSubsectorTitleStyle{kMapTextColour, "Arial", 5.0, 0.0, 7, 16};
inline constexpr TextStyle kCaptionStyle{kMapTextColour, "Arial", 3.0, 0.0, 7, 16};
// Turned by each neighbour label to face its edge.
inline constexpr TextStyle kNeighbourLabelStyle{kMapTextColour, "Arial", 4.0, 0.0, 4, 16};
inline constexpr TextStyle kLegendStyle{kMapTextColour, "Arial", 2.5, 0.0, 3, 16};
inline constexpr TextStyle kHexNumberStyle{kMapTextColour, "Courier New", 1.5, 0.0, 7, 0};
inline constexpr TextStyle kWorldNameStyle{kMapTextColour, "Arial", 2.5, 0.0, 7, 16};
inline constexpr TextStyle kCapitalNameStyle{kSubsectorCapitalColour, "Arial", 2.5, 0.0, 7, 16};
inline constexpr TextStyle kStarportStyle{kMapTextColour, "Arial", 2.0, 0.0, 1, 0};
inline constexpr TextStyle kAllegianceStyle{kMapTextColour, "Arial", 1.5, 0.0, 6, 0};

// Only a sector map writes these: its title, the column of subsector names
// at its right (A at the top, a line of 4.5 for each subsector after it) and
// the date text.
inline constexpr MapPoint kSectorTitleAt{495.0, 0.0};
inline constexpr double kSubsectorListX = 501.0;
inline constexpr double kSubsectorListTopY = 611.0;
inline constexpr double kSubsectorListStep = 4.5;
inline constexpr MapPoint kDateTextAt{540.0, 293.0};
inline constexpr double kSectorLegendX = 503.0;

// Only a subsector map writes these: its own name above it, the caption
// naming the sector under that, and the legend at its left.
inline constexpr MapPoint kSubsectorTitleAt{62.5, -15.0};
inline constexpr MapPoint kCaptionAt{62.5, -23.0};
inline constexpr double kSubsectorLegendX = -50.0;

}  // namespace torvane
