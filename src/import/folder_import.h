// Many published sectors imported in one run: the sector files of a folder,
// or those named, each into its own sector directory in one output folder.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "import/sector_import.h"

namespace torvane {

// Imports every sector file among `inputs` (files, and folders whose files
// are taken, not those of their subfolders) into `output`, each as it
// would be imported alone, and ends with a summary line. Files are read one
// at a time. True when a sector was written and none was refused.
bool ImportPublishedFiles(ImportFileSystem& disk, const ImportSettings& settings,
                          const std::vector<std::string>& inputs,
                          const std::filesystem::path& output, std::ostream& out,
                          std::ostream& err);

}  // namespace torvane
