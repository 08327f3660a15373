#include "draw/base_symbols.h"
namespace torvane {
namespace { BaseFlags legend_flags = 0; }
std::string_view BaseFlagName(BaseFlags) { return {}; }
int CountBaseFlags(BaseFlags flags) { return __builtin_popcount(flags); }
void DrawBases(const WorldLayout&, const ScriptTarget&, std::string_view, MapPoint) {}
void DrawLegend(const ScriptTarget&, int) {}
BaseFlags LegendFlags() { return legend_flags; }
void ResetLegendFlags() { legend_flags = 0; }
}  // namespace torvane
