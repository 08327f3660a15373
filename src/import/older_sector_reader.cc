// The older fixed-column format: optionally a header with the title, the
// subsector index and a legend of base codes, then "@SUB-SECTOR:" blocks of
// route lines ("$") and world lines, whose fields are found by their shapes
// (older_world_line.cc).
#include <map>
#include <optional>
#include <vector>

#include "draw/hex_geometry.h"
#include "draw/route_line.h"
#include "import/base_code_mapping.h"
#include "import/older_world_line.h"
#include "import/sector_file_reader.h"
#include "platform/ascii_text.h"
#include "sector/index_line.h"
#include "sector/map_line.h"

namespace torvane {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Column(std::string_view line, size_t start, size_t width) {
  if (start >= line.size()) return {};
  return TrimBlanks(line.substr(start, width));
}

struct RouteText {
  SourceLine source;
  int block;
  std::string_view text;
};

struct Block {
  std::string name;
  int subsector = -1;
};

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

std::optional<int> ParseInt(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size() || text.size() - i > 6) return std::nullopt;
  int value = 0;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

// A route line "$SSSS EEEE dx dy K": the start in the block's subsector, the
// end in its own sector's numbering dx, dy subsectors away.
std::optional<ImportedRoute> ReadRoute(const RouteText& route, int subsector, ImportLog& log) {
  const std::vector<std::string_view> words = SplitWords(route.text.substr(1));
  const std::optional<SectorHex> start = words.size() > 0 ? ParseHexNumber(words[0]) : std::nullopt;
  const std::optional<SectorHex> end = words.size() > 1 ? ParseHexNumber(words[1]) : std::nullopt;
  if (!start || !end) {
    log.Problem(route.source, "route line does not begin with two hex numbers ($0101 0202)");
    return std::nullopt;
  }
  std::vector<int> numbers;
  for (size_t i = 2; i < words.size() && i < 5; ++i) {
    const std::optional<int> number = ParseInt(words[i]);
    if (!number) {
      log.Problem(route.source,
                  "route line holds '" + std::string(words[i]) + "' where a number belongs");
      return std::nullopt;
    }
    numbers.push_back(*number);
  }
  if (numbers.size() == 1) {
    log.Problem(route.source, "route line gives one subsector offset, not two");
    return std::nullopt;
  }
  ImportedRoute imported;
  imported.source = route.source;
  imported.start = *start;
  if (subsector >= 0 && start->column >= 1 && start->row >= 1) {
    imported.start.column = (start->column - 1) % kSubsectorColumns +
                            kSubsectorColumns * (subsector % kSubsectorsAcross) + 1;
    imported.start.row =
        (start->row - 1) % kSubsectorRows + kSubsectorRows * (subsector / kSubsectorsAcross) + 1;
  }
  imported.end = *end;
  const auto in_sector = [](const SectorHex& hex) {
    return hex.column >= 1 && hex.column <= kSectorColumns && hex.row >= 1 &&
           hex.row <= kSectorRows;
  };
  if (!in_sector(imported.start) || !in_sector(imported.end)) {
    log.Problem(route.source, "route hex outside 0101 to 3240");
    return std::nullopt;
  }
  // torvane works the end's subsector out from the end hex, wrapped into -2 to 2
  // subsectors away, and never reads the offsets written in the line; the
  // importer places the end the same way.
  const int start_column = (imported.start.column - 1) / kSubsectorColumns;
  const int start_row = (imported.start.row - 1) / kSubsectorRows;
  const int across =
      start_column + WrapSubsectorOffset((end->column - 1) / kSubsectorColumns - start_column);
  const int down = start_row + WrapSubsectorOffset((end->row - 1) / kSubsectorRows - start_row);
  imported.end.sector_x = FloorDiv(across, kSubsectorsAcross);
  imported.end.sector_y = FloorDiv(down, kSubsectorsDown);
  if (numbers.size() >= 2 &&
      (numbers[0] != across - start_column || numbers[1] != down - start_row)) {
    log.Note(route.source, "route offsets " + std::to_string(numbers[0]) + " " +
                               std::to_string(numbers[1]) + " disagree with end hex " +
                               std::string(words[1]) + ", which decides as it does for torvane");
  }
  if (numbers.size() == 3) {
    if (numbers[2] >= 0 && numbers[2] < static_cast<int>(RouteColorTable.size())) {
      imported.color_code = numbers[2];
    } else {
      log.Note(route.source, "colour code " + std::to_string(numbers[2]) +
                                 " is not 0 to 15: the colour table decides");
    }
  }
  return imported;
}

bool IsIndexLine(std::string_view line) {
  return line.size() >= 3 && line[0] >= 'A' && line[0] <= 'P' && line[1] == ':' && line[2] == ' ';
}

// What reading the file gathers besides the sector: the header's legend of
// its own base codes, where its fields stand, the blocks so far, and the
// route lines, read once every block is known.
struct OlderFileReading {
  ImportedSector sector;
  std::map<char, std::string> base_legend;
  OlderLayout layout;
  std::vector<Block> blocks = std::vector<Block>(1);
  std::vector<RouteText> routes;
};

bool StartsBody(std::string_view line) {
  return !line.empty() && (MapLineKindOf(line) != MapLineKind::kWorld || HasHexAndProfile(line));
}

// The header: title, subsector index, legends and credits, up to the first
// block. Returns where the body begins.
size_t ReadHeader(const std::vector<std::string_view>& lines, size_t i, OlderFileReading& reading) {
  ImportedSector& sector = reading.sector;
  sector.title = TrimBlanks(lines[i++]);
  bool in_bases = false;
  for (; i < lines.size() && !StartsBody(lines[i]); ++i) {
    const std::string_view line = lines[i];
    if (IsIndexLine(line)) {
      sector.is_sector_file = true;
      sector.subsector_names[static_cast<size_t>(line[0] - 'A')] =
          Column(line, 3, kSubsectorNameLimit);
    } else if (TrimBlanks(line) == "Bases:") {
      in_bases = true;
    } else if (TrimBlanks(line).empty()) {
      in_bases = false;
    } else if (in_bases && line.size() > 4 && line.substr(1, 3) == " = ") {
      reading.base_legend[line[0]] = BaseLettersFromDescription(line.substr(4));
    }
  }
  return i;
}

// "@SUB-SECTOR: name SECTOR: title" begins a block; the index may say which
// subsector it is.
void ReadBlockHeading(std::string_view line, OlderFileReading& reading) {
  constexpr std::string_view kSubsector = "@SUB-SECTOR:";
  constexpr std::string_view kSector = " SECTOR:";
  if (line.substr(0, kSubsector.size()) != kSubsector) return;
  std::string_view rest = line.substr(kSubsector.size());
  const size_t sector_at = rest.find(kSector);
  ImportedSector& sector = reading.sector;
  Block block;
  block.name = TrimBlanks(rest.substr(0, sector_at));
  if (sector_at != std::string_view::npos && sector.title.empty()) {
    sector.title = TrimBlanks(rest.substr(sector_at + kSector.size()));
  }
  for (size_t s = 0; s < sector.subsector_names.size(); ++s) {
    if (!block.name.empty() && EqualsIgnoringAsciiCase(sector.subsector_names[s], block.name)) {
      block.subsector = static_cast<int>(s);
    }
  }
  reading.blocks.push_back(block);
}

ImportedWorld WorldOf(const OlderWorldFields& fields, const SourceLine& source) {
  ImportedWorld world;
  world.source = source;
  world.name = fields.name;
  world.uwp = fields.uwp;
  world.bases = fields.bases;
  world.remarks = fields.remarks;
  world.zone = fields.zone;
  world.pbg = fields.pbg;
  world.allegiance = fields.allegiance;
  world.stars = fields.stars;
  return world;
}

// A base letter of no known meaning may be one that the file's legend explains.
void ReadBasesFromLegend(ImportedWorld& world, const std::map<char, std::string>& base_legend,
                         ImportLog& log) {
  if (world.bases.size() != 1 || !BaseLetterMeaning(UpperAscii(world.bases)[0]).empty()) return;
  const auto legend = base_legend.find(world.bases[0]);
  if (legend == base_legend.end() || legend->second.empty()) return;
  log.Note(world.source, "base code '" + world.bases + "' read as '" + legend->second +
                             "' from the file's legend");
  world.bases = legend->second;
}

// A block the index does not name is the subsector of its first world, and
// names it where the index gave no name.
void NameBlockSubsector(const ImportedWorld& world, Block& block, ImportedSector& sector) {
  if (block.subsector >= 0 || block.name.empty()) return;
  block.subsector = SubsectorOfHex(world.column, world.row);
  std::string& name = sector.subsector_names[static_cast<size_t>(block.subsector)];
  if (name.empty()) name = CutToWidth(block.name, kSubsectorNameLimit);
}

void ReadWorldLine(std::string_view line, const SourceLine& source, OlderFileReading& reading,
                   ImportLog& log) {
  ++reading.sector.world_lines_read;
  std::string why;
  const std::optional<OlderWorldFields> fields = FindWorldFields(line, reading.layout, why);
  if (!fields) {
    log.Skip(source, why);
    return;
  }
  if (!fields->doubt.empty()) log.Problem(source, fields->doubt);
  ImportedWorld world = WorldOf(*fields, source);
  if (!CheckWorld(world, fields->hex, log)) return;
  ReadBasesFromLegend(world, reading.base_legend, log);
  NameBlockSubsector(world, reading.blocks.back(), reading.sector);
  reading.sector.worlds.push_back(std::move(world));
}

void ReadBodyLine(std::string_view line, const SourceLine& source, OlderFileReading& reading,
                  ImportLog& log) {
  if (TrimBlanks(line).empty()) return;
  if (line[0] == '#') {
    if (const std::optional<OlderLayout> header = LayoutOfHeader(line)) {
      reading.layout = *header;
      reading.sector.is_sector_file = true;
    }
  } else if (line[0] == '@') {
    ReadBlockHeading(line, reading);
  } else if (MapLineKindOf(line) == MapLineKind::kRoute) {
    reading.routes.push_back({source, static_cast<int>(reading.blocks.size() - 1), line});
  } else {
    ReadWorldLine(line, source, reading, log);
  }
}

}  // namespace

ImportedSector ReadOlderSectorFile(std::string_view text, const std::string& file_name,
                                   ImportLog& log) {
  OlderFileReading reading;
  reading.sector.codes = CodeStyle::kOlder;
  const std::vector<std::string_view> lines = SplitLines(text);
  size_t i = 0;
  while (i < lines.size() && TrimBlanks(lines[i]).empty()) ++i;
  if (i < lines.size() && !StartsBody(lines[i])) i = ReadHeader(lines, i, reading);
  // Where the fields stand when their shapes alone do not say: as the last
  // header row before the line names them, else as most world lines have them.
  reading.layout = LayoutOfLines({lines.begin() + static_cast<std::ptrdiff_t>(i), lines.end()});
  for (; i < lines.size(); ++i) {
    ReadBodyLine(lines[i], {file_name, static_cast<int>(i + 1)}, reading, log);
  }
  for (const RouteText& route : reading.routes) {
    if (std::optional<ImportedRoute> imported =
            ReadRoute(route, reading.blocks[static_cast<size_t>(route.block)].subsector, log)) {
      reading.sector.routes.push_back(std::move(*imported));
    }
  }
  return std::move(reading.sector);
}

}  // namespace torvane
