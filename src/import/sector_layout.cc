// Builds the texts of a torvane sector directory from an imported sector.
#include "import/sector_layout.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
#include <set>

#include "draw/hex_geometry.h"
#include "draw/route_line.h"
#include "draw/world_layout.h"
#include "import/base_code_mapping.h"
#include "import/field_mapping.h"
#include "import/remark_mapping.h"
#include "platform/ascii_text.h"
#include "sector/index_line.h"

namespace torvane {

namespace {

// Columns of a world line, as torvane reads them.
constexpr WorldColumns kColumns = kStandardWorldColumns;
// Each field ends before the next begins, so no field overwrites another.
static_assert(kColumns.name + kNameWidth <= kColumns.hex &&
              kColumns.hex + kHexWidth < kColumns.starport &&
              kColumns.starport + 9 < kColumns.base && kColumns.base < kColumns.remarks &&
              kColumns.remarks + kRemarksWidth <= kColumns.zone && kColumns.zone < kColumns.pbg &&
              kColumns.pbg + 3 <= kColumns.allegiance &&
              kColumns.allegiance + kAllegianceWidth < kColumns.stars);

void Put(std::string& line, size_t column, std::string_view text) {
  line.replace(column, text.size(), text);
}

std::string ReplaceControls(std::string_view text) {
  std::string clean(text);
  for (char& c : clean) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = ' ';
  }
  return clean;
}

std::string HexNumber(int column, int row) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d%02d", column, row);
  return text;
}

// Population multiplier, belts and gas giants, each digit in its own column.
// A digit above 9, written as a letter ('0B0': eleven belts), is written 9,
// the most one digit holds; an unknown digit ('?', 'X') or any other
// character is written '0' in its place, and a missing one '0' after the
// others: torvane draws a gas giant for anything but '0' in column 53.
std::string FitPbg(std::string_view pbg, const SourceLine& source, ImportLog& log) {
  const std::string published(TrimBlanks(pbg));
  std::string digits = "000";
  bool above_nine = false;
  for (size_t i = 0; i < digits.size() && i < published.size(); ++i) {
    const char c = published[i];
    if (c >= '0' && c <= '9') {
      digits[i] = c;
    } else if (c >= 'A' && c <= 'Z' && c != 'X') {
      digits[i] = '9';
      above_nine = true;
    }
  }
  if (published == digits) return digits;
  if (published.empty()) {
    log.Change(source, "no PBG: written as '000'");
  } else {
    log.Change(source, "PBG '" + published + "' written as '" + digits + "'" +
                           (above_nine ? ": a digit above 9 is written 9" : ""));
  }
  return digits;
}

bool SameHex(const SectorHex& a, const SectorHex& b) {
  return a.sector_x == b.sector_x && a.sector_y == b.sector_y && a.column == b.column &&
         a.row == b.row;
}

std::string DescribeHex(const SectorHex& hex) {
  std::string text = HexNumber(hex.column, hex.row);
  if (hex.sector_x != 0 || hex.sector_y != 0) {
    text += " of the sector " + std::to_string(hex.sector_x) + " across, " +
            std::to_string(hex.sector_y) + " down";
  }
  return text;
}

std::string MapFileName(int subsector) {
  return std::string("SUB") + static_cast<char>('A' + subsector) + ".DAT";
}

std::string ColumnHeader() {
  std::string header(kColumns.stars, ' ');
  Put(header, kColumns.name, "#Name");
  Put(header, kColumns.hex, "Hex");
  Put(header, kColumns.starport, "Profile");
  Put(header, kColumns.base, "B");
  Put(header, kColumns.remarks, "Remarks");
  Put(header, kColumns.zone, "Z");
  Put(header, kColumns.pbg, "PBG");
  Put(header, kColumns.allegiance, "Al");
  return header + "Stars";
}

}  // namespace

