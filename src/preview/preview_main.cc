// Entry point of torvane-preview: draws a torvane script as an SVG picture.
#include <iostream>
#include <string>
#include <vector>

#include "platform/host_process.h"
#include "preview/preview_command_line.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = torvane::ProgramArguments(argc, argv);
  return torvane::preview::RunPreview(arguments, std::cout, std::cerr);
}
