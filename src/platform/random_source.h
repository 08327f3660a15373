// The run's pseudo-random sequence and the clock that seeds it. Tests seed
// the sequence themselves; the program seeds it from the clock once per run.
#pragma once

#include <cstdint>
#include <random>

namespace torvane {

// Seconds of the calendar clock.
std::int64_t ClockSeconds();

// A sequence whose values are the same on every host for the same seed.
class RandomSource {
 public:
  explicit RandomSource(std::uint32_t seed) : generator_(seed) {}
  // The next value of the sequence, 0 or above.
  std::uint32_t Next() { return static_cast<std::uint32_t>(generator_()); }

 private:
  std::minstd_rand generator_;
};

}  // namespace torvane
