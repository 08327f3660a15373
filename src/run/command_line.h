// The run driver: reads the command line from left to right, setting the map
// options, converts the sectors it names and works out the exit status.
#pragma once

#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "run/sector_jobs.h"
#include "script/error_report.h"

namespace torvane {

// Writes one piece of standard output.
using OutputSink = std::function<void(std::string_view)>;

// One whole run over `arguments` (without the program's own name), its
// messages reported to `errors`, a new log for each run. Every file, message
// and the status are what converting the sectors one by one in the
// command line's order gives. Returns the exit status: 0, or the negative of
// the error count (capped at kErrorStatusLimit, 255 on POSIX hosts).
int RunTorvane(std::span<const std::string> arguments, ScriptFileSystem& file_system,
               ErrorLog& errors, const OutputSink& print, const RunSetup& setup = {});

// The same shaped as the other programs' runs (RunImport, RunPreview):
// the files, the arguments, then standard output and standard error.
int RunTorvane(ScriptFileSystem& disk, const std::vector<std::string>& arguments, std::ostream& out,
               std::ostream& err, const RunSetup& setup);

}  // namespace torvane
