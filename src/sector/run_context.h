// The run context: what converting one sector takes from the run (the options
// set to the sector's left, the file system) and keeps for it alone (its
// error log, its own random sequence), so that sectors converted side by side
// share nothing; handed to every operation that needs a part of it.
#pragma once

#include "draw/map_options.h"
#include "platform/file_system.h"
#include "platform/random_source.h"
#include "script/error_report.h"

namespace torvane {

struct RunContext {
  MapOptions options;
  ErrorLog& errors;
  ScriptFileSystem& fileSystem;
  RandomSource random;
};

}  // namespace torvane
