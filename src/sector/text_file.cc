// Loading whole text files: the sector data file and the subsector map files.
#include "sector/text_file.h"

#include <new>

#include "script/error_report.h"

namespace torvane {

std::optional<std::string> LoadTextFile(FileSystem& file_system, ErrorLog& errors,
                                        std::string_view path) {
  std::unique_ptr<InputFile> file = file_system.OpenForReading(path);
  if (file == nullptr) {
    ReportError(errors, "Couldn't open file <%s>!\n", path);
    return std::nullopt;
  }
  const std::optional<std::uint64_t> size = file->Size();
  if (!size) {
    ReportError(errors, "Error reading file <%s>!\n", path);
    return std::nullopt;
  }
  if (*size == 0) {
    ReportError(errors, "File <%s> invalid!\n", path);
    return std::nullopt;
  }
  constexpr std::string_view kOutOfMemory = "Out of memory reading <%s>!\n";
  if (*size >= std::string().max_size()) {
    ReportError(errors, kOutOfMemory, path);
    return std::nullopt;
  }
  std::optional<std::string> text;
  try {
    text = file->ReadText(*size);
  } catch (const std::bad_alloc&) {
    ReportError(errors, kOutOfMemory, path);
    return std::nullopt;
  }
  // A short read is normal (line ends shrink in text mode); a read that
  // fails outright would otherwise pass for an empty file.
  if (!text) {
    ReportError(errors, "Error reading file <%s>!\n", path);
    return std::nullopt;
  }
  return text;
}

}  // namespace torvane
