// The run context: what one run of the converter reads and changes from one
// sector to the next, handed to every operation that needs a part of it.
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
