// The sector as read from a published sector file and its metadata, before it
// is fitted into the fixed columns of the map files torvane reads.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/source_line.h"
#include "platform/ascii_text.h"

namespace torvane {

// Which codes a file uses: the older fixed-column files use the base letters
// and remark codes of the map files themselves, the tab-delimited and column
// files the newer multi-letter base codes and remark codes.
enum class CodeStyle { kOlder, kNewer };

struct ImportedWorld {
  SourceLine source;
  int column = 0;  // 1 to 32
  int row = 0;     // 1 to 40
  std::string name, uwp, bases, remarks, zone, pbg, allegiance, stars;
};

// A hex anywhere near the sector: the offset of the sector that holds it
// (0, 0 for the imported sector; x grows to the right, y downward) and the
// hex in that sector's own numbering.
struct SectorHex {
  int sector_x = 0;
  int sector_y = 0;
  int column = 0;
  int row = 0;
};
// Moves a hex written past the sector's edge (column 0 or 33, row 0 or 41,
// as published data does) into the neighbouring sector's numbering.
SectorHex NormaliseHex(SectorHex hex);
// Reads "CCRR" (exactly four digits); empty when the text is not one.
std::optional<SectorHex> ParseHexNumber(std::string_view text);
// "CCRR", the hex number as the map files write it.
std::string HexNumber(int column, int row);

struct ImportedRoute {
  SourceLine source;
  SectorHex start, end;
  std::optional<int> color_code;  // given by an older file's route line
  std::string type, allegiance;
};

struct ImportedSector {
  CodeStyle codes = CodeStyle::kNewer;
  // Lines of the sector file taken for world lines, read or reported.
  int world_lines_read = 0;
  // The file names its columns or indexes its subsectors: a sector file,
  // even one without a world (a sector still to be explored).
  bool is_sector_file = false;
  std::string title;
  std::array<std::string, 16> subsector_names;
  std::vector<ImportedWorld> worlds;
  std::vector<ImportedRoute> routes;
};

// The blanks around fields of the published formats. Case is folded with
// UpperAscii and EqualsIgnoringAsciiCase.
inline std::string_view TrimBlanks(std::string_view text) { return Trim(text, " \t\r\n"); }
// Splits text into lines: LF or CR LF ends a line, a leading UTF-8 byte-order
// mark is dropped.
std::vector<std::string_view> SplitLines(std::string_view text);
// The words of a text separated by blanks and tabs.
std::vector<std::string_view> SplitWords(std::string_view text);
// Cuts text to at most `width` bytes without splitting a UTF-8 character.
std::string_view CutToWidth(std::string_view text, size_t width);

}  // namespace torvane
