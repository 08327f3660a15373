// Field finding for world lines of the older fixed-column format: the hex
// and world profile first, then the PBG, then what stands between and after.
#include "import/older_world_line.h"

#include <array>
#include <cstdlib>
#include <map>

#include "import/imported_sector.h"
#include "platform/ascii_text.h"
#include "sector/map_line.h"

namespace torvane {

namespace {

// How far a field may stand from where the file's layout puts it.
constexpr int kLayoutSlack = 1;
// Blanks that may part a base code from the profile, or a zone from the PBG,
// in a file whose layout does not say.
constexpr size_t kMostBlanksBeside = 3;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsProfileCharacter(char c) { return IsDigit(c) || IsLetter(c) || c == '?'; }

struct Word {
  size_t start;
  std::string_view text;
  size_t end() const { return start + text.size(); }
};

std::vector<Word> WordsFrom(std::string_view line, size_t from) {
  std::vector<Word> words;
  size_t i = from;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) words.push_back({start, line.substr(start, i - start)});
  }
  return words;
}

bool IsProfileAt(std::string_view line, size_t at) {
  if (at + 9 > line.size()) return false;
  for (size_t i = 0; i < 9; ++i) {
    if (i == 7 ? line[at + i] != '-' : !IsProfileCharacter(line[at + i])) return false;
  }
  return at + 9 == line.size() || IsBlank(line[at + 9]);
}

struct HexAndProfile {
  size_t hex;
  size_t profile;
};

// The first four digits followed by blanks and a world profile.
std::optional<HexAndProfile> FindHexAndProfile(std::string_view line) {
  for (size_t p = 0; p + 5 < line.size(); ++p) {
    if (!IsDigit(line[p]) || !IsDigit(line[p + 1]) || !IsDigit(line[p + 2]) ||
        !IsDigit(line[p + 3]) || !IsBlank(line[p + 4])) {
      continue;
    }
    size_t q = p + 4;
    while (q < line.size() && IsBlank(line[q])) ++q;
    if (IsProfileAt(line, q)) return HexAndProfile{p, q};
  }
  return std::nullopt;
}

// Three digits, 'X' or '?'; belts and gas giants above 9 are letters
// ("0B0": eleven belts), the population multiplier never is.
bool IsPbg(std::string_view text) {
  if (text.size() != 3) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool above_nine = i > 0 && c >= 'A' && c <= 'F';
    if (!IsDigit(c) && c != 'X' && c != 'x' && c != '?' && !above_nine) return false;
  }
  return true;
}

// Two to four letters or digits, or dashes for none.
bool IsAllegiance(std::string_view text) {
  if (text.empty() || text.size() > 4) return false;
  if (text.find_first_not_of('-') == std::string_view::npos) return true;
  if (text.size() < 2) return false;
  for (char c : text) {
    if (!IsDigit(c) && !IsLetter(c)) return false;
  }
  return true;
}

// A spectral class as the stars field begins ("G2", "M9", "D", "DB", "BD"),
// which a file without allegiances puts where the allegiance would stand.
bool IsStar(std::string_view text) {
  if (text.size() >= 2 && std::string_view("OBAFGKM").find(text[0]) != std::string_view::npos &&
      IsDigit(text[1])) {
    return true;
  }
  if (text == "D" || text == "BD") return true;
  return text.size() == 2 && text[0] == 'D' && text[1] >= 'A' && text[1] <= 'Z';
}

// A luminosity class as it follows a spectral class ("G2 V", "M0 III").
bool IsLuminosity(std::string_view text) {
  return text == "Ia" || text == "Ib" || text == "D" ||
         (!text.empty() && text.size() <= 3 &&
          text.find_first_not_of("IV") == std::string_view::npos);
}

std::string ShapeAloneDoubt(std::string_view code) {
  return std::string("'").append(code).append(
      "' after the PBG may be an allegiance or the first star, and the file does not say where "
      "its allegiances stand: read as a star");
}

bool Near(size_t column, size_t from, int offset) {
  const long distance = static_cast<long>(column) - static_cast<long>(from);
  return distance >= offset - kLayoutSlack && distance <= offset + kLayoutSlack;
}

// The text from the first word to the end of the last, blanks inside kept.
std::string_view Span(std::string_view line, const std::vector<Word>& words, size_t first,
                      size_t last) {
  if (first >= last) return {};
  return line.substr(words[first].start, words[last - 1].end() - words[first].start);
}

// Names a header row gives its columns, by the field they mark.
enum HeaderField { kHexField, kProfileField, kBaseField, kZoneField, kPbgField, kAllegianceField };
struct HeaderName {
  std::string_view name;
  HeaderField field;
};
constexpr std::array<HeaderName, 15> HeaderNames{{
    {"Hex", kHexField},
    {"Loc.", kHexField},
    {"Loc", kHexField},
    {"Location", kHexField},
    {"UWP", kProfileField},
    {"UPP", kProfileField},
    {"Profile", kProfileField},
    {"B", kBaseField},
    {"Bases", kBaseField},
    {"Z", kZoneField},
    {"Zone", kZoneField},
    {"PBG", kPbgField},
    {"Al", kAllegianceField},
    {"A", kAllegianceField},
    {"Allegiance", kAllegianceField},
}};

