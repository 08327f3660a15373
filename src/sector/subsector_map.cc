// One subsector of the sector being converted: the name and map file taken
// from fixed columns of its index line, its name labels, and the walk that
// hands each line of its map file to world or route drawing.
#include "sector/subsector_map.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "draw/map_text.h"
#include "draw/trade_route.h"
#include "draw/world_entry.h"
#include "platform/ascii_text.h"
#include "platform/path_text.h"
#include "script/error_report.h"
#include "script/script_writer.h"
#include "sector/kept_map_texts.h"

namespace torvane {

namespace {

constexpr size_t kFileFieldLimit = 20;

constexpr std::string_view kBorderLayer = "MAP BORDER";

// The '#' stands for the subsector letter; the "%s" is the name.
constexpr std::string_view kNoFileFormat = "No subsector file specified for # (%s)!\n";

// Where a subsector map names the subsector that lies the given number of
// columns and rows away.
struct NeighbourLabel {
  int columnOffset;
  int rowOffset;
  MapPoint at;
  double angle;
};

constexpr std::array<NeighbourLabel, 4> kNeighbourLabels{{
    {0, -1, {62.5, 186.865}, 0.0},
    {-1, 0, {-5.0, 95.933}, 90.0},
    {+1, 0, {130.0, 95.933}, 270.0},
    {0, +1, {62.5, -5.0}, 180.0},
}};

// The subsector's index line, from its letter up to its "\n" or the end of
// the text; the last of several wins. The title line never counts, however
// short it is: an index line follows a "\n".
std::optional<std::string_view> FindIndexLine(std::string_view sector_text, char letter) {
  const std::string pattern{'\n', letter, ':'};
  size_t found = std::string_view::npos;
  for (size_t hit = sector_text.find(pattern); hit != std::string_view::npos;
       hit = sector_text.find(pattern, hit + pattern.size())) {
    found = hit;
  }
  if (found == std::string_view::npos) return std::nullopt;
  const std::string_view line = sector_text.substr(found + 1);
  return line.substr(0, line.find('\n'));
}

std::string_view NameField(std::string_view line) {
  if (line.size() <= kIndexNameColumn) return {};
  return TrimTrailing(line.substr(kIndexNameColumn, kSubsectorNameLimit));
}

// Nothing when the line ends inside the name field. A line that ends right
// after it has an empty field, which names the map directory itself.
std::optional<std::string_view> FileField(std::string_view line) {
  if (line.size() < kIndexFileColumn) return std::nullopt;
  return TrimTrailing(line.substr(kIndexFileColumn, kFileFieldLimit));
}

void DrawNameLabel(const ScriptTarget& target, const std::string& name, int subsector,
                   MapKind map) {
  ScrLayer(target, kBorderLayer);
  if (map == MapKind::kSubsectorMap) {
    ScrText(target, name + " Subsector", 0, kSubsectorTitleAt, kSubsectorTitleStyle);
  } else {
    // The sector map lists the names in a column at its right, A at the top.
    ScrText(target, name, 0, {kSubsectorListX, kSubsectorListTopY - kSubsectorListStep * subsector},
            kSubsectorListStyle);
  }
  ScrRelease(target);
}

void DrawNeighbourLabels(const ScriptTarget& target, const SubsectorNames& names, int subsector) {
  ScrLayer(target, kBorderLayer);
  const int column = subsector % kSubsectorsAcross;
  const int row = subsector / kSubsectorsAcross;
  for (const NeighbourLabel& label : kNeighbourLabels) {
    const int neighbour_column = column + label.columnOffset;
    const int neighbour_row = row + label.rowOffset;
    if (neighbour_column < 0 || neighbour_column >= kSubsectorsAcross || neighbour_row < 0 ||
        neighbour_row >= kSubsectorsDown) {
      continue;
    }
    const std::string& name = names.names[neighbour_row * kSubsectorsAcross + neighbour_column];
    if (name.empty()) continue;
    TextStyle style = kNeighbourLabelStyle;
    style.angle = label.angle;
    ScrText(target, name, 0, label.at, style);
  }
  ScrRelease(target);
}

void WalkMapLines(RunContext& run, SectorContext& sector, std::string_view map_text,
                  const ScriptTarget& target, int subsector, MapKind map) {
  ForEachMapLine(map_text, [&](std::string_view line, size_t length, MapLineKind kind) {
    if (kind == MapLineKind::kRoute) {
      DrawRoute(run.options, target, line, subsector, map);
    } else if (kind == MapLineKind::kWorld) {
      DrawWorld({run.options, run.random, sector.occupancy, sector.legendFlags,
                 kStandardWorldLayout, target},
                line, length, subsector, map);
    }
  });
}

}  // namespace

int DrawSubsector(RunContext& run, SectorContext& sector, const ScriptTarget& target, int subsector,
                  MapKind map) {
  if (sector.text.data() == nullptr || sector.drive.data() == nullptr ||
      sector.sectorDir.data() == nullptr || subsector < 0 || subsector >= kSubsectorCount) {
    return 0;
  }
  const char letter = static_cast<char>('A' + subsector);
  SubsectorNames& names = sector.subsectorNames;
  std::string& name = names.names[subsector];
  const std::optional<std::string_view> line = FindIndexLine(sector.text, letter);
  if (!line) {
    name.clear();
    return 0;
  }
  name = NameField(*line);
  if (!name.empty()) DrawNameLabel(target, name, subsector, map);
  if (map == MapKind::kSubsectorMap) DrawNeighbourLabels(target, names, subsector);

  const std::optional<std::string_view> file_field = FileField(*line);
  if (!file_field) {
    std::string format(kNoFileFormat);
    format[format.find('#')] = letter;
    ReportError(run.errors, format, name);
    return 0;
  }
  const WindowsPath file = SplitWindowsPath(*file_field);
  const std::string map_dir = std::string(sector.sectorDir) + "map\\";
  // On the sector map, a subsector that gets its own script keeps its text
  // for it.
  const bool keep = map == MapKind::kSectorMap && run.options.subsectors[subsector] != 0;
  const std::string* map_text =
      sector.mapTexts.Load(run.fileSystem, run.errors,
                           JoinWindowsPath(sector.drive, map_dir, file.name, file.ext), keep);
  if (map_text == nullptr) return 0;
  WalkMapLines(run, sector, *map_text, target, subsector, map);
  return 1;
}

}  // namespace torvane
