// Splits the CR LF-ended bytes of a script into lines; a last line without
// a line end is kept with "<no line end>" appended, so that a test notices.
#pragma once

#include <string>
#include <vector>

namespace torvane_test {

inline std::vector<std::string> ScriptLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(start) + "<no line end>");
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

}  // namespace torvane_test
