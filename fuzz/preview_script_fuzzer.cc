// Fuzzes the previewer's script reader: every line that is not blank is
// read as a command (or the second line of one) or named in a warning, the
// commands come in the order of their lines, and every number is finite.
#include <cmath>
#include <cstdint>
#include <set>
#include <string>

#include "fuzz_support.h"
#include "platform/text_lines.h"
#include "preview/script_reader.h"

namespace {

using torvane::CommandKind;

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const torvane_fuzz::ExactBuffer text(std::string_view(reinterpret_cast<const char*>(data), size));
  const torvane::ScriptReading reading = torvane::ReadScript(text.view());
  const std::vector<std::string_view> lines = torvane::SplitTextLines(text.view());

  std::set<int> accounted;
  int previous = 0;
  for (const torvane::ScriptCommand& command : reading.commands) {
    FUZZ_CHECK(command.line > previous && command.line <= static_cast<int>(lines.size()));
    previous = command.line;
    accounted.insert(command.line);
    if (command.kind == CommandKind::kText || command.kind == CommandKind::kSymbol) {
      FUZZ_CHECK(command.line < static_cast<int>(lines.size()));
      accounted.insert(++previous);
    }
    for (double value : command.values) FUZZ_CHECK(std::isfinite(value));
  }
  for (const std::string& warning : reading.warnings) {
    int line = 0;
    FUZZ_CHECK(std::sscanf(warning.c_str(), "line %d: ", &line) == 1);
    FUZZ_CHECK(line >= 1 && line <= std::max<int>(1, static_cast<int>(lines.size())));
    accounted.insert(line);
    // A malformed second line is named with the command it belongs to.
    const size_t of_line = warning.find(" of line ");
    if (of_line != std::string::npos &&
        std::sscanf(warning.c_str() + of_line, " of line %d ", &line) == 1) {
      accounted.insert(line);
    }
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!IsBlank(lines[i])) FUZZ_CHECK(accounted.count(static_cast<int>(i + 1)) == 1);
  }
  return 0;
}
