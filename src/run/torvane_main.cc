// Entry point of torvane: converts sector directories into drawing scripts.
#include <cstdint>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/host_process.h"
#include "platform/random_source.h"
#include "platform/temporary_files.h"
#include "run/command_line.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = torvane::ProgramArguments(argc, argv);
  torvane::IgnoreFileSizeSignal();
  torvane::RemoveTemporaryFilesOnInterrupt();
  const std::unique_ptr<torvane::HostFileSystem> disk = torvane::MakeHostFileSystem();
  const torvane::RunSetup setup{.seed = static_cast<std::uint32_t>(torvane::ClockSeconds()),
                                .threads = torvane::UsableProcessors(),
                                .commitAside = true};
  const int status = torvane::RunTorvane(*disk, arguments, std::cout, std::cerr, setup);
  torvane::WaitForKeyInOwnConsole();
  return status;
}
