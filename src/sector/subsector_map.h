// One subsector of the sector being converted: its index line (name and map
// file), its name labels, and the walk over its map file's world and route
// lines.
#pragma once

#include <string_view>

#include "draw/run_context.h"
#include "platform/file_system.h"
#include "script/script_file.h"

namespace torvane {

inline constexpr size_t kSubsectorNameLimit = 26;

// Draws subsector `subsector` (0 to 15) into `target`: 1 when its map file
// was read and its lines handed on, else 0. `drive` and `sector_dir` are
// the sector's drive and directory as sector conversion built them.
int DrawSubsector(FileSystem& file_system, RunContext& run, std::string_view sector_text,
                  std::string_view drive, std::string_view sector_dir, const ScriptTarget& target,
                  int subsector, int subsector_map);

// SubsectorNames: the names the last sector pass found, empty where the
// sector had no index line.
std::string_view SubsectorName(int subsector);
void ResetSubsectorNames();

}  // namespace torvane
