// The tab-delimited and column formats, which name their columns in a header,
// and the recognition of the three formats.
#include "import/sector_file_reader.h"

#include <array>
#include <optional>
#include <vector>

#include "draw/hex_geometry.h"
#include "platform/ascii_text.h"
#include "platform/text_encoding.h"

namespace torvane {

namespace {

// The fields a world needs, and the header names each may go by.
enum Field { kHex, kName, kUwp, kBases, kRemarks, kZone, kPbg, kAllegiance, kStars, kFieldCount };
struct FieldName {
  Field field;
  std::string_view name;
};
constexpr std::array<FieldName, 14> FieldNames{{
    {kHex, "Hex"},
    {kName, "Name"},
    {kUwp, "UWP"},
    {kBases, "Bases"},
    {kBases, "B"},
    {kRemarks, "Remarks"},
    {kZone, "Zone"},
    {kZone, "Z"},
    {kPbg, "PBG"},
    {kAllegiance, "Allegiance"},
    {kAllegiance, "A"},
    {kStars, "Stars"},
    {kStars, "Stellar"},
    {kStars, "Stellar Data"},
}};

using FieldColumns = std::array<int, kFieldCount>;  // column index of each field, -1 if absent

bool IsComment(std::string_view line) { return !line.empty() && line[0] == '#'; }
bool IsBlank(std::string_view line) { return TrimBlanks(line).empty(); }

bool IsDashLine(std::string_view line) {
  if (line.find('-') == std::string_view::npos) return false;
  for (char c : line) {
    if (c != '-' && c != ' ' && c != '\t' && c != '\r') return false;
  }
  return true;
}

std::optional<Field> FieldOfHeader(std::string_view name) {
  name = TrimBlanks(name);
  for (const FieldName& row : FieldNames) {
    if (EqualsIgnoringAsciiCase(row.name, name)) return row.field;
  }
  return std::nullopt;
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (true) {
    const size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

// Maps header names to column indexes; reports a header without the hex or
// world profile column and returns false.
bool ReadHeader(const std::vector<std::string_view>& names, const SourceLine& source,
                ImportLog& log, FieldColumns& columns) {
  columns.fill(-1);
  for (size_t i = 0; i < names.size(); ++i) {
    const std::optional<Field> field = FieldOfHeader(names[i]);
    if (field && columns[*field] < 0) columns[*field] = static_cast<int>(i);
  }
  if (columns[kHex] < 0 || columns[kUwp] < 0) {
    log.Problem(source, "the header names no Hex or no UWP column: no world can be read");
    return false;
  }
  return true;
}

std::optional<ImportedWorld> WorldFromFields(const std::vector<std::string_view>& values,
                                             const FieldColumns& columns, const SourceLine& source,
                                             ImportLog& log) {
  const auto value = [&](Field field) {
    const int column = columns[field];
    if (column < 0 || static_cast<size_t>(column) >= values.size()) return std::string_view();
    return TrimBlanks(values[static_cast<size_t>(column)]);
  };
  ImportedWorld world;
  world.source = source;
  world.name = value(kName);
  world.uwp = value(kUwp);
  world.bases = value(kBases);
  world.remarks = value(kRemarks);
  world.zone = value(kZone);
  world.pbg = value(kPbg);
  world.allegiance = value(kAllegiance);
  world.stars = value(kStars);
  if (!CheckWorld(world, value(kHex), log)) return std::nullopt;
  return world;
}

// Columns fixed by the runs of dashes under the header line; the last
// column runs to the end of each line.
struct Span {
  size_t start;
  size_t length;
};

std::vector<Span> DashSpans(std::string_view line) {
  std::vector<Span> spans;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] != '-') {
      ++i;
      continue;
    }
    const size_t start = i;
    while (i < line.size() && line[i] == '-') ++i;
    spans.push_back({start, i - start});
  }
  if (!spans.empty()) spans.back().length = std::string_view::npos;
  return spans;
}

// Columns are counted in characters: a line of UTF-8 is cut between its
// characters ("Aikre Aa’" is nine wide), any other line byte by byte, as a
// single-byte code page has it.
std::vector<std::string_view> CutColumns(std::string_view line, const std::vector<Span>& spans) {
  std::vector<size_t> starts;  // where each character begins
  const bool utf8 = IsValidUtf8(line);
  for (size_t i = 0; i < line.size(); ++i) {
    if (!utf8 || (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) starts.push_back(i);
  }
  const auto offset = [&](size_t character) {
    return character < starts.size() ? starts[character] : line.size();
  };
  std::vector<std::string_view> values;
  for (const Span& span : spans) {
    const size_t begin = offset(span.start);
    const size_t end =
        span.length == std::string_view::npos ? line.size() : offset(span.start + span.length);
    values.push_back(line.substr(begin, end - begin));
  }
  return values;
}

void ReadTabDelimited(const std::vector<std::string_view>& lines, const std::string& file_name,
                      ImportLog& log, ImportedSector& sector) {
  bool have_header = false;
  FieldColumns columns{};
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (IsComment(line) || IsBlank(line)) continue;
    const SourceLine source{file_name, static_cast<int>(i + 1)};
    if (!have_header) {
      have_header = true;
      if (!ReadHeader(SplitTabs(line), source, log, columns)) return;
      sector.is_sector_file = true;
      continue;
    }
    ++sector.world_lines_read;
    if (std::optional<ImportedWorld> world =
            WorldFromFields(SplitTabs(line), columns, source, log)) {
      sector.worlds.push_back(std::move(*world));
    }
  }
}

void ReadColumns(const std::vector<std::string_view>& lines, const std::string& file_name,
                 ImportLog& log, ImportedSector& sector) {
  std::vector<Span> spans;
  FieldColumns columns{};
  size_t header = lines.size();
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (IsComment(line) || IsBlank(line)) continue;
    const SourceLine source{file_name, static_cast<int>(i + 1)};
    if (spans.empty()) {
      if (IsDashLine(line) && header < i) {
        spans = DashSpans(line);
        if (!ReadHeader(CutColumns(lines[header], spans), {file_name, static_cast<int>(header + 1)},
                        log, columns)) {
          return;
        }
        sector.is_sector_file = true;
      } else if (header < i) {
        ++sector.world_lines_read;
        log.Skip({file_name, static_cast<int>(header + 1)},
                 "not a world line: the line of dashes that fixes the columns comes later");
        header = i;
      } else {
        header = i;
      }
      continue;
    }
    if (IsDashLine(line)) continue;
    ++sector.world_lines_read;
    if (std::optional<ImportedWorld> world =
            WorldFromFields(CutColumns(line, spans), columns, source, log)) {
      sector.worlds.push_back(std::move(*world));
    }
  }
}

