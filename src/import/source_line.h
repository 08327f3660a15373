// Where a value of a published file came from: the prefix of every message
// the importer gives about it.
#pragma once

#include <string>

namespace torvane {

// Where a value came from, for messages.
struct SourceLine {
  std::string file;
  int line = 0;  // 0 when the value belongs to the whole file
};
// "file:line: " (or "file: " without a line), the prefix of every message.
inline std::string Where(const SourceLine& source) {
  std::string where = source.file;
  if (source.line > 0) where += ':' + std::to_string(source.line);
  return where + ": ";
}

}  // namespace torvane
