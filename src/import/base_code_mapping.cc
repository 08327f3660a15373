// The published base letters, the kinds of base each stands for, and the
// one letter of torvane's base code table that draws the most of them.
#include "import/base_code_mapping.h"

#include <array>
#include <bit>

#include "draw/base_kinds.h"
#include "import/imported_sector.h"
#include "platform/ascii_text.h"

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
    if (row.letter == letter && allegiance.starts_with(row.allegiance_prefix)) return row.kinds;
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

}  // namespace

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

}  // namespace torvane
