// The script command writer: turns drawing requests into lines of the
// drawing application's command language, writing each attribute setting
// only when it differs from the one last written to the same stream.
#pragma once

#include <string_view>

#include "script/map_point.h"
#include "script/script_file.h"

namespace torvane {

// Cached names keep at most this many characters; a longer name never
// matches its cached copy and is written every time.
inline constexpr size_t kCachedNameLimit = 255;

// How a text is drawn: the settings its TEXTM command needs before it.
struct TextStyle {
  int colour;
  std::string_view font;
  double height;
  double angle;
  int justification;
  int style;
};

// How a shape is drawn: the settings its command needs before it.
struct ShapeStyle {
  int colour;
  double lineWidth;
  std::string_view lineStyle;
  std::string_view fillStyle;
};

// A name argument that is "missing" is a default-constructed string_view
// (null data); an empty name ("") is present and matches the empty cache.

// Makes the target's script current: when it is not, forgets every setting
// of its ScriptState and writes "LAYER STANDARD". 1, or 0 when that write
// failed.
int ScrSelect(const ScriptTarget& target);
// The script is current no more; its next command selects it anew.
void ScrRelease(const ScriptTarget& target);
void ScrLayer(const ScriptTarget& target, std::string_view layer);

void ScrArc(const ScriptTarget& target, MapPoint centre, double radius, double start_angle,
            double end_angle, const ShapeStyle& style);
void ScrCircle(const ScriptTarget& target, MapPoint centre, double radius, const ShapeStyle& style);
// One line from 'inset' beyond `from` to 'inset' short of `to`.
void ScrLine(const ScriptTarget& target, MapPoint from, MapPoint to, double inset,
             const ShapeStyle& style);
void ScrSymbol(const ScriptTarget& target, std::string_view name, MapPoint at, double scale_x,
               double scale_y, double rotation);
// `length` 0 (or below) writes the whole text; a positive length that many
// leading characters, fewer when the text is shorter.
void ScrText(const ScriptTarget& target, std::string_view text, int length, MapPoint at,
             const TextStyle& style);

// The attribute commands, used by the drawing commands above. Each returns
// 1 when the value is current or was written, 0 on failure.
int ScrColor(const ScriptTarget& target, int colour);
int ScrLineStyle(const ScriptTarget& target, std::string_view style);
int ScrTextFont(const ScriptTarget& target, std::string_view font);
int ScrTextJustify(const ScriptTarget& target, int justification);

}  // namespace torvane
