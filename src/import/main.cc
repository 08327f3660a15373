// Entry point of torvane-import.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "import/import_run.h"
#include "platform/file_system.h"
#include "platform/host_process.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = torvane::ProgramArguments(argc, argv);
  const std::unique_ptr<torvane::FileSystem> disk = torvane::MakeHostFileSystem();
  const int status = torvane::RunImport(*disk, arguments, std::cout, std::cerr);
  torvane::WaitForKeyInOwnConsole();
  return status;
}
