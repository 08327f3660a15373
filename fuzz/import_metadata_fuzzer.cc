// Fuzzes the importer's XML metadata reader: the first part of the input is
// the metadata, an optional second part an older sector file read first.
// Metadata that is refused leaves the sector as it was; every route placed
// is a route line torvane reads.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "import/metadata_reader.h"
#include "import/sector_file_reader.h"
#include "import/sector_layout.h"
#include "platform/text_lines.h"
#include "sector/map_line.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "$SSSS EEEE dx dy K": two hex numbers, offsets -2 to 2, a colour code 0 to 15.
void CheckRouteLine(std::string_view line) {
  FUZZ_CHECK(line.size() >= 16 && torvane::MapLineKindOf(line) == torvane::MapLineKind::kRoute &&
             line[5] == ' ' && line[10] == ' ');
  for (size_t i : {1, 2, 3, 4, 6, 7, 8, 9}) FUZZ_CHECK(IsDigit(line[i]));
  int dx = 0, dy = 0, code = 0;
  char rest = 0;
  FUZZ_CHECK(
      std::sscanf(std::string(line.substr(11)).c_str(), "%d %d %d%c", &dx, &dy, &code, &rest) == 3);
  FUZZ_CHECK(dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2 && code >= 0 && code <= 15);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::vector<std::string_view> parts =
      torvane_fuzz::SplitInput(std::string_view(reinterpret_cast<const char*>(data), size));
  const torvane_fuzz::ExactBuffer metadata(parts[0]);
  torvane::ImportLog log;
  torvane::ImportedSector sector;
  if (parts.size() > 1) {
    const torvane_fuzz::ExactBuffer text(parts[1]);
    sector = torvane::ReadOlderSectorFile(text.view(), "f.sec", log);
  }
  const std::string title = sector.title;
  const size_t routes = sector.routes.size();
  if (!torvane::ReadMetadata(metadata.view(), "f.xml", sector, log)) {
    FUZZ_CHECK(sector.title == title && sector.routes.size() == routes);
    FUZZ_CHECK(!log.problems.empty());
    return 0;
  }
  torvane::LayoutCounts counts;
  const std::vector<torvane::LaidOutFile> files = torvane::LayOutSector(
      sector, "fuzz", "f.sec", torvane::MapEncoding::kWindows1252, counts, log);
  FUZZ_CHECK(counts.routes + counts.routes_outside <= static_cast<int>(sector.routes.size()));
  int route_lines = 0;
  for (size_t i = 1; i < files.size(); ++i) {
    const std::string& text = files[i].text;
    for (const std::string_view line : torvane::SplitTextLines(text)) {
      // A line ends in LF alone: the splitter would hide a CR before it.
      FUZZ_CHECK(line.data() + line.size() == text.data() + text.size() ||
                 line.data()[line.size()] == '\n');
      if (torvane::MapLineKindOf(line) != torvane::MapLineKind::kRoute) continue;
      CheckRouteLine(line);
      ++route_lines;
    }
  }
  FUZZ_CHECK(route_lines == counts.routes);
  return 0;
}
