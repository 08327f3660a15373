// Script files: creating one in the output directory with a backup of an
// earlier file of the same name, its first line "ECOFF" and last line "ECON".
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "script/error_report.h"
#include "script/script_state.h"

namespace torvane {

// An open script: the path it was created at (used in every message about
// it) and its stream. Empty until OpenScript succeeds.
struct ScriptTarget {
  std::string path;
  std::unique_ptr<OutputFile> stream;
  ScriptFileSystem* fileSystem = nullptr;  // where the script was created
  ErrorLog* errorLog = nullptr;            // where its write errors are reported
  // What the writer last wrote to the stream. The writer changes it through
  // a const target, as it writes to the stream through one.
  mutable ScriptState state;
};

// Creates the script for `script_path`, moved into `output_dir` when that
// is not empty. An existing file becomes the backup with the
// extension "$$$". The script is written under a temporary name until it is
// closed. Failures are reported to `errors`, as are later write errors of
// the script. 1 when the file is created and "ECOFF" written; 0 with
// `target` left empty otherwise.
int OpenScript(ScriptFileSystem& file_system, ErrorLog& errors, std::string_view script_path,
               std::string_view output_dir, ScriptTarget& target);

// Scripts sealed and waiting to take their names together: a sector's
// scripts are made durable with one flush at the end of the sector, then
// named in the order they were opened. Those never committed are removed.
class ScriptCommit {
 public:
  ScriptCommit() = default;
  ScriptCommit(ScriptCommit&&) = default;
  ScriptCommit& operator=(ScriptCommit&&) = default;

  // Makes every script durable, then gives each its name. A script that
  // could not be made durable, or named, is reported as a write error; one
  // whose name another program took meanwhile is named after that file is
  // backed up, or reported as not created.
  void Commit();
  // The two steps of Commit, for commits that share one flush: the sealed
  // files to make durable, and then their naming.
  std::vector<OutputFile*> Files() const;
  void TakeNames();

 private:
  friend void CloseScript(ScriptTarget& target, ScriptCommit& commit);
  std::vector<ScriptTarget> sealed_;
};

// Writes "ECON", seals the stream and hands the script to `commit`, which
// gives it its name; releases the writer and empties the target. A failed
// last line or seal is reported as a write error. A script that could not
// be written whole never takes its name: left in place, the next run would
// push the earlier script out of its backup to keep it.
void CloseScript(ScriptTarget& target, ScriptCommit& commit);
// The same, committing the script at once, on its own.
void CloseScript(ScriptTarget& target);

// The path a script is created at: `script_path` itself, or its file name
// and extension inside `output_dir`.
std::string FinalScriptPath(std::string_view script_path, std::string_view output_dir);

}  // namespace torvane
