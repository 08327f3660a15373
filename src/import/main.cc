// Entry point of torvane-import.
#include <iostream>
#include <string>
#include <vector>

#include "import/import_run.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return torvane_import::RunImport(arguments, std::cout, std::cerr);
}
