// Converting one sector argument into the sector script and the chosen
// subsector scripts.
#pragma once

#include <string>
#include <string_view>

#include "draw/base_symbols.h"
#include "draw/map_options.h"
#include "draw/run_context.h"
#include "platform/file_system.h"
#include "script/script_file.h"

namespace torvane {

// The paths that a sector argument names, all as Windows path texts.
struct SectorPaths {
  std::string drive;
  std::string sectorDir;  // always ends in "/"
  std::string name;
  std::string dataFile;
  std::string sectorScript;
};

SectorPaths BuildSectorPaths(std::string_view argument);
// '<name><letter>.scr' in the sector directory.
std::string SubsectorScriptPath(const SectorPaths& paths, int subsector);

// 1 on success; 0 when the data file cannot be loaded or the sector script
// or a selected subsector script cannot be opened.
int ConvertSector(FileSystem& file_system, RunContext& run, std::string_view argument);

// The title (the first `title_length` characters of the sector text), the
// date text and the legend of `legend_flags` on the sector map. 0 when there is nothing to
// draw from.
int DrawSectorTitle(const MapOptions& options, BaseFlags legend_flags, std::string_view sector_text,
                    int title_length, const ScriptTarget& target);

}  // namespace torvane
