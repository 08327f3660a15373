// Reading numbers from map text exactly as C's formatted input ("%2d",
// "%1x", "%d") reads them, without its undefined behaviour on overflow.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace torvane {

// One integer conversion on `text` from `pos`: white space is skipped
// without limit (into the following lines too, as the map text is one
// string), then an optional sign and digits of `base` (10 or 16), at most
// `width` characters of both together (0: no limit). A number too large for
// an int is held at the int range. Nothing when no digit was read. `pos`
// moves past what was consumed; text after a NUL is never read.
std::optional<int> ScanInteger(std::string_view text, size_t& pos, int width, int base);

}  // namespace torvane
