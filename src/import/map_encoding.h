// Texts as the map files hold them. Campaign Cartographer 2 is a Windows
// program of its time: it shows a script's bytes in the ANSI code page,
// Windows-1252 on Western systems, so names, remarks and subsector names are
// written in it unless the user asks for UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "import/import_log.h"
#include "import/imported_sector.h"

namespace torvane {

enum class MapEncoding { kWindows1252, kUtf8 };

// "windows-1252" (or "cp1252") and "utf-8" (or "utf8"), in any case.
std::optional<MapEncoding> MapEncodingNamed(std::string_view name);

// `text` in `encoding`. For Windows-1252 a character the code page lacks is
// written as its nearest ASCII ("ő" as "o", a dash as "-", else "?"), and
// the change is reported as a change to `what` ("name"); a text that is not
// UTF-8 is taken to be in the code page already and kept as it is.
std::string MapText(std::string_view text, MapEncoding encoding, std::string_view what,
                    const SourceLine& source, ImportLog& log);

// The text with each control character a blank: one would break the line
// it stands in for torvane.
std::string ReplaceControls(std::string_view text);

}  // namespace torvane
