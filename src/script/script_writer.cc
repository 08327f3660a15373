// The script command writer and its attribute cache, ScriptState.
#include "script/script_writer.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "script/error_report.h"

namespace torvane {

namespace {

constexpr int kUnsetInt = std::numeric_limits<int>::max();
constexpr double kUnsetDouble = std::numeric_limits<double>::max();
constexpr double kDegreesPerRadian = 57.29577951471995;

// The values last written to the current stream. The reset values are never
// requested, so the first request for each setting writes it.
struct ScriptState {
  const OutputFile* stream = nullptr;
  std::string layer;
  std::string lineStyle;
  std::string fillStyle;
  std::string textFont;
  int colour = kUnsetInt;
  int textJustification = kUnsetInt;
  int textStyle = kUnsetInt;
  double lineWidth = kUnsetDouble;
  double textAngle = kUnsetDouble;
  double textHeight = kUnsetDouble;
};

ScriptState state;

bool IsMissing(std::string_view name) { return name.data() == nullptr; }

// A setting's keyword and its space: at most a word, copied as one.
struct Keyword {
  constexpr explicit Keyword(std::string_view keyword) : size(keyword.size()) {
    keyword.copy(text, sizeof text);
  }
  char text[8] = {};
  size_t size;
};

void AppendKeyword(EncodedText& out, const Keyword& keyword) {
  char* start = out.Reserve(sizeof keyword.text);
  std::memcpy(start, keyword.text, sizeof keyword.text);
  out.Extend(start + keyword.size);
}

constexpr Keyword kColorKeyword("COLOR ");
constexpr Keyword kLineWidthKeyword("LWIDTH ");
constexpr Keyword kLineStyleKeyword("LSTYLE ");
constexpr Keyword kFillStyleKeyword("FSTYLE ");
constexpr Keyword kTextFontKeyword("TSPECF ");
constexpr Keyword kTextHeightKeyword("TSPECH ");
constexpr Keyword kTextAngleKeyword("TSPECA ");
constexpr Keyword kTextJustifyKeyword("TSPECJ ");
constexpr Keyword kTextStyleKeyword("TSPECS ");

// A command is assembled in place in its stream's pending text, already
// encoded, as one write.
EncodedText& StartCommand(const ScriptTarget& target) { return target.stream->StartWrite(); }

// Ends the command; a failure is reported with the script's path.
bool FinishCommand(const ScriptTarget& target) {
  if (target.stream->FinishWrite()) return true;
  ReportWriteError(target.path);
  return false;
}

// "00" to "99": the six decimals are written two at a time, so that the
// three divisions do not wait on each other.
constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

void PutDigitPair(char* at, std::uint64_t pair) { std::memcpy(at, &kDigitPairs[2 * pair], 2); }

// Settings are small numbers (colours, justifications, styles): one or two
// digits are put directly.
void AppendInt(EncodedText& out, int value) {
  constexpr size_t kIntTextSize = 12;  // "-2147483648"
  char* start = out.Reserve(kIntTextSize);
  if (value >= 0 && value < 10) {
    *start = static_cast<char>('0' + value);
    out.Extend(start + 1);
  } else if (value >= 10 && value < 100) {
    PutDigitPair(start, static_cast<std::uint64_t>(value));
    out.Extend(start + 2);
  } else {
    out.Extend(std::to_chars(start, start + kIntTextSize, value).ptr);
  }
}

// Room for any value "%f" writes: the largest double has 309 integer digits.
constexpr size_t kFixedTextSize = 400;

#ifdef __SIZEOF_INT128__
__extension__ typedef unsigned __int128 Uint128;

// Map coordinates and angles are written by the million, and the general
// conversion is the slowest part of a run. Below this magnitude a value times
// 10^6 fits in 64 bits once rounded, so it is formatted by integer arithmetic
// on its exact binary value, rounded half to even as "%f" rounds.
constexpr double kFastFixedLimit = 1e13;

// Writes `value` at `out`; returns the end, or null when the value is not
// below the limit.
char* FormatFixedExactly(char* out, double value) {
  if (!(value > -kFastFixedLimit && value < kFastFixedLimit)) return nullptr;  // also NaN
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  const bool negative = (bits >> 63) != 0;
  const int biased_exponent = static_cast<int>((bits >> 52) & 0x7ff);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased_exponent != 0) mantissa |= std::uint64_t{1} << 52;
  // |value| = mantissa * 2^exponent
  const int exponent = (biased_exponent == 0 ? 1 : biased_exponent) - 1075;
  // Below the limit (under 2^52) the exponent is negative: shift right.
  const int shift = -exponent;
  const Uint128 scaled = Uint128{mantissa} * 1000000;  // below 2^73
  std::uint64_t millionths = 0;  // a shift of 75 or more leaves less than half
  if (shift < 75) {
    const Uint128 quotient = scaled >> shift;
    const Uint128 remainder = scaled - (quotient << shift);
    const Uint128 half = Uint128{1} << (shift - 1);
    millionths = static_cast<std::uint64_t>(quotient);  // at most 10^19
    if (remainder > half || (remainder == half && (millionths & 1) != 0)) ++millionths;
  }
  char* end = out;
  if (negative) *end++ = '-';
  end = std::to_chars(end, out + kFixedTextSize, millionths / 1000000).ptr;
  *end++ = '.';
  const std::uint64_t fraction = millionths % 1000000;
  PutDigitPair(end, fraction / 10000);
  PutDigitPair(end + 2, fraction / 100 % 100);
  PutDigitPair(end + 4, fraction % 100);
  return end + 6;
}
#else
char* FormatFixedExactly(char*, double) { return nullptr; }
#endif

// Writes `value` as "%f" does at `out` (kFixedTextSize bytes); returns the
// end.
char* FormatFixed(char* out, double value) {
  if (char* end = FormatFixedExactly(out, value)) return end;
  return std::to_chars(out, out + kFixedTextSize, value, std::chars_format::fixed, 6).ptr;
}

// A value's text as FormatFixed writes it, kept by FixedTextCache.
struct FixedText {
  std::uint64_t bits = 0;
  char text[23];
  std::uint8_t size = 0;  // 0: empty
};

constexpr int kFixedTextCacheBits = 12;
constexpr size_t kFixedTextCacheSize = size_t{1} << kFixedTextCacheBits;

// Nearly every number of a run is one of a few thousand (the hex grid's
// positions, the sizes and angles of the symbols), so each text is kept once
// formatted, in a table indexed by the top bits of the value's bits times a
// large odd constant (which spreads neighbouring values over the table).
std::array<FixedText, kFixedTextCacheSize> fixed_text_cache;

// A value missing from the cache: formats it, and keeps its text when it
// fits an entry.
[[gnu::noinline]] void AppendUncachedFixed(EncodedText& out, double value, FixedText& entry) {
  char digits[kFixedTextSize];
  const size_t size = static_cast<size_t>(FormatFixed(digits, value) - digits);
  out.AppendLineFree(std::string_view(digits, size));
  if (size > sizeof entry.text) return;
  entry.bits = std::bit_cast<std::uint64_t>(value);
  entry.size = static_cast<std::uint8_t>(size);
  std::memcpy(entry.text, digits, size);
}

void AppendFixed(EncodedText& out, double value) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  FixedText& entry = fixed_text_cache[(bits * 0x9e3779b97f4a7c15) >> (64 - kFixedTextCacheBits)];
  if (entry.size == 0 || entry.bits != bits) {
    AppendUncachedFixed(out, value, entry);
    return;
  }
  // The whole text field is copied, a fixed size the compiler copies in a
  // few moves; only its first `size` bytes count.
  char* start = out.Reserve(sizeof entry.text);
  std::memcpy(start, entry.text, sizeof entry.text);
  out.Extend(start + entry.size);
}

