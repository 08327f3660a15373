// Text-mode translation, the same on every host: what a Windows program
// reading or writing in text mode sees.
#pragma once

#include <string>
#include <string_view>

namespace torvane {

// Reading: a CR LF pair becomes LF, a lone CR stays, and the first 0x1A
// (Ctrl-Z) or NUL byte ends the text.
std::string DecodeTextMode(std::string_view raw);

// Writing: every LF is written as CR LF. Appends to `out`.
void AppendEncodedTextMode(std::string_view text, std::string& out);

}  // namespace torvane
