// Text-mode translation of line ends and end-of-text bytes.
#include "platform/text_mode.h"

namespace torvane {

std::string DecodeTextMode(std::string_view raw) {
  const size_t end = raw.find_first_of(std::string_view("\x1a\0", 2));
  if (end != std::string_view::npos) raw = raw.substr(0, end);
  std::string text;
  text.reserve(raw.size());
  size_t start = 0;
  for (size_t cr = raw.find("\r\n"); cr != std::string_view::npos; cr = raw.find("\r\n", start)) {
    text.append(raw, start, cr - start);
    text += '\n';
    start = cr + 2;
  }
  text.append(raw, start);
  return text;
}

void AppendEncodedTextMode(std::string_view text, std::string& out) {
  size_t start = 0;
  for (size_t lf = text.find('\n'); lf != std::string_view::npos; lf = text.find('\n', start)) {
    out.append(text, start, lf - start);
    out += "\r\n";
    start = lf + 1;
  }
  out.append(text, start);
}

}  // namespace torvane
