// Fuzzes the importer's reading of a whole sector file and its layout as
// map files. Every line a reader takes for a world line is either written,
// with its fields in torvane's columns, or reported: never both, never
// neither.
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "draw/hex_geometry.h"
#include "draw/world_layout.h"
#include "fuzz_support.h"
#include "import/sector_file_reader.h"
#include "import/sector_layout.h"
#include "platform/text_lines.h"
#include "sector/map_line.h"

namespace {

using torvane::LaidOutFile;
using torvane::LayoutCounts;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int TwoDigits(std::string_view line, size_t at) {
  return (line[at] - '0') * 10 + (line[at + 1] - '0');
}

// The columns torvane reads: name, hex, profile (nine characters from the
// starport), base, remarks, zone, PBG, allegiance, stars.
constexpr torvane::WorldColumns kColumns = torvane::kStandardWorldColumns;

void CheckWorldLine(std::string_view line) {
  for (char c : line) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
  FUZZ_CHECK(line.size() >= kColumns.pbg + 3);
  FUZZ_CHECK(torvane::MapLineKindOf(line) == torvane::MapLineKind::kWorld);
  for (size_t i = kColumns.hex; i < kColumns.hex + torvane::kHexWidth; ++i)
    FUZZ_CHECK(IsDigit(line[i]));
  FUZZ_CHECK(TwoDigits(line, kColumns.hex) >= 1 &&
             TwoDigits(line, kColumns.hex) <= torvane::kSectorColumns);
  FUZZ_CHECK(TwoDigits(line, kColumns.hex + 2) >= 1 &&
             TwoDigits(line, kColumns.hex + 2) <= torvane::kSectorRows);
  for (size_t i = kColumns.hex + torvane::kHexWidth; i < kColumns.starport; ++i)
    FUZZ_CHECK(line[i] == ' ');
  for (size_t i = kColumns.starport; i < kColumns.starport + 9; ++i) {
    const char c = line[i];
    FUZZ_CHECK(i == kColumns.starport + 7 ? c == '-'
                                          : (IsDigit(c) || (c >= 'A' && c <= 'Z') || c == '?'));
  }
  for (size_t i = kColumns.starport + 9; i < kColumns.base; ++i) FUZZ_CHECK(line[i] == ' ');
  FUZZ_CHECK(line[kColumns.base + 1] == ' ');
  FUZZ_CHECK(line[kColumns.base] == ' ' ||
             (line[kColumns.base] >= 'A' && line[kColumns.base] <= 'Z'));
  FUZZ_CHECK(line[kColumns.zone] == ' ' || line[kColumns.zone] == 'A' ||
             line[kColumns.zone] == 'R');
  for (size_t i = kColumns.zone + 1; i < kColumns.pbg; ++i) FUZZ_CHECK(line[i] == ' ');
  for (size_t i = kColumns.pbg; i < kColumns.pbg + 3; ++i) FUZZ_CHECK(IsDigit(line[i]));
  for (size_t i = kColumns.pbg + 3; i < kColumns.allegiance && i < line.size(); ++i)
    FUZZ_CHECK(line[i] == ' ');
  for (size_t i = kColumns.allegiance + torvane::kAllegianceWidth;
       i < kColumns.stars && i < line.size(); ++i) {
    FUZZ_CHECK(line[i] == ' ');
  }
}

// The world lines of a map file: all but the subsector line, comments and
// route lines.
int CheckMapFile(const std::string& text) {
  int worlds = 0;
  FUZZ_CHECK(text.empty() || text.back() == '\n');
  for (const std::string_view line : torvane::SplitTextLines(text)) {
    // Every line ends in LF alone: the splitter would hide a CR before it.
    FUZZ_CHECK(line.data()[line.size()] == '\n');
    if (line.empty() || torvane::MapLineKindOf(line) != torvane::MapLineKind::kWorld) continue;
    CheckWorldLine(line);
    ++worlds;
  }
  return worlds;
}

}  // namespace

// The control byte's low two bits choose the reader: the one the content
// asks for, or the tab-delimited, column or older one whatever the content.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const torvane_fuzz::Control control = torvane_fuzz::TakeControlByte(data, size);
  const torvane_fuzz::ExactBuffer text(control.rest);
  torvane::ImportLog log;
  const int reader = control.bits & 3;
  torvane::ImportedSector sector =
      reader == 0 ? torvane::ReadSectorFile(text.view(), "f.sec", log)
                  : torvane::ReadSectorFileAs(static_cast<torvane::SectorFileFormat>(reader - 1),
                                              text.view(), "f.sec", log);
  LayoutCounts counts;
  const std::vector<LaidOutFile> files = torvane::LayOutSector(
      sector, "fuzz", "f.sec", torvane::MapEncoding::kWindows1252, counts, log);

  FUZZ_CHECK(counts.world_lines_read == counts.worlds + counts.skipped);
  FUZZ_CHECK(counts.changed >= 0 && counts.changed <= counts.worlds);
  FUZZ_CHECK(counts.written_lines.size() == static_cast<size_t>(counts.worlds));
  const std::set<int> written(counts.written_lines.begin(), counts.written_lines.end());
  const std::set<int> skipped(log.skipped_lines.begin(), log.skipped_lines.end());
  FUZZ_CHECK(written.size() == counts.written_lines.size());
  FUZZ_CHECK(skipped.size() == log.skipped_lines.size());
  for (int line : written) FUZZ_CHECK(line >= 1 && skipped.count(line) == 0);
  FUZZ_CHECK(log.problems.size() >= log.skipped_lines.size());

  FUZZ_CHECK(files.size() == 17);
  int worlds = 0;
  for (size_t i = 1; i < files.size(); ++i) worlds += CheckMapFile(files[i].text);
  FUZZ_CHECK(worlds == counts.worlds);
  return 0;
}
