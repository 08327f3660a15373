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
#include "import/world_and_route_lines.h"
#include "platform/ascii_text.h"
#include "sector/index_line.h"

namespace torvane {

namespace {

// Columns of the world lines, where the legends read their codes back.
constexpr WorldColumns kColumns = kStandardWorldColumns;

void Put(std::string& line, size_t column, std::string_view text) {
  line.replace(column, text.size(), text);
}

std::string MapFileName(int subsector) {
  return std::string("SUB") + static_cast<char>('A' + subsector) + ".DAT";
}

}  // namespace

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
