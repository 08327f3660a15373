// The fixture of the host file system's tests on every host: a scratch
// directory with "Maps/Delta", files put there and read back byte for byte,
// and the path texts that name them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/utf8_path.h"
#include "testing/scratch_dir.h"

namespace torvane_test {

class HostFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(root_ / "Maps" / "Delta"); }

  // `relative` is a UTF-8 text with "/" between its parts.
  std::filesystem::path HostPath(std::string_view relative) const {
    return root_ / torvane::PathFromUtf8(relative);
  }
  void Put(std::string_view relative, const std::string& bytes) const {
    torvane_test::WriteBytes(HostPath(relative), bytes);
  }
  std::string Get(std::string_view relative) const {
    return torvane_test::ReadBytes(HostPath(relative));
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
    const std::string root = torvane::Utf8FromPath(root_);
    return (root_.has_root_name() ? root : "c:" + root) + "\\" + std::string(relative);
  }

  const torvane_test::ScratchDir scratch_;
  const std::filesystem::path root_ = scratch_.path();
  // Seals a new file and commits it on its own.
  torvane::NameResult Commit(torvane::OutputFile& file) {
    if (file.Seal() != torvane::SealResult::kSealed) return torvane::NameResult::kFailed;
    torvane::OutputFile* const sealed[] = {&file};
    return torvane::CommitFiles(host_, sealed).front();
  }
  // Writes a whole file, its bytes unchanged, as the importer and the
  // previewer do.
  torvane::NewFilesWritten WriteWhole(std::string_view path, std::string_view bytes,
                                      torvane::Replacing replacing = torvane::Replacing::kNever) {
    const torvane::NewFile files[] = {{std::string(path), bytes}};
    return torvane::WriteNewFiles(host_, files, replacing);
  }

  std::unique_ptr<torvane::HostFileSystem> host_file_system_ = torvane::MakeHostFileSystem();
  torvane::HostFileSystem& host_ = *host_file_system_;
};

}  // namespace torvane_test
