// Runs the real torvane binary in a temporary directory and collects what a
// user sees: standard output, standard error, exit status and files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace torvane_test {

struct ProgramResult {
  std::string out;
  std::string err;
  int status = -1;  // the exit status as the shell sees it (0 to 255)
};

// A fresh directory under the system's temporary directory, removed at the
// end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes a file (creating its directories) with exactly these bytes.
  void Write(const std::string& relative, const std::string& bytes) const;
  // The bytes of a file; empty when it does not exist.
  std::string Read(const std::string& relative) const;
  bool Exists(const std::string& relative) const;

 private:
  std::filesystem::path path_;
};

// Runs the program with `arguments` in directory `cwd`.
ProgramResult RunTorvane(const std::filesystem::path& cwd,
                         const std::vector<std::string>& arguments);

// Splits CR LF-ended text into lines.
std::vector<std::string> CrLfLines(const std::string& bytes);

}  // namespace torvane_test
