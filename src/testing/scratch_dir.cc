// Scratch directories and whole-file access for tests.
#include "testing/scratch_dir.h"

#include <fstream>
#include <random>
#include <sstream>

namespace torvane_test {

ScratchDir::ScratchDir() {
  // Test programs run side by side: a name another one has taken is not
  // created again, and the next is tried.
  std::random_device seed;
  do {
    path_ = std::filesystem::temp_directory_path() /
            ("torvane-test-" + std::to_string(seed()) + "-" + std::to_string(seed()));
  } while (!std::filesystem::create_directory(path_));
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDir::Path(const std::string& relative) const {
  return (path_ / relative).string();
}

void ScratchDir::Write(const std::string& relative, const std::string& bytes) const {
  WriteBytes(path_ / relative, bytes);
}

std::string ScratchDir::Read(const std::string& relative) const {
  return ReadBytes(path_ / relative);
}

bool ScratchDir::Exists(const std::string& relative) const {
  return std::filesystem::exists(path_ / relative);
}

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

}  // namespace torvane_test
