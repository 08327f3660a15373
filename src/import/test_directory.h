// A temporary directory for the importer's tests, removed when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace torvane_import {

class TestDirectory {
 public:
  TestDirectory() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("torvane-import-test-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~TestDirectory() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  TestDirectory(const TestDirectory&) = delete;
  TestDirectory& operator=(const TestDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string Path(const std::string& relative) const { return (path_ / relative).string(); }

  void Write(const std::string& relative, const std::string& bytes) const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& relative) const {
    std::ifstream in(path_ / relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  bool Exists(const std::string& relative) const {
    return std::filesystem::exists(path_ / relative);
  }

 private:
  std::filesystem::path path_;
};

}  // namespace torvane_import
