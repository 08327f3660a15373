// Writes the laid-out files of a sector directory to disk all together: a
// new directory appears whole or not at all, on disk before it takes its
// name, and files already there are replaced only when the user asks for
// it, each by a whole new file.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "import/sector_layout.h"
#include "platform/file_system.h"

namespace torvane {

// Writes `files` into `directory` on `disk`. When the directory exists and
// already holds any of the files (names found as torvane finds them,
// without regard to case), nothing is written unless `replace` is set.
// Returns an empty text on success, else the message saying why nothing
// (or, for a failure half-way through replacing files, what) was written.
std::string WriteSectorDirectory(ImportFileSystem& disk, const std::filesystem::path& directory,
                                 const std::vector<LaidOutFile>& files, bool replace);

}  // namespace torvane
