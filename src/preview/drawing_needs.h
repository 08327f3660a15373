// What a drawing must provide before scripts run in it: the layers, fonts,
// line and fill styles and symbols that the scripts name.
#pragma once

#include <array>
#include <set>
#include <string>
#include <vector>

#include "preview/script_reader.h"

namespace torvane {

class DrawingNeeds {
 public:
  // Adds the names of a script's LAYER, TSPECF, LSTYLE, FSTYLE and INSSYM
  // commands.
  void Add(const std::vector<ScriptCommand>& commands);

  // One line per kind, names in byte order and each once:
  // "Layers: A, B\nFonts: Arial\nLine and fill styles:\nSymbols:\n", with
  // nothing after the colon of a kind without names.
  std::string Text() const;

 private:
  std::array<std::set<std::string>, 4> names_;
};

}  // namespace torvane
