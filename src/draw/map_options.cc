// The run's MapOptions record.
#include "draw/map_options.h"

namespace torvane {

namespace {
MapOptions options;
}  // namespace

MapOptions& CurrentMapOptions() { return options; }

void ResetMapOptions() { options = MapOptions{}; }

}  // namespace torvane
