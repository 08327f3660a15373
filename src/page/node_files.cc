// Under node the programs work on the real file system, as native ones do.
#include <memory>

#include "page/program_files.h"

namespace torvane_page {

torvane::HostFileSystem& ProgramFiles() {
  static const std::unique_ptr<torvane::HostFileSystem> files = torvane::MakeHostFileSystem();
  return *files;
}

}  // namespace torvane_page
