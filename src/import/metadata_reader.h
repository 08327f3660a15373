// Reads the XML metadata published beside a sector file: the sector's name,
// its subsector names and its routes.
#pragma once

#include <string>
#include <string_view>

#include "import/import_log.h"
#include "import/imported_sector.h"

namespace torvane {

// Puts what the metadata gives into `sector`: the title, the named
// subsectors and, when the metadata lists routes (in any of its <Routes>
// elements), its routes in place of any the sector file held. A route or
// subsector that cannot be read is reported in `log` and left out. Returns
// false (reported) when the text is not XML with a Sector element; `sector`
// is then unchanged.
bool ReadMetadata(std::string_view text, const std::string& file_name, ImportedSector& sector,
                  ImportLog& log);

// Whether a file's text is XML, as the metadata is and a sector file never
// is: its first character that is not blank, after a UTF-8 byte-order mark,
// is '<'.
bool IsXmlText(std::string_view text);

}  // namespace torvane
