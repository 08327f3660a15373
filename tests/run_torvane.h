// Runs the real torvane binary for the whole-program tests, and reads what
// it leaves: script lines and the exit status its error count gives.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "testing/program_runner.h"
#include "testing/scratch_dir.h"

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

// Splits CR LF-ended text into lines.
inline std::vector<std::string> CrLfLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(start) + "<no line end>");
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

}  // namespace torvane_test
