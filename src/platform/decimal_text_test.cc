// The C library's forms of decimal text give what the standard library's
// give, on the values where printf and to_chars take their slow paths.
#include "platform/decimal_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace torvane {
namespace {

TEST(DecimalText, PrintfWritesWhatToCharsWrites) {
  const double values[] = {0.0,
                           -0.0,
                           0.5,
                           2.5,
                           0.0000005,
                           0.0000015,
                           0.0000025,
                           -0.0000005,
                           1.0 / 3,
                           1e13,
                           123456789012345.678,
                           9007199254740993.0,
                           1e22,
                           1e300,
                           std::numeric_limits<double>::max(),
                           std::numeric_limits<double>::denorm_min(),
                           -std::numeric_limits<double>::max(),
                           495.0,
                           62.5,
                           -23.0};
  for (const int decimals : {3, 6}) {
    for (const double value : values) {
      char ours[400], theirs[400];
      char* end = PutDecimalFixedByPrintf(ours, ours + sizeof ours, value, decimals);
      const auto result =
          std::to_chars(theirs, theirs + sizeof theirs, value, std::chars_format::fixed, decimals);
      ASSERT_NE(end, nullptr) << value;
      EXPECT_EQ(std::string(ours, end), std::string(theirs, result.ptr)) << value;
    }
  }
  char tiny[4];
  EXPECT_EQ(PutDecimalFixedByPrintf(tiny, tiny + sizeof tiny, 12.5, 3), nullptr);
}

TEST(DecimalText, StrtodReadsWhatFromCharsReads) {
  const char* texts[] = {"1",     "-2.5",   ".5",  "-.5",  "1.",     "1e3",    "1e",    "1e+",
                         "12x",   "+1",     " 1",  "-",    ".",      "",       "0x10",  "-0x1p3",
                         "1e400", "-1e400", "inf", "-nan", "1e-400", "5e-324", "00012", "1,5"};
  for (const std::string text : texts) {
    double ours = 7, theirs = 7;
    const DecimalRead read = ReadDecimalByStrtod(text.data(), text.data() + text.size(), ours);
    const auto result = std::from_chars(text.data(), text.data() + text.size(), theirs);
    EXPECT_EQ(read.ok, result.ec == std::errc()) << text;
    if (result.ec != std::errc::invalid_argument) {
      EXPECT_EQ(read.end, result.ptr) << text;
    }
    if (read.ok && !std::isnan(theirs)) {
      EXPECT_EQ(ours, theirs) << text;
    }
  }
}

}  // namespace
}  // namespace torvane
