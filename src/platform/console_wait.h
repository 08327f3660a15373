// Whether a program ends by waiting for a key. A console window made for
// the program alone (it was double-clicked, or given folders or files
// dropped on it) closes the moment the program ends, before its messages
// can be read; a console shared with the shell that started it stays.
#pragma once

#include <string_view>

namespace torvane {

// What the host tells of the console, queried once at the end of the run.
struct ConsoleFacts {
  unsigned processes_attached = 0;       // 0: no console at all
  bool input_output_on_console = false;  // neither redirected to a file or pipe
};

constexpr bool ShouldWaitForKey(const ConsoleFacts& facts) {
  return facts.processes_attached == 1 && facts.input_output_on_console;
}

inline constexpr std::string_view kPressAnyKey = "Press any key to close this window.";

}  // namespace torvane
