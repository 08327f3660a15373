// The parts of the file interface shared by every implementation.
#include "platform/file_system.h"

#include "platform/text_mode.h"

namespace torvane {

std::optional<std::string> InputFile::ReadText(std::uint64_t limit) {
  std::optional<std::string> raw = ReadRaw(limit);
  if (!raw) return std::nullopt;
  return DecodeTextMode(*raw);
}

}  // namespace torvane
