// Tables and rules that fit published sector data into torvane's columns.
#include "import/field_mapping.h"

#include <array>
#include <bit>

#include "draw/base_kinds.h"
#include "draw/route_line.h"
#include "platform/ascii_text.h"
#include "sector/map_line.h"

namespace torvane {

namespace {

using BaseKinds = BaseFlags;

// The base letters of published data, in all three formats, and the kinds of
// base each stands for; the first row whose letter matches and whose
// allegiance prefix begins the world's allegiance wins. One letter means the
// same in every format.
struct PublishedBaseLetter {
  char letter;
  std::string_view allegiance_prefix;
  BaseKinds kinds;
};
constexpr std::array<PublishedBaseLetter, 28> PublishedBaseLetters{{
    {'A', "", Bit(0) | Bit(1)}, {'B', "", Bit(0) | Bit(3)}, {'C', "", Bit(9)},
    {'D', "", Bit(2)},          {'E', "", Bit(13)},         {'F', "", Bit(4) | Bit(5)},
    {'G', "", Bit(8)},          {'H', "", Bit(8) | Bit(9)}, {'I', "", Bit(18)},
    {'J', "", Bit(4)},          {'K', "Kk", Bit(16)},  // naval base of the K'kree
    {'K', "V", Bit(8)},                                // naval base of a Vargr state
    {'K', "", Bit(4)},                                 // naval base of any other state
    {'L', "", Bit(12)},         {'M', "", Bit(5)},          {'N', "", Bit(0)},
    {'O', "", Bit(17)},         {'P', "", Bit(10)},         {'Q', "", Bit(11)},
    {'R', "", Bit(7)},          {'S', "", Bit(1)},          {'T', "", Bit(6)},
    {'U', "", Bit(6) | Bit(7)}, {'V', "", Bit(1)},  // exploration base: a scout base
    {'W', "", Bit(3)},          {'X', "", Bit(21)},         {'Y', "", Bit(22)},
    {'Z', "", Bit(20)},
}};

// Every letter torvane draws is read back as itself (for some allegiance),
// so that the importer reads its own map files unchanged.
constexpr bool EveryTorvaneLetterReadsBack() {
  for (const BaseCodeRow& code : BaseCodeTable) {
    bool found = false;
    for (const PublishedBaseLetter& row : PublishedBaseLetters) {
      found = found || (row.letter == code.letter && row.kinds == code.flags);
    }
    if (!found) return false;
  }
  return true;
}
static_assert(EveryTorvaneLetterReadsBack());

// Every kind a published letter stands for is one torvane draws and names.
constexpr bool EveryPublishedKindIsDrawn() {
  for (const PublishedBaseLetter& row : PublishedBaseLetters) {
    if (row.kinds == 0 || (row.kinds & ~kTableKinds) != 0) return false;
  }
  return true;
}
static_assert(EveryPublishedKindIsDrawn());

// Words of an older file's base legend and the newer letters they stand for.
struct LegendWord {
  std::string_view word;
  char letter;
};
constexpr std::array<LegendWord, 11> LegendWords{{
    {"NAVY", 'N'},
    {"NAVAL", 'N'},
    {"SCOUT", 'S'},
    {"WAY", 'W'},
    {"DEPOT", 'D'},
    {"MILITARY", 'M'},
    {"CORSAIR", 'C'},
    {"EMBASSY", 'E'},
    {"CLAN", 'R'},
    {"RELAY", 'X'},
    {"TLAUKHU", 'T'},
}};

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

// Remark codes of the newer files that mean something else than the codes
// torvane draws; "?" stands for any one character. An empty replacement
// drops the code.
struct RemarkTranslation {
  std::string_view code;
  std::string_view replacement;
};
constexpr std::array<RemarkTranslation, 3> NewerRemarkTable{{
    {"Pr", ""},     // pre-rich, not a prison camp
    {"Px", "Pr"},   // prison or exile camp
    {"Rs?", "Rs"},  // research station RsA, RsB, ...
}};

// The remark codes torvane draws, in the order they are put first.
constexpr std::array<std::string_view, 4> DrawnRemarks{"Cp", "Ex", "Pr", "Rs"};

constexpr bool IsDrawnRemark(std::string_view code) {
  for (std::string_view drawn : DrawnRemarks) {
    if (drawn == code) return true;
  }
  return false;
}
// Every remark code that changes torvane's drawing is put first, so none is
// crowded out of the 16 columns by the others.
constexpr bool EveryDrawnRemarkIsKept() {
  if (!IsDrawnRemark(kCapitalRemark)) return false;
  for (const RemarkCode& remark : RemarkCodes) {
    if (!IsDrawnRemark(remark.code)) return false;
  }
  return true;
}
static_assert(EveryDrawnRemarkIsKept() && DrawnRemarks.size() == 1 + RemarkCodes.size());

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

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool MatchesPattern(std::string_view text, std::string_view pattern) {
  if (pattern.size() != text.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (pattern[i] != '?' && pattern[i] != text[i]) return false;
  }
  return true;
}

std::string KindNames(BaseKinds kinds) {
  std::string names;
  for (const BaseFlagRow& kind : BaseFlagTable) {
    if ((kinds & kind.flag) == 0) continue;
    if (!names.empty()) names += ", ";
    names += kind.name;
  }
  return names;
}

BaseKinds KindsOfTorvaneLetter(char letter) {
  for (const BaseCodeRow& row : BaseCodeTable) {
    if (row.letter == letter) return row.flags;
  }
  return 0;
}

BaseKinds KindsOfPublishedLetter(char letter, std::string_view allegiance) {
  for (const PublishedBaseLetter& row : PublishedBaseLetters) {
    if (row.letter == letter && StartsWith(allegiance, row.allegiance_prefix)) return row.kinds;
  }
  return 0;
}

// The letter whose kinds equal `kinds`, else the first letter (in table order)
// that covers the most of them and draws nothing else.
char BestBaseLetter(BaseKinds kinds) {
  char best = ' ';
  int best_count = 0;
  for (const BaseCodeRow& row : BaseCodeTable) {
    if (row.flags == kinds) return row.letter;
    if ((row.flags & ~kinds) != 0) continue;
    const int count = std::popcount(row.flags);
    if (count > best_count) {
      best = row.letter;
      best_count = count;
    }
  }
  return best;
}

// The codes of a remarks field: its words, except that a code in braces,
// parentheses or brackets ("{Twin Suns}", "(Aslan)") runs to its closing mark,
// blanks and all.
std::vector<std::string_view> RemarksFieldCodes(std::string_view remarks) {
  std::vector<std::string_view> codes;
  const std::vector<std::string_view> words = SplitWords(remarks);
  for (size_t i = 0; i < words.size(); ++i) {
    const size_t open = std::string_view("{([").find(words[i].front());
    size_t last = i;
    if (open != std::string_view::npos) {
      const char close = "})]"[open];
      while (last + 1 < words.size() && words[last].back() != close) ++last;
      if (words[last].back() != close) last = i;
    }
    const char* begin = words[i].data();
    codes.push_back(std::string_view(
        begin, static_cast<size_t>(words[last].data() - begin) + words[last].size()));
    i = last;
  }
  return codes;
}

}  // namespace

std::string FitName(std::string_view name, const SourceLine& source, ImportLog& log) {
  std::string fitted(TrimBlanks(name));
  for (char& c : fitted) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = ' ';
  }
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

std::string FitRemarks(std::string_view remarks, CodeStyle codes, const SourceLine& source,
                       ImportLog& log) {
  std::array<bool, DrawnRemarks.size()> drawn{};
  std::vector<std::string> others;
  for (std::string_view word : RemarksFieldCodes(remarks)) {
    std::string code(word);
    if (codes == CodeStyle::kNewer) {
      for (const RemarkTranslation& row : NewerRemarkTable) {
        if (!MatchesPattern(code, row.code)) continue;
        if (row.replacement.empty()) {
          log.Change(source,
                     "remark '" + code + "' left out (torvane would draw it as a prison camp)");
        } else {
          log.Note(source,
                   "remark '" + code + "' written as '" + std::string(row.replacement) + "'");
        }
        code = row.replacement;
        break;
      }
      if (code.empty()) continue;
    }
    bool is_drawn = false;
    std::string_view inside;
    for (size_t i = 0; i < DrawnRemarks.size(); ++i) {
      if (code == DrawnRemarks[i]) {
        drawn[i] = true;
        is_drawn = true;
      } else if (code.find(DrawnRemarks[i]) != std::string::npos) {
        inside = DrawnRemarks[i];
      }
    }
    if (is_drawn) continue;
    if (!inside.empty()) {
      log.Change(source, "remark '" + code + "' left out (torvane would draw the '" +
                             std::string(inside) + "' inside it)");
      continue;
    }
    others.push_back(code);
  }
  std::string fitted;
  const auto append = [&fitted](std::string_view code) {
    if (!fitted.empty()) fitted += ' ';
    fitted += code;
  };
  for (size_t i = 0; i < DrawnRemarks.size(); ++i) {
    if (drawn[i]) append(DrawnRemarks[i]);
  }
  for (const std::string& code : others) {
    const size_t needed = code.size() + (fitted.empty() ? 0 : 1);
    if (fitted.size() + needed <= kRemarksWidth) {
      append(code);
    } else {
      log.Change(source, "remark '" + code + "' left out: the remarks hold 16 columns");
    }
  }
  return fitted;
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
        prefix ? code.size() == 4 && StartsWith(code, row.code.substr(0, row.code.size() - 1))
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

char MapBaseCode(std::string_view bases, std::string_view allegiance, const SourceLine& source,
                 ImportLog& log) {
  std::string code;
  for (char c : UpperAscii(bases)) {
    if (c != ' ' && c != '\t') code += c;
  }
  if (code.empty() || code == "-") return ' ';
  BaseKinds kinds = 0;
  for (char letter : code) {
    const BaseKinds letter_kinds = KindsOfPublishedLetter(letter, TrimBlanks(allegiance));
    if (letter_kinds == 0) {
      log.Change(source, std::string("base code '") + letter + "' has no symbol: left out");
    }
    kinds |= letter_kinds;
  }
  if (kinds == 0) return ' ';
  const char letter = BestBaseLetter(kinds);
  const BaseKinds lost = kinds & ~KindsOfTorvaneLetter(letter);
  if (lost != 0) {
    log.Change(source, "bases '" + code + "' written as '" + letter + "': no letter also draws " +
                           KindNames(lost));
  }
  return letter;
}

std::string BaseLetterMeaning(char letter) { return KindNames(KindsOfTorvaneLetter(letter)); }

std::string BaseLettersFromDescription(std::string_view description) {
  const std::string upper = UpperAscii(description);
  const bool zhodani = upper.find("ZHODANI") != std::string::npos;
  std::string letters;
  for (const LegendWord& row : LegendWords) {
    if (upper.find(row.word) == std::string::npos) continue;
    char letter = row.letter;
    // A Zhodani navy or depot has letters of its own.
    if (zhodani && letter == 'N') letter = 'Z';
    if (zhodani && letter == 'D') letter = 'Y';
    if (letters.find(letter) == std::string::npos) letters += letter;
  }
  return letters;
}

int RouteColorCode(std::string_view type, std::string_view allegiance) {
  type = TrimBlanks(type);
  allegiance = TrimBlanks(allegiance);
  for (const RouteColorRow& row : RouteColorRows) {
    if (!row.type.empty() && !EqualsIgnoringAsciiCase(row.type, type)) continue;
    const bool allegiance_matches = row.allegiance == "*" ? true
                                    : row.allegiance.empty()
                                        ? allegiance.empty()
                                        : StartsWith(allegiance, row.allegiance);
    if (allegiance_matches) return row.code;
  }
  return 15;
}

}  // namespace torvane
