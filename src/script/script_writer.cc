// The script command writer and its attribute cache, ScriptState.
#include "script/script_writer.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>

#include "script/command_text.h"
#include "script/command_words.h"
#include "script/error_report.h"

namespace torvane {

namespace {

constexpr double kDegreesPerRadian = 57.29577951471995;

bool IsMissing(std::string_view name) { return name.data() == nullptr; }

constexpr std::string_view kLayerWord = CommandWord(CommandKind::kLayer);

constexpr Keyword kColorKeyword(CommandWord(CommandKind::kColor));
constexpr Keyword kLineWidthKeyword(CommandWord(CommandKind::kLineWidth));
constexpr Keyword kLineStyleKeyword(CommandWord(CommandKind::kLineStyle));
constexpr Keyword kFillStyleKeyword(CommandWord(CommandKind::kFillStyle));
constexpr Keyword kTextFontKeyword(CommandWord(CommandKind::kTextFont));
constexpr Keyword kTextHeightKeyword(CommandWord(CommandKind::kTextHeight));
constexpr Keyword kTextAngleKeyword(CommandWord(CommandKind::kTextAngle));
constexpr Keyword kTextJustifyKeyword(CommandWord(CommandKind::kTextJustify));
constexpr Keyword kTextStyleKeyword(CommandWord(CommandKind::kTextStyle));

// A command is assembled in place in its stream's pending text, already
// encoded, as one write.
EncodedText& StartCommand(const ScriptTarget& target) { return target.stream->StartWrite(); }

// Room for the parts of a command other than names and texts: eight
// numbers at the most (a line), keywords and separators.
constexpr size_t kCommandRoom = 8 * kFixedTextRoom + 64;

// Runs `put` with the place where the command goes on; it returns the end
// of what it put there.
template <typename Put>
void PutPieces(EncodedText& command, Put put) {
  command.Extend(put(command.Reserve(kCommandRoom)));
}

[[gnu::noinline]] bool ReportFailedCommand(const ScriptTarget& target) {
  ReportWriteError(*target.errorLog, target.path);
  return false;
}

// Ends the command; a failure is reported with the script's path.
inline bool FinishCommand(const ScriptTarget& target) {
  return target.stream->FinishWrite() || ReportFailedCommand(target);
}

// Whether the ends of two texts of one size (one to two words) are the
// same; together the ends cover the texts.
template <typename Word>
bool SameWordEnds(std::string_view a, std::string_view b) {
  Word a_first, a_last, b_first, b_last;
  std::memcpy(&a_first, a.data(), sizeof(Word));
  std::memcpy(&b_first, b.data(), sizeof(Word));
  std::memcpy(&a_last, a.data() + a.size() - sizeof(Word), sizeof(Word));
  std::memcpy(&b_last, b.data() + b.size() - sizeof(Word), sizeof(Word));
  return ((a_first ^ b_first) | (a_last ^ b_last)) == 0;
}

// Whether a cached name is `name`. The names met by the thousand ("Arial",
// "Solid") are short and compared in a few moves rather than by a call.
bool SameName(std::string_view cached, std::string_view name) {
  const size_t size = name.size();
  if (cached.size() != size) return false;
  if (size > 2 * sizeof(std::uint64_t)) return cached == name;
  if (size >= sizeof(std::uint64_t)) return SameWordEnds<std::uint64_t>(cached, name);
  if (size >= sizeof(std::uint32_t)) return SameWordEnds<std::uint32_t>(cached, name);
  for (size_t i = 0; i < size; ++i) {
    if (cached[i] != name[i]) return false;
  }
  return true;
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
  PutPieces(command, [&](char* at) { return keyword.Put(at); });
  command.Append(name);
  command.AppendLineEnd();
  return FinishCommand(target) ? 1 : 0;
}

[[gnu::noinline]] int WriteInt(const ScriptTarget& target, int& field, const Keyword& keyword,
                               int value) {
  field = value;
  EncodedText& command = StartCommand(target);
  PutPieces(command, [&](char* at) { return PutLineEnd(PutInt(keyword.Put(at), value)); });
  return FinishCommand(target) ? 1 : 0;
}

[[gnu::noinline]] int WriteDouble(const ScriptTarget& target, double& field, const Keyword& keyword,
                                  double value) {
  field = value;
  EncodedText& command = StartCommand(target);
  PutPieces(command, [&](char* at) { return PutLineEnd(PutFixed(keyword.Put(at), value)); });
  return FinishCommand(target) ? 1 : 0;
}

inline int SetName(const ScriptTarget& target, std::string& field, const Keyword& keyword,
                   std::string_view name) {
  if (target.stream == nullptr || IsMissing(name)) return 0;
  if (SameName(field, name)) return 1;
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

// The attributes that only the drawing commands here set.
int ScrLineWidth(const ScriptTarget& target, double width) {
  return SetDouble(target, target.state.lineWidth, kLineWidthKeyword, width);
}
int ScrFillStyle(const ScriptTarget& target, std::string_view style) {
  return SetName(target, target.state.fillStyle, kFillStyleKeyword, style);
}
int ScrTextHeight(const ScriptTarget& target, double height) {
  return SetDouble(target, target.state.textHeight, kTextHeightKeyword, height);
}
int ScrTextAngle(const ScriptTarget& target, double angle) {
  return SetDouble(target, target.state.textAngle, kTextAngleKeyword, angle);
}
int ScrTextStyle(const ScriptTarget& target, int style) {
  return SetInt(target, target.state.textStyle, kTextStyleKeyword, style);
}

// The settings that every shape command needs, in their order. Mostly all
// of them are current already, which is checked first, at once.
bool PrepareShape(const ScriptTarget& target, const ShapeStyle& shape) {
  if (target.state.current && shape.colour == target.state.colour &&
      shape.lineWidth == target.state.lineWidth &&
      SameName(target.state.lineStyle, shape.lineStyle) &&
      SameName(target.state.fillStyle, shape.fillStyle)) {
    return true;
  }
  return ScrSelect(target) && ScrColor(target, shape.colour) &&
         ScrLineWidth(target, shape.lineWidth) && ScrLineStyle(target, shape.lineStyle) &&
         ScrFillStyle(target, shape.fillStyle);
}

// The same for the settings of a text.
bool PrepareText(const ScriptTarget& target, const TextStyle& text) {
  const ScriptState& state = target.state;
  if (state.current && text.colour == state.colour && text.height == state.textHeight &&
      text.angle == state.textAngle && text.justification == state.textJustification &&
      text.style == state.textStyle && !IsMissing(text.font) &&
      SameName(state.textFont, text.font)) {
    return true;
  }
  // A missing font is noticed by ScrTextFont, after the colour is written.
  return ScrSelect(target) && ScrColor(target, text.colour) && ScrTextFont(target, text.font) &&
         ScrTextHeight(target, text.height) && ScrTextAngle(target, text.angle) &&
         ScrTextJustify(target, text.justification) && ScrTextStyle(target, text.style);
}

bool ShapeArgumentsMissing(const ScriptTarget& target, const ShapeStyle& shape) {
  return target.stream == nullptr || IsMissing(shape.lineStyle) || IsMissing(shape.fillStyle);
}

// A shape command: its settings, then the pieces `put` puts.
template <typename Put>
void WriteShape(const ScriptTarget& target, const ShapeStyle& shape, Put put) {
  if (ShapeArgumentsMissing(target, shape)) return;
  if (!PrepareShape(target, shape)) return;
  PutPieces(StartCommand(target), put);
  FinishCommand(target);
}

}  // namespace

int ScrSelect(const ScriptTarget& target) {
  if (target.stream == nullptr) return 0;
  if (target.state.current) return 1;
  target.state = ScriptState{};
  target.state.current = true;
  target.state.layer = kStandardLayer;
  // After a failed write the stream stays current: the reset stands.
  EncodedText& command = StartCommand(target);
  command.AppendLineFree(kLayerWord);
  command.AppendLineFree(" ");
  command.AppendLineFree(kStandardLayer);
  command.AppendLineEnd();
  return FinishCommand(target) ? 1 : 0;
}

void ScrRelease(const ScriptTarget& target) { target.state.current = false; }

void ScrLayer(const ScriptTarget& target, std::string_view layer) {
  if (target.stream == nullptr || IsMissing(layer)) return;
  if (!ScrSelect(target)) return;
  if (SameName(target.state.layer, layer)) return;
  CacheName(target.state.layer, layer);
  EncodedText& command = StartCommand(target);
  command.AppendLineFree(kLayerWord);
  command.AppendLineFree(" ");
  command.Append(layer);
  command.AppendLineEnd();
  FinishCommand(target);
}

int ScrColor(const ScriptTarget& target, int colour) {
  return SetInt(target, target.state.colour, kColorKeyword, colour);
}
int ScrLineStyle(const ScriptTarget& target, std::string_view style) {
  return SetName(target, target.state.lineStyle, kLineStyleKeyword, style);
}
int ScrTextFont(const ScriptTarget& target, std::string_view font) {
  return SetName(target, target.state.textFont, kTextFontKeyword, font);
}
int ScrTextJustify(const ScriptTarget& target, int justification) {
  return SetInt(target, target.state.textJustification, kTextJustifyKeyword, justification);
}

void ScrArc(const ScriptTarget& target, MapPoint centre, double radius, double start_angle,
            double end_angle, const ShapeStyle& style) {
  WriteShape(target, style, [&](char* at) {
    at = PutPoint(PutText(PutText(at, CommandWord(CommandKind::kArc)), " "), centre);
    at = PutFixed(PutText(at, ";<"), start_angle);
    at = PutFixed(PutText(at, ","), radius);
    at = PutFixed(PutText(at, ";"), end_angle);
    return PutLineEnd(at);
  });
}

void ScrCircle(const ScriptTarget& target, MapPoint centre, double radius,
               const ShapeStyle& style) {
  WriteShape(target, style, [&](char* at) {
    at = PutFixed(PutText(PutText(at, CommandWord(CommandKind::kCircle)), " "), radius);
    at = PutPoint(PutText(at, ";"), centre);
    return PutLineEnd(PutText(at, ";"));
  });
}

void ScrLine(const ScriptTarget& target, MapPoint from, MapPoint to, double inset,
             const ShapeStyle& style) {
  const double direction = Direction(from.x, from.y, to.x, to.y) * kDegreesPerRadian;
  const double reverse = direction >= 0 ? direction - 180 : direction + 180;
  WriteShape(target, style, [&](char* at) {
    at = PutPoint(PutText(PutText(at, CommandWord(CommandKind::kLine)), " REF "), from);
    at = PutFixed(PutText(at, ";<"), direction);
    at = PutFixed(PutText(at, ","), inset);
    at = PutPoint(PutText(at, ";REF "), to);
    at = PutFixed(PutText(at, ";<"), reverse);
    at = PutFixed(PutText(at, ","), inset);
    return PutLineEnd(PutText(at, ";"));
  });
}

void ScrSymbol(const ScriptTarget& target, std::string_view name, MapPoint at, double scale_x,
               double scale_y, double rotation) {
  if (target.stream == nullptr || IsMissing(name)) return;
  if (!ScrSelect(target)) return;
  EncodedText& command = StartCommand(target);
  command.AppendLineFree(CommandWord(CommandKind::kSymbol));
  command.AppendLineFree(" ");
  command.Append(name);
  command.AppendLineEnd();
  PutPieces(command, [&](char* place) {
    place = PutFixed(place, scale_x);
    place = PutFixed(PutText(place, ";"), scale_y);
    place = PutFixed(PutText(place, ";"), rotation);
    place = PutPoint(PutText(place, ";"), at);
    return PutLineEnd(PutText(place, ";"));
  });
  FinishCommand(target);
}

void ScrText(const ScriptTarget& target, std::string_view text, int length, MapPoint at,
             const TextStyle& style) {
  if (target.stream == nullptr || IsMissing(text)) return;
  if (!PrepareText(target, style)) return;
  if (length > 0 && static_cast<size_t>(length) < text.size()) text = text.substr(0, length);
  EncodedText& command = StartCommand(target);
  command.AppendLineFree(CommandWord(CommandKind::kText));
  command.AppendLineFree(" ");
  command.Append(text);
  command.AppendLineEnd();
  PutPieces(command, [&](char* place) { return PutLineEnd(PutPoint(place, at)); });
  FinishCommand(target);
}

}  // namespace torvane
