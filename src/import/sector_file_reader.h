// Reads a published sector file in any of its three text formats, recognised
// from the content: tab-delimited with a header row, columns fixed by a line
// of dashes under a header line, or the older fixed-column format.
#pragma once

#include <string>
#include <string_view>

#include "import/import_log.h"
#include "import/imported_sector.h"

namespace torvane {

enum class SectorFileFormat { kTabDelimited, kColumns, kOlderColumns };

SectorFileFormat DetectSectorFileFormat(std::string_view text);
std::string_view FormatName(SectorFileFormat format);

// Reads the worlds of a sector file; older files also give the title, the
// subsector names and route lines. A line that cannot be read is reported
// in `log` with the file name and line number and left out.
ImportedSector ReadSectorFile(std::string_view text, const std::string& file_name, ImportLog& log);

// Reads a sector file in the given format, whatever its content.
ImportedSector ReadSectorFileAs(SectorFileFormat format, std::string_view text,
                                const std::string& file_name, ImportLog& log);

// Reads the older fixed-column format (older_sector_reader.cc).
ImportedSector ReadOlderSectorFile(std::string_view text, const std::string& file_name,
                                   ImportLog& log);

// Checks the hex and world profile of a world read from any format and
// reports it as skipped when they cannot be used; true when the world is
// usable.
bool CheckWorld(ImportedWorld& world, std::string_view hex, ImportLog& log);

}  // namespace torvane
