// The lines of a program's output for tests, split as the programs split
// text (platform/text_lines.h), each checked for its line end: a line that
// does not end so is kept with "<no line end>" appended, so that a test
// notices. And a count of the places a text stands in an output.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/text_lines.h"

namespace torvane_test {

inline std::vector<std::string> LinesEndingIn(std::string_view bytes, std::string_view line_end) {
  std::vector<std::string> lines;
  for (const std::string_view line : torvane::SplitTextLines(bytes)) {
    const size_t end = static_cast<size_t>(line.data() - bytes.data()) + line.size();
    lines.emplace_back(line);
    if (bytes.substr(end, line_end.size()) != line_end) lines.back() += "<no line end>";
  }
  return lines;
}

// A script's lines, each ended by CR LF.
inline std::vector<std::string> ScriptLines(std::string_view bytes) {
  return LinesEndingIn(bytes, "\r\n");
}

// How many times `part` stands in `text`, overlapping ones included.
inline size_t Occurrences(std::string_view text, std::string_view part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

}  // namespace torvane_test
