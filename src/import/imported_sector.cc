// Shared helpers of the importer: message prefixes, hex numbers past the
// sector's edge and small text operations.
#include "import/imported_sector.h"

#include <algorithm>
#include <utility>

#include "draw/hex_geometry.h"
#include "platform/text_lines.h"

namespace torvane {

namespace {}  // namespace

std::string Where(const SourceLine& source) {
  std::string where = source.file;
  if (source.line > 0) where += ':' + std::to_string(source.line);
  return where + ": ";
}

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

void ImportLog::Problem(const SourceLine& source, std::string_view text) {
  problems.push_back(Where(source) + std::string(text));
}

void ImportLog::Note(const SourceLine& source, std::string_view text) {
  notes.push_back(Where(source) + std::string(text));
  note_sources.push_back(source);
}

void ImportLog::Skip(const SourceLine& source, std::string_view text) {
  Problem(source, text);
  skipped_lines.push_back(source.line);
}

void ImportLog::Change(const SourceLine& source, std::string_view text) {
  Note(source, text);
  ++changes;
}

std::vector<std::string> ImportLog::NotesInLineOrder(const std::vector<std::string>& files) const {
  const auto rank = [&](const SourceLine& source) {
    const auto file = std::find(files.begin(), files.end(), source.file);
    return std::pair(file - files.begin(), source.line);
  };
  std::vector<size_t> order(notes.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return rank(note_sources[a]) < rank(note_sources[b]);
  });
  std::vector<std::string> sorted;
  for (size_t i : order) sorted.push_back(notes[i]);
  return sorted;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return SplitTextLines(text);
}

}  // namespace torvane
