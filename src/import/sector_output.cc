// Writing a sector directory: a new one is built in a temporary directory
// beside its final place (removed if the import is interrupted) and renamed
// into it once its files are on disk; files that replace existing ones are
// written under temporary names first, made durable together and renamed
// over the old files. Paths are put together as std::filesystem does on the
// host, so that messages name them as the user's shell would.
#include "import/sector_output.h"

#include <optional>

#include "platform/utf8_path.h"

namespace torvane {

namespace fs = std::filesystem;

namespace {

// Makes the directory and those above it that are missing.
bool CreateDirectories(ImportFileSystem& disk, const fs::path& directory) {
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
void RemoveTree(ImportFileSystem& disk, const fs::path& path) {
  const std::string text = Utf8FromPath(path);
  if (disk.Remove(text) != RemoveResult::kFailed) return;
  if (const std::optional<std::vector<std::string>> names = disk.ListDirectory(text)) {
    for (const std::string& name : *names) RemoveTree(disk, path / PathFromUtf8(name));
  }
  disk.RemoveEmptyDirectory(text);
}

// The existing file in `directory` that `relative` finds, each part looked
// up as torvane looks it up; empty when there is none.
fs::path ExistingFile(ImportFileSystem& disk, const fs::path& directory, const fs::path& relative) {
  fs::path found = directory;
  for (const fs::path& part : relative) {
    const std::optional<std::string> name = disk.FoundName(Utf8FromPath(found / part));
    if (!name) return {};
    found /= PathFromUtf8(*name);
  }
  return found;
}

// The files at their paths in `directory`.
std::vector<NewFile> FilesIn(const fs::path& directory, const std::vector<LaidOutFile>& files) {
  std::vector<NewFile> placed;
  for (const LaidOutFile& file : files) {
    placed.push_back({Utf8FromPath(directory / PathFromUtf8(file.path)), file.text});
  }
  return placed;
}

std::string WriteNewDirectory(ImportFileSystem& disk, const fs::path& directory,
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
  // Left by an import that a power cut stopped.
  RemoveTree(disk, staging);
  if (!disk.MakeTemporaryDirectory(Utf8FromPath(staging))) {
    return "cannot create " + Utf8FromPath(staging) + ": " + disk.FailureReason();
  }
  std::string failure;
  for (const LaidOutFile& file : files) {
    if (!CreateDirectories(disk, (staging / PathFromUtf8(file.path)).parent_path())) {
      failure = "cannot write " + Utf8FromPath(directory / PathFromUtf8(file.path));
      break;
    }
  }
  if (failure.empty()) {
    const NewFilesWritten written = WriteNewFiles(disk, FilesIn(staging, files), Replacing::kNever);
    if (written.step != NewFilesWritten::Step::kDone) {
      failure =
          "cannot write " + Utf8FromPath(directory / PathFromUtf8(files[written.failed].path));
    }
  }
  if (failure.empty() && !disk.RenameDirectory(Utf8FromPath(staging), Utf8FromPath(directory))) {
    failure = "cannot create " + Utf8FromPath(directory) + ": " + disk.FailureReason();
  }
  if (!failure.empty()) RemoveTree(disk, staging);
  return failure;
}

}  // namespace

std::string WriteSectorDirectory(ImportFileSystem& disk, const fs::path& directory,
                                 const std::vector<LaidOutFile>& files, bool replace) {
  const std::string directory_text = Utf8FromPath(directory);
  if (!disk.DirectoryExists(directory_text)) {
    if (!disk.FileExists(directory_text)) return WriteNewDirectory(disk, directory, files);
    return directory_text + " exists and is not a directory";
  }
  std::vector<NewFile> targets;
  for (const LaidOutFile& file : files) {
    fs::path existing = ExistingFile(disk, directory, PathFromUtf8(file.path));
    if (!existing.empty() && !replace) {
      return directory_text + " already holds " +
             GenericUtf8FromPath(existing.lexically_relative(directory)) +
             " (and perhaps hand edits): nothing written; --force replaces the files";
    }
    const fs::path target = existing.empty() ? directory / PathFromUtf8(file.path) : existing;
    if (!CreateDirectories(disk, target.parent_path())) {
      return "cannot write " + Utf8FromPath(target) + ": nothing replaced";
    }
    targets.push_back({Utf8FromPath(target), file.text});
  }
  // Every new text is on disk under a temporary name before any old file is
  // replaced.
  const NewFilesWritten written = WriteNewFiles(disk, targets, Replacing::kAllowed);
  switch (written.step) {
    case NewFilesWritten::Step::kDone:
      return {};
    case NewFilesWritten::Step::kCreate:
    case NewFilesWritten::Step::kWrite:
      return "cannot write " + targets[written.failed].path + ": nothing replaced";
    case NewFilesWritten::Step::kName:
      break;
  }
  return "cannot replace " + targets[written.failed].path + ": " + disk.FailureReason();
}

}  // namespace torvane
