// How the remarks of published sector data are fitted into the sixteen
// columns of torvane's map files, the codes torvane draws first. The tables
// behind this are documented in docs/import.md.
#pragma once

#include <string>
#include <string_view>

#include "draw/world_layout.h"
#include "import/import_log.h"
#include "import/imported_sector.h"

namespace torvane {

constexpr size_t kRemarksWidth = kStandardWorldColumns.remarksWidth;

// The remark codes for columns 32 to 47: the codes torvane draws ("Cp", "Ex",
// "Pr", "Rs") first, then the others in their order while they fit.
std::string FitRemarks(std::string_view remarks, CodeStyle codes, const SourceLine& source,
                       ImportLog& log);

}  // namespace torvane
