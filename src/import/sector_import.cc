// The steps of one import: read, fit, lay out, write.
#include "import/sector_import.h"

#include <utility>
#include <vector>

#include "import/metadata_reader.h"
#include "import/sector_file_reader.h"
#include "import/sector_output.h"
#include "platform/text_encoding.h"
#include "platform/utf8_path.h"

namespace torvane {

namespace {

std::string FileName(const std::string& path) {
  return Utf8FromPath(PathFromUtf8(path).filename());
}

// A message as the console shows it: one that quotes a text already in
// Windows-1252 is turned into UTF-8 like the rest.
std::string Shown(const std::string& message) {
  return IsValidUtf8(message) ? message : Utf8FromWindows1252(message);
}

// The summary of a sector directory written.
void ReportWritten(const SectorToImport& sector, std::string_view sector_text,
                   const LayoutCounts& counts, size_t problems, std::ostream& out) {
  out << "Wrote " << Utf8FromPath(sector.directory) << " from "
      << FormatName(DetectSectorFileFormat(sector_text)) << " file " << sector.sector_path << ": "
      << Counted(counts.world_lines_read, "world line", "world lines") << " read, "
      << counts.worlds - counts.changed << " written unchanged, " << counts.changed
      << " written changed, " << counts.skipped << " skipped; "
      << Counted(counts.routes, "route", "routes");
  if (counts.routes_outside > 0) {
    out << " (" << Counted(counts.routes_outside, "route", "routes")
        << " wholly outside the sector left out)";
  }
  out << ".\n";
  if (problems > 0) {
    out << Counted(static_cast<int>(problems), "line or value", "lines or values")
        << " could not be used; see the messages above.\n";
  }
}

}  // namespace

std::string Counted(int count, std::string_view one, std::string_view more) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : more);
}

std::optional<std::string> ReadInputFile(ImportFileSystem& disk, const std::string& path,
                                         std::ostream& err) {
  WholeFile file = ReadWholeFile(disk, path);
  switch (file.result) {
    case WholeFile::Result::kRead:
      return std::move(file.bytes);
    case WholeFile::Result::kTooLarge:
      err << "torvane-import: " << path << " is " << file.size << " bytes, more than the "
          << kLargestWholeInput / (1024 * 1024) << " MiB (" << kLargestWholeInput
          << " bytes) that a sector file or its metadata can be; nothing was written\n";
      return std::nullopt;
    case WholeFile::Result::kUnreadable:
      break;
  }
  err << "torvane-import: cannot read " << path << "\n";
  return std::nullopt;
}

SectorImported ImportSector(ImportFileSystem& disk, const ImportSettings& settings,
                            const SectorToImport& to_import, const ImportInput& input,
                            std::ostream& out, std::ostream& err) {
  const std::string& sector_path = to_import.sector_path;
  SectorImported imported;
  ImportLog log;
  ImportedSector sector = ReadSectorFile(input.sector_text, sector_path, log);
  std::string source = FileName(sector_path);
  if (input.metadata_text) {
    if (!ReadMetadata(*input.metadata_text, to_import.metadata_path, sector, log)) {
      for (const std::string& problem : log.problems) err << Shown(problem) << "\n";
      err << "torvane-import: " << to_import.label << "nothing written\n";
      return imported;
    }
    source += " and " + FileName(to_import.metadata_path);
  }
  if (sector.title.empty()) sector.title = Utf8FromPath(PathFromUtf8(sector_path).stem());

  LayoutCounts& counts = imported.counts;
  const std::vector<LaidOutFile> files =
      LayOutSector(sector, to_import.name, source, settings.encoding, counts, log);
  // Among many files, one that is no sector file is only named, not picked
  // apart line by line.
  if (!to_import.label.empty() && counts.worlds == 0 && !sector.is_sector_file) {
    imported.outcome = SectorImported::Outcome::kNotASectorFile;
    return imported;
  }
  for (const std::string& problem : log.problems) err << Shown(problem) << "\n";
  if (settings.verbose) {
    for (const std::string& note : log.NotesInLineOrder({sector_path, to_import.metadata_path}))
      err << Shown(note) << "\n";
  }
  // A sector file without world lines is a sector still to be explored.
  if (counts.worlds == 0 && (sector.world_lines_read > 0 || !sector.is_sector_file)) {
    err << "torvane-import: no world could be read from " << sector_path << ": nothing written\n";
    return imported;
  }
  if (settings.strict && !log.problems.empty()) {
    err << "torvane-import: " << to_import.label
        << Counted(static_cast<int>(log.problems.size()), "problem", "problems")
        << " and --strict: nothing written\n";
    return imported;
  }
  const std::string failure =
      WriteSectorDirectory(disk, to_import.directory, files, settings.force);
  if (!failure.empty()) {
    err << "torvane-import: " << failure << "\n";
    return imported;
  }
  ReportWritten(to_import, input.sector_text, counts, log.problems.size(), out);
  imported.outcome = SectorImported::Outcome::kWritten;
  return imported;
}

}  // namespace torvane
