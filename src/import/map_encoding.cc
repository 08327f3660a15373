// UTF-8 published texts written in Windows-1252, with ASCII for what the
// code page lacks.
#include "import/map_encoding.h"

#include "platform/ascii_text.h"
#include "platform/text_encoding.h"

namespace torvane {

namespace {

// Latin Extended-A, U+0100 to U+017F, each as its letter without marks
// (Œ, œ, Š, š, Ÿ, Ž and ž are in the code page and never looked up here).
constexpr std::string_view kLatinExtendedA =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlLlLlNnNnNnnNnOoOo"
    "OoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
static_assert(kLatinExtendedA.size() == 0x80);

char AsciiFor(char32_t c) {
  if (c >= 0x100 && c < 0x180) return kLatinExtendedA[c - 0x100];
  switch (c) {
    case 0x0218:  // Ș ș Ț ț, as Romanian writes them
      return 'S';
    case 0x0219:
      return 's';
    case 0x021A:
      return 'T';
    case 0x021B:
      return 't';
    case 0x2010:  // hyphens, dashes and the minus sign
    case 0x2011:
    case 0x2012:
    case 0x2015:
    case 0x2212:
      return '-';
    case 0x02BB:  // modifier letters for the glottal stop and apostrophes
    case 0x02BC:
    case 0x2032:
      return '\'';
    case 0x2033:
      return '"';
    default:
      return '?';
  }
}

}  // namespace

std::optional<MapEncoding> MapEncodingNamed(std::string_view name) {
  if (EqualsIgnoringAsciiCase(name, "windows-1252") || EqualsIgnoringAsciiCase(name, "cp1252")) {
    return MapEncoding::kWindows1252;
  }
  if (EqualsIgnoringAsciiCase(name, "utf-8") || EqualsIgnoringAsciiCase(name, "utf8")) {
    return MapEncoding::kUtf8;
  }
  return std::nullopt;
}

std::string MapText(std::string_view text, MapEncoding encoding, std::string_view what,
                    const SourceLine& source, ImportLog& log) {
  if (encoding == MapEncoding::kUtf8 || !IsValidUtf8(text)) return std::string(text);
  std::string written;
  std::string lacking;
  for (std::string_view rest = text; !rest.empty();) {
    char32_t c = 0;
    const size_t length = DecodeUtf8(rest, &c);
    if (const std::optional<unsigned char> byte = Windows1252Byte(c)) {
      written += static_cast<char>(*byte);
    } else {
      written += AsciiFor(c);
      if (lacking.find(rest.substr(0, length)) == std::string::npos) {
        lacking += lacking.empty() ? "'" : ", '";
        lacking.append(rest.substr(0, length)).append("'");
      }
    }
    rest.remove_prefix(length);
  }
  if (!lacking.empty()) {
    log.Change(source, std::string(what) + " '" + std::string(text) + "' written as '" +
                           Utf8FromWindows1252(written) + "': Windows-1252 has no " + lacking);
  }
  return written;
}

std::string ReplaceControls(std::string_view text) {
  std::string clean(text);
  for (char& c : clean) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = ' ';
  }
  return clean;
}

}  // namespace torvane
