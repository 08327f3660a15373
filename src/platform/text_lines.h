// The one way the programs split a text into lines: LF or CR LF ends a
// line, and a last line without an end still counts.
#pragma once

#include <string_view>
#include <vector>

namespace torvane {

inline std::vector<std::string_view> SplitTextLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace torvane
