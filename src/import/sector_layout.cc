// Builds the texts of a torvane sector directory from an imported sector:
// world lines in hex order and route lines, each in the file of its
// subsector, and the data file's index and legends.
#include "import/sector_layout.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "draw/hex_geometry.h"
#include "draw/world_layout.h"
#include "import/base_code_mapping.h"
#include "import/field_mapping.h"
#include "import/world_and_route_lines.h"
#include "platform/ascii_text.h"
#include "sector/index_line.h"

namespace torvane {

namespace {

// Columns of the world lines, where the legends read their codes back.
constexpr WorldColumns kColumns = kStandardWorldColumns;

// The sector as its files show it, gathered before any text is built.
struct SectorLines {
  SectorNames names;
  // Each subsector's route lines and world lines, in the order written.
  std::array<std::vector<std::string>, kSubsectorCount> routes, worlds;
  // What the legends explain: the base letters written, and each two-letter
  // allegiance written with the published codes it stands for.
  std::set<char> base_letters;
  std::map<std::string, std::set<std::string>> allegiances;
};

void Put(std::string& line, size_t column, std::string_view text) {
  line.replace(column, text.size(), text);
}

std::string MapFileName(size_t subsector) {
  return std::string("SUB") + static_cast<char>('A' + subsector) + ".DAT";
}

// Worlds in hex order; worlds of one hex stay in the order they were read.
std::vector<const ImportedWorld*> WorldsInHexOrder(const ImportedSector& sector) {
  std::vector<const ImportedWorld*> worlds;
  for (const ImportedWorld& world : sector.worlds) worlds.push_back(&world);
  std::stable_sort(worlds.begin(), worlds.end(),
                   [](const ImportedWorld* a, const ImportedWorld* b) {
                     return a->column != b->column ? a->column < b->column : a->row < b->row;
                   });
  return worlds;
}

void ReportHexHeld(const ImportedWorld& world, const ImportedWorld& holder, ImportLog& log) {
  const std::string held =
      TrimBlanks(holder.name).empty() ? "an unnamed world" : "'" + holder.name + "'";
  log.Skip(world.source, "hex " + HexNumber(world.column, world.row) + " already holds " + held +
                             " from " + holder.source.file + ":" +
                             std::to_string(holder.source.line) + ": world left out");
}

// The world line goes to the file of the subsector holding its hex, and its
// base letter and allegiance to the legends.
void AddWorldLine(const ImportedWorld& world, const std::string& line, SectorLines& lines) {
  if (line.size() > kColumns.base && line[kColumns.base] != ' ')
    lines.base_letters.insert(line[kColumns.base]);
  if (line.size() > kColumns.allegiance + 1 && line[kColumns.allegiance] != ' ') {
    lines.allegiances[line.substr(kColumns.allegiance, 2)].insert(
        std::string(TrimBlanks(world.allegiance)));
  }
  lines.worlds[static_cast<size_t>(SubsectorOfHex(world.column, world.row))].push_back(line);
}

// One world to a hex: a second one there is reported and left out.
void LayOutWorlds(const ImportedSector& sector, MapEncoding encoding, SectorLines& lines,
                  LayoutCounts& counts, ImportLog& log) {
  const ImportedWorld* previous = nullptr;
  for (const ImportedWorld* world : WorldsInHexOrder(sector)) {
    if (previous != nullptr && previous->column == world->column && previous->row == world->row) {
      ReportHexHeld(*world, *previous, log);
      continue;
    }
    previous = world;
    const int changes_before = log.changes;
    const std::string line = WorldLine(*world, sector.codes, log, encoding);
    if (log.changes != changes_before) ++counts.changed;
    AddWorldLine(*world, line, lines);
    counts.written_lines.push_back(world->source.line);
    ++counts.worlds;
  }
  counts.world_lines_read = sector.world_lines_read;
  counts.skipped = static_cast<int>(log.skipped_lines.size());
}

void LayOutRoutes(const ImportedSector& sector, SectorLines& lines, LayoutCounts& counts,
                  ImportLog& log) {
  for (const ImportedRoute& route : sector.routes) {
    const PlacedRoute placed = PlaceRoute(route, log);
    if (placed.fit == PlacedRoute::kOutside) ++counts.routes_outside;
    if (placed.fit != PlacedRoute::kPlaced) continue;
    lines.routes[static_cast<size_t>(placed.subsector)].push_back(placed.line);
    ++counts.routes;
  }
}

// "A: name" and the map file's name, for each subsector.
std::string IndexLines(const SectorLines& lines) {
  std::string index;
  for (size_t s = 0; s < lines.names.subsectors.size(); ++s) {
    std::string index_line(kIndexFileColumn, ' ');
    index_line[0] = static_cast<char>('A' + s);
    index_line[1] = ':';
    Put(index_line, kIndexNameColumn, lines.names.subsectors[s]);
    index += index_line + MapFileName(s) + "\n";
  }
  return index;
}

// The legends carry no data; no line of them may begin with a letter and ':'.
std::string Legends(const SectorLines& lines) {
  std::string legends = "\nBases:\n";
  for (char letter : lines.base_letters)
    legends += std::string(1, letter) + " = " + BaseLetterMeaning(letter) + "\n";
  legends += "  = None\n\nAllegiance:\n";
  for (const auto& [code, sources] : lines.allegiances) {
    if (code[1] == ':') continue;
    std::string from;
    for (const std::string& original : sources) {
      if (original == code) continue;
      from += from.empty() ? " = " : ", ";
      from += original;
    }
    legends += code + from + "\n";
  }
  return legends;
}

std::string DataFileText(const SectorLines& lines, const SourceLine& source, MapEncoding encoding) {
  ImportLog unreported;  // file names, not sector data
  return lines.names.title + "\n\n" + IndexLines(lines) + Legends(lines) +
         "\nImported by torvane-import from " +
         MapText(source.file, encoding, "source", source, unreported) + "\n";
}

std::string MapFileText(const SectorLines& lines, size_t subsector) {
  std::string text = "@SUB-SECTOR: " + lines.names.subsectors[subsector] +
                     " SECTOR: " + lines.names.title + "\n#\n";
  for (const std::string& line : lines.routes[subsector]) text += line + "\n";
  text += "#--------1---------2---------3---------4---------5---------6---\n";
  text += ColumnHeader() + "\n";
  for (const std::string& line : lines.worlds[subsector]) text += line + "\n";
  return text;
}

}  // namespace

std::vector<LaidOutFile> LayOutSector(const ImportedSector& sector, std::string_view name,
                                      std::string_view source, MapEncoding encoding,
                                      LayoutCounts& counts, ImportLog& log) {
  const SourceLine whole_file{std::string(source), 0};
  SectorLines lines;
  lines.names = FitSectorNames(sector, name, encoding, whole_file, log);
  LayOutWorlds(sector, encoding, lines, counts, log);
  LayOutRoutes(sector, lines, counts, log);
  std::vector<LaidOutFile> files;
  files.push_back({std::string(name) + ".dat", DataFileText(lines, whole_file, encoding)});
  for (size_t s = 0; s < kSubsectorCount; ++s) {
    files.push_back({"map/" + MapFileName(s), MapFileText(lines, s)});
  }
  return files;
}

}  // namespace torvane
