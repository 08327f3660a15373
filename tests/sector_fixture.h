// Small sector directories made up by the tests themselves.
#pragma once

#include <map>
#include <string>

#include "testing/scratch_dir.h"

namespace torvane_test {

// Writes '<dir>/<name>.dat' (name: the last component of `dir`) with `title` and an index line for
// every subsector ("A: Alpha...", map file 'SUBA.DAT'), and a map file for every subsector: the
// text given in `maps` by letter, else a comment line.
inline void WriteSector(const ScratchDir& dir, const std::string& sector_dir,
                        const std::string& title, const std::map<char, std::string>& maps = {}) {
  const std::string name = sector_dir.substr(sector_dir.find_last_of('/') + 1);
  static const char* const kNames[16] = {"Aurel",  "Brisk",  "Corvin", "Dolmen", "Ember",  "Fallow",
                                         "Gossam", "Hallow", "Isker",  "Jarrow", "Kestle", "Lumen",
                                         "Morrow", "Nettle", "Osier",  "Pellam"};
  std::string data = title + "\n";
  for (int i = 0; i < 16; ++i) {
    const char letter = static_cast<char>('A' + i);
    std::string line = std::string(1, letter) + ": " + kNames[i];
    line.resize(29, ' ');
    data += line + "SUB" + letter + ".DAT\n";
    const auto map = maps.find(letter);
    dir.Write(sector_dir + "/map/SUB" + letter + ".DAT",
              map != maps.end() ? map->second : std::string("# nothing charted\n"));
  }
  dir.Write(sector_dir + "/" + name + ".dat", data);
}

}  // namespace torvane_test
