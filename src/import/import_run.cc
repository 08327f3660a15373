// Command line and the steps of one import: read, fit, lay out, write.
#include "import/import_run.h"

#include <filesystem>
#include <optional>
#include <utility>

#include "import/metadata_reader.h"
#include "import/sector_file_reader.h"
#include "import/sector_layout.h"
#include "import/sector_output.h"
#include "platform/text_encoding.h"
#include "platform/utf8_path.h"

namespace torvane_import {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kUsage =
    "Usage: torvane-import [options] SECTORFILE [METADATA] [OUTDIR/NAME]\n"
    "\n"
    "Writes the sector directory OUTDIR/NAME (NAME.dat and map/SUBA.DAT to SUBP.DAT)\n"
    "from a published sector file (tab-delimited, column or older fixed-column\n"
    "format) and, if given, its XML metadata file. Convert it with: torvane OUTDIR/NAME\n"
    "Without OUTDIR/NAME (as when the files are dropped on the program) the sector\n"
    "directory is written beside the sector file and named after it.\n"
    "\n"
    "Options:\n"
    "  --strict   any line that cannot be read is an error: nothing is written\n"
    "  --verbose  say how each value was fitted into the map files\n"
    "  --force    replace the files of an existing sector directory\n"
    "  --encoding ENCODING\n"
    "             windows-1252 (the default: what Campaign Cartographer 2 shows)\n"
    "             or utf-8, for names, remarks and subsector names\n"
    "  --help     this text\n"
    "  --version  the program's version\n";

// A sector or metadata file, whole; nothing, with the message said, when it
// cannot be read or is too large to be one.
std::optional<std::string> ReadInput(torvane::FileSystem& disk, const std::string& path,
                                     std::ostream& err) {
  torvane::WholeFile file = torvane::ReadWholeFile(disk, path);
  switch (file.result) {
    case torvane::WholeFile::Result::kRead:
      return std::move(file.bytes);
    case torvane::WholeFile::Result::kTooLarge:
      err << "torvane-import: " << path << " is " << file.size << " bytes, more than the "
          << torvane::kLargestWholeInput / (1024 * 1024) << " MiB (" << torvane::kLargestWholeInput
          << " bytes) that a sector file or its metadata can be; nothing was written\n";
      return std::nullopt;
    case torvane::WholeFile::Result::kUnreadable:
      break;
  }
  err << "torvane-import: cannot read " << path << "\n";
  return std::nullopt;
}

struct ImportOptions {
  bool strict = false;
  bool verbose = false;
  bool force = false;
  MapEncoding encoding = MapEncoding::kWindows1252;
  bool help = false;
  bool version = false;
  std::vector<std::string> paths;
};

// The sector directory and its name from OUTDIR/NAME (trailing separators
// dropped).
std::pair<fs::path, std::string> SectorDirectory(std::string argument) {
  while (argument.size() > 1 && argument.back() == '/') argument.pop_back();
  const fs::path directory = torvane::PathFromUtf8(argument);
  return {directory, torvane::Utf8FromPath(directory.filename())};
}

// The sector directory beside a sector file, named after it: "maps/Reach.tab"
// gives "maps/Reach" (a file without an extension, "maps/Reach-sector").
std::string BesideSectorFile(const std::string& sector_path) {
  fs::path directory = torvane::PathFromUtf8(sector_path);
  if (!directory.has_extension()) return sector_path + "-sector";
  return torvane::Utf8FromPath(directory.replace_extension());
}

std::string FileName(const std::string& path) {
  return torvane::Utf8FromPath(torvane::PathFromUtf8(path).filename());
}

// A message as the console shows it: one that quotes a text already in
// Windows-1252 is turned into UTF-8 like the rest.
std::string Shown(const std::string& message) {
  return torvane::IsValidUtf8(message) ? message : torvane::Utf8FromWindows1252(message);
}

// "1 route", "2 routes".
std::string Counted(int count, std::string_view one, std::string_view more) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : more);
}

}  // namespace

