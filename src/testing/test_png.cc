// PNG decoding: the chunks, zlib for the image data, then the row filters.
#include "testing/test_png.h"

#ifdef TORVANE_HAVE_ZLIB
#include <zlib.h>
#endif

#include <cstdlib>

namespace torvane_test {

namespace {

std::uint32_t BigEndian(const std::string& bytes, size_t at) {
  std::uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}

std::uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
  return static_cast<std::uint8_t>(pb <= pc ? b : c);
}

}  // namespace

std::uint32_t PngImage::Rgb(int x, int y) const {
  const size_t at = (static_cast<size_t>(y) * width + x) * channels;
  return (std::uint32_t{pixels[at]} << 16) | (std::uint32_t{pixels[at + 1]} << 8) | pixels[at + 2];
}

std::optional<PngImage> DecodePng(const std::string& bytes, std::string& error) {
  if (bytes.size() < 8 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) {
    error = "not a PNG file";
    return std::nullopt;
  }
  PngImage image;
  std::string compressed;
  for (size_t at = 8; at + 12 <= bytes.size();) {
    const std::uint32_t length = BigEndian(bytes, at);
    const std::string type = bytes.substr(at + 4, 4);
    if (at + 12 + length > bytes.size()) break;
    const size_t data = at + 8;
    if (type == "IHDR") {
      image.width = static_cast<int>(BigEndian(bytes, data));
      image.height = static_cast<int>(BigEndian(bytes, data + 4));
      const int depth = static_cast<std::uint8_t>(bytes[data + 8]);
      const int colour_type = static_cast<std::uint8_t>(bytes[data + 9]);
      const int interlace = static_cast<std::uint8_t>(bytes[data + 12]);
      if (depth != 8 || (colour_type != 2 && colour_type != 6) || interlace != 0) {
        error = "only 8-bit RGB or RGBA without interlacing is read";
        return std::nullopt;
      }
      image.channels = colour_type == 2 ? 3 : 4;
    } else if (type == "IDAT") {
      compressed += bytes.substr(data, length);
    } else if (type == "IEND") {
      break;
    }
    at += 12 + length;
  }
  if (image.channels == 0 || image.width <= 0 || image.height <= 0) {
    error = "no image header";
    return std::nullopt;
  }
  const size_t stride = static_cast<size_t>(image.width) * image.channels;
  std::vector<std::uint8_t> raw((stride + 1) * image.height);
#ifdef TORVANE_HAVE_ZLIB
  uLongf raw_size = raw.size();
  if (uncompress(raw.data(), &raw_size, reinterpret_cast<const Bytef*>(compressed.data()),
                 compressed.size()) != Z_OK ||
      raw_size != raw.size()) {
    error = "image data does not inflate to the image's size";
    return std::nullopt;
  }
#else
  error = "built without zlib (Debian: zlib1g-dev)";
  return std::nullopt;
#endif
  image.pixels.resize(stride * image.height);
  const int bpp = image.channels;
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t filter = raw[y * (stride + 1)];
    const std::uint8_t* in = &raw[y * (stride + 1) + 1];
    std::uint8_t* row = &image.pixels[y * stride];
    const std::uint8_t* above = y > 0 ? &image.pixels[(y - 1) * stride] : nullptr;
    for (size_t i = 0; i < stride; ++i) {
      const int a = i >= static_cast<size_t>(bpp) ? row[i - bpp] : 0;
      const int b = above != nullptr ? above[i] : 0;
      const int c = above != nullptr && i >= static_cast<size_t>(bpp) ? above[i - bpp] : 0;
      int predicted = 0;
      switch (filter) {
        case 0:
          predicted = 0;
          break;
        case 1:
          predicted = a;
          break;
        case 2:
          predicted = b;
          break;
        case 3:
          predicted = (a + b) / 2;
          break;
        case 4:
          predicted = Paeth(a, b, c);
          break;
        default:
          error = "unknown row filter";
          return std::nullopt;
      }
      row[i] = static_cast<std::uint8_t>(in[i] + predicted);
    }
  }
  return image;
}

}  // namespace torvane_test
