// The torvane-import program: reads a published sector file and its metadata
// and writes a sector directory that torvane converts.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace torvane {

// Exit status: 0 written, 1 nothing written (unreadable input, --strict with
// unreadable lines, a directory that would be overwritten), 2 bad command line.
constexpr int kImportWritten = 0;
constexpr int kImportFailed = 1;
constexpr int kImportUsage = 2;

// Runs the program on its arguments (without the program name), reading
// and writing files on `disk`.
int RunImport(ImportFileSystem& disk, const std::vector<std::string>& arguments, std::ostream& out,
              std::ostream& err);

}  // namespace torvane
