// What a program takes from its host and gives back to it: the command line
// as UTF-8 texts, the signal of the file-size limit, how many processors it
// may run on, and how large an error count the exit status can carry.
#pragma once

#include <limits>
#include <string>
#include <vector>

namespace torvane {

// The arguments after the program's name, as UTF-8 texts. POSIX hosts pass
// them on as given; Windows takes them from the wide command line, so that
// names outside the ANSI code page arrive whole.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Makes a write past the process's file-size limit fail with EFBIG, to be
// reported like a full disk, instead of SIGXFSZ ending the run unreported.
// Nothing to do on Windows, which has no such limit.
void IgnoreFileSizeSignal();

// How many threads the process can run at once: the processors it is allowed
// to run on (a CPU affinity set by the user counts), at least 1.
unsigned UsableProcessors();

// At the end of a run in a console window of its own (see console_wait.h),
// says "Press any key to close this window." and waits for a key; else, and
// always on POSIX hosts, returns at once.
void WaitForKeyInOwnConsole();

// The largest error count an exit status shows. Exit statuses are 8 bits on
// POSIX hosts: beyond 255 errors the count is held at 255, so that a run with
// errors never looks successful (-256 would be seen as 0). Windows keeps all
// 32 bits.
#ifdef _WIN32
inline constexpr int kErrorStatusLimit = std::numeric_limits<int>::max();
#else
inline constexpr int kErrorStatusLimit = 255;
#endif

}  // namespace torvane
