// Creating, backing up and closing script files.
#include "script/script_file.h"

#include "platform/path_text.h"
#include "script/error_report.h"

namespace torvane {

namespace {

constexpr std::string_view kBackupExtension = "$$$";

// Moves an existing file at `path` to its backup path. False on a backup
// error; the existing file is then untouched. A file that exists but cannot
// be read is backed up all the same: it may be the only copy of a script
// tuned by hand, and creating the new one would destroy it.
bool BackUpExistingFile(FileSystem& file_system, const std::string& path) {
  if (!file_system.FileExists(path)) return true;  // nothing to keep
  const WindowsPath parts = SplitWindowsPath(path);
  const std::string backup = JoinWindowsPath(parts.drive, parts.dir, parts.name, kBackupExtension);
  if (file_system.Remove(backup) == RemoveResult::kFailed) return false;
  return file_system.Rename(path, backup);
}

}  // namespace

std::string FinalScriptPath(std::string_view script_path, std::string_view output_dir) {
  const WindowsPath script = SplitWindowsPath(script_path);
  if (output_dir.empty()) return JoinWindowsPath(script.drive, script.dir, script.name, script.ext);
  std::string dir_text(output_dir);
  if (dir_text.back() != '\\') dir_text += '\\';
  const WindowsPath dir = SplitWindowsPath(dir_text);
  return JoinWindowsPath(dir.drive, dir.dir, script.name, script.ext);
}

int OpenScript(FileSystem& file_system, ErrorLog& errors, std::string_view script_path,
               std::string_view output_dir, ScriptTarget& target) {
  target = ScriptTarget{};
  std::string path = FinalScriptPath(script_path, output_dir);

  if (!BackUpExistingFile(file_system, path)) {
    ReportWriteError(errors, path, "Error backing up file <%s>!\n");
    return 0;
  }
  std::unique_ptr<OutputFile> stream = file_system.CreateForWriting(path);
  if (stream == nullptr) {
    ReportWriteError(errors, path, "Error creating file <%s>!\n");
    return 0;
  }
  if (!stream->Write("ECOFF\n")) {
    ReportWriteError(errors, path);
    stream->Close();
    file_system.Remove(path);  // the backup stays the latest complete script
    return 0;
  }
  target.path = std::move(path);
  target.stream = std::move(stream);
  target.fileSystem = &file_system;
  target.errorLog = &errors;
  return 1;
}

void CloseScript(ScriptTarget& target) {
  if (target.stream != nullptr) {
    // Either failure means the file on disk is not what was written.
    if (!target.stream->Write("ECON\n")) ReportWriteError(*target.errorLog, target.path);
    const bool closed = target.stream->Close();
    if (!closed) ReportWriteError(*target.errorLog, target.path);
    if ((!closed || target.stream->HasFailed()) && target.fileSystem != nullptr) {
      target.fileSystem->Remove(target.path);
    }
  }
  // The emptied target starts afresh, state and all.
  target = ScriptTarget{};
}

}  // namespace torvane
