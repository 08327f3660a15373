// The sector context: what the conversion of one sector reads and changes
// while its scripts are drawn, made afresh for every sector.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "draw/base_symbols.h"
#include "draw/hex_occupancy.h"
#include "draw/map_options.h"
#include "sector/kept_map_texts.h"

namespace torvane {

// SubsectorNames: the names the sector pass found, empty where the sector
// has no index line. The subsector maps' neighbour labels read them.
struct SubsectorNames {
  std::array<std::string, kSubsectorCount> names;
};

struct SectorContext {
  // The sector's data file text (title line and index lines), and the drive
  // and directory its map files are found under, as sector conversion built
  // them. They view texts that outlive the sector's conversion.
  std::string_view text;
  std::string_view drive;
  std::string_view sectorDir;
  HexOccupancy occupancy;
  // LegendFlags: the kinds of base met since the sector's conversion began.
  BaseFlags legendFlags = 0;
  SubsectorNames subsectorNames;
  KeptMapTexts mapTexts;
};

}  // namespace torvane
