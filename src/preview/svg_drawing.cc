// The drawing of each command, with the attribute settings that the
// application keeps: each holds until a later command changes it.
#include "preview/svg_drawing.h"

#include <array>
#include <cmath>
#include <numbers>
#include <set>
#include <utility>

#include "preview/palette.h"
#include "preview/symbol_glyphs.h"
#include "preview/xml_text.h"

namespace torvane {

namespace {

struct FontFamily {
  std::string_view script_name;
  std::string_view svg_family;
  double cap_height;  // of the font size: text height is a capital's height
};

constexpr std::array<FontFamily, 2> kFonts{{
    {"Arial", "Arial, 'Liberation Sans', Helvetica, sans-serif", 0.716},
    {"Courier New", "'Courier New', 'Liberation Mono', monospace", 0.6},
}};
constexpr FontFamily kFallbackFont{"", "sans-serif", 0.716};

constexpr std::array<std::string_view, 3> kTextAnchors = {"start", "middle", "end"};

// The thinnest stroke drawn: width 0 means the thinnest line the device has.
constexpr double kHairline = 0.25;

// Settings in force before a script sets any.
struct DrawState {
  std::string layer = "STANDARD";
  int colour = 15;
  double line_width = 0;
  std::string line_style = "Solid";
  std::string fill_style = "Solid";
  std::string font = "Arial";
  double text_height = 2;
  double text_angle = 0;
  int justification = 0;
};

struct Point {
  double x;
  double y;
};

// `distance` from `from` in direction `degrees`, counter-clockwise from +x.
Point Polar(Point from, double degrees, double distance) {
  const double radians = degrees * std::numbers::pi / 180.0;
  return {from.x + distance * std::cos(radians), from.y + distance * std::sin(radians)};
}

class Drawing {
 public:
  explicit Drawing(std::vector<std::string>& warnings) : warnings_(warnings) {}

  void Draw(const ScriptCommand& command);
  const std::vector<std::pair<std::string, std::string>>& layers() const { return layers_; }

 private:
  std::string& Out();
  void Warn(const ScriptCommand& command, const std::string& key, const std::string& message);
  std::string Colour(const ScriptCommand& command);
  void AppendPoint(std::string& out, Point p);
  void AppendStroke(std::string& out, const ScriptCommand& command, double min_width);
  void DrawCircle(const ScriptCommand& command);
  void DrawArc(const ScriptCommand& command);
  void DrawLine(const ScriptCommand& command);
  void DrawText(const ScriptCommand& command);
  void DrawSymbol(const ScriptCommand& command);

