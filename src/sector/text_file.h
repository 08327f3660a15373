// Loading a whole text file in text mode, as the sector data file and the
// subsector map files are read.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "script/error_report.h"

namespace torvane {

// The file's text with every line ended by "\n" alone; nothing when it
// cannot be loaded, after the reason has been reported to `errors`.
std::optional<std::string> LoadTextFile(FileSystem& file_system, ErrorLog& errors,
                                        std::string_view path);

}  // namespace torvane
