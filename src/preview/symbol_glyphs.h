// Stand-in glyphs for the catalogue symbols that torvane inserts by name:
// the kinds of base and the asteroid belts.
#pragma once

#include <string>
#include <string_view>

namespace torvane {

// Whether `name` has a glyph of its own.
bool HasGlyph(std::string_view name);

// Appends the SVG elements of the glyph for `name`, centred on the origin
// in SVG orientation (y downward), about 2.4 map units across (an asteroid
// belt about 5). An unknown name gets the placeholder: a pink box crossed
// through.
void AppendGlyph(std::string& out, std::string_view name);

}  // namespace torvane
