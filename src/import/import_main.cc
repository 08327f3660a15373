// Entry point of torvane-import: turns published sector files into sector
// directories.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "import/import_run.h"
#include "platform/file_system.h"
#include "platform/host_process.h"
#include "platform/temporary_files.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = torvane::ProgramArguments(argc, argv);
  torvane::IgnoreFileSizeSignal();
  torvane::RemoveTemporaryFilesOnInterrupt();
  const std::unique_ptr<torvane::HostFileSystem> disk = torvane::MakeHostFileSystem();
  const int status = torvane::RunImport(*disk, arguments, std::cout, std::cerr);
  torvane::WaitForKeyInOwnConsole();
  return status;
}
