// Text-mode translation of line ends and end-of-text bytes.
#include "platform/text_mode.h"

#include <algorithm>
#include <cstring>

namespace torvane {

std::string DecodeTextMode(std::string_view raw) {
  // Two searches for one byte each: a search for either byte of a set looks
  // the set up again for every byte of the text.
  raw = raw.substr(0, std::min(raw.find('\x1a'), raw.find('\0')));
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

void EncodedText::AppendAny(std::string_view text) {
  if (text.size() > kShortText) {
    AppendLong(text);
    return;
  }
  char* end = Reserve(2 * kShortText);
  for (const char c : text) {
    if (c == '\n') *end++ = '\r';
    *end++ = c;
  }
  size_ = static_cast<size_t>(end - bytes_.get());
}

void EncodedText::AppendLong(std::string_view text) {
  const size_t line_ends = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
  char* end = Reserve(text.size() + line_ends);
  size_t start = 0;
  for (size_t lf = text.find('\n'); lf != std::string_view::npos; lf = text.find('\n', start)) {
    std::memcpy(end, text.data() + start, lf - start);
    end += lf - start;
    *end++ = '\r';
    *end++ = '\n';
    start = lf + 1;
  }
  std::memcpy(end, text.data() + start, text.size() - start);
  size_ += text.size() + line_ends;
}

void EncodedText::Grow(size_t count) {
  const size_t capacity = std::max({size_ + count, 2 * capacity_, size_t{256}});
  std::unique_ptr<char[]> bytes(new char[capacity]);
  if (size_ > 0) std::memcpy(bytes.get(), bytes_.get(), size_);
  bytes_ = std::move(bytes);
  capacity_ = capacity;
}

}  // namespace torvane
