// For the preview's end-to-end tests: a temporary directory and running a
// program in it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace torvane::preview {

struct ProgramRun {
  std::string out;
  std::string err;
  int status = -1;  // exit status 0 to 255; 1000 + signal when killed
};

// A fresh directory under the system's temporary directory, removed with it.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Runs `program` (a path, or a name looked up in PATH) in `cwd`.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::filesystem::path& cwd);

// The whole file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);

// The program's full path when it is on PATH (or is a path that exists);
// empty otherwise.
std::string FindProgram(const std::string& name);

}  // namespace torvane::preview
