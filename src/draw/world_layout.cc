// Measuring world lines and finding their remark codes.
#include "draw/world_layout.h"

#include <algorithm>

namespace torvane {

size_t WorldLineLength(std::string_view line) {
  const size_t end = line.find('\n');
  return end == std::string_view::npos ? line.size() : end;
}

std::string_view RemarkCodeText(const WorldLayout& layout, std::string_view line, size_t length) {
  const std::int32_t column = layout.remarksColumn();
  if (!FieldInside(column, 1, length)) return {};
  const std::int64_t field_end = std::int64_t{column} + layout.remarksWidth();
  const std::int64_t text_end = std::min(field_end + 1, static_cast<std::int64_t>(length));
  if (text_end <= column) return {};
  return line.substr(static_cast<size_t>(column), static_cast<size_t>(text_end - column));
}

}  // namespace torvane
