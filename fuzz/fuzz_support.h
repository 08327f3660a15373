// What every fuzz target shares: an exact-size copy of the input (so that
// AddressSanitizer sees any read past its end), the split of one input into
// several files or arguments, and the checks that stop the run loudly.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "draw/map_options.h"

namespace torvane_fuzz {

// Aborts, so that libFuzzer keeps the input, when a property the design
// promises does not hold.
#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

// A heap copy of exactly `size` bytes, without a terminating NUL.
class ExactBuffer {
 public:
  explicit ExactBuffer(std::string_view bytes)
      : data_(new char[bytes.size() + (bytes.empty() ? 1 : 0)]), size_(bytes.size()) {
    bytes.copy(data_.get(), bytes.size());
  }
  std::string_view view() const { return {data_.get(), size_}; }

 private:
  std::unique_ptr<char[]> data_;
  size_t size_;
};

// Files and arguments inside one input are separated by this byte (ASCII
// record separator), which no text of a sector needs.
inline constexpr char kSeparator = '\x1e';

inline std::vector<std::string_view> SplitInput(std::string_view input,
                                                char separator = kSeparator) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t end = input.find(separator); end != std::string_view::npos;
       end = input.find(separator, start)) {
    parts.push_back(input.substr(start, end - start));
    start = end + 1;
  }
  parts.push_back(input.substr(start));
  return parts;
}

// The first byte of an input chooses options; the rest is the text.
struct Control {
  std::uint8_t bits = 0;
  std::string_view rest;
};

inline Control TakeControlByte(const std::uint8_t* data, size_t size) {
  if (size == 0) return {};
  return {data[0], std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1)};
}

// Bits 4-5 of the control byte pick the hex number mode, bit 6 turns base
// symbols off and bit 7 every other drawing switch.
inline void ApplyDrawingOptions(std::uint8_t bits, torvane::MapOptions& options) {
  options.hexNumbers = static_cast<torvane::HexNumberMode>((bits >> 4) & 3);
  options.showBases = (bits & 0x40) ? 0 : 1;
  const int others = (bits & 0x80) ? 0 : 1;
  options.showAllegiance = options.showGasGiants = options.showNames = options.showPorts =
      options.showZones = others;
}

// A script line that carries numbers never holds one that is not finite.
// Lines that carry a name or a text are left alone: a world may be called
// "Infinity".
inline bool HasNonFiniteNumber(const std::string& line) {
  for (std::string_view named : {"TEXTM ", "INSSYM ", "LAYER ", "LSTYLE ", "FSTYLE ", "TSPECF "}) {
    if (line.starts_with(named)) return false;
  }
  return line.find("nan") != std::string::npos || line.find("inf") != std::string::npos;
}

}  // namespace torvane_fuzz