// The value most lines give; -1 when none gives one.
int MostCommon(const std::map<int, int>& counts) {
  int best = -1;
  int best_count = 0;
  for (const auto& [value, count] : counts) {
    if (count > best_count) {
      best = value;
      best_count = count;
    }
  }
  return best;
}

int Offset(std::string_view field, std::string_view from) {
  return static_cast<int>(field.data() - from.data());
}

// The words after a line's world profile, and which of them is the PBG.
struct WordsAfterProfile {
  std::string_view line;
  size_t profile = 0;      // where the profile begins
  size_t profile_end = 0;  // the column after it
  std::vector<Word> words;
  size_t pbg = 0;        // the PBG's index in `words`; words.size() for none
  size_t pbg_start = 0;  // where the PBG begins; the line's end for none
  bool has_pbg() const { return pbg < words.size(); }
};

// The PBG is the last word of its shape: remarks and stars hold none.
WordsAfterProfile FindWordsAfterProfile(std::string_view line, size_t profile) {
  WordsAfterProfile after;
  after.line = line;
  after.profile = profile;
  after.profile_end = profile + 9;
  after.words = WordsFrom(line, after.profile_end);
  after.pbg = after.words.size();
  for (size_t i = after.words.size(); i-- > 0;) {
    if (IsPbg(after.words[i].text)) {
      after.pbg = i;
      break;
    }
  }
  after.pbg_start = after.has_pbg() ? after.words[after.pbg].start : line.size();
  return after;
}

// Words reach past the column where the file's world lines hold the PBG,
// and none has its shape.
bool LacksPbgWhereLayoutHasIt(const WordsAfterProfile& after, const OlderLayout& layout) {
  return !after.has_pbg() && !after.words.empty() && layout.pbg_after_profile >= 0 &&
         after.words.back().end() > after.profile + static_cast<size_t>(layout.pbg_after_profile);
}

bool BaseFits(const Word& word, const WordsAfterProfile& after, const OlderLayout& layout) {
  if (word.text.size() != 1) return false;
  if (layout.base_after_profile >= 0) {
    return Near(word.start, after.profile, layout.base_after_profile);
  }
  return word.start - after.profile_end <= kMostBlanksBeside;
}

bool ZoneFits(const Word& word, const WordsAfterProfile& after, const OlderLayout& layout) {
  if (!after.has_pbg() || word.text.size() != 1) return false;
  if (layout.zone_before_pbg >= 0) return Near(after.pbg_start, word.start, layout.zone_before_pbg);
  return after.pbg_start - word.end() <= kMostBlanksBeside;
}

// For one code that could be a base code or a zone: whether it stands
// nearer to where a base code would.
bool NearerToBase(const Word& word, const WordsAfterProfile& after, const OlderLayout& layout) {
  const long from_base =
      layout.base_after_profile >= 0
          ? std::labs(static_cast<long>(word.start - after.profile) - layout.base_after_profile)
          : static_cast<long>(word.start - after.profile_end);
  const long from_zone =
      layout.zone_before_pbg >= 0
          ? std::labs(static_cast<long>(after.pbg_start - word.start) - layout.zone_before_pbg)
          : static_cast<long>(after.pbg_start - word.end());
  return from_base <= from_zone;
}

// Between the profile and the PBG: a base code just after the profile, a
// zone just before the PBG, the remarks in between.
void ReadBeforePbg(const WordsAfterProfile& after, const OlderLayout& layout,
                   OlderWorldFields& fields) {
  const std::vector<Word>& words = after.words;
  size_t first = 0;
  size_t last = after.pbg;
  if (last > first && BaseFits(words[first], after, layout)) {
    // One code that could be either: the nearer field takes it.
    const bool is_base =
        last != 1 || !ZoneFits(words[0], after, layout) || NearerToBase(words[0], after, layout);
    if (is_base) fields.bases = words[first++].text;
  }
  if (last > first && ZoneFits(words[last - 1], after, layout)) fields.zone = words[--last].text;
  fields.remarks = Span(after.line, words, first, last);
}

