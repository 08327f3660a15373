// Text for the SVG picture: script texts escaped so that the file is well
// formed whatever bytes a name holds, and numbers written briefly.
#pragma once

#include <string>
#include <string_view>

namespace torvane {

// Appends `bytes` as XML character data that is also safe inside a quoted
// attribute. Valid UTF-8 passes through; any other text is read as
// Windows-1252, the code page scripts and map files made on Windows are in.
// A byte that code page leaves undefined, and any character XML 1.0 forbids
// (control characters other than tab, line feed and carriage return,
// U+FFFE, U+FFFF), becomes U+FFFD, so that no script can make the picture
// unreadable.
void AppendXmlText(std::string& out, std::string_view bytes);

// Appends a number with at most three decimals and no trailing zeros
// ("12.5", "-3", "0.001"); a value that rounds to zero is "0".
void AppendNumber(std::string& out, double value);

// Appends a map point as SVG coordinates "x,y": the map's y runs upward,
// the picture's downward, so SVG y is the map y negated.
void AppendSvgPoint(std::string& out, double x, double y);

}  // namespace torvane
