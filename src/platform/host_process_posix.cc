// The command line on POSIX hosts: the arguments are already the bytes the
// user typed, UTF-8 in any usual locale.
#include <csignal>

#include "platform/host_process.h"

namespace torvane {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  if (argc < 1) return {};
  return std::vector<std::string>(argv + 1, argv + argc);
}

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace torvane