void CacheName(std::string& field, std::string_view name) {
  field.assign(name.substr(0, kCachedNameLimit));
}

// Each setting is checked against the cache inline; a setting that changes
// is written out of line, which keeps the common case (unchanged) small.
[[gnu::noinline]] int WriteName(const ScriptTarget& target, std::string& field,
                                const Keyword& keyword, std::string_view name) {
  CacheName(field, name);
  EncodedText& command = StartCommand(target);
  AppendKeyword(command, keyword);
  command.Append(name);
  command.AppendLineEnd();
  return FinishCommand(target) ? 1 : 0;
}

[[gnu::noinline]] int WriteInt(const ScriptTarget& target, int& field, const Keyword& keyword,
                               int value) {
  field = value;
  EncodedText& command = StartCommand(target);
  AppendKeyword(command, keyword);
  AppendInt(command, value);
  command.AppendLineEnd();
  return FinishCommand(target) ? 1 : 0;
}

[[gnu::noinline]] int WriteDouble(const ScriptTarget& target, double& field,
                                  const Keyword& keyword, double value) {
  field = value;
  EncodedText& command = StartCommand(target);
  AppendKeyword(command, keyword);
  AppendFixed(command, value);
  command.AppendLineEnd();
  return FinishCommand(target) ? 1 : 0;
}

