// Temporary files on POSIX hosts: their names, and SIGINT and SIGTERM
// taken by a thread of their own, which may lock what the threads that
// write scripts lock (a signal handler may not).
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <system_error>
#include <thread>

#include "platform/temporary_files.h"

namespace torvane {

std::string NextTemporaryName() {
  static std::atomic<unsigned> next{0};
  return ".torvane-" + std::to_string(getpid()) + "-" + std::to_string(next++) + ".tmp";
}

void RemoveTemporaryFilesOnInterrupt() {
#ifdef __EMSCRIPTEN__
  // The WebAssembly build runs on one thread, and no signal reaches it: in
  // the browser there is none, and under node Ctrl-C ends node itself.
  return;
#endif
  sigset_t taken;
  sigemptyset(&taken);
  bool any = false;
  for (const int signal : {SIGINT, SIGTERM}) {
    struct sigaction current;
    // A shell starts its background jobs with SIGINT ignored: it stays so.
    if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
    sigaddset(&taken, signal);
    any = true;
  }
  if (!any) return;
  // Blocked here, before any other thread starts, so that every thread
  // inherits the block and only the waiting thread takes the signal.
  pthread_sigmask(SIG_BLOCK, &taken, nullptr);
  try {
    std::thread([taken] {
      int signal = 0;
      while (sigwait(&taken, &signal) != 0) {
      }
      ProcessTemporaryFiles().RemoveAll([](const std::string& path) { unlink(path.c_str()); },
                                        [](const std::string& path) {
                                          std::error_code ignored;
                                          std::filesystem::remove_all(path, ignored);
                                        });
      // End as the signal ends a program: its default action, raised again.
      std::signal(signal, SIG_DFL);
      sigset_t one;
      sigemptyset(&one);
      sigaddset(&one, signal);
      raise(signal);
      pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
      _exit(128 + signal);  // not reached
    }).detach();
  } catch (const std::system_error&) {
    // No thread: the signals keep their default action, as before.
    pthread_sigmask(SIG_UNBLOCK, &taken, nullptr);
  }
}

}  // namespace torvane
