// The colour numbers of the drawing application as RGB on the black
// background of the preview.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace torvane {

struct Rgb {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
};

struct PaletteEntry {
  int number;
  std::string_view label;
  Rgb rgb;
};

// Every colour torvane writes, and the colour of numbers it does not know.
const PaletteEntry* FindPaletteEntry(int number);
inline constexpr Rgb kPlaceholderColour{255, 20, 147};  // deep pink
inline constexpr Rgb kBackgroundColour{0, 0, 0};

Rgb ColourRgb(int number);
// "#rrggbb".
std::string HexColour(Rgb rgb);

}  // namespace torvane
