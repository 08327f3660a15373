// Tables and rules that fit published sector data into torvane's columns.
#include "import/field_mapping.h"

#include <array>
#include <bit>
#include <cstdint>

#include "platform/ascii_text.h"

namespace torvane_import {

namespace {

using BaseKinds = std::uint32_t;

constexpr BaseKinds Kind(int bit) { return BaseKinds{1} << bit; }

// The kinds of base torvane draws, by the bit it gives each.
struct BaseKindName {
  int bit;
  std::string_view name;
};
constexpr std::array<BaseKindName, 23> BaseKindNames{{
    {0, "Imperial Naval Base"},    {1, "Imperial Scout Base"},    {2, "Imperial Naval Depot"},
    {3, "Imperial Way Station"},   {4, "Independent Naval Base"}, {5, "Military Base"},
    {6, "Tlaukhu Base"},           {7, "Aslan Clan Base"},        {8, "Vargr Naval Base"},
    {9, "Vargr Corsair Base"},     {10, "Droyne Naval Base"},     {11, "Droyne Garrison"},
    {12, "Hiver Naval Base"},      {13, "Hiver Embassy Centre"},  {16, "K'Kree Naval Base"},
    {17, "K'Kree Naval Outpost"},  {18, "Interface World"},       {20, "Zhodani Base"},
    {21, "Zhodani Relay Station"}, {22, "Zhodani Naval Depot"},   {23, "Exile Camp"},
    {24, "Prison Camp"},           {25, "Research Station"},
}};

// torvane's base code table: the letter of column 30 and the kinds it draws.
struct BaseCode {
  char letter;
  BaseKinds kinds;
};
constexpr std::array<BaseCode, 25> BaseCodeTable{{
    {'A', Kind(0) | Kind(1)}, {'B', Kind(0) | Kind(3)}, {'C', Kind(9)},  {'D', Kind(2)},
    {'E', Kind(13)},          {'F', Kind(4) | Kind(5)}, {'G', Kind(8)},  {'H', Kind(8) | Kind(9)},
    {'I', Kind(18)},          {'J', Kind(4)},           {'K', Kind(16)}, {'L', Kind(12)},
    {'M', Kind(5)},           {'N', Kind(0)},           {'O', Kind(17)}, {'P', Kind(10)},
    {'Q', Kind(11)},          {'R', Kind(7)},           {'S', Kind(1)},  {'T', Kind(6)},
    {'U', Kind(6) | Kind(7)}, {'W', Kind(3)},           {'X', Kind(21)}, {'Y', Kind(22)},
    {'Z', Kind(20)},
}};

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
    {'A', "", Kind(0) | Kind(1)}, {'B', "", Kind(0) | Kind(3)}, {'C', "", Kind(9)},
    {'D', "", Kind(2)},           {'E', "", Kind(13)},          {'F', "", Kind(4) | Kind(5)},
    {'G', "", Kind(8)},           {'H', "", Kind(8) | Kind(9)}, {'I', "", Kind(18)},
    {'J', "", Kind(4)},           {'K', "Kk", Kind(16)},  // naval base of the K'kree
    {'K', "V", Kind(8)},                                  // naval base of a Vargr state
    {'K', "", Kind(4)},                                   // naval base of any other state
    {'L', "", Kind(12)},          {'M', "", Kind(5)},           {'N', "", Kind(0)},
    {'O', "", Kind(17)},          {'P', "", Kind(10)},          {'Q', "", Kind(11)},
    {'R', "", Kind(7)},           {'S', "", Kind(1)},           {'T', "", Kind(6)},
    {'U', "", Kind(6) | Kind(7)}, {'V', "", Kind(1)},  // exploration base: a scout base
    {'W', "", Kind(3)},           {'X', "", Kind(21)},          {'Y', "", Kind(22)},
    {'Z', "", Kind(20)},
}};

// Every letter torvane draws is read back as itself (for some allegiance),
// so that the importer reads its own map files unchanged.
constexpr bool EveryTorvaneLetterReadsBack() {
  for (const BaseCode& code : BaseCodeTable) {
    bool found = false;
    for (const PublishedBaseLetter& row : PublishedBaseLetters) {
      found = found || (row.letter == code.letter && row.kinds == code.kinds);
    }
    if (!found) return false;
  }
  return true;
}
static_assert(EveryTorvaneLetterReadsBack());

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
  for (const BaseKindName& kind : BaseKindNames) {
    if ((kinds & Kind(kind.bit)) == 0) continue;
    if (!names.empty()) names += ", ";
    names += kind.name;
  }
  return names;
}

BaseKinds KindsOfTorvaneLetter(char letter) {
  for (const BaseCode& row : BaseCodeTable) {
    if (row.letter == letter) return row.kinds;
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
  for (const BaseCode& row : BaseCodeTable) {
    if (row.kinds == kinds) return row.letter;
    if ((row.kinds & ~kinds) != 0) continue;
    const int count = std::popcount(row.kinds);
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
std::vector<std::string_view> RemarkCodes(std::string_view remarks) {
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

std::vector<std::string_view> SplitWords(std::string_view text) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

std::string_view CutToWidth(std::string_view text, size_t width) {
  if (text.size() <= width) return text;
  size_t cut = width;
  // Back off to the start of a UTF-8 character: continuation bytes are 10xxxxxx.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut);
}

std::string FitName(std::string_view name, const SourceLine& source, ImportLog& log) {
  std::string fitted(TrimBlanks(name));
  for (char& c : fitted) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = ' ';
  }
  if (!fitted.empty() && (fitted[0] == '#' || fitted[0] == '@' || fitted[0] == '$')) {
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
  for (std::string_view word : RemarkCodes(remarks)) {
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
  const std::string code = torvane::UpperAscii(TrimBlanks(zone));
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
  for (char c : torvane::UpperAscii(bases)) {
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
  const std::string upper = torvane::UpperAscii(description);
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
    if (!row.type.empty() && !torvane::EqualsIgnoringAsciiCase(row.type, type)) continue;
    const bool allegiance_matches = row.allegiance == "*" ? true
                                    : row.allegiance.empty()
                                        ? allegiance.empty()
                                        : StartsWith(allegiance, row.allegiance);
    if (allegiance_matches) return row.code;
  }
  return 15;
}

}  // namespace torvane_import
