#include "sector/subsector_map.h"
#include <array>
#include <string>
namespace torvane {
namespace { std::array<std::string, 16> names; }
int DrawSubsector(FileSystem&, std::string_view, std::string_view, std::string_view,
                  const ScriptTarget&, int, int) { return 0; }
std::string_view SubsectorName(int subsector) { return names[subsector]; }
void ResetSubsectorNames() { names = {}; }
}  // namespace torvane
