// Entry point of torvane-preview: draws a torvane script as an SVG picture.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/host_process.h"
#include "platform/temporary_files.h"
#include "preview/preview_command_line.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = torvane::ProgramArguments(argc, argv);
  torvane::IgnoreFileSizeSignal();
  torvane::RemoveTemporaryFilesOnInterrupt();
  const std::unique_ptr<torvane::HostFileSystem> disk = torvane::MakeHostFileSystem();
  const int status = torvane::RunPreview(*disk, arguments, std::cout, std::cerr);
  torvane::WaitForKeyInOwnConsole();
  return status;
}
