// Entry point of torvane-preview: draws a torvane script as an SVG picture.
#include <iostream>
#include <string>
#include <vector>

#include "preview/preview_command_line.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return torvane::preview::RunPreview(arguments, std::cout, std::cerr);
}
