// Which published files make which sector: each sector file paired with its
// XML metadata by name, and the sector directory it is imported into. The
// rule of the command line and of the web page alike.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace torvane {

// The sector directory a sector file is imported into, named after the
// file: "maps/Reach.tab" gives "Reach"; a file without an extension (that
// is, one that would share the directory's name) gives "Reach-sector".
std::string SectorDirectoryName(std::string_view file_path);

// True for a metadata file's name: it ends in ".xml", in any case.
bool IsMetadataName(std::string_view file_path);

// The files that would make one sector directory.
struct PublishedSector {
  std::string directory_name;  // that of the first of `sector_files`
  // One sector file; or several whose names differ only by extension or
  // case (one sector published in several formats, or files that collide).
  std::vector<std::string> sector_files;
  // The metadata of the sector: normally none or one.
  std::vector<std::string> metadata_files;
};

struct PublishedFiles {
  std::vector<PublishedSector> sectors;    // in the order of their first files
  std::vector<std::string> lone_metadata;  // metadata that no sector file takes
};

// Pairs the sector files among `file_paths` (every name that is not
// metadata) with the metadata of the same name apart from its extension and
// ASCII case, else, when just one sector file and one metadata file are
// given, with that one. Sector files are grouped by the sector directory
// they would make, its name compared without regard to ASCII case, as
// torvane finds it. Folders in the paths play no part.
PublishedFiles PairPublishedFiles(const std::vector<std::string>& file_paths);

}  // namespace torvane