inline int SetName(const ScriptTarget& target, std::string& field, const Keyword& keyword,
                   std::string_view name) {
  if (target.stream == nullptr || IsMissing(name)) return 0;
  if (field == name) return 1;
  return WriteName(target, field, keyword, name);
}

inline int SetInt(const ScriptTarget& target, int& field, const Keyword& keyword, int value) {
  if (target.stream == nullptr) return 0;
  if (field == value) return 1;
  return WriteInt(target, field, keyword, value);
}

inline int SetDouble(const ScriptTarget& target, double& field, const Keyword& keyword,
                     double value) {
  if (target.stream == nullptr) return 0;
  if (field == value) return 1;
  return WriteDouble(target, field, keyword, value);
}

// The settings that every shape command needs, in their order.
bool PrepareShape(const ScriptTarget& target, int colour, double line_width,
                  std::string_view line_style, std::string_view fill_style) {
  return ScrSelect(target) && ScrColor(target, colour) && ScrLineWidth(target, line_width) &&
         ScrLineStyle(target, line_style) && ScrFillStyle(target, fill_style);
}

bool ShapeArgumentsMissing(const ScriptTarget& target, std::string_view line_style,
                           std::string_view fill_style) {
  return target.stream == nullptr || IsMissing(line_style) || IsMissing(fill_style);
}

// "x,y" of a point.
void AppendPoint(EncodedText& out, MapPoint point) {
  AppendFixed(out, point.x);
  out.AppendLineFree(",");
  AppendFixed(out, point.y);
}

}  // namespace

void AppendFixed(std::string& out, double value) {
  char digits[kFixedTextSize];
  out.append(digits, FormatFixed(digits, value));
}

int ScrSelect(const ScriptTarget& target) {
  if (target.stream == nullptr) return 0;
  if (target.stream.get() == state.stream) return 1;
  state = ScriptState{};
  state.stream = target.stream.get();
  state.layer = "STANDARD";
  // After a failed write the stream stays current: the reset stands.
  EncodedText& command = StartCommand(target);
  command.AppendLineFree("LAYER STANDARD");
  command.AppendLineEnd();
  return FinishCommand(target) ? 1 : 0;
}

void ScrRelease() { state.stream = nullptr; }

void ResetScriptState() { state = ScriptState{}; }

void ScrLayer(const ScriptTarget& target, std::string_view layer) {
  if (target.stream == nullptr || IsMissing(layer)) return;
  if (!ScrSelect(target)) return;
  if (state.layer == layer) return;
  CacheName(state.layer, layer);
  EncodedText& command = StartCommand(target);
  command.AppendLineFree("LAYER ");
  command.Append(layer);
  command.AppendLineEnd();
  FinishCommand(target);
}

int ScrColor(const ScriptTarget& target, int colour) {
  return SetInt(target, state.colour, kColorKeyword, colour);
}
int ScrLineWidth(const ScriptTarget& target, double width) {
  return SetDouble(target, state.lineWidth, kLineWidthKeyword, width);
}
int ScrLineStyle(const ScriptTarget& target, std::string_view style) {
  return SetName(target, state.lineStyle, kLineStyleKeyword, style);
}
int ScrFillStyle(const ScriptTarget& target, std::string_view style) {
  return SetName(target, state.fillStyle, kFillStyleKeyword, style);
}
int ScrTextFont(const ScriptTarget& target, std::string_view font) {
  return SetName(target, state.textFont, kTextFontKeyword, font);
}
int ScrTextHeight(const ScriptTarget& target, double height) {
  return SetDouble(target, state.textHeight, kTextHeightKeyword, height);
}
int ScrTextAngle(const ScriptTarget& target, double angle) {
  return SetDouble(target, state.textAngle, kTextAngleKeyword, angle);
}
int ScrTextJustify(const ScriptTarget& target, int justification) {
  return SetInt(target, state.textJustification, kTextJustifyKeyword, justification);
}
int ScrTextStyle(const ScriptTarget& target, int style) {
  return SetInt(target, state.textStyle, kTextStyleKeyword, style);
}

