// The importer's log: the problems and notes gathered while one sector is
// imported, each with where its value came from, kept apart from the sector
// they describe.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "import/source_line.h"

namespace torvane {

// Messages gathered while importing. A problem is a line or value that could
// not be used (--strict makes any problem fatal); a note says how a value was
// fitted into the map files (shown with --verbose).
struct ImportLog {
  std::vector<std::string> problems;
  std::vector<std::string> notes;
  std::vector<SourceLine> note_sources;  // where each note's value came from
  std::vector<int> skipped_lines;        // world lines reported and left out
  int changes = 0;                       // values written otherwise than published
  void Problem(const SourceLine& source, std::string_view text);
  void Note(const SourceLine& source, std::string_view text);
  // A world line left out: a problem, and the line is counted as skipped.
  void Skip(const SourceLine& source, std::string_view text);
  // A value written otherwise than published (a name cut, a code dropped, a
  // PBG digit set to 0): a note, and the change is counted.
  void Change(const SourceLine& source, std::string_view text);
  // The notes as a reader follows the files: those of each of `files` in
  // turn by line (notes of one line in the order they were made), then those
  // of any other source. Notes are made in the order of the steps (reading,
  // then worlds in hex order, then routes), not of the lines.
  std::vector<std::string> NotesInLineOrder(const std::vector<std::string>& files) const;
};

}  // namespace torvane
