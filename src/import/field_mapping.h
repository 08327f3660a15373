// How the fields of published sector data are fitted into the fixed columns
// of torvane's map files: names, zones, allegiances and route colour codes
// (base codes and remarks have files of their own). The tables behind these
// are documented in docs/import.md.
#pragma once

#include <string>
#include <string_view>

#include "draw/world_layout.h"
#include "import/import_log.h"
#include "import/source_line.h"

namespace torvane {

constexpr size_t kNameWidth = kStandardWorldColumns.nameWidth;

// The text with each control character a blank: one would break the line
// it stands in for torvane.
std::string ReplaceControls(std::string_view text);

// The world name for columns 0 to 13: control characters become blanks, a
// name that would make the line a comment or route line ("#", "@", "$")
// gets a leading blank, and the name is cut to 14 columns.
std::string FitName(std::string_view name, const SourceLine& source, ImportLog& log);

// The zone letter for column 48: 'A', 'R' or a blank.
char MapZone(std::string_view zone, const SourceLine& source, ImportLog& log);

// The two-letter allegiance code for columns 55 and 56 (empty for none).
std::string MapAllegiance(std::string_view allegiance, const SourceLine& source, ImportLog& log);

// Population multiplier, belts and gas giants, each digit in its own column.
// A digit above 9, written as a letter ('0B0': eleven belts), is written 9,
// the most one digit holds; an unknown digit ('?', 'X') or any other
// character is written '0' in its place, and a missing one '0' after the
// others: torvane draws a gas giant for anything but '0' in column 53.
std::string FitPbg(std::string_view pbg, const SourceLine& source, ImportLog& log);

// The colour code (0 to 15) of a route from its type and allegiance.
int RouteColorCode(std::string_view type, std::string_view allegiance);

}  // namespace torvane
