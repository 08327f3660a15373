// How the fields of published sector data are fitted into the fixed columns
// of torvane's map files: names, remarks, zones, allegiances, base codes and
// route colour codes. The tables behind these are documented in docs/import.md.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "draw/world_layout.h"
#include "import/import_log.h"
#include "import/imported_sector.h"
#include "sector/index_line.h"

namespace torvane {

constexpr size_t kNameWidth = kStandardWorldColumns.nameWidth;
constexpr size_t kRemarksWidth = kStandardWorldColumns.remarksWidth;
constexpr size_t kSubsectorNameWidth = kSubsectorNameLimit;

// The world name for columns 0 to 13: control characters become blanks, a
// name that would make the line a comment or route line ("#", "@", "$")
// gets a leading blank, and the name is cut to 14 columns.
std::string FitName(std::string_view name, const SourceLine& source, ImportLog& log);

// The remark codes for columns 32 to 47: the codes torvane draws ("Cp", "Ex",
// "Pr", "Rs") first, then the others in their order while they fit.
std::string FitRemarks(std::string_view remarks, CodeStyle codes, const SourceLine& source,
                       ImportLog& log);

// The zone letter for column 48: 'A', 'R' or a blank.
char MapZone(std::string_view zone, const SourceLine& source, ImportLog& log);

// The two-letter allegiance code for columns 55 and 56 (empty for none).
std::string MapAllegiance(std::string_view allegiance, const SourceLine& source, ImportLog& log);

// The base code letter for column 30 (a blank for none) from the published
// base letters, which mean the same in every format (one letter, as older
// files write them, or several, as the newer formats do).
char MapBaseCode(std::string_view bases, std::string_view allegiance, const SourceLine& source,
                 ImportLog& log);

// The kinds of base a letter of torvane's base code table stands for, as
// text ("Imperial Naval Base, Imperial Scout Base"); empty for no row.
std::string BaseLetterMeaning(char letter);

// Older files may explain their own base codes in a legend ("2 = Navy & Scout");
// the letters of the newer codes that such a description names ("NS"), empty
// when it names none.
std::string BaseLettersFromDescription(std::string_view description);

// The colour code (0 to 15) of a route from its type and allegiance.
int RouteColorCode(std::string_view type, std::string_view allegiance);

}  // namespace torvane
