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

// One command is assembled here, already encoded for the stream, and handed
// to it in one write.
EncodedText& CommandBuffer() {
  static EncodedText buffer;
  buffer.Clear();
  return buffer;
}

void AppendInt(EncodedText& out, int value) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.Append(std::string_view(digits, static_cast<size_t>(result.ptr - digits)));
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
  std::uint8_t size = 0;  // 0: empty
  char text[23];
};

constexpr int kFixedTextCacheBits = 12;
constexpr size_t kFixedTextCacheSize = size_t{1} << kFixedTextCacheBits;

// Nearly every number of a run is one of a few thousand (the hex grid's
// positions, the sizes and angles of the symbols), so each text is kept once
// formatted, in a table indexed by the top bits of the value's bits times a
// large odd constant (which spreads neighbouring values over the table).
std::array<FixedText, kFixedTextCacheSize>& FixedTextCache() {
  static std::array<FixedText, kFixedTextCacheSize> cache;
  return cache;
}

void AppendFixed(EncodedText& out, double value) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  FixedText& entry = FixedTextCache()[(bits * 0x9e3779b97f4a7c15) >> (64 - kFixedTextCacheBits)];
  if (entry.size == 0 || entry.bits != bits) {
    char digits[kFixedTextSize];
    const size_t size = static_cast<size_t>(FormatFixed(digits, value) - digits);
    if (size > sizeof entry.text) {
      out.Append(std::string_view(digits, size));
      return;
    }
    entry.bits = bits;
    entry.size = static_cast<std::uint8_t>(size);
    std::memcpy(entry.text, digits, size);
  }
  out.Append(std::string_view(entry.text, entry.size));
}

// Writes one command; a failure is reported with the script's path.
bool WriteCommand(const ScriptTarget& target, const EncodedText& command) {
  if (target.stream->Write(command)) return true;
  ReportWriteError(target.path);
  return false;
}

void CacheName(std::string& field, std::string_view name) {
  field.assign(name.substr(0, kCachedNameLimit));
}

int SetName(const ScriptTarget& target, std::string& field, std::string_view keyword,
            std::string_view name) {
  if (target.stream == nullptr || IsMissing(name)) return 0;
  if (field == name) return 1;
  CacheName(field, name);
  EncodedText& command = CommandBuffer();
  command.Append(keyword);
  command.Append(name);
  command.Append('\n');
  return WriteCommand(target, command) ? 1 : 0;
}

int SetInt(const ScriptTarget& target, int& field, std::string_view keyword, int value) {
  if (target.stream == nullptr) return 0;
  if (field == value) return 1;
  field = value;
  EncodedText& command = CommandBuffer();
  command.Append(keyword);
  AppendInt(command, value);
  command.Append('\n');
  return WriteCommand(target, command) ? 1 : 0;
}

int SetDouble(const ScriptTarget& target, double& field, std::string_view keyword, double value) {
  if (target.stream == nullptr) return 0;
  if (field == value) return 1;
  field = value;
  EncodedText& command = CommandBuffer();
  command.Append(keyword);
  AppendFixed(command, value);
  command.Append('\n');
  return WriteCommand(target, command) ? 1 : 0;
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
  out.Append(',');
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
  EncodedText& command = CommandBuffer();
  command.Append("LAYER STANDARD\n");
  return WriteCommand(target, command) ? 1 : 0;
}

void ScrRelease() { state.stream = nullptr; }

void ResetScriptState() { state = ScriptState{}; }

void ScrLayer(const ScriptTarget& target, std::string_view layer) {
  if (target.stream == nullptr || IsMissing(layer)) return;
  if (!ScrSelect(target)) return;
  if (state.layer == layer) return;
  CacheName(state.layer, layer);
  EncodedText& command = CommandBuffer();
  command.Append("LAYER ");
  command.Append(layer);
  command.Append('\n');
  WriteCommand(target, command);
}