std::string WorldLine(const ImportedWorld& world, CodeStyle codes, ImportLog& log,
                      MapEncoding encoding) {
  const SourceLine& source = world.source;
  std::string line(kColumns.stars, ' ');
  // In Windows-1252 each character is one byte: the name is cut in characters.
  Put(line, kColumns.name,
      FitName(MapText(world.name, encoding, "name", source, log), source, log));
  Put(line, kColumns.hex, HexNumber(world.column, world.row));
  Put(line, kColumns.starport, world.uwp);
  line[kColumns.base] = MapBaseCode(world.bases, world.allegiance, source, log);
  Put(line, kColumns.remarks,
      FitRemarks(MapText(world.remarks, encoding, "remarks", source, log), codes, source, log));
  line[kColumns.zone] = MapZone(world.zone, source, log);
  Put(line, kColumns.pbg, FitPbg(world.pbg, source, log));
  Put(line, kColumns.allegiance, MapAllegiance(world.allegiance, source, log));
  line += MapText(TrimBlanks(world.stars), encoding, "stars", source, log);
  // A control character in any field (a stray byte inside a remark) would
  // break the line for torvane: each becomes a blank.
  return std::string(TrimTrailing(ReplaceControls(line), " "));
}

PlacedRoute PlaceRoute(const ImportedRoute& route, ImportLog& log) {
  PlacedRoute placed;
  SectorHex start = NormaliseHex(route.start);
  SectorHex end = NormaliseHex(route.end);
  const auto inside = [](const SectorHex& hex) { return hex.sector_x == 0 && hex.sector_y == 0; };
  if (!inside(start)) {
    if (!inside(end)) {
      log.Note(route.source, "route from " + DescribeHex(start) + " to " + DescribeHex(end) +
                                 " lies wholly outside the sector: left out");
      placed.fit = PlacedRoute::kOutside;
      return placed;
    }
    log.Note(route.source,
             "route from " + DescribeHex(start) + " turned round to start inside the sector");
    std::swap(start, end);
  }
  if (SameHex(start, end)) {
    log.Problem(route.source, "route starts and ends in hex " + DescribeHex(start) + ": left out");
    return placed;
  }
  const int start_column = (start.column - 1) / kSubsectorColumns;
  const int start_row = (start.row - 1) / kSubsectorRows;
  const int dx =
      (end.column - 1) / kSubsectorColumns + kSubsectorsAcross * end.sector_x - start_column;
  const int dy = (end.row - 1) / kSubsectorRows + kSubsectorsDown * end.sector_y - start_row;
  // torvane works the offsets out again from the end hex, wrapped into -2 to 2.
  if (WrapSubsectorOffset((end.column - 1) / kSubsectorColumns - start_column) != dx ||
      WrapSubsectorOffset((end.row - 1) / kSubsectorRows - start_row) != dy) {
    log.Problem(route.source, "route from " + DescribeHex(start) + " to " + DescribeHex(end) +
                                  " reaches " + std::to_string(dx) + " subsectors across and " +
                                  std::to_string(dy) +
                                  " down, further than a map file can hold: left out");
    return placed;
  }
  const int code =
      route.color_code ? *route.color_code : RouteColorCode(route.type, route.allegiance);
  char text[64];
  std::snprintf(text, sizeof text, "$%s %s %d %d %d", HexNumber(start.column, start.row).c_str(),
                HexNumber(end.column, end.row).c_str(), dx, dy, code);
  placed.fit = PlacedRoute::kPlaced;
  placed.subsector = SubsectorOfHex(start.column, start.row);
  placed.line = text;
  return placed;
}

