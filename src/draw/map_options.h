// MapOptions: the switches that the command line sets and that the drawing
// of every later sector reads.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "draw/hex_geometry.h"

namespace torvane {

enum class HexNumberMode { kNone = 0, kUnoccupied = 1, kOccupied = 2, kAll = 3 };

// A new run starts with these defaults.
struct MapOptions {
  int showAllegiance = 1;
  int showBases = 1;
  int showGasGiants = 1;
  int showNames = 1;
  int showPorts = 1;
  int showRoutes = 1;
  int showZones = 1;
  HexNumberMode hexNumbers = HexNumberMode::kOccupied;
  std::optional<std::string> outputDir;
  std::optional<std::string> dateText;
  // 1 where a script is written for that subsector, index 0 for A.
  std::array<int, kSubsectorCount> subsectors{};
};

}  // namespace torvane
