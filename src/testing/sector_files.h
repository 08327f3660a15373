// Sector data files and map files made up by tests: index lines laid out by
// sector/index_line.h, and a whole sector's files for an in-memory file
// system or a scratch directory.
#pragma once

#include <array>
#include <map>
#include <string>
#include <string_view>

#include "sector/index_line.h"
#include "testing/scratch_dir.h"

namespace torvane_test {

// "A: " and the name padded to the map file's column, then `file` and a
// line end.
inline std::string IndexLine(char letter, std::string_view name, std::string_view file) {
  std::string line{letter, ':', ' '};
  line += name;
  line.resize(torvane::kIndexFileColumn, ' ');
  return line + std::string(file) + "\n";
}

// The map file an index line names: "SUBA.DAT" for subsector A.
inline std::string MapFileName(char letter) { return std::string("SUB") + letter + ".DAT"; }

// A sector's files by their paths below its directory: the data file
// `data_file` with `title` and an index line for every subsector (its name
// from `names`, its map file MapFileName), and the map files in "map/", each
// the text `maps` gives for its letter, else `other_maps`.
inline std::map<std::string, std::string> SectorFiles(const std::string& data_file,
                                                      const std::string& title,
                                                      const std::array<std::string_view, 16>& names,
                                                      const std::map<char, std::string>& maps,
                                                      const std::string& other_maps) {
  std::map<std::string, std::string> files;
  std::string data = title + "\n";
  for (size_t i = 0; i < names.size(); ++i) {
    const char letter = static_cast<char>('A' + i);
    data += IndexLine(letter, names[i], MapFileName(letter));
    const auto map = maps.find(letter);
    files["map/" + MapFileName(letter)] = map != maps.end() ? map->second : other_maps;
  }
  files[data_file] = data;
  return files;
}

// Writes the sector directory `sector_dir` below `dir` (its data file named
// for its last component), with subsectors Aurel to Pellam and a comment
// line in every map file that `maps` does not give.
inline void WriteSector(const ScratchDir& dir, const std::string& sector_dir,
                        const std::string& title, const std::map<char, std::string>& maps = {}) {
  const std::string name = sector_dir.substr(sector_dir.find_last_of('/') + 1);
  constexpr std::array<std::string_view, 16> kNames = {
      "Aurel", "Brisk",  "Corvin", "Dolmen", "Ember",  "Fallow", "Gossam", "Hallow",
      "Isker", "Jarrow", "Kestle", "Lumen",  "Morrow", "Nettle", "Osier",  "Pellam"};
  for (const auto& [path, bytes] :
       SectorFiles(name + ".dat", title, kNames, maps, "# nothing charted\n")) {
    dir.Write(sector_dir + "/" + path, bytes);
  }
}

}  // namespace torvane_test
