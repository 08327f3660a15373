// Fuzzes route lines: the text after a "$" (and the lines that follow it,
// which may lend it values) drawn on the sector map and on a subsector map.
// A rejected line writes nothing; a drawn route is one line command with
// finite numbers.
#include <cstdint>
#include <string>

#include "draw/trade_route.h"
#include "fuzz_support.h"
#include "script/error_report.h"
#include "testing/test_script.h"

namespace {

void DrawOnce(torvane_test::TestScript& script, std::string_view line, int subsector,
              torvane::MapKind map) {
  const int drawn = torvane::DrawRoute(script.options(), script.target(), line, subsector, map);
  const std::vector<std::string> lines = script.TakeLines();
  if (drawn == 0) {
    FUZZ_CHECK(lines.empty());
    return;
  }
  FUZZ_CHECK(drawn == 1);
  int line_commands = 0;
  for (const std::string& written : lines) {
    FUZZ_CHECK(!torvane_fuzz::HasNonFiniteNumber(written));
    line_commands += written.starts_with("LINE ");
  }
  FUZZ_CHECK(line_commands == 1);
}

}  // namespace

// The control byte's low four bits choose the subsector whose file holds
// the line; bit 7 switches routes off, which must write nothing.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const torvane_fuzz::Control control = torvane_fuzz::TakeControlByte(data, size);
  const torvane_fuzz::ExactBuffer line("$" + std::string(control.rest));
  torvane_test::TestScript script;
  const int subsector = control.bits & 15;
  if (control.bits & 0x80) {
    script.options().showRoutes = 0;
    FUZZ_CHECK(torvane::DrawRoute(script.options(), script.target(), line.view(), subsector,
                                  torvane::MapKind::kSectorMap) == 1);
    FUZZ_CHECK(script.TakeLines().empty());
    return 0;
  }
  DrawOnce(script, line.view(), subsector, torvane::MapKind::kSectorMap);
  DrawOnce(script, line.view(), subsector, torvane::MapKind::kSubsectorMap);
  FUZZ_CHECK(script.log().ErrorCount() == 0);
  return 0;
}
