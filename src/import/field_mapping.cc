// Tables and rules that fit published sector data into torvane's columns.
#include "import/field_mapping.h"

#include <array>

#include "draw/route_line.h"
#include "platform/ascii_text.h"
#include "sector/index_line.h"
#include "sector/map_line.h"

namespace torvane {

namespace {

// Zone codes of the published data and the letter torvane reads.
struct ZoneCode {
  std::string_view code;
  char zone;
};
constexpr std::array<ZoneCode, 9> ZoneTable{{
    {"A", 'A'},
    {"AMBER", 'A'},
    {"U", 'A'},
    {"R", 'R'},
    {"RED", 'R'},
    {"F", 'R'},
    {"", ' '},
    {"-", ' '},
    {"G", ' '},
}};

// Allegiance codes reduced to two letters; a code ending in "*" matches every
// code it begins. Four-letter codes without a row keep their first two letters.
struct AllegianceCode {
  std::string_view code;
  std::string_view two_letters;
};
constexpr std::array<AllegianceCode, 10> AllegianceTable{{
    {"CsIm", "Cs"},
    {"CsZh", "Cz"},
    {"Im*", "Im"},
    {"Zh*", "Zh"},
    {"V*", "Va"},
    {"As*", "As"},
    {"Na*", "Na"},
    {"----", ""},
    {"--", ""},
    {"-", ""},
}};

// Route colour codes: the first row whose type and allegiance match wins.
// An empty type matches every type; allegiance "*" matches every allegiance,
// "" only a route without one, and any other text is a prefix.
struct RouteColorRow {
  std::string_view type;
  std::string_view allegiance;
  int code;
};
constexpr std::array<RouteColorRow, 7> RouteColorRows{{
    {"Trade", "*", 2},
    {"Xboat", "*", 3},
    {"X-Boat", "*", 3},
    {"", "", 3},
    {"", "Im", 3},
    {"", "Zh", 13},
    {"", "*", 15},
}};

// Every code written is one torvane's colour table holds.
constexpr bool EveryRouteCodeHasAColour() {
  for (const RouteColorRow& row : RouteColorRows) {
    if (row.code < 0 || row.code >= static_cast<int>(RouteColorTable.size())) {
      return false;
    }
  }
  return true;
}
static_assert(EveryRouteCodeHasAColour());

}  // namespace

SectorNames FitSectorNames(const ImportedSector& sector, std::string_view directory_name,
                           MapEncoding encoding, const SourceLine& source, ImportLog& log) {
  SectorNames names;
  names.title = ReplaceControls(MapText(TrimBlanks(sector.title), encoding, "title", source, log));
  if (names.title.empty()) names.title = MapText(directory_name, encoding, "title", source, log);
  for (size_t s = 0; s < names.subsectors.size(); ++s) {
    const std::string what = std::string("subsector ") + static_cast<char>('A' + s) + " name";
    const std::string full = ReplaceControls(
        MapText(TrimBlanks(sector.subsector_names[s]), encoding, what, source, log));
    names.subsectors[s] = CutToWidth(full, kSubsectorNameLimit);
    if (names.subsectors[s].size() < full.size()) {
      log.Note(source, what + " '" + full + "' cut to '" + names.subsectors[s] + "'");
    }
  }
  return names;
}

std::string FitName(std::string_view name, const SourceLine& source, ImportLog& log) {
  std::string fitted = ReplaceControls(TrimBlanks(name));
  if (MapLineKindOf(fitted) != MapLineKind::kWorld) {
    log.Change(source,
               "name '" + fitted + "' begins with '" + fitted[0] +
                   "', which would make the line a comment or route: a blank is put before it");
    fitted.insert(fitted.begin(), ' ');
  }
  const std::string_view cut = CutToWidth(fitted, kNameWidth);
  if (cut.size() < fitted.size()) {
    log.Change(source, "name '" + fitted + "' cut to '" + std::string(cut) + "'");
  }
  return std::string(TrimBlanks(cut).empty() ? std::string_view() : cut);
}

char MapZone(std::string_view zone, const SourceLine& source, ImportLog& log) {
  const std::string code = UpperAscii(TrimBlanks(zone));
  for (const ZoneCode& row : ZoneTable) {
    if (row.code == code) return row.zone;
  }
  log.Change(source, "zone '" + code + "' is not amber or red: no zone written");
  return ' ';
}

std::string MapAllegiance(std::string_view allegiance, const SourceLine& source, ImportLog& log) {
  const std::string_view code = TrimBlanks(allegiance);
  for (const AllegianceCode& row : AllegianceTable) {
    const bool prefix = !row.code.empty() && row.code.back() == '*';
    const bool matches =
        prefix ? code.size() == 4 && code.starts_with(row.code.substr(0, row.code.size() - 1))
               : code == row.code;
    if (matches) {
      if (code.size() > 2) {
        log.Note(source, "allegiance '" + std::string(code) + "' written as '" +
                             std::string(row.two_letters) + "'");
      }
      return std::string(row.two_letters);
    }
  }
  if (code.size() > 2) {
    const std::string_view first = CutToWidth(code, 2);
    log.Note(source,
             "allegiance '" + std::string(code) + "' written as '" + std::string(first) + "'");
    return std::string(first);
  }
  return std::string(code);
}

std::string FitPbg(std::string_view pbg, const SourceLine& source, ImportLog& log) {
  const std::string published(TrimBlanks(pbg));
  std::string digits = "000";
  bool above_nine = false;
  for (size_t i = 0; i < digits.size() && i < published.size(); ++i) {
    const char c = published[i];
    if (c >= '0' && c <= '9') {
      digits[i] = c;
    } else if (c >= 'A' && c <= 'Z' && c != 'X') {
      digits[i] = '9';
      above_nine = true;
    }
  }
  if (published == digits) return digits;
  if (published.empty()) {
    log.Change(source, "no PBG: written as '000'");
  } else {
    log.Change(source, "PBG '" + published + "' written as '" + digits + "'" +
                           (above_nine ? ": a digit above 9 is written 9" : ""));
  }
  return digits;
}

int RouteColorCode(std::string_view type, std::string_view allegiance) {
  type = TrimBlanks(type);
  allegiance = TrimBlanks(allegiance);
  for (const RouteColorRow& row : RouteColorRows) {
    if (!row.type.empty() && !EqualsIgnoringAsciiCase(row.type, type)) continue;
    const bool allegiance_matches = row.allegiance == "*" ? true
                                    : row.allegiance.empty()
                                        ? allegiance.empty()
                                        : allegiance.starts_with(row.allegiance);
    if (allegiance_matches) return row.code;
  }
  return 15;
}

}  // namespace torvane
