// The calendar clock that seeds a run's random source.
#include "platform/random_source.h"

#include <ctime>

namespace torvane {

std::int64_t ClockSeconds() { return static_cast<std::int64_t>(std::time(nullptr)); }

}  // namespace torvane
