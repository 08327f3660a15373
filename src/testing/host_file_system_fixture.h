// The fixture of the host file system's tests on every host: a fresh
// directory with "Maps/Delta" below the system's temporary directory, files
// put there and read back byte for byte, and the path texts that name them.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/utf8_path.h"

namespace torvane {

class HostFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() / ("torvane-host-" + std::to_string(getpid()));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "Maps" / "Delta");
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

  // `relative` is a UTF-8 text with "/" between its parts.
  std::filesystem::path HostPath(std::string_view relative) const {
    return root_ / PathFromUtf8(relative);
  }
  void Put(std::string_view relative, const std::string& bytes) const {
    std::ofstream(HostPath(relative), std::ios::binary) << bytes;
  }
  std::string Get(std::string_view relative) const {
    std::ifstream in(HostPath(relative), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  // Every name below the root, as UTF-8 texts with "/" between their parts.
  std::set<std::string> Listing() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root_)) {
      const std::u8string name = entry.path().lexically_relative(root_).generic_u8string();
      names.emplace(name.begin(), name.end());
    }
    return names;
  }
  // The path text of a file below the test's root, the Windows way: on
  // Windows the root has its own drive, elsewhere the drive is one the host
  // drops.
  std::string Text(std::string_view relative) const {
    const std::string root = Utf8FromPath(root_);
    return (root_.has_root_name() ? root : "c:" + root) + "\\" + std::string(relative);
  }

  std::filesystem::path root_;
  std::unique_ptr<FileSystem> host_file_system_ = MakeHostFileSystem();
  FileSystem& host_ = *host_file_system_;
};

}  // namespace torvane