std::vector<LaidOutFile> LayOutSector(const ImportedSector& sector, std::string_view name,
                                      std::string_view source, MapEncoding encoding,
                                      LayoutCounts& counts, ImportLog& log) {
  const SourceLine sources{std::string(source), 0};
  std::string title =
      ReplaceControls(MapText(TrimBlanks(sector.title), encoding, "title", sources, log));
  if (title.empty()) title = MapText(name, encoding, "title", sources, log);

  std::array<std::string, kSubsectorCount> names;
  for (int s = 0; s < kSubsectorCount; ++s) {
    const std::string full = ReplaceControls(
        MapText(TrimBlanks(sector.subsector_names[static_cast<size_t>(s)]), encoding,
                std::string("subsector ") + static_cast<char>('A' + s) + " name", sources, log));
    names[static_cast<size_t>(s)] = CutToWidth(full, kSubsectorNameLimit);
    if (names[static_cast<size_t>(s)].size() < full.size()) {
      log.Note({std::string(source), 0}, std::string("subsector ") + static_cast<char>('A' + s) +
                                             " name '" + full + "' cut to '" +
                                             names[static_cast<size_t>(s)] + "'");
    }
  }

  // Worlds in hex order, each in the file of the subsector holding its hex.
  std::vector<const ImportedWorld*> worlds;
  for (const ImportedWorld& world : sector.worlds) worlds.push_back(&world);
  std::stable_sort(worlds.begin(), worlds.end(),
                   [](const ImportedWorld* a, const ImportedWorld* b) {
                     return a->column != b->column ? a->column < b->column : a->row < b->row;
                   });
  std::array<std::vector<std::string>, kSubsectorCount> world_lines;
  std::set<char> base_letters;
  std::map<std::string, std::set<std::string>> allegiances;
  const ImportedWorld* previous = nullptr;
  for (const ImportedWorld* world : worlds) {
    if (previous != nullptr && previous->column == world->column && previous->row == world->row) {
      const std::string held =
          TrimBlanks(previous->name).empty() ? "an unnamed world" : "'" + previous->name + "'";
      log.Skip(world->source, "hex " + HexNumber(world->column, world->row) + " already holds " +
                                  held + " from " + previous->source.file + ":" +
                                  std::to_string(previous->source.line) + ": world left out");
      continue;
    }
    previous = world;
    const int changes_before = log.changes;
    const std::string line = WorldLine(*world, sector.codes, log, encoding);
    if (log.changes != changes_before) ++counts.changed;
    if (line.size() > kColumns.base && line[kColumns.base] != ' ')
      base_letters.insert(line[kColumns.base]);
    if (line.size() > kColumns.allegiance + 1 && line[kColumns.allegiance] != ' ') {
      allegiances[line.substr(kColumns.allegiance, 2)].insert(
          std::string(TrimBlanks(world->allegiance)));
    }
    world_lines[static_cast<size_t>(SubsectorOfHex(world->column, world->row))].push_back(line);
    counts.written_lines.push_back(world->source.line);
    ++counts.worlds;
  }
  counts.world_lines_read = sector.world_lines_read;
  counts.skipped = static_cast<int>(log.skipped_lines.size());

  std::array<std::vector<std::string>, kSubsectorCount> route_lines;
  for (const ImportedRoute& route : sector.routes) {
    const PlacedRoute placed = PlaceRoute(route, log);
    if (placed.fit == PlacedRoute::kOutside) ++counts.routes_outside;
    if (placed.fit != PlacedRoute::kPlaced) continue;
    route_lines[static_cast<size_t>(placed.subsector)].push_back(placed.line);
    ++counts.routes;
  }

  std::vector<LaidOutFile> files;
  std::string data = title + "\n\n";
  for (int s = 0; s < kSubsectorCount; ++s) {
    std::string index_line(kIndexFileColumn, ' ');
    index_line[0] = static_cast<char>('A' + s);
    index_line[1] = ':';
    Put(index_line, kIndexNameColumn, names[static_cast<size_t>(s)]);
    data += index_line + MapFileName(s) + "\n";
  }
  // The legends carry no data; no line of them may begin with a letter and ':'.
  data += "\nBases:\n";
  for (char letter : base_letters)
    data += std::string(1, letter) + " = " + BaseLetterMeaning(letter) + "\n";
  data += "  = None\n\nAllegiance:\n";
  for (const auto& [code, sources] : allegiances) {
    if (code[1] == ':') continue;
    std::string from;
    for (const std::string& original : sources) {
      if (original == code) continue;
      from += from.empty() ? " = " : ", ";
      from += original;
    }
    data += code + from + "\n";
  }
  ImportLog unreported;  // file names, not sector data
  data += "\nImported by torvane-import from " +
          MapText(source, encoding, "source", sources, unreported) + "\n";
  files.push_back({std::string(name) + ".dat", data});

  for (int s = 0; s < kSubsectorCount; ++s) {
    std::string text =
        "@SUB-SECTOR: " + names[static_cast<size_t>(s)] + " SECTOR: " + title + "\n#\n";
    for (const std::string& line : route_lines[static_cast<size_t>(s)]) text += line + "\n";
    text += "#--------1---------2---------3---------4---------5---------6---\n";
    text += ColumnHeader() + "\n";
    for (const std::string& line : world_lines[static_cast<size_t>(s)]) text += line + "\n";
    files.push_back({"map/" + MapFileName(s), text});
  }
  return files;
}

}  // namespace torvane
