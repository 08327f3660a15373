// Text-mode translation, the same on every host: what a Windows program
// reading or writing in text mode sees.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace torvane {

// Reading: a CR LF pair becomes LF, a lone CR stays, and the first 0x1A
// (Ctrl-Z) or NUL byte ends the text.
std::string DecodeTextMode(std::string_view raw);

// Writing: every LF is written as CR LF. Appends to `out`.
void AppendEncodedTextMode(std::string_view text, std::string& out);

// Text held as the bytes text mode writes: every "\n" appended is stored as
// CR LF, and nothing else can be put in. Script commands are formatted
// straight into one, so each byte is encoded as it is produced instead of in
// a second pass over the finished command.
class EncodedText {
 public:
  void Clear() { size_ = 0; }
  std::string_view Bytes() const { return {bytes_.data(), size_}; }

  void Append(char c) {
    char* end = Reserve(2);
    if (c == '\n') *end++ = '\r';
    *end++ = c;
    size_ = static_cast<size_t>(end - bytes_.data());
  }

  // Short texts (keywords, numbers, names) are checked and copied eight
  // bytes at a time, or byte by byte: cheaper than a search for line ends and
  // a copy call for each.
  void Append(std::string_view text) {
    const size_t size = text.size();
    if (size > kShortText) {
      AppendLong(text);
      return;
    }
    char* end = Reserve(2 * kShortText);
    if (size >= sizeof(std::uint64_t) && AppendWordsWithoutLineEnd(text, end)) return;
    for (const char c : text) {
      if (c == '\n') *end++ = '\r';
      *end++ = c;
    }
    size_ = static_cast<size_t>(end - bytes_.data());
  }

 private:
  static constexpr size_t kShortText = 32;

  void AppendLong(std::string_view text);

  // Copies `text` (8 to kShortText bytes) to `end` a word at a time, the
  // last word overlapping the one before; true, and the text appended, when
  // it holds no "\n". Otherwise the caller writes over the copy.
  bool AppendWordsWithoutLineEnd(std::string_view text, char* end) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    std::uint64_t line_feeds = 0;  // a high bit set in a byte that was "\n"
    const auto copy_word = [&](size_t at) {
      std::uint64_t word;
      std::memcpy(&word, text.data() + at, sizeof word);
      std::memcpy(end + at, &word, sizeof word);
      const std::uint64_t diff = word ^ (kOnes * '\n');
      line_feeds |= (diff - kOnes) & ~diff & (kOnes * 0x80);
    };
    const size_t last = text.size() - sizeof(std::uint64_t);
    for (size_t at = 0; at < last; at += sizeof(std::uint64_t)) copy_word(at);
    copy_word(last);
    if (line_feeds != 0) return false;
    size_ += text.size();
    return true;
  }

  // Room for `count` more bytes after the text; returns where they go.
  char* Reserve(size_t count) {
    if (bytes_.size() - size_ < count) Grow(count);
    return bytes_.data() + size_;
  }
  void Grow(size_t count);

  // Storage: the first size_ bytes are the text.
  std::string bytes_;
  size_t size_ = 0;
};

}  // namespace torvane
