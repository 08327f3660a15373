// The remark codes of published data: the newer files' codes translated,
// codes that torvane would misread dropped, and the rest fitted in order.
#include "import/remark_mapping.h"

#include <array>
#include <vector>

#include "draw/base_kinds.h"

namespace torvane {

namespace {

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

bool MatchesPattern(std::string_view text, std::string_view pattern) {
  if (pattern.size() != text.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (pattern[i] != '?' && pattern[i] != text[i]) return false;
  }
  return true;
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

}  // namespace torvane
