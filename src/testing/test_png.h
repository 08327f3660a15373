// A small PNG reader for the browser test: 8-bit RGB or RGBA, not
// interlaced, which is what the browser's screenshots are.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace torvane_test {

struct PngImage {
  int width = 0;
  int height = 0;
  int channels = 0;                  // 3 (RGB) or 4 (RGBA)
  std::vector<std::uint8_t> pixels;  // rows top to bottom, no filter bytes

  // Red, green and blue of a pixel.
  std::uint32_t Rgb(int x, int y) const;
};

// The decoded image, or nothing (with `error` set) for a file this reader
// does not handle.
std::optional<PngImage> DecodePng(const std::string& bytes, std::string& error);

}  // namespace torvane_test
