// Reading a drawing script as torvane writes it: one command per line (two
// for texts and symbols), each checked against its exact line format.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "script/command_words.h"

namespace torvane {

// One command. `values` holds its numbers in the order the line gives them:
// LWIDTH, TSPECH, TSPECA: the value; TEXTM: x, y; CIRR: radius, x, y;
// ARCS: x, y, start angle, radius, end angle; LINE: x, y, angle, distance of
// each end in turn; INSSYM: scale x, scale y, rotation, x, y.
struct ScriptCommand {
  CommandKind kind = CommandKind::kEchoOff;
  int line = 0;      // number of its (first) line, from 1
  std::string name;  // layer, style, font, text or symbol name
  int number = 0;    // COLOR, TSPECJ, TSPECS
  std::array<double, 8> values{};
};

struct ScriptReading {
  std::vector<ScriptCommand> commands;
  // "line N: ..." for every line skipped, and for a script not framed by
  // ECOFF and ECON.
  std::vector<std::string> warnings;
};

// Reads a whole script. Lines end in LF or CR LF. Unknown and malformed
// commands are skipped with a warning; everything else is kept.
ScriptReading ReadScript(std::string_view text);

}  // namespace torvane
