// Fuzzes world lines: one line (and whatever text follows it) drawn on the
// sector map and on a subsector map. A rejected line writes nothing and
// marks no hex; a drawn one writes only finite numbers.
#include <cstdint>

#include "draw/hex_geometry.h"
#include "draw/hex_occupancy.h"
#include "draw/world_entry.h"
#include "fuzz_support.h"
#include "script/error_report.h"
#include "testing/test_script.h"

namespace {

int MarkedHexes(const torvane::HexOccupancy& occupancy) {
  int marked = 0;
  for (int column = 1; column <= torvane::kSectorColumns; ++column) {
    for (int row = 1; row <= torvane::kSectorRows; ++row)
      marked += occupancy.IsOccupied(column, row);
  }
  return marked;
}

void DrawOnce(torvane_test::TestScript& script, std::string_view line, int subsector,
              torvane::MapKind map) {
  torvane::SectorContext& sector = script.sector();
  const int marked_before = MarkedHexes(sector.occupancy);
  const int drawn = torvane_test::DrawTestWorld(script, line, subsector, map);
  const std::vector<std::string> lines = script.TakeLines();
  if (drawn == 0) {
    FUZZ_CHECK(lines.empty());
    FUZZ_CHECK(MarkedHexes(sector.occupancy) == marked_before);
  } else {
    FUZZ_CHECK(drawn == 1);
    FUZZ_CHECK(!lines.empty());
    FUZZ_CHECK(MarkedHexes(sector.occupancy) >= marked_before);
  }
  for (const std::string& written : lines) FUZZ_CHECK(!torvane_fuzz::HasNonFiniteNumber(written));
}

}  // namespace

// The control byte's low four bits choose the subsector whose file holds
// the line and whose map is drawn.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const torvane_fuzz::Control control = torvane_fuzz::TakeControlByte(data, size);
  const torvane_fuzz::ExactBuffer line(control.rest);
  torvane_test::TestScript script;
  torvane_fuzz::ApplyDrawingOptions(control.bits, script.options());
  const int subsector = control.bits & 15;
  DrawOnce(script, line.view(), subsector, torvane::MapKind::kSectorMap);
  script.sector().occupancy.Clear();
  DrawOnce(script, line.view(), subsector, torvane::MapKind::kSubsectorMap);
  FUZZ_CHECK(script.log().ErrorCount() == 0);
  return 0;
}
