// C-style integer scanning of map text.
#include "draw/formatted_input.h"

#include <cstdint>
#include <limits>

namespace torvane {

namespace {

// White space as C's formatted input skips it.
bool IsInputSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int DigitValue(char c, int base) {
  int value = base;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

}  // namespace

std::optional<int> ScanInteger(std::string_view text, size_t& pos, int width, int base) {
  // A NUL is neither white space, sign nor digit: the scan stops there by
  // itself, so nothing after it is read.
  while (pos < text.size() && IsInputSpace(text[pos])) ++pos;
  const size_t limit = width > 0 ? pos + static_cast<size_t>(width) : text.size();
  const size_t end = limit < text.size() ? limit : text.size();
  bool negative = false;
  if (pos < end && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  // One past the largest int: the magnitude of the smallest.
  constexpr std::int64_t kCap = std::int64_t{std::numeric_limits<int>::max()} + 1;
  std::int64_t magnitude = 0;
  bool any_digit = false;
  for (; pos < end; ++pos) {
    const int digit = DigitValue(text[pos], base);
    if (digit < 0) break;
    magnitude = magnitude * base + digit;
    if (magnitude > kCap) magnitude = kCap;
    any_digit = true;
  }
  if (!any_digit) return std::nullopt;
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return static_cast<int>(value);
}

}  // namespace torvane
