// Starting a program from a test: its arguments, working directory and
// standard input are given, and what it writes and the status it ends with
// come back. The one way every test program starts another program.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace torvane_test {

// The status of a run that has none of the program's own.
constexpr int kNoStatus = -1'000'000;

struct ProgramResult {
  // Standard output and error as a test compares them: a CR LF pair, which
  // Windows programs write for every line end, is given as LF.
  std::string out;
  std::string err;
  // The bytes as the program wrote them.
  std::string raw_out;
  std::string raw_err;
  // The exit status as the host keeps it: 0 to 255 on POSIX (1000 + the
  // signal's number when one ended the program), all 32 bits on Windows.
  // kNoStatus when the program could not be started or was stopped.
  int status = kNoStatus;
};

struct RunOptions {
  // Given to the program as its standard input; without it, the program
  // reads the null device.
  std::optional<std::string> input;
  // A program still running after this long is killed; the run is then a
  // test failure, as is a program that cannot be started.
  std::chrono::milliseconds timeout = std::chrono::minutes(2);
};

// Runs `program` (a path, or a name looked up in PATH) with `arguments` in
// `directory`, and waits for it to end.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::filesystem::path& directory, const RunOptions& options = {});

// A run's program and arguments as failure messages show it, cut at 300
// characters.
std::string Describe(const std::string& program, const std::vector<std::string>& arguments);

// The program's full path when it is on PATH (or is a path that exists);
// empty otherwise.
std::string FindProgram(const std::string& name);

// The status a test sees when the program returned `code` from main: POSIX
// keeps its low 8 bits (-2 is seen as 254), Windows all 32 (-2 stays -2).
constexpr int ExpectedStatus(int code) {
#ifdef _WIN32
  return code;
#else
  return code & 0xff;
#endif
}

}  // namespace torvane_test
