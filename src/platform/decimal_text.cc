// Decimal text of doubles: the standard library's to_chars and from_chars
// where it has them, the C library's printf and strtod otherwise.
#include "platform/decimal_text.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace torvane {

char* PutDecimalFixedByPrintf(char* first, char* last, double value, int decimals) {
  const int room = static_cast<int>(last - first);
  char small[64];
  char* text = small;
  std::string large;
  int length = std::snprintf(small, sizeof small, "%.*f", decimals, value);
  if (length >= static_cast<int>(sizeof small)) {  // up to 309 digits before the point
    large.resize(static_cast<size_t>(length) + 1);
    length = std::snprintf(large.data(), large.size(), "%.*f", decimals, value);
    text = large.data();
  }
  if (length < 0 || length > room) return nullptr;
  std::memcpy(first, text, static_cast<size_t>(length));
  return first + length;
}

DecimalRead ReadDecimalByStrtod(const char* first, const char* last, double& value) {
  const DecimalRead none{first, false};
  // from_chars takes no blanks and no '+'; strtod would.
  if (first == last || *first == '+' || *first == ' ' || *first == '\t' || *first == '\n' ||
      *first == '\v' || *first == '\f' || *first == '\r') {
    return none;
  }
  const std::string text(first, last);  // strtod needs the terminating NUL
  const char* begin = text.c_str();
  // from_chars reads no hexadecimal: "0x1p3" is the number 0 followed by "x".
  const size_t sign = text[0] == '-' ? 1 : 0;
  if (text.size() > sign + 1 && text[sign] == '0' &&
      (text[sign + 1] == 'x' || text[sign + 1] == 'X')) {
    value = sign ? -0.0 : 0.0;
    return {first + sign + 1, true};
  }
  char* end = nullptr;
  errno = 0;
  const double read = std::strtod(begin, &end);
  if (end == begin) return none;
  // strtod reports a subnormal result as out of range too; from_chars takes it.
  const bool in_range = errno != ERANGE || (read != 0 && std::isfinite(read));
  const DecimalRead result{first + (end - begin), in_range};
  if (result.ok) value = read;
  return result;
}

#if defined(__cpp_lib_to_chars)
char* PutDecimalFixed(char* first, char* last, double value, int decimals) {
  const auto result = std::to_chars(first, last, value, std::chars_format::fixed, decimals);
  return result.ec == std::errc() ? result.ptr : nullptr;
}

DecimalRead ReadDecimal(const char* first, const char* last, double& value) {
  const auto result = std::from_chars(first, last, value);
  if (result.ec == std::errc::invalid_argument) return {first, false};
  return {result.ptr, result.ec == std::errc()};
}
#else
char* PutDecimalFixed(char* first, char* last, double value, int decimals) {
  return PutDecimalFixedByPrintf(first, last, value, decimals);
}

DecimalRead ReadDecimal(const char* first, const char* last, double& value) {
  return ReadDecimalByStrtod(first, last, value);
}
#endif

}  // namespace torvane
