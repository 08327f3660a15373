// The glyph table: one row per symbol name, a shape, a colour and whether
// it is filled, so that each kind of base is told apart at a glance.
#include "preview/symbol_glyphs.h"

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "draw/base_kinds.h"
#include "draw/world_entry.h"
#include "preview/palette.h"
#include "preview/xml_text.h"

namespace torvane {

namespace {

enum class Shape {
  kStar,
  kTriangle,
  kTriangleDown,
  kSquare,
  kDiamond,
  kHexagon,
  kPlus,
  kSaltire,
  kDisc,
  kRingAndDot,
  kAsteroids,  // a ring of dots; the row's variant gives their number
};

enum class Fill { kSolid, kOutline };

struct Glyph {
  std::string_view name;
  Shape shape;
  Rgb colour;
  Fill fill;
  int variant;  // asteroid belts: 1 to 8
};

constexpr Rgb kImperial{255, 215, 0};
constexpr Rgb kIndependent{255, 255, 255};
constexpr Rgb kMilitary{192, 192, 192};
constexpr Rgb kAslan{255, 153, 51};
constexpr Rgb kVargr{255, 64, 64};
constexpr Rgb kDroyne{176, 128, 255};
constexpr Rgb kHiver{64, 224, 64};
constexpr Rgb kKkree{192, 128, 64};
constexpr Rgb kCrossing{64, 192, 192};
constexpr Rgb kZhodani{96, 160, 255};
constexpr Rgb kCamp{255, 255, 255};
constexpr Rgb kRock{176, 160, 128};

constexpr std::array<Glyph, 35> kGlyphs{{
    {"Imperial Naval Base", Shape::kStar, kImperial, Fill::kSolid, 0},
    {"Imperial Scout Base", Shape::kTriangle, kImperial, Fill::kSolid, 0},
    {"Imperial Naval Depot", Shape::kSquare, kImperial, Fill::kSolid, 0},
    {"Imperial Way Station", Shape::kDiamond, kImperial, Fill::kSolid, 0},
    {"Independent Naval Base", Shape::kStar, kIndependent, Fill::kSolid, 0},
    {"Military Base", Shape::kPlus, kMilitary, Fill::kSolid, 0},
    {"Tlaukhu Base", Shape::kHexagon, kAslan, Fill::kSolid, 0},
    {"Aslan Clan Base", Shape::kTriangleDown, kAslan, Fill::kSolid, 0},
    {"Vargr Naval Base", Shape::kStar, kVargr, Fill::kSolid, 0},
    {"Vargr Corsair Base", Shape::kSaltire, kVargr, Fill::kSolid, 0},
    {"Droyne Naval Base", Shape::kStar, kDroyne, Fill::kSolid, 0},
    {"Droyne Garrison", Shape::kSquare, kDroyne, Fill::kSolid, 0},
    {"Hiver Naval Base", Shape::kStar, kHiver, Fill::kSolid, 0},
    {"Hiver Embassy Centre", Shape::kDisc, kHiver, Fill::kSolid, 0},
    {"Hiver Temporary Base", Shape::kTriangle, kHiver, Fill::kSolid, 0},
    {"Hiver Staging Base", Shape::kDiamond, kHiver, Fill::kSolid, 0},
    {"K'Kree Naval Base", Shape::kStar, kKkree, Fill::kSolid, 0},
    {"K'Kree Naval Outpost", Shape::kTriangle, kKkree, Fill::kSolid, 0},
    {"Interface World", Shape::kHexagon, kCrossing, Fill::kOutline, 0},
    {"Terminus World", Shape::kSquare, kCrossing, Fill::kOutline, 0},
    {"Zhodani Base", Shape::kStar, kZhodani, Fill::kSolid, 0},
    {"Zhodani Relay Station", Shape::kDiamond, kZhodani, Fill::kSolid, 0},
    {"Zhodani Naval Depot", Shape::kSquare, kZhodani, Fill::kSolid, 0},
    {"Exile Camp", Shape::kTriangle, kCamp, Fill::kOutline, 0},
    {"Prison Camp", Shape::kSquare, kCamp, Fill::kOutline, 0},
    {"Research Station", Shape::kRingAndDot, kCamp, Fill::kOutline, 0},
    {"Reserve", Shape::kDiamond, kCamp, Fill::kOutline, 0},
    {"Asteroid 1", Shape::kAsteroids, kRock, Fill::kSolid, 1},
    {"Asteroid 2", Shape::kAsteroids, kRock, Fill::kSolid, 2},
    {"Asteroid 3", Shape::kAsteroids, kRock, Fill::kSolid, 3},
    {"Asteroid 4", Shape::kAsteroids, kRock, Fill::kSolid, 4},
    {"Asteroid 5", Shape::kAsteroids, kRock, Fill::kSolid, 5},
    {"Asteroid 6", Shape::kAsteroids, kRock, Fill::kSolid, 6},
    {"Asteroid 7", Shape::kAsteroids, kRock, Fill::kSolid, 7},
    {"Asteroid 8", Shape::kAsteroids, kRock, Fill::kSolid, 8},
}};

constexpr bool HasGlyphRow(std::string_view name) {
  for (const Glyph& glyph : kGlyphs) {
    if (glyph.name == name) return true;
  }
  return false;
}

// Every symbol torvane inserts has a glyph: each kind of base and each
// asteroid belt.
constexpr bool EveryBaseKindHasAGlyph() {
  for (const BaseFlagRow& row : BaseFlagTable) {
    if (!HasGlyphRow(row.name)) return false;
  }
  return true;
}
static_assert(EveryBaseKindHasAGlyph());

constexpr bool EveryAsteroidBeltHasAGlyph() {
  for (int variant = 1; variant <= kAsteroidVariants; ++variant) {
    bool found = false;
    for (const Glyph& glyph : kGlyphs) {
      found = found || (glyph.shape == Shape::kAsteroids && glyph.variant == variant &&
                        glyph.name.size() == kAsteroidSymbolStem.size() + 1 &&
                        glyph.name.starts_with(kAsteroidSymbolStem) &&
                        glyph.name.back() == static_cast<char>('0' + variant));
    }
    if (!found) return false;
  }
  return true;
}
static_assert(EveryAsteroidBeltHasAGlyph());

constexpr double kRadius = 1.2;        // base glyphs, centre to corner
constexpr double kAsteroidRing = 1.7;  // asteroid dots lie on this ring
constexpr double kStroke = 0.3;

struct Point {
  double x;
  double y;
};

// Corners on a circle, the first at `start` degrees, y downward.
std::vector<Point> Corners(int count, double start, double radius) {
  std::vector<Point> points;
  for (int k = 0; k < count; ++k) {
    const double angle = (start + 360.0 * k / count) * std::numbers::pi / 180.0;
    points.push_back({radius * std::cos(angle), radius * std::sin(angle)});
  }
  return points;
}

std::vector<Point> StarPoints() {
  std::vector<Point> points;
  for (int k = 0; k < 10; ++k) {
    const double radius = k % 2 == 0 ? kRadius : kRadius * 0.45;
    const double angle = (-90.0 + 36.0 * k) * std::numbers::pi / 180.0;
    points.push_back({radius * std::cos(angle), radius * std::sin(angle)});
  }
  return points;
}

// A plus sign; turned by 45 degrees it is a saltire.
std::vector<Point> CrossPoints(double turn_degrees) {
  const double r = kRadius, w = kRadius * 0.3;
  const std::vector<Point> plus = {{-w, -r}, {w, -r}, {w, -w}, {r, -w}, {r, w},   {w, w},
                                   {w, r},   {-w, r}, {-w, w}, {-r, w}, {-r, -w}, {-w, -w}};
  const double turn = turn_degrees * std::numbers::pi / 180.0;
  std::vector<Point> points;
  for (const Point& p : plus) {
    points.push_back(
        {p.x * std::cos(turn) - p.y * std::sin(turn), p.x * std::sin(turn) + p.y * std::cos(turn)});
  }
  return points;
}

std::vector<Point> ShapePoints(Shape shape) {
  switch (shape) {
    case Shape::kStar:
      return StarPoints();
    case Shape::kTriangle:
      return Corners(3, -90, kRadius);
    case Shape::kTriangleDown:
      return Corners(3, 90, kRadius);
    case Shape::kSquare:
      return Corners(4, 45, kRadius);
    case Shape::kDiamond:
      return Corners(4, 0, kRadius);
    case Shape::kHexagon:
      return Corners(6, 0, kRadius);
    case Shape::kPlus:
      return CrossPoints(0);
    case Shape::kSaltire:
      return CrossPoints(45);
    default:
      return {};
  }
}

void AppendPaint(std::string& out, Rgb colour, Fill fill) {
  if (fill == Fill::kSolid) {
    out += " fill=\"" + HexColour(colour) + "\"";
  } else {
    out += " fill=\"none\" stroke=\"" + HexColour(colour) + "\" stroke-width=\"";
    AppendNumber(out, kStroke);
    out += "\"";
  }
}

void AppendDisc(std::string& out, Point at, double radius, Rgb colour, Fill fill) {
  out += "<circle cx=\"";
  AppendNumber(out, at.x);
  out += "\" cy=\"";
  AppendNumber(out, at.y);
  out += "\" r=\"";
  AppendNumber(out, radius);
  out += "\"";
  AppendPaint(out, colour, fill);
  out += "/>";
}

void AppendPolygon(std::string& out, const std::vector<Point>& points, Rgb colour, Fill fill) {
  out += "<polygon points=\"";
  for (size_t i = 0; i < points.size(); ++i) {
    if (i > 0) out += ' ';
    AppendNumber(out, points[i].x);
    out += ',';
    AppendNumber(out, points[i].y);
  }
  out += "\"";
  AppendPaint(out, colour, fill);
  out += "/>";
}

// Variant v has v + 2 rocks of two sizes round the ring, and one in the
// middle when v is even.
void AppendAsteroids(std::string& out, const Glyph& glyph) {
  const int count = glyph.variant + 2;
  const std::vector<Point> ring = Corners(count, 20.0 * glyph.variant, kAsteroidRing);
  for (size_t k = 0; k < ring.size(); ++k) {
    AppendDisc(out, ring[k], k % 2 == 0 ? 0.55 : 0.4, glyph.colour, Fill::kSolid);
  }
  if (glyph.variant % 2 == 0) AppendDisc(out, {0, 0}, 0.5, glyph.colour, Fill::kSolid);
}

const Glyph* FindGlyph(std::string_view name) {
  for (const Glyph& glyph : kGlyphs) {
    if (glyph.name == name) return &glyph;
  }
  return nullptr;
}

}  // namespace

bool HasGlyph(std::string_view name) { return FindGlyph(name) != nullptr; }

void AppendGlyph(std::string& out, std::string_view name) {
  const Glyph* glyph = FindGlyph(name);
  if (glyph == nullptr) {
    const double r = kRadius;
    AppendPolygon(out, {{-r, -r}, {r, -r}, {r, r}, {-r, r}}, kPlaceholderColour, Fill::kOutline);
    out += "<path d=\"M-1.2,-1.2L1.2,1.2M1.2,-1.2L-1.2,1.2\" stroke=\"" +
           HexColour(kPlaceholderColour) + "\" stroke-width=\"0.3\"/>";
    return;
  }
  switch (glyph->shape) {
    case Shape::kDisc:
      AppendDisc(out, {0, 0}, kRadius * 0.9, glyph->colour, glyph->fill);
      break;
    case Shape::kRingAndDot:
      AppendDisc(out, {0, 0}, kRadius * 0.9, glyph->colour, Fill::kOutline);
      AppendDisc(out, {0, 0}, kRadius * 0.35, glyph->colour, Fill::kSolid);
      break;
    case Shape::kAsteroids:
      AppendAsteroids(out, *glyph);
      break;
    default:
      AppendPolygon(out, ShapePoints(glyph->shape), glyph->colour, glyph->fill);
  }
}

}  // namespace torvane
