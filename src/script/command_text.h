// The pieces of script commands, put at a place with room reserved for them:
// keywords, integers, and numbers as "%f" writes them. A command is
// assembled by one reservation and a run of these, with no check for room
// or for line ends between the pieces (none of them holds a "\n").
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "script/map_point.h"

namespace torvane {

// The most any one number takes: the largest double has 309 integer digits.
inline constexpr size_t kFixedTextRoom = 400;
inline constexpr size_t kIntTextRoom = 12;  // "-2147483648"

// Puts `value` as "%f" does: fixed point, six decimals. Returns the end.
char* PutFixed(char* at, double value);
// "x,y" of a point.
inline char* PutPoint(char* at, MapPoint point) {
  at = PutFixed(at, point.x);
  *at++ = ',';
  return PutFixed(at, point.y);
}

char* PutInt(char* at, int value);

// A literal piece; the size is known where it is called, so the copy is a
// few moves.
inline char* PutText(char* at, std::string_view text) {
  std::memcpy(at, text.data(), text.size());
  return at + text.size();
}

inline char* PutLineEnd(char* at) {
  std::memcpy(at, "\r\n", 2);
  return at + 2;
}

// A setting's command word and the space after it: at most a machine word,
// copied as one.
class Keyword {
 public:
  constexpr explicit Keyword(std::string_view word) : size_(word.size() + 1) {
    word.copy(text_, sizeof text_ - 1);
    text_[word.size()] = ' ';
  }
  char* Put(char* at) const {
    std::memcpy(at, text_, sizeof text_);
    return at + size_;
  }
  static constexpr size_t kRoom = 8;

 private:
  char text_[kRoom] = {};
  size_t size_;
};

// Appends `value` as "%f" writes it.
void AppendFixed(std::string& out, double value);

}  // namespace torvane
