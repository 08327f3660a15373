// A fresh directory for one test under the system's temporary directory,
// removed with everything in it when the test is done; and whole-file reads
// and writes for the files tests make and check.
#pragma once

#include <filesystem>
#include <string>

namespace torvane_test {

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The host path of a file in the directory, as a program is given it.
  std::string Path(const std::string& relative) const;

  // Writes a file (creating its directories) with exactly these bytes.
  void Write(const std::string& relative, const std::string& bytes) const;
  // The bytes of a file; empty when it cannot be read.
  std::string Read(const std::string& relative) const;
  bool Exists(const std::string& relative) const;

 private:
  std::filesystem::path path_;
};

// The whole file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::filesystem::path& file);
// Writes the file with exactly these bytes, creating its directories.
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);

}  // namespace torvane_test
