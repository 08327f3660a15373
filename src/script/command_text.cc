// Number texts of script commands: exact "%f" formatting, and a cache of the
// texts of the few thousand numbers a run writes over and over.
#include "script/command_text.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "platform/decimal_text.h"

namespace torvane {

namespace {

// The bits of a double (std::bit_cast, which not every library has yet).
std::uint64_t BitsOf(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// "00" to "99": the six decimals are written two at a time, so that the
// three divisions do not wait on each other.
constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

void PutDigitPair(char* at, std::uint64_t pair) { std::memcpy(at, &kDigitPairs[2 * pair], 2); }

#ifdef __SIZEOF_INT128__
__extension__ typedef unsigned __int128 Uint128;

// Map coordinates and angles are written by the million, and the general
// conversion is the slowest part of a run. Below this magnitude a value times
// 10^6 fits in 64 bits once rounded, so it is formatted by integer arithmetic
// on its exact binary value, rounded half to even as "%f" rounds.
constexpr double kFastFixedLimit = 1e13;

// Writes `value` at `out`; returns the end, or null when the value is not
// below the limit.
char* FormatFixedExactly(char* out, double value) {
  if (!(value > -kFastFixedLimit && value < kFastFixedLimit)) return nullptr;  // also NaN
  const std::uint64_t bits = BitsOf(value);
  const bool negative = (bits >> 63) != 0;
  const int biased_exponent = static_cast<int>((bits >> 52) & 0x7ff);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased_exponent != 0) mantissa |= std::uint64_t{1} << 52;
  // |value| = mantissa * 2^exponent
  const int exponent = (biased_exponent == 0 ? 1 : biased_exponent) - 1075;
  // Below the limit (under 2^52) the exponent is negative: shift right.
  const int shift = -exponent;
  const Uint128 scaled = Uint128{mantissa} * 1000000;  // below 2^73
  std::uint64_t millionths = 0;  // a shift of 75 or more leaves less than half
  if (shift < 75) {
    const Uint128 quotient = scaled >> shift;
    const Uint128 remainder = scaled - (quotient << shift);
    const Uint128 half = Uint128{1} << (shift - 1);
    millionths = static_cast<std::uint64_t>(quotient);  // at most 10^19
    if (remainder > half || (remainder == half && (millionths & 1) != 0)) ++millionths;
  }
  char* end = out;
  if (negative) *end++ = '-';
  end = std::to_chars(end, out + kFixedTextRoom, millionths / 1000000).ptr;
  *end++ = '.';
  const std::uint64_t fraction = millionths % 1000000;
  PutDigitPair(end, fraction / 10000);
  PutDigitPair(end + 2, fraction / 100 % 100);
  PutDigitPair(end + 4, fraction % 100);
  return end + 6;
}
#else
char* FormatFixedExactly(char*, double) { return nullptr; }
#endif

// Writes `value` as "%f" does at `out` (kFixedTextRoom bytes); returns the
// end.
char* FormatFixed(char* out, double value) {
  if (char* end = FormatFixedExactly(out, value)) return end;
  return PutDecimalFixed(out, out + kFixedTextRoom, value, 6);
}

// A value's text as FormatFixed writes it.
struct FixedText {
  std::uint64_t bits = 0;
  char text[23];
  std::uint8_t size = 0;  // 0: empty
};

constexpr int kFixedTextCacheBits = 12;
constexpr size_t kFixedTextCacheSize = size_t{1} << kFixedTextCacheBits;

// Nearly every number of a run is one of a few thousand (the hex grid's
// positions, the sizes and angles of the symbols), so each text is kept once
// formatted, in a table indexed by the top bits of the value's bits times a
// large odd constant (which spreads neighbouring values over the table).
// It is a pure memo, whose entries only ever hold the text that formatting
// the value gives, so no result depends on what it holds; each thread keeps
// its own, so that threads converting sectors side by side never share one.
thread_local std::array<FixedText, kFixedTextCacheSize> fixed_text_cache;

// A value missing from the cache: formats it, and keeps its text when it
// fits an entry.
[[gnu::noinline]] char* PutUncachedFixed(char* at, double value, FixedText& entry) {
  char* end = FormatFixed(at, value);
  const size_t size = static_cast<size_t>(end - at);
  if (size <= sizeof entry.text) {
    entry.bits = BitsOf(value);
    entry.size = static_cast<std::uint8_t>(size);
    std::memcpy(entry.text, at, size);
  }
  return end;
}

}  // namespace

char* PutFixed(char* at, double value) {
  const std::uint64_t bits = BitsOf(value);
  FixedText& entry = fixed_text_cache[(bits * 0x9e3779b97f4a7c15) >> (64 - kFixedTextCacheBits)];
  if (entry.size == 0 || entry.bits != bits) return PutUncachedFixed(at, value, entry);
  // The whole text field is copied, a fixed size the compiler copies in a
  // few moves; only its first `size` bytes count.
  std::memcpy(at, entry.text, sizeof entry.text);
  return at + entry.size;
}

// Settings are small numbers (colours, justifications, styles): one or two
// digits are put directly.
char* PutInt(char* at, int value) {
  if (value >= 0 && value < 10) {
    *at = static_cast<char>('0' + value);
    return at + 1;
  }
  if (value >= 10 && value < 100) {
    PutDigitPair(at, static_cast<std::uint64_t>(value));
    return at + 2;
  }
  return std::to_chars(at, at + kIntTextRoom, value).ptr;
}

void AppendFixed(std::string& out, double value) {
  char digits[kFixedTextRoom];
  out.append(digits, FormatFixed(digits, value));
}

}  // namespace torvane