bool IsProfileCharacter(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '?';
}

}  // namespace

bool CheckWorld(ImportedWorld& world, std::string_view hex, ImportLog& log) {
  const std::optional<SectorHex> parsed = ParseHexNumber(hex);
  if (!parsed || parsed->column < 1 || parsed->column > kSectorColumns || parsed->row < 1 ||
      parsed->row > kSectorRows) {
    log.Skip(world.source,
             "hex '" + std::string(hex) + "' is not a hex of the sector (0101 to 3240)");
    return false;
  }
  world.column = parsed->column;
  world.row = parsed->row;
  const std::string uwp = UpperAscii(world.uwp);
  bool profile_ok = uwp.size() == 9 && uwp[7] == '-';
  for (size_t i = 0; profile_ok && i < uwp.size(); ++i) {
    profile_ok = i == 7 || IsProfileCharacter(uwp[i]);
  }
  if (!profile_ok) {
    log.Skip(world.source, "world profile '" + world.uwp +
                               "' is not of the form A788899-C (nine characters, '-' eighth)");
    return false;
  }
  world.uwp = uwp;
  return true;
}

SectorFileFormat DetectSectorFileFormat(std::string_view text) {
  const std::vector<std::string_view> lines = SplitLines(text);
  std::string_view previous;
  bool first = true;
  for (std::string_view line : lines) {
    if (IsComment(line) || IsBlank(line)) continue;
    if (first && line.find('\t') != std::string_view::npos) {
      for (std::string_view name : SplitTabs(line)) {
        if (FieldOfHeader(name) == kHex) return SectorFileFormat::kTabDelimited;
      }
    }
    first = false;
    if (IsDashLine(line) && !previous.empty()) {
      for (const std::string_view& name : CutColumns(previous, DashSpans(line))) {
        if (FieldOfHeader(name) == kHex) return SectorFileFormat::kColumns;
      }
    }
    previous = line;
  }
  return SectorFileFormat::kOlderColumns;
}

std::string_view FormatName(SectorFileFormat format) {
  switch (format) {
    case SectorFileFormat::kTabDelimited:
      return "tab-delimited";
    case SectorFileFormat::kColumns:
      return "column";
    case SectorFileFormat::kOlderColumns:
      return "older fixed-column";
  }
  return "";
}

ImportedSector ReadSectorFile(std::string_view text, const std::string& file_name, ImportLog& log) {
  return ReadSectorFileAs(DetectSectorFileFormat(text), text, file_name, log);
}

ImportedSector ReadSectorFileAs(SectorFileFormat format, std::string_view text,
                                const std::string& file_name, ImportLog& log) {
  if (format == SectorFileFormat::kOlderColumns) return ReadOlderSectorFile(text, file_name, log);
  ImportedSector sector;
  sector.codes = CodeStyle::kNewer;
  const std::vector<std::string_view> lines = SplitLines(text);
  if (format == SectorFileFormat::kTabDelimited) {
    ReadTabDelimited(lines, file_name, log, sector);
  } else {
    ReadColumns(lines, file_name, log, sector);
  }
  return sector;
}

}  // namespace torvane
