// torvane-timed: runs a command and prints its wall time, the peak resident
// memory and the processor time (user plus system) of the child, for the
// benchmark script:
//   torvane-timed COMMAND ARGS...  ->  "<wall s> <peak KiB> <cpu s>" on standard error
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: torvane-timed COMMAND [ARGS...]\n");
    return 2;
  }
  timespec start{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  const pid_t child = fork();
  if (child < 0) {
    std::perror("torvane-timed: fork");
    return 2;
  }
  if (child == 0) {
    execvp(argv[1], argv + 1);
    std::perror("torvane-timed: exec");
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) < 0) {
    std::perror("torvane-timed: wait4");
    return 2;
  }
  timespec end{};
  clock_gettime(CLOCK_MONOTONIC, &end);
  const double seconds = static_cast<double>(end.tv_sec - start.tv_sec) +
                         static_cast<double>(end.tv_nsec - start.tv_nsec) / 1e9;
  const auto to_seconds = [](const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
  };
  const double cpu = to_seconds(usage.ru_utime) + to_seconds(usage.ru_stime);
  // ru_maxrss is in KiB on Linux.
  std::fprintf(stderr, "%.6f %ld %.6f\n", seconds, usage.ru_maxrss, cpu);
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}
