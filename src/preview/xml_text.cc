// XML escaping with UTF-8 checking, and short number formatting.
#include "preview/xml_text.h"

#include <cstdint>

#include "platform/decimal_text.h"
#include "platform/text_encoding.h"

namespace torvane {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

bool AllowedInXml(char32_t c) {
  if (c < 0x20) return c == '\t' || c == '\n' || c == '\r';
  return c != 0xFFFE && c != 0xFFFF;
}

}  // namespace

void AppendXmlText(std::string& out, std::string_view bytes) {
  // Texts from a script written on Windows are in its ANSI code page.
  std::string recoded;
  if (!IsValidUtf8(bytes)) {
    recoded = Utf8FromWindows1252(bytes);
    bytes = recoded;
  }
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

}  // namespace torvane
