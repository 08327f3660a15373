// The file system the programs of the one module work on: the host's under
// node, files held in memory on the web page.
#pragma once

#include "platform/file_system.h"

namespace torvane_page {

torvane::HostFileSystem& ProgramFiles();

}  // namespace torvane_page
