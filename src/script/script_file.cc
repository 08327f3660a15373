// Creating, backing up and closing script files.
#include "script/script_file.h"

#include "platform/path_text.h"
#include "script/command_words.h"
#include "script/error_report.h"

namespace torvane {

namespace {

constexpr std::string_view kBackupExtension = "$$$";

// Moves an existing file at `path` to its backup path. False on a backup
// error; the existing file is then untouched. A file that exists but cannot
// be read is backed up all the same: it may be the only copy of a script
// tuned by hand, and creating the new one would destroy it. Another program
// may have changed the directory since the run read it: when the file has
// gone or the backup's name was taken meanwhile, the directory is read
// again and the backup tried once more.
bool BackUpExistingFile(FileSystem& file_system, const std::string& path) {
  const WindowsPath parts = SplitWindowsPath(path);
  const std::string backup = JoinWindowsPath(parts.drive, parts.dir, parts.name, kBackupExtension);
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!file_system.FileExists(path)) return true;  // nothing to keep
    if (file_system.Remove(backup) == RemoveResult::kFailed) return false;
    switch (file_system.RenameNoReplace(path, backup)) {
      case RenameResult::kRenamed:
        return true;
      case RenameResult::kFailed:
        return false;
      case RenameResult::kNotFound:
      case RenameResult::kNameTaken:
        break;
    }
  }
  return false;
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
  if (!stream->Write(kScriptFirstLine)) {
    // The file is removed unnamed: the backup stays the latest whole script.
    ReportWriteError(errors, path);
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
    ErrorLog& errors = *target.errorLog;
    if (!target.stream->Write(kScriptLastLine)) ReportWriteError(errors, target.path);
    CloseResult closed = target.stream->Close();
    // Another program made a file of the script's name while it was
    // written: that file is kept as the backup, as one found when the
    // script was opened would have been.
    if (closed == CloseResult::kNameTaken) {
      if (!BackUpExistingFile(*target.fileSystem, target.path)) {
        ReportWriteError(errors, target.path, "Error backing up file <%s>!\n");
      } else if (target.stream->Close() == CloseResult::kNameTaken) {
        ReportWriteError(errors, target.path, "Error creating file <%s>!\n");
      }
    } else if (closed == CloseResult::kFailed) {
      ReportWriteError(errors, target.path);
    }
  }
  // The emptied target starts afresh, state and all; a script that did not
  // take its name is removed with its stream.
  target = ScriptTarget{};
}

}  // namespace torvane
