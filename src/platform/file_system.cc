// The parts of the file interface shared by every implementation.
#include "platform/file_system.h"

#include "platform/text_mode.h"

namespace torvane {

std::optional<std::string> InputFile::ReadText(std::uint64_t limit) {
  std::optional<std::string> raw = ReadRaw(limit);
  if (!raw) return std::nullopt;
  return DecodeTextMode(*raw);
}

std::optional<std::string> ReadWholeFile(FileSystem& files, std::string_view path) {
  const std::unique_ptr<InputFile> file = files.OpenForReading(path);
  if (!file) return std::nullopt;
  const std::optional<std::uint64_t> size = file->Size();
  if (!size) return std::nullopt;
  return file->ReadRaw(*size);
}

}  // namespace torvane