int RunImport(torvane::FileSystem& disk, const std::vector<std::string>& arguments,
              std::ostream& out, std::ostream& err) {
  ImportOptions options;
  bool options_end = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!options_end && (argument == "--encoding" || argument.starts_with("--encoding="))) {
      const bool attached = argument.size() > 10;
      const std::string value = attached                   ? argument.substr(11)
                                : i + 1 < arguments.size() ? arguments[++i]
                                                           : std::string();
      const std::optional<MapEncoding> encoding = MapEncodingNamed(value);
      if (!encoding) {
        err << "torvane-import: unknown encoding '" << value << "': give windows-1252 or utf-8\n";
        return kImportUsage;
      }
      options.encoding = *encoding;
    } else if (!options_end && argument == "--") {
      options_end = true;
    } else if (!options_end && (argument == "--help" || argument == "-h")) {
      options.help = true;
    } else if (!options_end && argument == "--version") {
      options.version = true;
    } else if (!options_end && argument == "--strict") {
      options.strict = true;
    } else if (!options_end && argument == "--verbose") {
      options.verbose = true;
    } else if (!options_end && argument == "--force") {
      options.force = true;
    } else if (!options_end && argument.size() > 1 && argument[0] == '-') {
      err << "torvane-import: unknown option '" << argument << "'\n" << kUsage;
      return kImportUsage;
    } else {
      options.paths.push_back(argument);
    }
  }
  if (options.help) {
    out << kUsage;
    return kImportWritten;
  }
  if (options.version) {
    out << "torvane-import " TORVANE_VERSION "\n";
    return kImportWritten;
  }
  // A sector file alone, or with its metadata file, as Explorer hands over
  // files dropped on the program.
  if (options.paths.size() == 1 ||
      (options.paths.size() == 2 && disk.FileExists(options.paths.back()))) {
    options.paths.push_back(BesideSectorFile(options.paths.front()));
  }
  if (options.paths.size() < 2 || options.paths.size() > 3) {
    err << "torvane-import: give a sector file, optionally a metadata file, and OUTDIR/NAME\n"
        << kUsage;
    return kImportUsage;
  }
  std::string sector_path = options.paths.front();
  std::string metadata_path = options.paths.size() == 3 ? options.paths[1] : std::string();
  const auto [directory, name] = SectorDirectory(options.paths.back());
  if (name.empty() || name == "." || name == "..") {
    err << "torvane-import: '" << options.paths.back() << "' names no sector directory\n";
    return kImportUsage;
  }

  std::optional<std::string> sector_text = ReadInput(disk, sector_path, err);
  if (!sector_text) return kImportFailed;
  std::optional<std::string> metadata_text;
  if (!metadata_path.empty()) {
    metadata_text = ReadInput(disk, metadata_path, err);
    if (!metadata_text) return kImportFailed;
    // The metadata is XML and a sector file never is, so two files given the
    // wrong way round are known for what they are.
    if (IsXmlText(*sector_text) && !IsXmlText(*metadata_text)) {
      err << "torvane-import: " << sector_path << " is the metadata and " << metadata_path
          << " the sector file; read them that way round\n";
      std::swap(sector_path, metadata_path);
      std::swap(sector_text, metadata_text);
    }
  } else if (IsXmlText(*sector_text)) {
    err << "torvane-import: " << sector_path
        << " is XML metadata, not a sector file; the sector file comes first: "
           "torvane-import SECTORFILE [METADATA] [OUTDIR/NAME]\n";
    return kImportUsage;
  }

  ImportLog log;
  ImportedSector sector = ReadSectorFile(*sector_text, sector_path, log);
  std::string source = FileName(sector_path);
  if (metadata_text) {
    if (!ReadMetadata(*metadata_text, metadata_path, sector, log)) {
      for (const std::string& problem : log.problems) err << Shown(problem) << "\n";
      err << "torvane-import: nothing written\n";
      return kImportFailed;
    }
    source += " and " + FileName(metadata_path);
  }
  if (sector.title.empty())
    sector.title = torvane::Utf8FromPath(torvane::PathFromUtf8(sector_path).stem());

  LayoutCounts counts;
  const std::vector<OutputFile> files =
      LayOutSector(sector, name, source, options.encoding, counts, log);
  for (const std::string& problem : log.problems) err << Shown(problem) << "\n";
  if (options.verbose) {
    for (const std::string& note : log.NotesInLineOrder({sector_path, metadata_path}))
      err << Shown(note) << "\n";
  }
  // A sector file without world lines is a sector still to be explored.
  if (counts.worlds == 0 && (sector.world_lines_read > 0 || !sector.is_sector_file)) {
    err << "torvane-import: no world could be read from " << sector_path << ": nothing written\n";
    return kImportFailed;
  }
  if (options.strict && !log.problems.empty()) {
    err << "torvane-import: "
        << Counted(static_cast<int>(log.problems.size()), "problem", "problems")
        << " and --strict: nothing written\n";
    return kImportFailed;
  }
  const std::string failure = WriteSectorDirectory(disk, directory, files, options.force);
  if (!failure.empty()) {
    err << "torvane-import: " << failure << "\n";
    return kImportFailed;
  }
  out << "Wrote " << torvane::Utf8FromPath(directory) << " from "
      << FormatName(DetectSectorFileFormat(*sector_text)) << " file " << sector_path << ": "
      << Counted(counts.world_lines_read, "world line", "world lines") << " read, "
      << counts.worlds - counts.changed << " written unchanged, " << counts.changed
      << " written changed, " << counts.skipped << " skipped; "
      << Counted(counts.routes, "route", "routes");
  if (counts.routes_outside > 0) {
    out << " (" << Counted(counts.routes_outside, "route", "routes")
        << " wholly outside the sector left out)";
  }
  out << ".\n";
  if (!log.problems.empty()) {
    out << Counted(static_cast<int>(log.problems.size()), "line or value", "lines or values")
        << " could not be used; see the messages above.\n";
  }
  return kImportWritten;
}

}  // namespace torvane_import
