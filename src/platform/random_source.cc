// The calendar clock that seeds a run's random source, and the streams
// derived from a run's seed.
#include "platform/random_source.h"

#include <ctime>

namespace torvane {

std::int64_t ClockSeconds() { return static_cast<std::int64_t>(std::time(nullptr)); }

std::uint32_t StreamSeed(std::uint32_t run_seed, std::uint32_t stream) {
  // One step of SplitMix64 over the pair: neighbouring streams of one seed,
  // and one stream of neighbouring seeds, get unrelated seeds.
  std::uint64_t z = (std::uint64_t{run_seed} << 32 | stream) + 0x9e3779b97f4a7c15;
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
  z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
  return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
}

}  // namespace torvane
