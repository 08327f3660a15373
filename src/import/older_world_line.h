// Finds the fields of a world line of the older fixed-column format by their
// shapes. Published files put the name, bases, remarks, zone, PBG and
// allegiance at other columns than torvane's map files and may part the
// fields with runs of blanks; where a shape alone does not decide, the file's
// header row, or failing that its other world lines, says where a field stands.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torvane {

// Where a file puts its fields, each counted in columns from the start of
// another field; -1 where not known.
struct OlderLayout {
  int base_after_profile = -1;
  int pbg_after_profile = -1;
  int zone_before_pbg = -1;
  int allegiance_after_pbg = -1;
};

// The fields of one world line, as they stand in it (blank when absent).
struct OlderWorldFields {
  std::string_view name, hex, uwp, bases, remarks, zone, pbg, allegiance, stars;
  std::string doubt;  // a field told by its shape alone, to be reported
};

// True when the line holds a hex and a world profile ("0101 A788899-C"),
// with one or more blanks between them and any name before them, even one
// that runs into the hex.
bool HasHexAndProfile(std::string_view line);

// The layout a comment line naming the columns gives ("#Name  Hex  UWP  B
// Remarks  Z  PBG Al Stars"); empty unless it names the world profile and
// the PBG.
std::optional<OlderLayout> LayoutOfHeader(std::string_view line);

// The layout most of the given lines follow, from the fields their shapes
// alone show; lines that are not world lines are passed over.
OlderLayout LayoutOfLines(const std::vector<std::string_view>& lines);

// Finds the fields of a world line: the hex (four digits) and the world
// profile (nine characters with '-' the eighth) after the name; the PBG
// (three characters, each a digit, 'X' or '?'); between them a base code (one
// character or none) just after the profile, a zone (one character or none)
// just before the PBG, and the remarks; after the PBG the allegiance (2 to 4
// characters or "--") and the stars. Empty, with the reason in `why`, when
// the fields cannot be found.
std::optional<OlderWorldFields> FindWorldFields(std::string_view line, const OlderLayout& layout,
                                                std::string& why);

}  // namespace torvane
