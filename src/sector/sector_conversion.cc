// Sector conversion: the sector script, then each chosen subsector script,
// all drawn from one load of the sector's data file.
#include "sector/sector_conversion.h"

#include <algorithm>

#include "draw/base_symbols.h"
#include "draw/hex_numbers.h"
#include "draw/map_text.h"
#include "platform/path_text.h"
#include "script/error_report.h"
#include "script/script_writer.h"
#include "sector/sector_context.h"
#include "sector/subsector_map.h"
#include "sector/text_file.h"

namespace torvane {

namespace {

// Captions name the sector by at most this many characters of its title.
constexpr int kCaptionTitleLimit = 64;

// The run's output directory; empty for none.
std::string_view OutputDir(const MapOptions& options) {
  const std::optional<std::string>& output_dir = options.outputDir;
  return output_dir ? std::string_view(*output_dir) : std::string_view();
}

char SubsectorLetter(int subsector) { return static_cast<char>('A' + subsector); }

void DrawCaption(std::string_view sector_text, int caption_length, const ScriptTarget& target,
                 int subsector) {
  std::string caption = "(subsector ";
  caption += SubsectorLetter(subsector);
  caption += " of ";
  caption.append(sector_text.substr(0, caption_length));
  caption += " sector)";
  ScrLayer(target, "MAP BORDER");
  ScrText(target, caption, 0, kCaptionAt, kCaptionStyle);
  ScrRelease(target);
}

// Draws one chosen subsector's own script; false when it cannot be opened.
bool WriteSubsectorScript(RunContext& run, SectorContext& sector, const SectorPaths& paths,
                          int caption_length, int subsector, ScriptCommit& commit) {
  ScriptTarget target;
  if (!OpenScript(run.fileSystem, run.errors, SubsectorScriptPath(paths, subsector),
                  OutputDir(run.options), target)) {
    return false;
  }
  sector.occupancy.Clear();
  if (!DrawSubsector(run, sector, target, subsector, MapKind::kSubsectorMap)) {
    run.errors.CountError();
  }
  DrawHexNumbers(run.options, sector.occupancy, target, subsector, MapKind::kSubsectorMap);
  if (caption_length > 0) DrawCaption(sector.text, caption_length, target, subsector);
  DrawLegend(target, sector.legendFlags, MapKind::kSubsectorMap);
  CloseScript(target, commit);
  return true;
}

// The title (the first `title_length` characters of the sector text), the
// date text and the legend of the sector's legend flags on the sector map.
// 0 when there is nothing to draw from.
int DrawSectorTitle(const MapOptions& options, const SectorContext& sector, int title_length,
                    const ScriptTarget& target) {
  if (sector.text.data() == nullptr || title_length < 0) return 0;
  ScrLayer(target, "MAP BORDER");
  if (title_length > 0) {
    ScrText(target, sector.text, title_length, kSectorTitleAt, kSectorTitleStyle);
  }
  const std::optional<std::string>& date_text = options.dateText;
  if (date_text) ScrText(target, *date_text, 0, kDateTextAt, kDateTextStyle);
  DrawLegend(target, sector.legendFlags, MapKind::kSectorMap);
  ScrRelease(target);
  return 1;
}

}  // namespace

SectorPaths BuildSectorPaths(std::string_view argument) {
  // 'delta/' names the same sector as 'delta'.
  while (!argument.empty() && (argument.back() == '/' || argument.back() == '\\')) {
    argument.remove_suffix(1);
  }
  const WindowsPath parts = SplitWindowsPath(argument);
  SectorPaths paths;
  paths.drive = parts.drive;
  paths.name = parts.name;
  // A bare name is a directory under the current one, not at the root.
  paths.sectorDir = parts.dir;
  if (!parts.dir.empty() && parts.dir.back() != '/' && parts.dir.back() != '\\') {
    paths.sectorDir += '/';
  }
  paths.sectorDir += parts.name;
  paths.sectorDir += '/';
  paths.dataFile = JoinWindowsPath(paths.drive, paths.sectorDir, paths.name, "dat");
  paths.sectorScript = JoinWindowsPath(paths.drive, paths.sectorDir, paths.name, "scr");
  return paths;
}

std::string SubsectorScriptPath(const SectorPaths& paths, int subsector) {
  return JoinWindowsPath(paths.drive, paths.sectorDir, paths.name + SubsectorLetter(subsector),
                         "scr");
}

int ConvertSector(RunContext& run, std::string_view argument) {
  ScriptCommit commit;
  const int result = ConvertSector(run, argument, commit);
  commit.Commit();
  return result;
}

int ConvertSector(RunContext& run, std::string_view argument, ScriptCommit& commit) {
  const SectorPaths paths = BuildSectorPaths(argument);
  const std::optional<std::string> sector_text =
      LoadTextFile(run.fileSystem, run.errors, paths.dataFile);
  if (!sector_text) return 0;

  ScriptTarget target;
  if (!OpenScript(run.fileSystem, run.errors, paths.sectorScript, OutputDir(run.options), target))
    return 0;
  ScrSelect(target);
  // Map texts, legend and names are kept for this sector only.
  SectorContext sector;
  sector.text = *sector_text;
  sector.drive = paths.drive;
  sector.sectorDir = paths.sectorDir;
  for (int subsector = 0; subsector < kSubsectorCount; ++subsector) {
    if (!DrawSubsector(run, sector, target, subsector, MapKind::kSectorMap)) {
      run.errors.CountError();
    }
  }
  DrawHexNumbers(run.options, sector.occupancy, target, -1, MapKind::kSectorMap);
  const size_t title_end = sector_text->find('\n');
  const int title_length =
      title_end == std::string::npos ? 0 : static_cast<int>(std::min<size_t>(title_end, INT32_MAX));
  int result = DrawSectorTitle(run.options, sector, title_length, target);
  CloseScript(target, commit);

  const int caption_length = std::min(title_length, kCaptionTitleLimit);
  for (int subsector = 0; subsector < kSubsectorCount; ++subsector) {
    if (run.options.subsectors[subsector] == 0) continue;
    if (!WriteSubsectorScript(run, sector, paths, caption_length, subsector, commit)) {
      result = 0;
    }
  }
  return result;
}

}  // namespace torvane
