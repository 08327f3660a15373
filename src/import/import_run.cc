// Command line and the steps of one import: read, fit, lay out, write.
#include "import/import_run.h"

#include <filesystem>
#include <optional>
#include <tuple>
#include <utility>

#include "import/metadata_reader.h"
#include "import/sector_file_reader.h"
#include "import/sector_layout.h"
#include "import/sector_output.h"
#include "platform/text_encoding.h"
#include "platform/utf8_path.h"

namespace torvane {

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

// What the command line asks for.
struct ImportCommand {
  bool strict = false;
  bool verbose = false;
  bool force = false;
  MapEncoding encoding = MapEncoding::kWindows1252;
  std::string sector_path;
  std::string metadata_path;  // empty for none
  fs::path directory;
  std::string name;
};

// The texts read for an import.
struct ImportInput {
  std::string sector_text;
  std::optional<std::string> metadata_text;
};

// The sector directory and its name from OUTDIR/NAME (trailing separators
// dropped).
std::pair<fs::path, std::string> SectorDirectory(std::string argument) {
  while (argument.size() > 1 && argument.back() == '/') argument.pop_back();
  const fs::path directory = PathFromUtf8(argument);
  return {directory, Utf8FromPath(directory.filename())};
}

// The sector directory beside a sector file, named after it: "maps/Reach.tab"
// gives "maps/Reach" (a file without an extension, "maps/Reach-sector").
std::string BesideSectorFile(const std::string& sector_path) {
  fs::path directory = PathFromUtf8(sector_path);
  if (!directory.has_extension()) return sector_path + "-sector";
  return Utf8FromPath(directory.replace_extension());
}

std::string FileName(const std::string& path) {
  return Utf8FromPath(PathFromUtf8(path).filename());
}

// A message as the console shows it: one that quotes a text already in
// Windows-1252 is turned into UTF-8 like the rest.
std::string Shown(const std::string& message) {
  return IsValidUtf8(message) ? message : Utf8FromWindows1252(message);
}

// "1 route", "2 routes".
std::string Counted(int count, std::string_view one, std::string_view more) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : more);
}

// Reads the command line. Nothing, with the status to end the run with in
// `status`, when the run ends here: help, version, a bad command line.
std::optional<ImportCommand> ReadCommandLine(ImportFileSystem& disk,
                                             const std::vector<std::string>& arguments,
                                             std::ostream& out, std::ostream& err, int& status) {
  ImportCommand command;
  bool help = false;
  bool version = false;
  std::vector<std::string> paths;
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
        status = kImportUsage;
        return std::nullopt;
      }
      command.encoding = *encoding;
    } else if (!options_end && argument == "--") {
      options_end = true;
    } else if (!options_end && (argument == "--help" || argument == "-h")) {
      help = true;
    } else if (!options_end && argument == "--version") {
      version = true;
    } else if (!options_end && argument == "--strict") {
      command.strict = true;
    } else if (!options_end && argument == "--verbose") {
      command.verbose = true;
    } else if (!options_end && argument == "--force") {
      command.force = true;
    } else if (!options_end && argument.size() > 1 && argument[0] == '-') {
      err << "torvane-import: unknown option '" << argument << "'\n" << kUsage;
      status = kImportUsage;
      return std::nullopt;
    } else {
      paths.push_back(argument);
    }
  }
  status = kImportWritten;
  if (help) {
    out << kUsage;
    return std::nullopt;
  }
  if (version) {
    out << "torvane-import " TORVANE_VERSION "\n";
    return std::nullopt;
  }
  status = kImportUsage;
  // A sector file alone, or with its metadata file, as Explorer hands over
  // files dropped on the program.
  if (paths.size() == 1 || (paths.size() == 2 && disk.FileExists(paths.back()))) {
    paths.push_back(BesideSectorFile(paths.front()));
  }
  if (paths.size() < 2 || paths.size() > 3) {
    err << "torvane-import: give a sector file, optionally a metadata file, and OUTDIR/NAME\n"
        << kUsage;
    return std::nullopt;
  }
  command.sector_path = paths.front();
  if (paths.size() == 3) command.metadata_path = paths[1];
  std::tie(command.directory, command.name) = SectorDirectory(paths.back());
  if (command.name.empty() || command.name == "." || command.name == "..") {
    err << "torvane-import: '" << paths.back() << "' names no sector directory\n";
    return std::nullopt;
  }
  return command;
}

