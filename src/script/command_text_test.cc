// Number texts: "%f" formatting exactly as printf writes it, through the
// formatter and through the cache of texts.
#include "script/command_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace torvane {
namespace {

TEST(CommandText, FixedFormattingMatchesPrintf) {
  std::vector<double> values = {0.0,       -0.0,      62.5,     -23,      1e-7,     -1e-7,
                                0.0000005, -0.0000005, 0.0000015, 2.5e-6,  1e15,     1e300,
                                -1.7976931348623157e308, 640.8587989999999, 130.3301270000001};
  std::mt19937_64 generator(42);
  std::uniform_real_distribution<double> spread(-1e6, 1e6);
  for (int i = 0; i < 20000; ++i) values.push_back(spread(generator));
  // Exact halves of a millionth round to even; values on either side of them.
  for (int k = -300; k <= 300; ++k) {
    const double tie = std::ldexp(k, -7);  // k/128: seven decimals, the last a 5
    values.insert(values.end(), {tie, std::nextafter(tie, 1e9), std::nextafter(tie, -1e9),
                                 std::ldexp(k, -20), 640.0 + std::ldexp(k, -12)});
  }
  // Around the limits of integer arithmetic and of the smallest values.
  for (double edge : {1e13, 9.999999999999e12, 4294967296.0, 4.9e-324, 2.2250738585072014e-308,
                      4.9999999999999996e-7, 5.0000000000000004e-7, 9.9999999999999995e-7,
                      0.9999995, 999999.9999995, 1.5e-6, 2.5e-6}) {
    values.insert(values.end(),
                  {edge, -edge, std::nextafter(edge, 0.0), std::nextafter(edge, 1e300)});
  }
  std::uniform_int_distribution<std::uint64_t> any_bits;
  for (int i = 0; i < 20000; ++i) {
    const double value = std::bit_cast<double>(any_bits(generator));
    if (std::isfinite(value)) values.push_back(value);
    // A full mantissa at every scale from 2^-80 up to 2^42.
    const auto mantissa = static_cast<double>(any_bits(generator) >> 11);
    values.push_back(std::ldexp(mantissa, static_cast<int>(i % 123) - 133));
  }
  // Each value is put twice: formatted, then from the cache of texts.
  for (double value : values) {
    std::string mine;
    AppendFixed(mine, value);
    std::vector<char> theirs(kFixedTextRoom);
    std::snprintf(theirs.data(), theirs.size(), "%f", value);
    ASSERT_EQ(mine, theirs.data()) << value;
    for (int pass = 0; pass < 2; ++pass) {
      std::vector<char> put(kFixedTextRoom);
      const char* end = PutFixed(put.data(), value);
      ASSERT_EQ(std::string_view(put.data(), static_cast<size_t>(end - put.data())), mine);
    }
  }
}

}  // namespace
}  // namespace torvane
