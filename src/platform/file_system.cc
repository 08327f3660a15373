// The parts of the file interface shared by every implementation.
#include "platform/file_system.h"

#include "platform/text_mode.h"

namespace torvane {

std::optional<std::string> InputFile::ReadText(std::uint64_t limit) {
  std::optional<std::string> raw = ReadRaw(limit);
  if (!raw) return std::nullopt;
  return DecodeTextMode(*raw);
}

std::vector<NameResult> CommitFiles(FileSystem& files, std::span<OutputFile* const> sealed) {
  files.MakeDurable(sealed);
  std::vector<NameResult> named;
  named.reserve(sealed.size());
  for (OutputFile* file : sealed) named.push_back(file->TakeName());
  return named;
}

NewFilesWritten WriteNewFiles(FileSystem& files, std::span<const NewFile> new_files,
                              Replacing replacing) {
  using enum NewFilesWritten::Step;
  std::vector<std::unique_ptr<OutputFile>> written;
  std::vector<OutputFile*> sealed;
  for (size_t i = 0; i < new_files.size(); ++i) {
    std::unique_ptr<OutputFile> file = files.CreateForWriting(new_files[i].path, replacing);
    if (file == nullptr) return {kCreate, i};
    if (!file->WriteUnchanged(new_files[i].bytes) || file->Seal() != SealResult::kSealed) {
      return {kWrite, i};
    }
    sealed.push_back(file.get());
    written.push_back(std::move(file));
  }
  files.MakeDurable(sealed);
  for (size_t i = 0; i < sealed.size(); ++i) {
    if (sealed[i]->TakeName() != NameResult::kNamed) return {kName, i};
  }
  return {};
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
