// Subsector map texts kept from the sector script for the subsector scripts
// drawn right after it from the same files, so that a campaign converted
// with every subsector reads each map file once instead of twice.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "script/error_report.h"

namespace torvane {

// Texts kept in all stay below this many bytes; a map file beyond it is
// simply read again.
inline constexpr size_t kKeptMapTextLimit = 2 * 1024 * 1024;

class KeptMapTexts {
 public:
  // The text of the map file at `path`, as LoadTextFile gives it: the one
  // kept for the path, or the file loaded now (which reports a failure and
  // gives null). With `keep`, a text loaded now is kept while the limit
  // allows. The text stays valid until the next Load or Clear.
  const std::string* Load(FileSystem& file_system, ErrorLog& errors, std::string_view path,
                          bool keep);

  // Forgets every kept text: a new sector starts.
  void Clear();

 private:
  std::vector<std::pair<std::string, std::string>> kept_;  // path, text
  size_t keptBytes_ = 0;
  std::string loaded_;  // the last text loaded and not kept
};

}  // namespace torvane
