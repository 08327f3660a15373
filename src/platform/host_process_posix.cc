// The command line on POSIX hosts: the arguments are already the bytes the
// user typed, UTF-8 in any usual locale.
#ifdef __linux__
#include <sched.h>
#endif

#include <algorithm>
#include <csignal>
#include <thread>

#include "platform/host_process.h"

namespace torvane {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  if (argc < 1) return {};
  return std::vector<std::string>(argv + 1, argv + argc);
}

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

// A terminal window stays open when the program ends.
void WaitForKeyInOwnConsole() {}

unsigned UsableProcessors() {
#ifdef __EMSCRIPTEN__
  return 1;  // the WebAssembly build has one thread
#endif
#ifdef __linux__
  cpu_set_t allowed;
  if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) {
    const int count = CPU_COUNT(&allowed);
    if (count > 0) return static_cast<unsigned>(count);
  }
#endif
  return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace torvane
