// Creating, backing up and closing script files.
#include "script/script_file.h"

#include "platform/path_text.h"
#include "script/command_words.h"
#include "script/error_report.h"

namespace torvane {

namespace {

constexpr std::string_view kBackupExtension = "$$$";

// Moves an existing file at `path` to its backup path, in one step that
// replaces the older backup: whatever stops the run, the backup's name holds
// the older backup or the earlier script. False on a backup error; the
// existing file is then untouched. A file that exists but cannot be read is
// backed up all the same: it may be the only copy of a script tuned by
// hand, and creating the new one would destroy it. Another program may have
// changed the directory since the run read it: when the file has gone
// meanwhile, the directory is read again and the backup tried once more.
bool BackUpExistingFile(ScriptFileSystem& file_system, const std::string& path) {
  const WindowsPath parts = SplitWindowsPath(path);
  const std::string backup = JoinWindowsPath(parts.drive, parts.dir, parts.name, kBackupExtension);
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!file_system.FileExists(path)) return true;  // nothing to keep
    switch (file_system.RenameReplacing(path, backup)) {
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

int OpenScript(ScriptFileSystem& file_system, ErrorLog& errors, std::string_view script_path,
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

void CloseScript(ScriptTarget& target, ScriptCommit& commit) {
  if (target.stream != nullptr) {
    if (!target.stream->Write(kScriptLastLine)) ReportWriteError(*target.errorLog, target.path);
    switch (target.stream->Seal()) {
      case SealResult::kSealed:
        commit.sealed_.push_back(std::move(target));
        break;
      case SealResult::kFailed:
        ReportWriteError(*target.errorLog, target.path);
        break;
      case SealResult::kIncomplete:
        break;
    }
  }
  // The emptied target starts afresh, state and all; a script that was not
  // sealed is removed with its stream.
  target = ScriptTarget{};
}

void CloseScript(ScriptTarget& target) {
  ScriptCommit commit;
  CloseScript(target, commit);
  commit.Commit();
}

void ScriptCommit::Commit() {
  if (sealed_.empty()) return;
  // A sector's scripts share one file system.
  sealed_.front().fileSystem->MakeDurable(Files());
  TakeNames();
}

std::vector<OutputFile*> ScriptCommit::Files() const {
  std::vector<OutputFile*> files;
  for (const ScriptTarget& script : sealed_) files.push_back(script.stream.get());
  return files;
}

void ScriptCommit::TakeNames() {
  for (ScriptTarget& script : sealed_) {
    ErrorLog& errors = *script.errorLog;
    NameResult named = script.stream->TakeName();
    // Another program made a file of the script's name while it was
    // written: that file is kept as the backup, as one found when the
    // script was opened would have been.
    if (named == NameResult::kNameTaken) {
      if (!BackUpExistingFile(*script.fileSystem, script.path)) {
        ReportWriteError(errors, script.path, "Error backing up file <%s>!\n");
      } else if (script.stream->TakeName() == NameResult::kNameTaken) {
        ReportWriteError(errors, script.path, "Error creating file <%s>!\n");
      }
    } else if (named == NameResult::kFailed) {
      ReportWriteError(errors, script.path);
    }
  }
  sealed_.clear();
}

}  // namespace torvane
