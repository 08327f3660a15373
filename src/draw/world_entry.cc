#include "draw/world_entry.h"
namespace torvane {
size_t WorldLineLength(std::string_view line) {
  const size_t end = line.find('\n');
  return end == std::string_view::npos ? line.size() : end;
}
int DrawWorld(const WorldLayout&, const ScriptTarget&, std::string_view, int, int) { return 0; }
}  // namespace torvane
