// Fuzzes the sector data file and its index lines: the first part of the
// input is the sector text, the parts after it are the map files 'SUBA.DAT'
// to 'SUBP.DAT' of the sector's "map" directory. All 16 subsectors are drawn
// on the sector map, then each on its own map, as sector conversion does.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "script/error_report.h"
#include "sector/subsector_map.h"
#include "testing/test_script.h"

namespace {

constexpr std::string_view kDrive = "c:";
constexpr std::string_view kSectorDir = "\\maps\\delta/";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::vector<std::string_view> parts =
      torvane_fuzz::SplitInput(std::string_view(reinterpret_cast<const char*>(data), size));
  const torvane_fuzz::ExactBuffer sector_text(parts[0]);
  torvane_test::TestScript script;
  torvane_test::MemoryFileSystem& fs = script.fs();
  for (size_t i = 1; i < parts.size() && i <= 16; ++i) {
    fs.AddFile(std::string("c:\\maps\\delta/map\\SUB") + static_cast<char>('A' + i - 1) + ".DAT",
               std::string(parts[i]));
  }
  // A map "file" that is a directory, for index lines that name it.
  fs.AddDirectory("c:\\maps\\delta/map\\DIR.DAT");

  torvane::SectorContext& sector = script.sector();
  sector.text = sector_text.view();
  sector.drive = kDrive;
  sector.sectorDir = kSectorDir;
  for (int subsector = 0; subsector < 16; ++subsector) {
    torvane::DrawSubsector(script.context(), sector, script.target(), subsector,
                           torvane::MapKind::kSectorMap);
  }
  for (int subsector = 0; subsector < 16; ++subsector) {
    torvane::DrawSubsector(script.context(), sector, script.target(), subsector,
                           torvane::MapKind::kSubsectorMap);
    FUZZ_CHECK(sector.subsectorNames.names[static_cast<size_t>(subsector)].size() <=
               torvane::kSubsectorNameLimit);
  }
  for (const std::string& written : script.TakeLines()) {
    FUZZ_CHECK(!torvane_fuzz::HasNonFiniteNumber(written));
  }
  // Every map file opened was released again; only the script is open.
  FUZZ_CHECK(fs.OpenFiles() == 1);
  return 0;
}
