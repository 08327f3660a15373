// Entry point of torvane-import.
#include <iostream>
#include <string>
#include <vector>

#include "import/import_run.h"
#include "platform/host_process.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = torvane::ProgramArguments(argc, argv);
  return torvane_import::RunImport(arguments, std::cout, std::cerr);
}