int ScrColor(const ScriptTarget& target, int colour) {
  return SetInt(target, state.colour, "COLOR ", colour);
}
int ScrLineWidth(const ScriptTarget& target, double width) {
  return SetDouble(target, state.lineWidth, "LWIDTH ", width);
}
int ScrLineStyle(const ScriptTarget& target, std::string_view style) {
  return SetName(target, state.lineStyle, "LSTYLE ", style);
}
int ScrFillStyle(const ScriptTarget& target, std::string_view style) {
  return SetName(target, state.fillStyle, "FSTYLE ", style);
}
int ScrTextFont(const ScriptTarget& target, std::string_view font) {
  return SetName(target, state.textFont, "TSPECF ", font);
}
int ScrTextHeight(const ScriptTarget& target, double height) {
  return SetDouble(target, state.textHeight, "TSPECH ", height);
}
int ScrTextAngle(const ScriptTarget& target, double angle) {
  return SetDouble(target, state.textAngle, "TSPECA ", angle);
}
int ScrTextJustify(const ScriptTarget& target, int justification) {
  return SetInt(target, state.textJustification, "TSPECJ ", justification);
}
int ScrTextStyle(const ScriptTarget& target, int style) {
  return SetInt(target, state.textStyle, "TSPECS ", style);
}

void ScrArc(const ScriptTarget& target, MapPoint centre, double radius, double start_angle,
            double end_angle, int colour, double line_width, std::string_view line_style,
            std::string_view fill_style) {
  if (ShapeArgumentsMissing(target, line_style, fill_style)) return;
  if (!PrepareShape(target, colour, line_width, line_style, fill_style)) return;
  EncodedText& command = CommandBuffer();
  command.Append("ARCS ");
  AppendPoint(command, centre);
  command.Append(";<");
  AppendFixed(command, start_angle);
  command.Append(',');
  AppendFixed(command, radius);
  command.Append(';');
  AppendFixed(command, end_angle);
  command.Append('\n');
  WriteCommand(target, command);
}

void ScrCircle(const ScriptTarget& target, MapPoint centre, double radius, int colour,
               double line_width, std::string_view line_style, std::string_view fill_style) {
  if (ShapeArgumentsMissing(target, line_style, fill_style)) return;
  if (!PrepareShape(target, colour, line_width, line_style, fill_style)) return;
  EncodedText& command = CommandBuffer();
  command.Append("CIRR ");
  AppendFixed(command, radius);
  command.Append(';');
  AppendPoint(command, centre);
  command.Append(";\n");
  WriteCommand(target, command);
}

void ScrLine(const ScriptTarget& target, MapPoint from, MapPoint to, double inset, int colour,
             double line_width, std::string_view line_style, std::string_view fill_style) {
  if (ShapeArgumentsMissing(target, line_style, fill_style)) return;
  if (!PrepareShape(target, colour, line_width, line_style, fill_style)) return;
  const double direction = Direction(from.x, from.y, to.x, to.y) * kDegreesPerRadian;
  const double reverse = direction >= 0 ? direction - 180 : direction + 180;
  EncodedText& command = CommandBuffer();
  command.Append("LINE REF ");
  AppendPoint(command, from);
  command.Append(";<");
  AppendFixed(command, direction);
  command.Append(',');
  AppendFixed(command, inset);
  command.Append(";REF ");
  AppendPoint(command, to);
  command.Append(";<");
  AppendFixed(command, reverse);
  command.Append(',');
  AppendFixed(command, inset);
  command.Append(";\n");
  WriteCommand(target, command);
}

void ScrSymbol(const ScriptTarget& target, std::string_view name, MapPoint at, double scale_x,
               double scale_y, double rotation) {
  if (target.stream == nullptr || IsMissing(name)) return;
  if (!ScrSelect(target)) return;
  EncodedText& command = CommandBuffer();
  command.Append("INSSYM ");
  command.Append(name);
  command.Append('\n');
  AppendFixed(command, scale_x);
  command.Append(';');
  AppendFixed(command, scale_y);
  command.Append(';');
  AppendFixed(command, rotation);
  command.Append(';');
  AppendPoint(command, at);
  command.Append(";\n");
  WriteCommand(target, command);
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
  EncodedText& command = CommandBuffer();
  command.Append("TEXTM ");
  command.Append(text);
  command.Append('\n');
  AppendPoint(command, at);
  command.Append('\n');
  WriteCommand(target, command);
}

}  // namespace torvane
