// Reading numbers from map text exactly as C's formatted input ("%2d",
// "%1x", "%d") reads them, without its undefined behaviour on overflow.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace torvane {

// White space as C's formatted input skips it: ' ' and the run '\t', '\n',
// '\v', '\f', '\r' of the character set.
inline bool IsInputSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The value of `c` as a digit of `base` (10 or 16), or -1.
inline int DigitValue(char c, int base) {
  int value = base;
  if (c >= '0' && c <= '9') {
    value = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    value = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    value = c - 'A' + 10;
  }
  return value < base ? value : -1;
}

// One integer conversion on `text` from `pos`: white space is skipped
// without limit (into the following lines too, as the map text is one
// string), then an optional sign and digits of `base` (10 or 16), at most
// `width` characters of both together (0: no limit). A number too large for
// an int is held at the int range. Nothing when no digit was read. `pos`
// moves past what was consumed; text after a NUL is never read. Defined
// here, as it runs several times for every world and route line: inlined
// with the caller's width and base, it costs little more than the
// characters it reads.
inline std::optional<int> ScanInteger(std::string_view text, size_t& pos, int width, int base) {
  // Scanning a copy of `pos` lets it stay in a register: the reads of the
  // text could otherwise be reads of `pos` itself.
  size_t at = pos;
  // A NUL is neither white space, sign nor digit: the scan stops there by
  // itself, so nothing after it is read.
  while (at < text.size() && IsInputSpace(text[at])) ++at;
  const size_t end =
      width > 0 ? std::min(at + static_cast<size_t>(width), text.size()) : text.size();
  bool negative = false;
  if (at < end && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  // One past the largest int: the magnitude of the smallest.
  constexpr std::int64_t kCap = std::int64_t{std::numeric_limits<int>::max()} + 1;
  std::int64_t magnitude = 0;
  const size_t first_digit = at;
  for (; at < end; ++at) {
    const int digit = DigitValue(text[at], base);
    if (digit < 0) break;
    magnitude = std::min(magnitude * base + digit, kCap);
  }
  pos = at;
  if (at == first_digit) return std::nullopt;
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return static_cast<int>(value);
}

}  // namespace torvane
