// The run's pseudo-random sequence and the clock that seeds it. Tests seed
// the sequence themselves; the program seeds it from the clock once per run.
#pragma once

#include <cstdint>
#include <random>

namespace torvane {

// Seconds of the calendar clock.
std::int64_t ClockSeconds();

// A sequence whose values are the same on every host for the same seed.
// The seed of stream `stream` of a run seeded with `run_seed`: each sector
// draws from a stream of its own, the same whichever thread converts it.
std::uint32_t StreamSeed(std::uint32_t run_seed, std::uint32_t stream);

class RandomSource {
 public:
  explicit RandomSource(std::uint32_t seed) : generator_(seed) {}
  // The next value of the sequence, 0 or above.
  std::uint32_t Next() { return static_cast<std::uint32_t>(generator_()); }

 private:
  std::minstd_rand generator_;
};

}  // namespace torvane
