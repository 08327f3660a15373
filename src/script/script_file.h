// Script files: creating one in the output directory with a backup of an
// earlier file of the same name, its first line "ECOFF" and last line "ECON".
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "script/error_report.h"
#include "script/script_state.h"

namespace torvane {

// An open script: the path it was created at (used in every message about
// it) and its stream. Empty until OpenScript succeeds.
struct ScriptTarget {
  std::string path;
  std::unique_ptr<OutputFile> stream;
  FileSystem* fileSystem = nullptr;  // where the script was created
  ErrorLog* errorLog = nullptr;      // where its write errors are reported
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
int OpenScript(FileSystem& file_system, ErrorLog& errors, std::string_view script_path,
               std::string_view output_dir, ScriptTarget& target);

// Writes "ECON", closes the stream, gives the script its name, releases the
// writer and empties the target. A failed last line or close is reported as
// a write error. A script that could not be written whole never takes its
// name: left in place, the next run would push the earlier script out of
// its backup to keep it.
void CloseScript(ScriptTarget& target);

// The path a script is created at: `script_path` itself, or its file name
// and extension inside `output_dir`.
std::string FinalScriptPath(std::string_view script_path, std::string_view output_dir);

}  // namespace torvane
