// Integer scanning as C's formatted input does it, with overflow held.
#include "draw/formatted_input.h"

#include <gtest/gtest.h>

#include <climits>

namespace torvane {
namespace {

TEST(FormattedInput, ReadsLikeScanf) {
  struct Case {
    std::string_view text;
    int width, base;
    std::optional<int> value;
    size_t end;  // where scanning stopped
  };
  const Case cases[] = {
      {"0304", 2, 10, 3, 2},
      {"  \n 7x", 2, 10, 7, 5},       // white space runs over line ends
      {"-12", 2, 10, -1, 2},          // the sign counts towards the width
      {"+", 2, 10, std::nullopt, 1},  // a sign without a digit fails
      {"x1", 2, 10, std::nullopt, 0},
      {" A9", 1, 16, 10, 2},
      {"f", 1, 16, 15, 1},
      {"g", 1, 16, std::nullopt, 0},
      {"9999999999 1", 0, 10, INT_MAX, 10},
      {"-9999999999", 0, 10, INT_MIN, 11},
      {"4294967297", 0, 10, INT_MAX, 10},
      {std::string_view(" \0 5", 4), 0, 10, std::nullopt, 1},  // a NUL ends the text
      {"", 2, 10, std::nullopt, 0},
  };
  for (const Case& c : cases) {
    size_t pos = 0;
    EXPECT_EQ(ScanInteger(c.text, pos, c.width, c.base), c.value) << c.text;
    EXPECT_EQ(pos, c.end) << c.text;
  }
}

}  // namespace
}  // namespace torvane
