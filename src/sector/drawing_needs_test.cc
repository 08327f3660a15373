// What a drawing must hold before a script runs in it, as docs/cc2.md lists
// it: the layers, fonts, styles and symbols that the scripts of a sector
// using every item name, and the base kinds with the codes that draw them.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "draw/base_kinds.h"
#include "draw/world_entry.h"
#include "sector/sector_conversion.h"
#include "testing/sector_files.h"
#include "testing/test_script.h"

namespace torvane {
namespace {

using torvane_test::MemoryFileSystem;
using torvane_test::ScriptLines;
using torvane_test::TestRun;

using Names = std::set<std::string>;

// A world line in the standard columns: name, hex, profile, base code,
// remarks, zone, PBG and allegiance.
std::string World(int index, std::string_view profile, char base, std::string_view remarks,
                  char zone) {
  char line[80];
  std::snprintf(line, sizeof line, "W%-13d%02d%02d %.9s  %c %-15.15s %c  312 Im\n", index,
                1 + index / 10, 1 + index % 10, profile.data(), base, remarks.data(), zone);
  return line;
}

// Subsector A holds a world for every base code and remark code, asteroid
// belts, zones, gas giants and a route; the other subsectors are empty.
void AddSectorUsingEverything(MemoryFileSystem& fs) {
  std::string map_a = "@SUB-SECTOR: First SECTOR: Every\n$0101 0202 1 0 3\n";
  int index = 0;
  for (const BaseCodeRow& row : BaseCodeTable) {
    const char zone = index % 2 ? 'A' : 'R';
    map_a += World(index++, "A867A98-F", row.letter, "Cp", zone);
  }
  for (const RemarkCode& remark : RemarkCodes) {
    map_a += World(index++, "B540300-8", ' ', remark.code, ' ');
  }
  for (int belt = 0; belt < 24; ++belt) map_a += World(index++, "C000000-9", ' ', "As", ' ');
  constexpr std::array<std::string_view, 16> kNames = {"A", "B", "C", "D", "E", "F", "G", "H",
                                                       "I", "J", "K", "L", "M", "N", "O", "P"};
  for (const auto& [path, bytes] :
       torvane_test::SectorFiles("d.dat", "Every", kNames, {{'A', map_a}}, "# empty\n")) {
    fs.AddFile("d/" + path, bytes);
  }
}

// The names that follow each of `words` in the scripts' lines.
std::map<std::string, Names> NamesInScripts(MemoryFileSystem& fs,
                                            const std::vector<std::string>& words) {
  std::map<std::string, Names> found;
  std::vector<std::string> scripts = {"d/d.scr"};
  for (char letter = 'A'; letter <= 'P'; ++letter)
    scripts.push_back(std::string("d/d") + letter + ".scr");
  for (const std::string& script : scripts) {
    for (const std::string& line : ScriptLines(fs.FileBytes(script).value_or(""))) {
      for (const std::string& word : words) {
        if (line.starts_with(word + " ")) found[word].insert(line.substr(word.size() + 1));
      }
    }
  }
  return found;
}

// The rows of a section of docs/cc2.md: for each list item or table row,
// its cells with the backquotes of the first one taken off.
std::vector<std::vector<std::string>> DocumentedRows(const std::string& heading) {
  std::ifstream file(TORVANE_DOCS_DIR "/cc2.md");
  std::vector<std::vector<std::string>> rows;
  bool inside = false;
  for (std::string line; std::getline(file, line);) {
    if (line.starts_with("#")) inside = line == "### " + heading;
    if (!inside || line.size() < 3 || (line[0] != '-' && line[0] != '|')) continue;
    const size_t open = line.find('`'), close = line.find('`', open + 1);
    if (open == std::string::npos || close == std::string::npos) continue;
    std::vector<std::string> cells = {line.substr(open + 1, close - open - 1)};
    std::istringstream rest(line.substr(close + 1));
    for (std::string cell; std::getline(rest, cell, '|');) {
      const size_t first = cell.find_first_not_of(' '), last = cell.find_last_not_of(' ');
      if (first != std::string::npos) cells.push_back(cell.substr(first, last - first + 1));
    }
    rows.push_back(cells);
  }
  return rows;
}

Names DocumentedNames(const std::string& heading) {
  Names names;
  for (const auto& row : DocumentedRows(heading)) names.insert(row.front());
  return names;
}

// "A, B, N" for the kind of `flag`, or "—" when no code draws it.
template <typename Rows, typename Code>
std::string CodesDrawing(BaseFlags flag, const Rows& rows, Code code) {
  std::string codes;
  for (const auto& row : rows) {
    if ((code(row).second & flag) == 0) continue;
    if (!codes.empty()) codes += ", ";
    codes += code(row).first;
  }
  return codes.empty() ? "—" : codes;
}

TEST(DrawingNeeds, DocumentListsWhatTheScriptsName) {
  TestRun run;
  AddSectorUsingEverything(run.fs());
  run.options().subsectors.fill(1);
  run.options().hexNumbers = HexNumberMode::kAll;
  run.options().dateText = "1105";
  ASSERT_EQ(ConvertSector(run.context(), "d"), 1);
  ASSERT_EQ(run.log().ErrorCount(), 0) << run.errors();

  auto written = NamesInScripts(run.fs(), {"LAYER", "TSPECF", "LSTYLE", "FSTYLE", "INSSYM"});
  EXPECT_EQ(DocumentedNames("Layers"), written["LAYER"]);
  EXPECT_EQ(DocumentedNames("Fonts"), written["TSPECF"]);
  written["LSTYLE"].merge(written["FSTYLE"]);
  EXPECT_EQ(DocumentedNames("Line and fill styles"), written["LSTYLE"]);

  std::vector<std::vector<std::string>> expected;
  for (const BaseFlagRow& kind : BaseFlagTable) {
    expected.push_back({std::string(kind.name),
                        CodesDrawing(kind.flag, BaseCodeTable,
                                     [](const BaseCodeRow& row) {
                                       return std::pair{std::string(1, row.letter), row.flags};
                                     }),
                        CodesDrawing(kind.flag, RemarkCodes, [](const RemarkCode& remark) {
                          return std::pair{std::string(remark.code), remark.flag};
                        })});
  }
  for (int variant = 1; variant <= kAsteroidVariants; ++variant) {
    expected.push_back({std::string(kAsteroidSymbolStem) + std::to_string(variant), "—", "—"});
  }
  EXPECT_EQ(DocumentedRows("Symbols"), expected);
  // Every symbol written is documented, and every kind that a code draws is
  // written, in the map or in the legend.
  const Names documented = DocumentedNames("Symbols");
  for (const std::string& symbol : written["INSSYM"])
    EXPECT_TRUE(documented.contains(symbol)) << symbol;
  for (const auto& row : expected) {
    if (row[1] != "—" || row[2] != "—") {
      EXPECT_TRUE(written["INSSYM"].contains(row[0])) << row[0];
    }
  }
}

}  // namespace
}  // namespace torvane
