// Writing a sector directory: a new one is built beside its final place and
// renamed into it; files that replace existing ones are each written to a
// temporary name first and renamed over the old file. Paths are put
// together as std::filesystem does on the host, so that messages name them
// as the user's shell would.
#include "import/sector_output.h"

#include <optional>

#include "platform/utf8_path.h"

namespace torvane {

namespace fs = std::filesystem;

namespace {

bool WriteFile(FileSystem& disk, const fs::path& path, const std::string& text) {
  return disk.WriteWholeFile(Utf8FromPath(path), text) == WriteResult::kWritten;
}

// Makes the directory and those above it that are missing.
bool CreateDirectories(FileSystem& disk, const fs::path& directory) {
  fs::path made;
  for (const fs::path& part : directory) {
    made /= part;
    const std::string text = Utf8FromPath(made);
    if (!disk.DirectoryExists(text) && !disk.MakeDirectory(text)) return false;
  }
  return true;
}

// Removes a file, or a directory with everything in it. A link is removed,
// never followed.
void RemoveTree(FileSystem& disk, const fs::path& path) {
  const std::string text = Utf8FromPath(path);
  if (disk.Remove(text) != RemoveResult::kFailed) return;
  if (const std::optional<std::vector<std::string>> names = disk.ListDirectory(text)) {
    for (const std::string& name : *names) RemoveTree(disk, path / PathFromUtf8(name));
  }
  disk.RemoveEmptyDirectory(text);
}

// The existing file in `directory` that `relative` finds, each part looked
// up as torvane looks it up; empty when there is none.
fs::path ExistingFile(FileSystem& disk, const fs::path& directory, const fs::path& relative) {
  fs::path found = directory;
  for (const fs::path& part : relative) {
    const std::optional<std::string> name = disk.FoundName(Utf8FromPath(found / part));
    if (!name) return {};
    found /= PathFromUtf8(*name);
  }
  return found;
}

std::string WriteNewDirectory(FileSystem& disk, const fs::path& directory,
                              const std::vector<LaidOutFile>& files) {
  const fs::path parent = directory.has_parent_path() ? directory.parent_path() : fs::path(".");
  if (!CreateDirectories(disk, parent)) {
    return "cannot create " + Utf8FromPath(parent) + ": " + disk.FailureReason();
  }
  // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) when a literal
  // is prepended to a temporary string.
  std::string staging_name = ".";
  staging_name += Utf8FromPath(directory.filename());
  staging_name += ".torvane-import";
  const fs::path staging = parent / staging_name;
  RemoveTree(disk, staging);
  std::string failure;
  for (const LaidOutFile& file : files) {
    const fs::path path = staging / PathFromUtf8(file.path);
    if (!CreateDirectories(disk, path.parent_path()) || !WriteFile(disk, path, file.text)) {
      failure = "cannot write " + Utf8FromPath(directory / PathFromUtf8(file.path));
      break;
    }
  }
  if (failure.empty() && !disk.RenameDirectory(Utf8FromPath(staging), Utf8FromPath(directory))) {
    failure = "cannot create " + Utf8FromPath(directory) + ": " + disk.FailureReason();
  }
  if (!failure.empty()) RemoveTree(disk, staging);
  return failure;
}

}  // namespace

std::string WriteSectorDirectory(FileSystem& disk, const fs::path& directory,
                                 const std::vector<LaidOutFile>& files, bool replace) {
  const std::string directory_text = Utf8FromPath(directory);
  if (!disk.DirectoryExists(directory_text)) {
    if (!disk.FileExists(directory_text)) return WriteNewDirectory(disk, directory, files);
    return directory_text + " exists and is not a directory";
  }
  std::vector<fs::path> targets;
  for (const LaidOutFile& file : files) {
    fs::path existing = ExistingFile(disk, directory, PathFromUtf8(file.path));
    if (!existing.empty() && !replace) {
      return directory_text + " already holds " +
             GenericUtf8FromPath(existing.lexically_relative(directory)) +
             " (and perhaps hand edits): nothing written; --force replaces the files";
    }
    targets.push_back(existing.empty() ? directory / PathFromUtf8(file.path) : existing);
  }
  // Every new text is on disk under a temporary name before any old file is replaced.
  for (size_t i = 0; i < files.size(); ++i) {
    fs::path temporary = targets[i];
    temporary += ".new";
    if (!CreateDirectories(disk, targets[i].parent_path()) ||
        !WriteFile(disk, temporary, files[i].text)) {
      for (size_t j = 0; j <= i; ++j) {
        fs::path written = targets[j];
        written += ".new";
        disk.Remove(Utf8FromPath(written));
      }
      return "cannot write " + Utf8FromPath(temporary) + ": nothing replaced";
    }
  }
  for (size_t i = 0; i < files.size(); ++i) {
    fs::path temporary = targets[i];
    temporary += ".new";
    if (!disk.Rename(Utf8FromPath(temporary), Utf8FromPath(targets[i]))) {
      return "cannot replace " + Utf8FromPath(targets[i]) + ": " + disk.FailureReason();
    }
  }
  return {};
}

}  // namespace torvane
