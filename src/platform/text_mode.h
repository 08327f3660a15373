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
  // Empties the text and gives its storage back.
  void Release() {
    bytes_.reset();
    capacity_ = 0;
    size_ = 0;
  }
  size_t Size() const { return size_; }
  std::string_view Bytes() const { return {bytes_.get(), size_}; }
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

  // Names and labels are mostly short: up to 32 bytes are copied and
  // checked for line ends in a few word moves, inline; a text that holds a
  // "\n" or is longer goes the general way.
  void Append(std::string_view text) {
    if (text.size() <= kShortText && capacity_ - size_ >= kShortText &&
        CopyWithoutLineEnd(text, bytes_.get() + size_)) {
      size_ += text.size();
      return;
    }
    AppendAny(text);
  }

  // A text that holds no "\n", such as a keyword or a number.
  void AppendLineFree(std::string_view text) {
    std::memcpy(Reserve(text.size()), text.data(), text.size());
    size_ += text.size();
  }
  // Bytes as they stand, "\n" and all, for files that are not text.
  void AppendUnchanged(std::string_view bytes) { AppendLineFree(bytes); }
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

  void AppendAny(std::string_view text);
  void AppendLong(std::string_view text);

  // Whether a word has a "\n" byte: a high bit set in each such byte.
  template <typename Word>
  static Word LineFeedBytes(Word word) {
    constexpr Word kOnes = static_cast<Word>(~Word{0}) / 0xff;
    const Word diff = word ^ static_cast<Word>(kOnes * '\n');
    return static_cast<Word>((diff - kOnes) & ~diff & (kOnes * 0x80));
  }

  // The first and last `Word` of a text of one to two words, copied to
  // `end` (overlapping for shorter texts); true when neither has a "\n".
  template <typename Word>
  static bool CopyWordEnds(std::string_view text, char* end) {
    Word first;
    Word last;
    std::memcpy(&first, text.data(), sizeof first);
    std::memcpy(&last, text.data() + text.size() - sizeof last, sizeof last);
    std::memcpy(end, &first, sizeof first);
    std::memcpy(end + text.size() - sizeof last, &last, sizeof last);
    return (LineFeedBytes(first) | LineFeedBytes(last)) == 0;
  }

  // Copies `text` (at most kShortText bytes) to `end`; true when it holds
  // no "\n" and so stands as copied.
  static bool CopyWithoutLineEnd(std::string_view text, char* end) {
    const size_t size = text.size();
    if (size > 2 * sizeof(std::uint64_t)) {
      // The first two words and the last two (overlapping them).
      const size_t rest = size - 2 * sizeof(std::uint64_t);
      const bool head = CopyWordEnds<std::uint64_t>(text.substr(0, 2 * sizeof(std::uint64_t)), end);
      return CopyWordEnds<std::uint64_t>(text.substr(rest), end + rest) && head;
    }
    if (size >= sizeof(std::uint64_t)) return CopyWordEnds<std::uint64_t>(text, end);
    if (size >= sizeof(std::uint32_t)) return CopyWordEnds<std::uint32_t>(text, end);
    if (size == 0) return true;
    // One to three bytes: the first, middle and last cover them all.
    const char first = text[0];
    const char middle = text[size / 2];
    const char last = text[size - 1];
    end[0] = first;
    end[size / 2] = middle;
    end[size - 1] = last;
    return first != '\n' && middle != '\n' && last != '\n';
  }

  void Grow(size_t count);

  // Storage, left uninitialised: the first size_ bytes are the text.
  std::unique_ptr<char[]> bytes_;
  size_t capacity_ = 0;
  size_t size_ = 0;
};

}  // namespace torvane