// After the PBG: the allegiance, when there is one, and the stars. Some
// allegiances look like a star ("A3", "K1", "DA"): where the file's
// allegiances stand, such a code is one, unless a luminosity class follows
// it ("G2 V" in a line without an allegiance). Only a file whose layout
// does not say is left to the shape of the word, and that is reported.
// False, with the reason in `why`, for an allegiance that cannot be one.
bool ReadAfterPbg(const WordsAfterProfile& after, const OlderLayout& layout,
                  OlderWorldFields& fields, std::string& why) {
  const std::vector<Word>& words = after.words;
  size_t stars = after.pbg + 1;
  if (stars < words.size()) {
    const Word& next = words[stars];
    const bool star_shaped = IsStar(next.text);
    bool is_allegiance = IsAllegiance(next.text) && !star_shaped;
    if (layout.allegiance_after_pbg >= 0 &&
        next.start - after.pbg_start <=
            static_cast<size_t>(layout.allegiance_after_pbg + kLayoutSlack)) {
      if (!IsAllegiance(next.text) && !star_shaped) {
        why = "allegiance '" + std::string(next.text) + "' is not 2 to 4 letters or \"--\"";
        return false;
      }
      const bool luminosity_follows =
          stars + 1 < words.size() && IsLuminosity(words[stars + 1].text);
      if (star_shaped && IsAllegiance(next.text) && !luminosity_follows) is_allegiance = true;
    } else if (layout.allegiance_after_pbg >= 0) {
      is_allegiance = false;  // further on than the file's allegiances: the stars
    } else if (star_shaped && IsAllegiance(next.text)) {
      fields.doubt = ShapeAloneDoubt(next.text);
    }
    if (is_allegiance) fields.allegiance = words[stars++].text;
  }
  if (stars < words.size()) fields.stars = TrimBlanks(after.line.substr(words[stars].start));
  return true;
}

}  // namespace

bool HasHexAndProfile(std::string_view line) { return FindHexAndProfile(line).has_value(); }

std::optional<OlderLayout> LayoutOfHeader(std::string_view line) {
  if (line.empty() || line[0] != '#') return std::nullopt;
  std::array<int, 6> columns;
  columns.fill(-1);
  for (Word word : WordsFrom(line, 1)) {
    for (const HeaderName& row : HeaderNames) {
      if (EqualsIgnoringAsciiCase(row.name, word.text) && columns[row.field] < 0) {
        columns[row.field] = static_cast<int>(word.start);
      }
    }
  }
  const int profile = columns[kProfileField];
  const int pbg = columns[kPbgField];
  if (profile < 0 || pbg <= profile) return std::nullopt;
  OlderLayout layout;
  layout.pbg_after_profile = pbg - profile;
  if (columns[kBaseField] > profile) layout.base_after_profile = columns[kBaseField] - profile;
  if (columns[kZoneField] > profile && columns[kZoneField] < pbg) {
    layout.zone_before_pbg = pbg - columns[kZoneField];
  }
  if (columns[kAllegianceField] > pbg)
    layout.allegiance_after_pbg = columns[kAllegianceField] - pbg;
  return layout;
}

OlderLayout LayoutOfLines(const std::vector<std::string_view>& lines) {
  std::map<int, int> base, pbg, zone, allegiance;
  for (std::string_view line : lines) {
    if (line.empty() || MapLineKindOf(line) != MapLineKind::kWorld) continue;
    std::string why;
    const std::optional<OlderWorldFields> fields = FindWorldFields(line, OlderLayout{}, why);
    if (!fields) continue;
    if (!fields->bases.empty()) ++base[Offset(fields->bases, fields->uwp)];
    if (fields->pbg.empty()) continue;
    ++pbg[Offset(fields->pbg, fields->uwp)];
    if (!fields->zone.empty()) ++zone[Offset(fields->pbg, fields->zone)];
    if (!fields->allegiance.empty()) ++allegiance[Offset(fields->allegiance, fields->pbg)];
  }
  OlderLayout layout;
  layout.base_after_profile = MostCommon(base);
  layout.pbg_after_profile = MostCommon(pbg);
  layout.zone_before_pbg = MostCommon(zone);
  layout.allegiance_after_pbg = MostCommon(allegiance);
  return layout;
}

std::optional<OlderWorldFields> FindWorldFields(std::string_view line, const OlderLayout& layout,
                                                std::string& why) {
  const std::optional<HexAndProfile> found = FindHexAndProfile(line);
  if (!found) {
    why = "not a world line: no hex and world profile such as '0101 A788899-C'";
    return std::nullopt;
  }
  OlderWorldFields fields;
  fields.name = TrimBlanks(line.substr(0, found->hex));
  fields.hex = line.substr(found->hex, 4);
  fields.uwp = line.substr(found->profile, 9);
  const WordsAfterProfile after = FindWordsAfterProfile(line, found->profile);
  if (LacksPbgWhereLayoutHasIt(after, layout)) {
    why = "no PBG (three digits, X or ?) where the file's world lines hold it, " +
          std::to_string(layout.pbg_after_profile) + " columns after the world profile";
    return std::nullopt;
  }
  ReadBeforePbg(after, layout, fields);
  if (!after.has_pbg()) return fields;
  fields.pbg = after.words[after.pbg].text;
  if (!ReadAfterPbg(after, layout, fields, why)) return std::nullopt;
  return fields;
}

}  // namespace torvane
