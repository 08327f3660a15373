// Runs the real torvane binary for the whole-program tests, and reads what
// it leaves: script lines and the exit status its error count gives.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "testing/program_runner.h"
#include "testing/scratch_dir.h"
#include "testing/script_lines.h"

namespace torvane_test {

// Runs torvane with `arguments` in directory `cwd`.
inline ProgramResult RunTorvane(const std::filesystem::path& cwd,
                                const std::vector<std::string>& arguments) {
  return RunProgram(TORVANE_BINARY, arguments, cwd);
}

// The exit status of a run that counted `errors` errors: their negative,
// the count held at 255 where the status has 8 bits.
inline int ErrorStatus(int errors) {
#ifdef _WIN32
  return -errors;
#else
  return ExpectedStatus(-std::min(errors, 255));
#endif
}

}  // namespace torvane_test
