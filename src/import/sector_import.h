// One sector imported: its sector file and metadata read, fitted, laid out
// and written as a sector directory, with the messages a user reads.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "import/map_encoding.h"
#include "import/sector_layout.h"
#include "platform/file_system.h"

namespace torvane {

// What the command line sets for every sector of a run.
struct ImportSettings {
  bool strict = false;
  bool verbose = false;
  bool force = false;
  MapEncoding encoding = MapEncoding::kWindows1252;
};

// The files of one sector and the directory it goes to.
struct SectorToImport {
  std::string sector_path;
  std::string metadata_path;  // empty for none
  std::filesystem::path directory;
  std::string name;  // the directory's own name
  // Put before a message that would not say which sector it is about, when
  // several are imported ("Reach.tab: "); empty for one.
  std::string label;
};

// The texts read for an import.
struct ImportInput {
  std::string sector_text;
  std::optional<std::string> metadata_text;
};

// A sector or metadata file, whole; nothing, with the message said, when it
// cannot be read or is too large to be one.
std::optional<std::string> ReadInputFile(ImportFileSystem& disk, const std::string& path,
                                         std::ostream& err);

struct SectorImported {
  enum class Outcome {
    kWritten,
    kRefused,
    // Nothing in the file is a sector's: no column names, no subsector
    // index, no world (said only when one sector was asked for).
    kNotASectorFile,
  } outcome = Outcome::kRefused;
  LayoutCounts counts;
};

// Reads, fits, lays out and writes the sector.
SectorImported ImportSector(ImportFileSystem& disk, const ImportSettings& settings,
                            const SectorToImport& sector, const ImportInput& input,
                            std::ostream& out, std::ostream& err);

// "1 route", "2 routes".
std::string Counted(int count, std::string_view one, std::string_view more);

}  // namespace torvane
