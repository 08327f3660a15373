// How the fields of published sector data are fitted into the fixed columns
// of torvane's files: the sector's names, a world's name, zone, PBG and
// allegiance, and a route's colour code (base codes and remarks have files
// of their own). The tables behind these are documented in docs/import.md.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "draw/hex_geometry.h"
#include "draw/world_layout.h"
#include "import/import_log.h"
#include "import/imported_sector.h"
#include "import/map_encoding.h"

namespace torvane {

constexpr size_t kNameWidth = kStandardWorldColumns.nameWidth;

// The sector's title and subsector names as the data file and the map files
// hold them.
struct SectorNames {
  std::string title;
  std::array<std::string, kSubsectorCount> subsectors;
};

// The title is the sector's own, else `directory_name`; each subsector name
// is cut to the columns the index holds for it.
SectorNames FitSectorNames(const ImportedSector& sector, std::string_view directory_name,
                           MapEncoding encoding, const SourceLine& source, ImportLog& log);

// The world name for columns 0 to 13: control characters become blanks, a
// name that would make the line a comment or route line ("#", "@", "$")
// gets a leading blank, and the name is cut to 14 columns.
std::string FitName(std::string_view name, const SourceLine& source, ImportLog& log);

// The zone letter for column 48: 'A', 'R' or a blank.
char MapZone(std::string_view zone, const SourceLine& source, ImportLog& log);

// The two-letter allegiance code for columns 55 and 56 (empty for none).
std::string MapAllegiance(std::string_view allegiance, const SourceLine& source, ImportLog& log);

// Population multiplier, belts and gas giants, each digit in its own column.
// A digit above 9, written as a letter ('0B0': eleven belts), is written 9,
// the most one digit holds; an unknown digit ('?', 'X') or any other
// character is written '0' in its place, and a missing one '0' after the
// others: torvane draws a gas giant for anything but '0' in column 53.
std::string FitPbg(std::string_view pbg, const SourceLine& source, ImportLog& log);

// The colour code (0 to 15) of a route from its type and allegiance.
int RouteColorCode(std::string_view type, std::string_view allegiance);

}  // namespace torvane
