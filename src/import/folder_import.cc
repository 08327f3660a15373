// Importing many sector files: which files make which sector, which of one
// sector's several formats is imported, and the tally of the whole run.
#include "import/folder_import.h"

#include <algorithm>
#include <optional>

#include "import/published_files.h"
#include "import/sector_file_reader.h"
#include "platform/utf8_path.h"

namespace torvane {

namespace fs = std::filesystem;

namespace {

struct Tally {
  int written = 0, refused = 0, left_out = 0;
  int unchanged = 0, changed = 0, skipped = 0;
};

// The files to import: those named, and those in the folders named (in
// byte order, subfolders left alone).
std::vector<std::string> FilesIn(ImportFileSystem& disk, const std::vector<std::string>& inputs,
                                 Tally& tally, std::ostream& err) {
  std::vector<std::string> files;
  for (const std::string& input : inputs) {
    if (!disk.DirectoryExists(input)) {
      files.push_back(input);
      continue;
    }
    const std::optional<std::vector<std::string>> names = disk.ListDirectory(input);
    if (!names) {
      err << "torvane-import: cannot read the folder " << input << "\n";
      ++tally.refused;
      continue;
    }
    for (const std::string& name : *names) {
      const std::string path = Utf8FromPath(PathFromUtf8(input) / PathFromUtf8(name));
      if (!disk.DirectoryExists(path)) files.push_back(path);
    }
  }
  return files;
}

// The format of a file, when it is a sector file: the file is read and
// let go.
std::optional<SectorFileFormat> SectorFormat(const std::string& text) {
  ImportLog ignored;
  const ImportedSector sector = ReadSectorFile(text, "", ignored);
  if (!sector.is_sector_file && sector.worlds.empty()) return std::nullopt;
  return DetectSectorFileFormat(text);
}

// The one of a sector's several files to import: the richest format
// (tab-delimited, then column, then older), the others named and left out.
// Nothing when two are equally rich (they would write one directory, and
// neither may replace the other) or none can be used.
std::optional<std::string> RichestFile(ImportFileSystem& disk, const PublishedSector& sector,
                                       const fs::path& output, Tally& tally, std::ostream& err) {
  if (sector.sector_files.size() == 1) return sector.sector_files.front();
  struct Candidate {
    std::string path;
    SectorFileFormat format;
  };
  std::vector<Candidate> candidates;
  for (const std::string& path : sector.sector_files) {
    const std::optional<std::string> text = ReadInputFile(disk, path, err);
    if (!text) {
      ++tally.refused;
      return std::nullopt;
    }
    if (const std::optional<SectorFileFormat> format = SectorFormat(*text)) {
      candidates.push_back({path, *format});
    } else {
      err << "torvane-import: " << path << " is not a sector file: left out\n";
      ++tally.left_out;
    }
  }
  if (candidates.empty()) return std::nullopt;
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const Candidate& a, const Candidate& b) { return a.format < b.format; });
  const Candidate& richest = candidates.front();
  if (candidates.size() > 1 && candidates[1].format == richest.format) {
    err << "torvane-import: " << richest.path << " and " << candidates[1].path
        << " would both make " << Utf8FromPath(output / PathFromUtf8(sector.directory_name))
        << ": neither is imported\n";
    tally.refused += 2;
    return std::nullopt;
  }
  for (size_t i = 1; i < candidates.size(); ++i) {
    err << "torvane-import: " << candidates[i].path << " left out: " << richest.path
        << " holds the same sector in " << FormatName(richest.format) << " rather than "
        << FormatName(candidates[i].format) << " format\n";
    ++tally.left_out;
  }
  return richest.path;
}

// Reads and imports one sector.
void ImportOne(ImportFileSystem& disk, const ImportSettings& settings,
               const SectorToImport& to_import, Tally& tally, std::ostream& out,
               std::ostream& err) {
  ImportInput input;
  std::optional<std::string> sector_text = ReadInputFile(disk, to_import.sector_path, err);
  if (sector_text && !to_import.metadata_path.empty()) {
    input.metadata_text = ReadInputFile(disk, to_import.metadata_path, err);
    if (!input.metadata_text) sector_text.reset();
  }
  if (!sector_text) {
    ++tally.refused;
    return;
  }
  input.sector_text = std::move(*sector_text);
  const SectorImported imported = ImportSector(disk, settings, to_import, input, out, err);
  switch (imported.outcome) {
    case SectorImported::Outcome::kWritten:
      ++tally.written;
      tally.unchanged += imported.counts.worlds - imported.counts.changed;
      tally.changed += imported.counts.changed;
      tally.skipped += imported.counts.skipped;
      return;
    case SectorImported::Outcome::kRefused:
      ++tally.refused;
      return;
    case SectorImported::Outcome::kNotASectorFile:
      err << "torvane-import: " << to_import.sector_path << " is not a sector file: left out\n";
      ++tally.left_out;
      return;
  }
}

}  // namespace

bool ImportPublishedFiles(ImportFileSystem& disk, const ImportSettings& settings,
                          const std::vector<std::string>& inputs, const fs::path& output,
                          std::ostream& out, std::ostream& err) {
  Tally tally;
  const PublishedFiles published = PairPublishedFiles(FilesIn(disk, inputs, tally, err));
  for (const std::string& metadata : published.lone_metadata) {
    err << "torvane-import: " << metadata << " is metadata without a sector file: left out\n";
    ++tally.left_out;
  }
  for (const PublishedSector& sector : published.sectors) {
    const std::optional<std::string> file = RichestFile(disk, sector, output, tally, err);
    if (!file) continue;
    if (sector.metadata_files.size() > 1) {
      err << "torvane-import: " << sector.metadata_files[0] << " and " << sector.metadata_files[1]
          << " are both metadata of " << *file << ": nothing written\n";
      ++tally.refused;
      continue;
    }
    SectorToImport to_import;
    to_import.sector_path = *file;
    if (!sector.metadata_files.empty()) to_import.metadata_path = sector.metadata_files.front();
    // Named after the file imported, as a single import of it would be.
    to_import.name = SectorDirectoryName(*file);
    to_import.directory = output / PathFromUtf8(to_import.name);
    to_import.label = *file + ": ";
    ImportOne(disk, settings, to_import, tally, out, err);
  }
  out << Counted(tally.written, "sector", "sectors") << " written, " << tally.refused
      << " refused, " << Counted(tally.left_out, "file", "files") << " left out; in all "
      << Counted(tally.unchanged, "world", "worlds") << " written unchanged, " << tally.changed
      << " written changed, " << tally.skipped << " skipped.\n";
  return tally.refused == 0 && tally.written > 0;
}

}  // namespace torvane
