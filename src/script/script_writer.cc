// The script command writer and its attribute cache, ScriptState.
#include "script/script_writer.h"

#include <bit>
#include <charconv>
#include <cstdint>
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

// One command is assembled here and handed to the stream in one write.
std::string& CommandBuffer() {
  static std::string buffer;
  buffer.clear();
  return buffer;
}

void AppendInt(std::string& out, int value) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

#ifdef __SIZEOF_INT128__
__extension__ typedef unsigned __int128 Uint128;

// Map coordinates and angles are written by the million, and the general
// conversion is the slowest part of a run. Below this magnitude a value times
// 10^6 fits in 64 bits once rounded, so it is formatted by integer arithmetic
// on its exact binary value, rounded half to even as "%f" rounds.
constexpr double kFastFixedLimit = 1e13;

bool AppendFixedExactly(std::string& out, double value) {
  if (!(value > -kFastFixedLimit && value < kFastFixedLimit)) return false;  // also NaN
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
  char digits[32];
  char* end = digits;
  if (negative) *end++ = '-';
  end = std::to_chars(end, digits + sizeof digits, millionths / 1000000).ptr;
  *end++ = '.';
  std::uint64_t fraction = millionths % 1000000;
  for (int i = 6; i > 0; --i) {
    end[i - 1] = static_cast<char>('0' + fraction % 10);
    fraction /= 10;
  }
  out.append(digits, end + 6);
  return true;
}
#else
bool AppendFixedExactly(std::string&, double) { return false; }
#endif

// Writes one command; a failure is reported with the script's path.
bool WriteCommand(const ScriptTarget& target, const std::string& command) {
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
  std::string& command = CommandBuffer();
  command.append(keyword).append(name) += '\n';
  return WriteCommand(target, command) ? 1 : 0;
}

int SetInt(const ScriptTarget& target, int& field, std::string_view keyword, int value) {
  if (target.stream == nullptr) return 0;
  if (field == value) return 1;
  field = value;
  std::string& command = CommandBuffer();
  command.append(keyword);
  AppendInt(command, value);
  command += '\n';
  return WriteCommand(target, command) ? 1 : 0;
}

int SetDouble(const ScriptTarget& target, double& field, std::string_view keyword, double value) {
  if (target.stream == nullptr) return 0;
  if (field == value) return 1;
  field = value;
  std::string& command = CommandBuffer();
  command.append(keyword);
  AppendFixed(command, value);
  command += '\n';
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
void AppendPoint(std::string& out, MapPoint point) {
  AppendFixed(out, point.x);
  out += ',';
  AppendFixed(out, point.y);
}

}  // namespace

void AppendFixed(std::string& out, double value) {
  if (AppendFixedExactly(out, value)) return;
  // The largest double has 309 integer digits.
  char digits[400];
  const auto result =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 6);
  out.append(digits, result.ptr);
}

int ScrSelect(const ScriptTarget& target) {
  if (target.stream == nullptr) return 0;
  if (target.stream.get() == state.stream) return 1;
  state = ScriptState{};
  state.stream = target.stream.get();
  state.layer = "STANDARD";
  // After a failed write the stream stays current: the reset stands.
  return WriteCommand(target, "LAYER STANDARD\n") ? 1 : 0;
}

void ScrRelease() { state.stream = nullptr; }

void ResetScriptState() { state = ScriptState{}; }

void ScrLayer(const ScriptTarget& target, std::string_view layer) {
  if (target.stream == nullptr || IsMissing(layer)) return;
  if (!ScrSelect(target)) return;
  if (state.layer == layer) return;
  CacheName(state.layer, layer);
  std::string& command = CommandBuffer();
  command.append("LAYER ").append(layer) += '\n';
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
  std::string& command = CommandBuffer();
  command += "ARCS ";
  AppendPoint(command, centre);
  command += ";<";
  AppendFixed(command, start_angle);
  command += ',';
  AppendFixed(command, radius);
  command += ';';
  AppendFixed(command, end_angle);
  command += '\n';
  WriteCommand(target, command);
}

void ScrCircle(const ScriptTarget& target, MapPoint centre, double radius, int colour,
               double line_width, std::string_view line_style, std::string_view fill_style) {
  if (ShapeArgumentsMissing(target, line_style, fill_style)) return;
  if (!PrepareShape(target, colour, line_width, line_style, fill_style)) return;
  std::string& command = CommandBuffer();
  command += "CIRR ";
  AppendFixed(command, radius);
  command += ';';
  AppendPoint(command, centre);
  command += ";\n";
  WriteCommand(target, command);
}

void ScrLine(const ScriptTarget& target, MapPoint from, MapPoint to, double inset, int colour,
             double line_width, std::string_view line_style, std::string_view fill_style) {
  if (ShapeArgumentsMissing(target, line_style, fill_style)) return;
  if (!PrepareShape(target, colour, line_width, line_style, fill_style)) return;
  const double direction = Direction(from.x, from.y, to.x, to.y) * kDegreesPerRadian;
  const double reverse = direction >= 0 ? direction - 180 : direction + 180;
  std::string& command = CommandBuffer();
  command += "LINE REF ";
  AppendPoint(command, from);
  command += ";<";
  AppendFixed(command, direction);
  command += ',';
  AppendFixed(command, inset);
  command += ";REF ";
  AppendPoint(command, to);
  command += ";<";
  AppendFixed(command, reverse);
  command += ',';
  AppendFixed(command, inset);
  command += ";\n";
  WriteCommand(target, command);
}

void ScrSymbol(const ScriptTarget& target, std::string_view name, MapPoint at, double scale_x,
               double scale_y, double rotation) {
  if (target.stream == nullptr || IsMissing(name)) return;
  if (!ScrSelect(target)) return;
  std::string& command = CommandBuffer();
  command.append("INSSYM ").append(name) += '\n';
  AppendFixed(command, scale_x);
  command += ';';
  AppendFixed(command, scale_y);
  command += ';';
  AppendFixed(command, rotation);
  command += ';';
  AppendPoint(command, at);
  command += ";\n";
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
  std::string& command = CommandBuffer();
  command.append("TEXTM ").append(text) += '\n';
  AppendPoint(command, at);
  command += '\n';
  WriteCommand(target, command);
}

}  // namespace torvane
