// The torvane-preview program: its command line, reading the script and
// writing the picture.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace torvane {

// Exit statuses.
inline constexpr int kPreviewDone = 0;        // picture written (warnings or not)
inline constexpr int kPreviewFileError = 1;   // script unreadable or picture unwritable
inline constexpr int kPreviewUsageError = 2;  // bad command line

// The picture's default name: the script's with the extension .svg
// ("maps/lyra.scr" gives "maps/lyra.svg"); a script already named .svg
// gets ".svg" appended, so that the script is never overwritten.
std::string DefaultOutputPath(const std::string& script);

// Runs the program with the arguments after the program name, reading and
// writing files on `disk`. The usage text goes to `out`; messages and
// warnings to `err`.
int RunPreview(DirectoryFileSystem& disk, const std::vector<std::string>& arguments,
               std::ostream& out, std::ostream& err);

}  // namespace torvane