// A sector or metadata file, whole; nothing, with the message said, when it
// cannot be read or is too large to be one.
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

// Reads the files the command names, taking them the right way round when
// they were given the wrong way. Nothing, with the status in `status`, when
// they cannot be used.
std::optional<ImportInput> ReadInput(ImportFileSystem& disk, ImportCommand& command,
                                     std::ostream& err, int& status) {
  status = kImportFailed;
  ImportInput input;
  std::optional<std::string> sector_text = ReadInputFile(disk, command.sector_path, err);
  if (!sector_text) return std::nullopt;
  input.sector_text = std::move(*sector_text);
  if (!command.metadata_path.empty()) {
    input.metadata_text = ReadInputFile(disk, command.metadata_path, err);
    if (!input.metadata_text) return std::nullopt;
    // The metadata is XML and a sector file never is, so two files given the
    // wrong way round are known for what they are.
    if (IsXmlText(input.sector_text) && !IsXmlText(*input.metadata_text)) {
      err << "torvane-import: " << command.sector_path << " is the metadata and "
          << command.metadata_path << " the sector file; read them that way round\n";
      std::swap(command.sector_path, command.metadata_path);
      std::swap(input.sector_text, *input.metadata_text);
    }
  } else if (IsXmlText(input.sector_text)) {
    err << "torvane-import: " << command.sector_path
        << " is XML metadata, not a sector file; the sector file comes first: "
           "torvane-import SECTORFILE [METADATA] [OUTDIR/NAME]\n";
    status = kImportUsage;
    return std::nullopt;
  }
  return input;
}

// The summary of a sector directory written.
void ReportWritten(const ImportCommand& command, std::string_view sector_text,
                   const LayoutCounts& counts, size_t problems, std::ostream& out) {
  out << "Wrote " << Utf8FromPath(command.directory) << " from "
      << FormatName(DetectSectorFileFormat(sector_text)) << " file " << command.sector_path << ": "
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

// Reads, fits, lays out and writes the sector; the exit status.
int ImportSector(ImportFileSystem& disk, const ImportCommand& command, const ImportInput& input,
                 std::ostream& out, std::ostream& err) {
  const std::string& sector_path = command.sector_path;
  ImportLog log;
  ImportedSector sector = ReadSectorFile(input.sector_text, sector_path, log);
  std::string source = FileName(sector_path);
  if (input.metadata_text) {
    if (!ReadMetadata(*input.metadata_text, command.metadata_path, sector, log)) {
      for (const std::string& problem : log.problems) err << Shown(problem) << "\n";
      err << "torvane-import: nothing written\n";
      return kImportFailed;
    }
    source += " and " + FileName(command.metadata_path);
  }
  if (sector.title.empty()) sector.title = Utf8FromPath(PathFromUtf8(sector_path).stem());

  LayoutCounts counts;
  const std::vector<LaidOutFile> files =
      LayOutSector(sector, command.name, source, command.encoding, counts, log);
  for (const std::string& problem : log.problems) err << Shown(problem) << "\n";
  if (command.verbose) {
    for (const std::string& note : log.NotesInLineOrder({sector_path, command.metadata_path}))
      err << Shown(note) << "\n";
  }
  // A sector file without world lines is a sector still to be explored.
  if (counts.worlds == 0 && (sector.world_lines_read > 0 || !sector.is_sector_file)) {
    err << "torvane-import: no world could be read from " << sector_path << ": nothing written\n";
    return kImportFailed;
  }
  if (command.strict && !log.problems.empty()) {
    err << "torvane-import: "
        << Counted(static_cast<int>(log.problems.size()), "problem", "problems")
        << " and --strict: nothing written\n";
    return kImportFailed;
  }
  const std::string failure = WriteSectorDirectory(disk, command.directory, files, command.force);
  if (!failure.empty()) {
    err << "torvane-import: " << failure << "\n";
    return kImportFailed;
  }
  ReportWritten(command, input.sector_text, counts, log.problems.size(), out);
  return kImportWritten;
}

}  // namespace

int RunImport(ImportFileSystem& disk, const std::vector<std::string>& arguments, std::ostream& out,
              std::ostream& err) {
  int status = kImportWritten;
  std::optional<ImportCommand> command = ReadCommandLine(disk, arguments, out, err, status);
  if (!command) return status;
  const std::optional<ImportInput> input = ReadInput(disk, *command, err, status);
  if (!input) return status;
  return ImportSector(disk, *command, *input, out, err);
}

}  // namespace torvane
