#include "draw/hex_numbers.h"
namespace torvane {
void DrawHexNumbers(const ScriptTarget&, int, int) {}
void DrawHexNumberLabel(const ScriptTarget&, std::string_view, MapPoint) {}
}  // namespace torvane