void ScrArc(const ScriptTarget& target, MapPoint centre, double radius, double start_angle,
            double end_angle, int colour, double line_width, std::string_view line_style,
            std::string_view fill_style) {
  if (ShapeArgumentsMissing(target, line_style, fill_style)) return;
  if (!PrepareShape(target, colour, line_width, line_style, fill_style)) return;
  EncodedText& command = StartCommand(target);
  command.AppendLineFree("ARCS ");
  AppendPoint(command, centre);
  command.AppendLineFree(";<");
  AppendFixed(command, start_angle);
  command.AppendLineFree(",");
  AppendFixed(command, radius);
  command.AppendLineFree(";");
  AppendFixed(command, end_angle);
  command.AppendLineEnd();
  FinishCommand(target);
}

void ScrCircle(const ScriptTarget& target, MapPoint centre, double radius, int colour,
               double line_width, std::string_view line_style, std::string_view fill_style) {
  if (ShapeArgumentsMissing(target, line_style, fill_style)) return;
  if (!PrepareShape(target, colour, line_width, line_style, fill_style)) return;
  EncodedText& command = StartCommand(target);
  command.AppendLineFree("CIRR ");
  AppendFixed(command, radius);
  command.AppendLineFree(";");
  AppendPoint(command, centre);
  command.AppendLineFree(";");
  command.AppendLineEnd();
  FinishCommand(target);
}

void ScrLine(const ScriptTarget& target, MapPoint from, MapPoint to, double inset, int colour,
             double line_width, std::string_view line_style, std::string_view fill_style) {
  if (ShapeArgumentsMissing(target, line_style, fill_style)) return;
  if (!PrepareShape(target, colour, line_width, line_style, fill_style)) return;
  const double direction = Direction(from.x, from.y, to.x, to.y) * kDegreesPerRadian;
  const double reverse = direction >= 0 ? direction - 180 : direction + 180;
  EncodedText& command = StartCommand(target);
  command.AppendLineFree("LINE REF ");
  AppendPoint(command, from);
  command.AppendLineFree(";<");
  AppendFixed(command, direction);
  command.AppendLineFree(",");
  AppendFixed(command, inset);
  command.AppendLineFree(";REF ");
  AppendPoint(command, to);
  command.AppendLineFree(";<");
  AppendFixed(command, reverse);
  command.AppendLineFree(",");
  AppendFixed(command, inset);
  command.AppendLineFree(";");
  command.AppendLineEnd();
  FinishCommand(target);
}

void ScrSymbol(const ScriptTarget& target, std::string_view name, MapPoint at, double scale_x,
               double scale_y, double rotation) {
  if (target.stream == nullptr || IsMissing(name)) return;
  if (!ScrSelect(target)) return;
  EncodedText& command = StartCommand(target);
  command.AppendLineFree("INSSYM ");
  command.Append(name);
  command.AppendLineEnd();
  AppendFixed(command, scale_x);
  command.AppendLineFree(";");
  AppendFixed(command, scale_y);
  command.AppendLineFree(";");
  AppendFixed(command, rotation);
  command.AppendLineFree(";");
  AppendPoint(command, at);
  command.AppendLineFree(";");
  command.AppendLineEnd();
  FinishCommand(target);
}

void ScrText(const ScriptTarget& target, std::string_view text, int length, MapPoint at,
             int colour, std::string_view font, double height, double angle, int justification,
             int style) {
  if (target.stream == nullptr || IsMissing(text)) return;
  // A missing font is noticed by ScrTextFont, after the colour is written.
  if (!(ScrSelect(target) && ScrColor(target, colour) && ScrTextFont(target, font) &&
        ScrTextHeight(target, height) && ScrTextAngle(target, angle) &&
        ScrTextJustify(target, justification) && ScrTextStyle(target, style))) {
    return;
  }
  if (length > 0 && static_cast<size_t>(length) < text.size()) text = text.substr(0, length);
  EncodedText& command = StartCommand(target);
  command.AppendLineFree("TEXTM ");
  command.Append(text);
  command.AppendLineEnd();
  AppendPoint(command, at);
  command.AppendLineEnd();
  FinishCommand(target);
}

}  // namespace torvane
