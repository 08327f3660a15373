// A pseudo-random sequence whose values are the same on every host for the
// same seed, and the calendar clock.
#include "platform/random_source.h"

#include <ctime>
#include <random>

namespace torvane {

namespace {

std::minstd_rand& Generator() {
  static std::minstd_rand generator;
  return generator;
}

}  // namespace

std::int64_t ClockSeconds() { return static_cast<std::int64_t>(std::time(nullptr)); }

void SeedRandom(std::uint32_t seed) { Generator().seed(seed); }

std::uint32_t NextRandom() { return static_cast<std::uint32_t>(Generator()()); }

}  // namespace torvane
