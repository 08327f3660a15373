#include "draw/trade_route.h"
namespace torvane {
int DrawRoute(const ScriptTarget&, std::string_view, int, int) { return 0; }
}  // namespace torvane
