// Converting one sector argument into the sector script and the chosen
// subsector scripts.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "script/script_file.h"
#include "sector/run_context.h"

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
// or a selected subsector script cannot be opened. The sector's scripts are
// sealed into `commit`, for the caller to commit together.
int ConvertSector(RunContext& run, std::string_view argument, ScriptCommit& commit);
// The same, its scripts committed before it returns.
int ConvertSector(RunContext& run, std::string_view argument);

}  // namespace torvane
