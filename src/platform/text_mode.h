// Text-mode translation, the same on every host: what a Windows program
// reading or writing in text mode sees.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace torvane {

// Reading: a CR LF pair becomes LF, a lone CR stays, and the first 0x1A
// (Ctrl-Z) or NUL byte ends the text.
std::string DecodeTextMode(std::string_view raw);

// Writing: every LF is written as CR LF. Appends to `out`.
void AppendEncodedTextMode(std::string_view text, std::string& out);

// Text held as the bytes text mode writes: every "\n" appended is stored as
// CR LF. Script commands are formatted straight into one, so each byte is
// encoded as it is produced instead of in a second pass over the finished
// command. Keywords and numbers, which hold no "\n", are copied without
// being searched.
class EncodedText {
 public:
  EncodedText() = default;
  EncodedText(const EncodedText&) = delete;
  EncodedText& operator=(const EncodedText&) = delete;

  void Clear() { size_ = 0; }
  size_t Size() const { return size_; }
  std::string_view Bytes() const { return {bytes_.get(), size_}; }
  // Drops everything after the first `size` bytes.
  void Truncate(size_t size) {
    if (size < size_) size_ = size;
  }
  // Makes room for `capacity` bytes in all without a later reallocation.
  void ReserveTotal(size_t capacity) {
    if (capacity > capacity_) Grow(capacity - size_);
  }

  void Append(char c) {
    char* end = Reserve(2);
    if (c == '\n') *end++ = '\r';
    *end++ = c;
    size_ = static_cast<size_t>(end - bytes_.get());
  }

  // Short texts (names, labels) are checked and copied eight bytes at a
  // time, or byte by byte: cheaper than a search for line ends and a copy
  // call for each.
  void Append(std::string_view text) {
    const size_t size = text.size();
    if (size > kShortText) {
      AppendLong(text);
      return;
    }
    char* end = Reserve(2 * kShortText);
    if (size >= sizeof(std::uint64_t) ? AppendWordsWithoutLineEnd(text, end)
                                      : AppendHalfWordsWithoutLineEnd(text, end)) {
      return;
    }
    for (const char c : text) {
      if (c == '\n') *end++ = '\r';
      *end++ = c;
    }
    size_ = static_cast<size_t>(end - bytes_.get());
  }

  // A text that holds no "\n", such as a keyword or a number.
  void AppendLineFree(std::string_view text) {
    std::memcpy(Reserve(text.size()), text.data(), text.size());
    size_ += text.size();
  }
  void AppendLineEnd() {
    std::memcpy(Reserve(2), "\r\n", 2);
    size_ += 2;
  }

  // For formatting in place: room for `count` more bytes, which the caller
  // fills from the returned place with bytes that hold no "\n" and then
  // hands back the end of with Extend.
  char* Reserve(size_t count) {
    if (capacity_ - size_ < count) Grow(count);
    return bytes_.get() + size_;
  }
  void Extend(const char* end) { size_ = static_cast<size_t>(end - bytes_.get()); }

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

  // The same for 4 to 7 bytes, as two overlapping four-byte copies; false
  // for shorter texts too.
  bool AppendHalfWordsWithoutLineEnd(std::string_view text, char* end) {
    constexpr std::uint32_t kOnes = 0x01010101;
    const size_t size = text.size();
    if (size < sizeof(std::uint32_t)) return false;
    std::uint32_t first;
    std::uint32_t last;
    std::memcpy(&first, text.data(), sizeof first);
    std::memcpy(&last, text.data() + size - sizeof last, sizeof last);
    std::memcpy(end, &first, sizeof first);
    std::memcpy(end + size - sizeof last, &last, sizeof last);
    const std::uint32_t first_diff = first ^ (kOnes * '\n');
    const std::uint32_t last_diff = last ^ (kOnes * '\n');
    if ((((first_diff - kOnes) & ~first_diff) | ((last_diff - kOnes) & ~last_diff)) &
        (kOnes * 0x80)) {
      return false;
    }
    size_ += size;
    return true;
  }

  void Grow(size_t count);

  // Storage, left uninitialised: the first size_ bytes are the text.
  std::unique_ptr<char[]> bytes_;
  size_t capacity_ = 0;
  size_t size_ = 0;
};

}  // namespace torvane
