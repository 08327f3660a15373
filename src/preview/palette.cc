// The colour table: one row per colour number, with a label for the docs
// and for readers of the code.
#include "preview/palette.h"

#include <array>

#include "draw/route_line.h"

namespace torvane {

namespace {

constexpr std::array<PaletteEntry, 17> kPalette{{
    {0, "black", {0, 0, 0}},
    {1, "light green", {128, 255, 128}},
    {2, "red", {255, 0, 0}},
    {3, "light blue", {128, 160, 255}},
    {4, "yellow", {255, 255, 0}},
    {5, "light cyan", {160, 255, 255}},
    {6, "light magenta", {255, 128, 255}},
    {7, "blue", {0, 0, 255}},
    {9, "cyan", {0, 255, 255}},
    {10, "amber", {255, 191, 0}},
    {11, "dark red", {139, 0, 0}},
    {13, "green", {0, 176, 0}},
    {14, "dark grey", {96, 96, 96}},
    {15, "white", {255, 255, 255}},
    {16, "light grey", {192, 192, 192}},
    {25, "magenta", {255, 0, 255}},
    {29, "sandy yellow-brown", {210, 170, 90}},
}};

constexpr bool HasPaletteRow(int number) {
  for (const PaletteEntry& entry : kPalette) {
    if (entry.number == number) return true;
  }
  return false;
}

// Every colour a route can take has its row, the default among them.
constexpr bool EveryRouteColourHasARow() {
  for (int colour : RouteColorTable) {
    if (!HasPaletteRow(colour)) return false;
  }
  return HasPaletteRow(kDefaultRouteColour);
}
static_assert(EveryRouteColourHasARow());

}  // namespace

const PaletteEntry* FindPaletteEntry(int number) {
  for (const PaletteEntry& entry : kPalette) {
    if (entry.number == number) return &entry;
  }
  return nullptr;
}

Rgb ColourRgb(int number) {
  const PaletteEntry* entry = FindPaletteEntry(number);
  return entry != nullptr ? entry->rgb : kPlaceholderColour;
}

std::string HexColour(Rgb rgb) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text = "#";
  for (const std::uint8_t part : {rgb.red, rgb.green, rgb.blue}) {
    text += kDigits[part >> 4];
    text += kDigits[part & 15];
  }
  return text;
}

}  // namespace torvane
