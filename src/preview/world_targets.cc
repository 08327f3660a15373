// World lines read by torvane's own map-file walk and hex reader, and the
// hexes drawn as pointer targets.
#include "preview/world_targets.h"

#include <array>

#include "draw/hex_geometry.h"
#include "draw/world_entry.h"
#include "platform/ascii_text.h"
#include "preview/xml_text.h"
#include "sector/subsector_map.h"

namespace torvane {

void ReadWorldTargets(std::string_view map_text, std::optional<int> subsector,
                      std::vector<WorldTarget>& targets) {
  ForEachMapLine(map_text, [&](std::string_view line, size_t length, MapLineKind kind) {
    if (kind != MapLineKind::kWorld) return;
    const std::optional<WorldHex> hex = ReadWorldHex(kStandardWorldLayout, line, length);
    if (!hex || (subsector && SubsectorOfHex(hex->column, hex->row) != *subsector)) return;
    targets.push_back(
        {hex->column, hex->row, std::string(TrimTrailing(line.substr(0, length), "\r\n"))});
  });
}

void AppendWorldTargets(std::string& out, const std::vector<WorldTarget>& targets, MapKind kind) {
  if (targets.empty()) return;
  out += "<style>.hex-target{fill:transparent;pointer-events:all}</style>\n";
  for (const WorldTarget& target : targets) {
    MapPoint centre;
    if (kind == MapKind::kSectorMap) {
      HexCenter(target.column, target.row, &centre, HexRange::kSectorOnly);
    } else {
      SubsectorHexCenter(target.column, target.row, &centre);
    }
    out += "<g class=\"world\"><title>";
    AppendXmlText(out, target.line);
    out += "</title><polygon class=\"hex-target\" points=\"";
    const std::array<MapPoint, 6> corners = HexCorners(centre);
    for (size_t k = 0; k < corners.size(); ++k) {
      if (k > 0) out += ' ';
      AppendSvgPoint(out, corners[k].x, corners[k].y);
    }
    out += "\"/></g>\n";
  }
}

}  // namespace torvane