  DrawState state_;
  std::vector<std::pair<std::string, std::string>> layers_;  // name, elements
  std::vector<std::string>& warnings_;
  std::set<std::string> warned_;
};

std::string& Drawing::Out() {
  for (auto& [name, elements] : layers_) {
    if (name == state_.layer) return elements;
  }
  layers_.emplace_back(state_.layer, std::string());
  return layers_.back().second;
}

void Drawing::Warn(const ScriptCommand& command, const std::string& key,
                   const std::string& message) {
  if (!warned_.insert(key).second) return;
  warnings_.push_back("line " + std::to_string(command.line) + ": " + message);
}

std::string Drawing::Colour(const ScriptCommand& command) {
  if (FindPaletteEntry(state_.colour) == nullptr) {
    Warn(command, "colour " + std::to_string(state_.colour),
         "colour " + std::to_string(state_.colour) + " is not in the palette; drawn in pink");
  }
  return HexColour(ColourRgb(state_.colour));
}

void Drawing::AppendPoint(std::string& out, Point p) { AppendSvgPoint(out, p.x, p.y); }

// Stroke colour, width and dashes (any line style but Solid is dashed).
void Drawing::AppendStroke(std::string& out, const ScriptCommand& command, double min_width) {
  out += " stroke=\"" + Colour(command) + "\" stroke-width=\"";
  AppendNumber(out, std::max(state_.line_width, min_width));
  out += "\"";
  if (state_.line_style != "Solid") out += " stroke-dasharray=\"1.5,1\"";
}

void Drawing::DrawCircle(const ScriptCommand& command) {
  const double radius = command.values[0];
  std::string& out = Out();
  out += "<circle cx=\"";
  AppendNumber(out, command.values[1]);
  out += "\" cy=\"";
  AppendNumber(out, -command.values[2]);
  out += "\" r=\"";
  AppendNumber(out, std::fabs(radius));
  out += "\"";
  if (state_.fill_style == "Solid") {
    out += " fill=\"" + Colour(command) + "\"";
    if (state_.line_width > 0) AppendStroke(out, command, 0);
  } else {
    out += " fill=\"none\"";
    AppendStroke(out, command, kHairline);
  }
  out += "/>\n";
}

// Counter-clockwise on the map from the start angle to the end angle; the
// same angle at both ends is taken as the whole circle.
void Drawing::DrawArc(const ScriptCommand& command) {
  const Point centre{command.values[0], command.values[1]};
  const double start = command.values[2], radius = std::fabs(command.values[3]);
  const double end = command.values[4];
  double sweep = std::fmod(end - start, 360.0);
  if (sweep <= 0) sweep += 360.0;
  std::string& out = Out();
  if (sweep >= 360.0 - 1e-9) {
    out += "<circle cx=\"";
    AppendNumber(out, centre.x);
    out += "\" cy=\"";
    AppendNumber(out, -centre.y);
    out += "\" r=\"";
    AppendNumber(out, radius);
    out += "\" fill=\"none\"";
  } else {
    // SVG's y runs downward, so the map's counter-clockwise is sweep flag 0.
    out += "<path d=\"M";
    AppendPoint(out, Polar(centre, start, radius));
    out += "A";
    AppendNumber(out, radius);
    out += ',';
    AppendNumber(out, radius);
    out += sweep > 180.0 ? " 0 1,0 " : " 0 0,0 ";
    AppendPoint(out, Polar(centre, end, radius));
    out += "\" fill=\"none\"";
  }
  AppendStroke(out, command, kHairline);
  out += "/>\n";
}

// Each end lies its distance away from its reference point in its direction.
void Drawing::DrawLine(const ScriptCommand& command) {
  const auto& v = command.values;
  const Point from = Polar({v[0], v[1]}, v[2], v[3]);
  const Point to = Polar({v[4], v[5]}, v[6], v[7]);
  std::string& out = Out();
  out += "<line x1=\"";
  AppendNumber(out, from.x);
  out += "\" y1=\"";
  AppendNumber(out, -from.y);
  out += "\" x2=\"";
  AppendNumber(out, to.x);
  out += "\" y2=\"";
  AppendNumber(out, -to.y);
  out += "\"";
  AppendStroke(out, command, kHairline);
  out += "/>\n";
}

// The anchor is at column j mod 3 (left, centre, right) and row j div 3
// (baseline, middle, top) of the text; the angle turns it counter-clockwise.
void Drawing::DrawText(const ScriptCommand& command) {
  const FontFamily* font = &kFallbackFont;
  for (const FontFamily& known : kFonts) {
    if (known.script_name == state_.font) font = &known;
  }
  if (font == &kFallbackFont) {
    Warn(command, "font " + state_.font, "font not known; drawn in sans-serif");
  }
  int justification = state_.justification;
  if (justification < 0 || justification > 8) {
    Warn(command, "justification " + std::to_string(justification),
         "justification " + std::to_string(justification) + " not known; drawn as 0");
    justification = 0;
  }
  const double height = state_.text_height;
  const double baseline_drop = height * (justification / 3) / 2.0;
  std::string& out = Out();
  out += "<text transform=\"translate(";
  AppendPoint(out, {command.values[0], command.values[1]});
  out += ")";
  if (state_.text_angle != 0) {
    out += " rotate(";
    AppendNumber(out, -state_.text_angle);
    out += ")";
  }
  out += "\" y=\"";
  AppendNumber(out, baseline_drop);
  out += "\" font-family=\"";
  out += font->svg_family;
  out += "\" font-size=\"";
  AppendNumber(out, std::fabs(height) / font->cap_height);
  out += "\" text-anchor=\"";
  out += kTextAnchors[static_cast<size_t>(justification % 3)];
  out += "\" fill=\"" + Colour(command) + "\" xml:space=\"preserve\">";
  AppendXmlText(out, command.name);
  out += "</text>\n";
}

void Drawing::DrawSymbol(const ScriptCommand& command) {
  const auto& v = command.values;
  const bool known = HasGlyph(command.name);
  if (!known) {
    std::string shown;
    AppendXmlText(shown, command.name);
    Warn(command, "symbol " + command.name,
         "no stand-in for symbol \"" + shown + "\"; drawn as a placeholder");
  }
  std::string& out = Out();
  out += known ? "<g class=\"symbol\" transform=\"translate("
               : "<g class=\"symbol unknown\" transform=\"translate(";
  AppendPoint(out, {v[3], v[4]});
  out += ")";
  if (v[0] != 1 || v[1] != 1) {
    out += " scale(";
    AppendNumber(out, v[0]);
    out += ',';
    AppendNumber(out, v[1]);
    out += ")";
  }
  if (v[2] != 0) {
    out += " rotate(";
    AppendNumber(out, -v[2]);
    out += ")";
  }
  out += "\"><title>";
  AppendXmlText(out, command.name);
  out += "</title>";
  AppendGlyph(out, command.name);
  out += "</g>\n";
}

void Drawing::Draw(const ScriptCommand& command) {
  switch (command.kind) {
    case CommandKind::kEchoOff:
    case CommandKind::kEchoOn:
    case CommandKind::kTextStyle:  // no visible meaning in the preview
      break;
    case CommandKind::kLayer:
      state_.layer = command.name;
      break;
    case CommandKind::kColor:
      state_.colour = command.number;
      break;
    case CommandKind::kLineWidth:
      state_.line_width = command.values[0];
      break;
    case CommandKind::kLineStyle:
      state_.line_style = command.name;
      break;
    case CommandKind::kFillStyle:
      state_.fill_style = command.name;
      break;
    case CommandKind::kTextFont:
      state_.font = command.name;
      break;
    case CommandKind::kTextHeight:
      state_.text_height = command.values[0];
      break;
    case CommandKind::kTextAngle:
      state_.text_angle = command.values[0];
      break;
    case CommandKind::kTextJustify:
      state_.justification = command.number;
      break;
    case CommandKind::kText:
      DrawText(command);
      break;
    case CommandKind::kCircle:
      DrawCircle(command);
      break;
    case CommandKind::kArc:
      DrawArc(command);
      break;
    case CommandKind::kLine:
      DrawLine(command);
      break;
    case CommandKind::kSymbol:
      DrawSymbol(command);
      break;
  }
}

// An id made of the layer's name: letters and digits kept, the rest '_'.
std::string LayerId(const std::string& name, std::set<std::string>& taken) {
  std::string id = "layer-";
  for (const char c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    id += plain ? c : '_';
  }
  std::string unique = id;
  for (int n = 2; !taken.insert(unique).second; ++n) unique = id + "-" + std::to_string(n);
  return unique;
}

}  // namespace

std::string DrawPreview(const std::vector<ScriptCommand>& commands, const PreviewOptions& options,
                        std::string_view title, std::vector<std::string>& warnings) {
  const MapFrame frame = FrameOf(options.frame.value_or(ChooseMapKind(commands)));
  Drawing drawing(warnings);
  for (const ScriptCommand& command : commands) drawing.Draw(command);

  const double width = frame.right - frame.left, height = frame.top - frame.bottom;
  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  // The picture fills the window it is shown in, the whole frame fitted and
  // centred (the default aspect ratio), so no window cuts the map off.
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100%\" height=\"100%\" viewBox=\"";
  AppendNumber(svg, frame.left);
  svg += ' ';
  AppendNumber(svg, -frame.top);
  svg += ' ';
  AppendNumber(svg, width);
  svg += ' ';
  AppendNumber(svg, height);
  svg += frame.kind == MapKind::kSectorMap ? "\" data-map=\"sector\">\n"
                                           : "\" data-map=\"subsector\">\n";
  svg += "<title>";
  AppendXmlText(svg, title);
  svg += "</title>\n<rect class=\"background\" x=\"";
  AppendNumber(svg, frame.left);
  svg += "\" y=\"";
  AppendNumber(svg, -frame.top);
  svg += "\" width=\"";
  AppendNumber(svg, width);
  svg += "\" height=\"";
  AppendNumber(svg, height);
  svg += "\" fill=\"" + HexColour(kBackgroundColour) + "\"/>\n";
  if (options.hex_grid) AppendHexGrid(svg, frame);
  std::set<std::string> ids;
  for (const auto& [name, elements] : drawing.layers()) {
    svg += "<g id=\"" + LayerId(name, ids) + "\" class=\"layer\" data-name=\"";
    AppendXmlText(svg, name);
    svg += "\">\n" + elements + "</g>\n";
  }
  AppendWorldTargets(svg, options.worlds, frame.kind);
  svg += "</svg>\n";
  return svg;
}

}  // namespace torvane
