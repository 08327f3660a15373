// The process entry of torvane.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/host_process.h"
#include "platform/random_source.h"
#include "platform/temporary_files.h"
#include "run/command_line.h"
#include "script/error_report.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = torvane::ProgramArguments(argc, argv);
  torvane::IgnoreFileSizeSignal();
  torvane::RemoveTemporaryFilesOnInterrupt();
  const std::unique_ptr<torvane::HostFileSystem> file_system = torvane::MakeHostFileSystem();
  torvane::ErrorLog errors;
  const torvane::RunSetup setup{.seed = static_cast<std::uint32_t>(torvane::ClockSeconds()),
                                .threads = torvane::UsableProcessors(),
                                .commitAside = true};
  const int status = torvane::RunTorvane(
      arguments, *file_system, errors,
      [](std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }, setup);
  std::fflush(stdout);
  torvane::WaitForKeyInOwnConsole();
  return status;
}
