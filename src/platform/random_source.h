// The run's pseudo-random sequence and the clock that seeds it. Tests seed
// the sequence themselves; the program seeds it from the clock once per run.
#pragma once

#include <cstdint>

namespace torvane {

// Seconds of the calendar clock.
std::int64_t ClockSeconds();

void SeedRandom(std::uint32_t seed);
// The next value of the sequence, 0 or above.
std::uint32_t NextRandom();

}  // namespace torvane
