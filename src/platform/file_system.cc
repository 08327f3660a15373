// The parts of the file interface shared by every implementation.
#include "platform/file_system.h"

#include "platform/text_mode.h"

namespace torvane {

std::optional<std::string> InputFile::ReadText(std::uint64_t limit) {
  std::optional<std::string> raw = ReadRaw(limit);
  if (!raw) return std::nullopt;
  return DecodeTextMode(*raw);
}

WholeFile ReadWholeFile(FileSystem& files, std::string_view path, std::uint64_t limit) {
  using enum WholeFile::Result;
  const std::unique_ptr<InputFile> file = files.OpenForReading(path);
  if (!file) return {.result = kUnreadable};
  const std::optional<std::uint64_t> size = file->Size();
  if (!size) return {.result = kUnreadable};
  if (*size > limit) return {.result = kTooLarge, .bytes = {}, .size = *size};
  std::optional<std::string> bytes = file->ReadRaw(*size);
  if (!bytes) return {.result = kUnreadable};
  return {.result = kRead, .bytes = std::move(*bytes), .size = *size};
}

}  // namespace torvane
