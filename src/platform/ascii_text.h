// The one trimmer and the one case folding of the three programs. Case is
// folded for the ASCII letters only, whatever the locale: Windows compares
// file names so, and the formats' codes are ASCII.
#pragma once

#include <string>
#include <string_view>

namespace torvane {

// What C's isspace counts as white space in the "C" locale.
inline constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";

inline std::string_view TrimLeading(std::string_view text, std::string_view blanks = kWhiteSpace) {
  const size_t first = text.find_first_not_of(blanks);
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

inline std::string_view TrimTrailing(std::string_view text, std::string_view blanks = kWhiteSpace) {
  const size_t last = text.find_last_not_of(blanks);
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

inline std::string_view Trim(std::string_view text, std::string_view blanks = kWhiteSpace) {
  return TrimTrailing(TrimLeading(text, blanks), blanks);
}

constexpr char ToAsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr char ToAsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = ToAsciiUpper(c);
  return upper;
}

inline std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = ToAsciiLower(c);
  return lower;
}

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (ToAsciiUpper(a[i]) != ToAsciiUpper(b[i])) return false;
  }
  return true;
}

}  // namespace torvane
