// Pairing published sector files with their metadata by name.
#include "import/published_files.h"

#include <algorithm>
#include <filesystem>

#include "platform/ascii_text.h"
#include "platform/utf8_path.h"

namespace torvane {

namespace {

// The file's name without its folder and its extension, case folded: what
// pairs a sector file with its metadata.
std::string PairingKey(std::string_view file_path) {
  return LowerAscii(Utf8FromPath(PathFromUtf8(file_path).filename().stem()));
}

}  // namespace

std::string SectorDirectoryName(std::string_view file_path) {
  const std::filesystem::path name = PathFromUtf8(file_path).filename();
  if (!name.has_extension()) return Utf8FromPath(name) + "-sector";
  return Utf8FromPath(name.stem());
}

bool IsMetadataName(std::string_view file_path) {
  return file_path.size() >= 4 &&
         EqualsIgnoringAsciiCase(file_path.substr(file_path.size() - 4), ".xml");
}

PublishedFiles PairPublishedFiles(const std::vector<std::string>& file_paths) {
  std::vector<std::string> sector_files, metadata;
  for (const std::string& path : file_paths) {
    (IsMetadataName(path) ? metadata : sector_files).push_back(path);
  }
  PublishedFiles published;
  std::vector<bool> metadata_taken(metadata.size(), false);
  for (const std::string& file : sector_files) {
    const std::string directory = SectorDirectoryName(file);
    auto sector = std::find_if(published.sectors.begin(), published.sectors.end(),
                               [&](const PublishedSector& s) {
                                 return EqualsIgnoringAsciiCase(s.directory_name, directory);
                               });
    if (sector == published.sectors.end()) {
      sector = published.sectors.insert(sector, {directory, {}, {}});
    }
    sector->sector_files.push_back(file);
    for (size_t i = 0; i < metadata.size(); ++i) {
      const bool only_pair = sector_files.size() == 1 && metadata.size() == 1;
      const bool same_name = PairingKey(metadata[i]) == PairingKey(file);
      const bool already = std::find(sector->metadata_files.begin(), sector->metadata_files.end(),
                                     metadata[i]) != sector->metadata_files.end();
      if ((only_pair || same_name) && !already) {
        sector->metadata_files.push_back(metadata[i]);
        metadata_taken[i] = true;
      }
    }
  }
  for (size_t i = 0; i < metadata.size(); ++i) {
    if (!metadata_taken[i]) published.lone_metadata.push_back(metadata[i]);
  }
  return published;
}

}  // namespace torvane
