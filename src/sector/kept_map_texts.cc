// Map texts kept between the sector script and the subsector scripts.
#include "sector/kept_map_texts.h"

#include <algorithm>
#include <optional>

#include "sector/text_file.h"

namespace torvane {

const std::string* KeptMapTexts::Load(FileSystem& file_system, ErrorLog& errors,
                                      std::string_view path, bool keep) {
  const auto same_path = [path](const auto& entry) { return entry.first == path; };
  if (const auto kept = std::find_if(kept_.begin(), kept_.end(), same_path); kept != kept_.end()) {
    return &kept->second;
  }
  std::optional<std::string> text = LoadTextFile(file_system, errors, path);
  if (!text) return nullptr;
  if (keep && text->size() <= kKeptMapTextLimit - keptBytes_) {
    keptBytes_ += text->size();
    kept_.emplace_back(std::string(path), std::move(*text));
    return &kept_.back().second;
  }
  loaded_ = std::move(*text);
  return &loaded_;
}

void KeptMapTexts::Clear() {
  kept_.clear();
  keptBytes_ = 0;
  loaded_ = std::string();
}

}  // namespace torvane
