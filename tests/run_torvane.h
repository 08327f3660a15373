// Runs the real torvane binary for the whole-program tests, and reads what
// it leaves: script lines.
#pragma once

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

}  // namespace torvane_test
