// How the base codes of published sector data are fitted into the one base
// letter of torvane's map files, and what each letter stands for. The tables
// behind these are documented in docs/import.md.
#pragma once

#include <string>
#include <string_view>

#include "import/import_log.h"
#include "import/source_line.h"

namespace torvane {

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

}  // namespace torvane
