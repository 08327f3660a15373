// The two map frames, the rule that tells them apart and the hex grid.
#include "preview/map_frame.h"

#include <cmath>

#include "draw/hex_geometry.h"
#include "draw/map_text.h"
#include "preview/xml_text.h"

namespace torvane {

namespace {

// The grid's measures are torvane's own; the centres are worked out here
// from them, apart from torvane's HexCenter, so that a world drawn off its
// centre shows.
constexpr double kHexRadius = 10;

bool Near(double a, double b) { return std::fabs(a - b) < 1e-6; }

// The points a command places (its anchor, centre or line ends).
std::vector<std::pair<double, double>> PlacedPoints(const ScriptCommand& command) {
  const auto& v = command.values;
  switch (command.kind) {
    case CommandKind::kText:
      return {{v[0], v[1]}};
    case CommandKind::kCircle:
      return {{v[1], v[2]}};
    case CommandKind::kArc:
      return {{v[0], v[1]}};
    case CommandKind::kLine:
      return {{v[0], v[1]}, {v[4], v[5]}};
    case CommandKind::kSymbol:
      return {{v[3], v[4]}};
    default:
      return {};
  }
}

}  // namespace

std::array<MapPoint, 6> HexCorners(MapPoint centre) {
  const double x = centre.x, y = centre.y;
  return {{{x + kHexRadius, y},
           {x + kHexRadius / 2, y + kHalfRow},
           {x - kHexRadius / 2, y + kHalfRow},
           {x - kHexRadius, y},
           {x - kHexRadius / 2, y - kHalfRow},
           {x + kHexRadius / 2, y - kHalfRow}}};
}

constexpr MapFrame kSectorFrame{
    MapKind::kSectorMap, kSectorColumns, kSectorRows, -10, -10, 570, 712};
constexpr MapFrame kSubsectorFrame{
    MapKind::kSubsectorMap, kSubsectorColumns, kSubsectorRows, -60, -30, 140, 195};
// The labels that tell the maps apart lie inside the frame of their map,
// and a sector map's lie outside a subsector map's.
static_assert(kSectorTitleAt.x > kSubsectorFrame.right && kSubsectorListX > kSubsectorFrame.right &&
              kDateTextAt.x < kSectorFrame.right && kDateTextAt.x > kSubsectorFrame.right);
static_assert(kSubsectorTitleAt.y > kSubsectorFrame.bottom &&
              kCaptionAt.y > kSubsectorFrame.bottom && kSubsectorLegendX > kSubsectorFrame.left &&
              kSubsectorTitleAt.y < kSectorFrame.bottom);

MapFrame FrameOf(MapKind kind) {
  return kind == MapKind::kSectorMap ? kSectorFrame : kSubsectorFrame;
}

MapKind ChooseMapKind(const std::vector<ScriptCommand>& commands) {
  const MapFrame subsector = FrameOf(MapKind::kSubsectorMap);
  bool subsector_label = false;
  for (const ScriptCommand& command : commands) {
    if (command.kind == CommandKind::kText) {
      const double x = command.values[0], y = command.values[1];
      if (Near(x, kSectorTitleAt.x) || Near(x, kSubsectorListX) || Near(x, kDateTextAt.x)) {
        return MapKind::kSectorMap;
      }
      if (Near(y, kSubsectorTitleAt.y) || Near(y, kCaptionAt.y) || Near(x, kSubsectorLegendX)) {
        subsector_label = true;
      }
    }
    for (const auto& [x, y] : PlacedPoints(command)) {
      if (x < subsector.left || x > subsector.right || y < subsector.bottom || y > subsector.top) {
        return MapKind::kSectorMap;
      }
    }
  }
  return subsector_label ? MapKind::kSubsectorMap : MapKind::kSectorMap;
}

void AppendHexGrid(std::string& out, const MapFrame& frame) {
  out += "<path class=\"hex-grid\" fill=\"none\" stroke=\"#3c3c3c\" stroke-width=\"0.3\" d=\"";
  for (int column = 1; column <= frame.columns; ++column) {
    for (int row = 1; row <= frame.rows; ++row) {
      const double x = (column - 1) * kColumnSpacing + kFirstColumnX;
      const double y =
          (frame.rows - row) * kRowSpacing + kHalfRow + (column % 2 == 1 ? kHalfRow : 0);
      char step = 'M';
      for (const MapPoint& corner : HexCorners({x, y})) {
        out += step;
        AppendSvgPoint(out, corner.x, corner.y);
        step = 'L';
      }
      out += 'Z';
    }
  }
  out += "\"/>\n";
}

}  // namespace torvane
