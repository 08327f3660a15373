// Shared helpers of the importer: hex numbers past the sector's edge, and
// splitting and cutting the texts of the published formats.
#include "import/imported_sector.h"

#include <cstdio>

#include "draw/hex_geometry.h"
#include "platform/text_lines.h"

namespace torvane {

SectorHex NormaliseHex(SectorHex hex) {
  while (hex.column < 1) {
    hex.column += kSectorColumns;
    --hex.sector_x;
  }
  while (hex.column > kSectorColumns) {
    hex.column -= kSectorColumns;
    ++hex.sector_x;
  }
  while (hex.row < 1) {
    hex.row += kSectorRows;
    --hex.sector_y;
  }
  while (hex.row > kSectorRows) {
    hex.row -= kSectorRows;
    ++hex.sector_y;
  }
  return hex;
}

std::optional<SectorHex> ParseHexNumber(std::string_view text) {
  if (text.size() != 4) return std::nullopt;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  SectorHex hex;
  hex.column = (text[0] - '0') * 10 + (text[1] - '0');
  hex.row = (text[2] - '0') * 10 + (text[3] - '0');
  return hex;
}

std::string HexNumber(int column, int row) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d%02d", column, row);
  return text;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return SplitTextLines(text);
}

std::vector<std::string_view> SplitWords(std::string_view text) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

std::string_view CutToWidth(std::string_view text, size_t width) {
  if (text.size() <= width) return text;
  size_t cut = width;
  // Back off to the start of a UTF-8 character: continuation bytes are 10xxxxxx.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut);
}

}  // namespace torvane
