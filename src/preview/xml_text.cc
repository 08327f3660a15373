// XML escaping with UTF-8 checking, and short number formatting.
#include "preview/xml_text.h"

#include <cstdint>

#include "platform/decimal_text.h"

namespace torvane::preview {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The length of the valid UTF-8 sequence at the start of `bytes` and its
// code point; length 0 when the first byte does not begin one.
size_t DecodeUtf8(std::string_view bytes, char32_t* code_point) {
  const auto byte = [&](size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
  const std::uint8_t lead = byte(0);
  size_t length;
  char32_t value;
  char32_t least;
  if (lead < 0x80) {
    *code_point = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07, least = 0x10000;
  } else {
    return 0;
  }
  if (bytes.size() < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(i) & 0x3F);
  }
  // Overlong forms, UTF-16 surrogates and values past Unicode are invalid.
  if (value < least || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) return 0;
  *code_point = value;
  return length;
}

bool AllowedInXml(char32_t c) {
  if (c < 0x20) return c == '\t' || c == '\n' || c == '\r';
  return c != 0xFFFE && c != 0xFFFF;
}

}  // namespace

void AppendXmlText(std::string& out, std::string_view bytes) {
  while (!bytes.empty()) {
    char32_t c = 0;
    const size_t length = DecodeUtf8(bytes, &c);
    if (length == 0 || !AllowedInXml(c)) {
      out += kReplacement;
      bytes.remove_prefix(length == 0 ? 1 : length);
      continue;
    }
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      // Line ends and tabs inside an attribute would be normalised to blanks.
      case '\t':
        out += "&#9;";
        break;
      case '\n':
        out += "&#10;";
        break;
      case '\r':
        out += "&#13;";
        break;
      default:
        out.append(bytes.substr(0, length));
    }
    bytes.remove_prefix(length);
  }
}

void AppendNumber(std::string& out, double value) {
  char digits[400];
  const char* end = PutDecimalFixed(digits, digits + sizeof digits, value, 3);
  std::string_view text(digits, end ? static_cast<size_t>(end - digits) : 0);
  if (text.find('.') != std::string_view::npos) {
    while (text.back() == '0') text.remove_suffix(1);
    if (text.back() == '.') text.remove_suffix(1);
  }
  if (text == "-0") text = "0";
  out += text;
}

void AppendSvgPoint(std::string& out, double x, double y) {
  AppendNumber(out, x);
  out += ',';
  AppendNumber(out, -y);
}

}  // namespace torvane::preview
