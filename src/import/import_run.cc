// The command line of torvane-import: one sector, or many.
#include "import/import_run.h"

#include <filesystem>
#include <optional>
#include <utility>

#include "import/folder_import.h"
#include "import/metadata_reader.h"
#include "import/published_files.h"
#include "import/sector_import.h"
#include "platform/utf8_path.h"

namespace torvane {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kUsage =
    "Usage: torvane-import [options] SECTORFILE [METADATA] [OUTDIR/NAME]\n"
    "       torvane-import [options] FOLDER|SECTORFILE... [OUTDIR]\n"
    "\n"
    "Writes the sector directory OUTDIR/NAME (NAME.dat and map/SUBA.DAT to SUBP.DAT)\n"
    "from a published sector file (tab-delimited, column or older fixed-column\n"
    "format) and, if given, its XML metadata file. Convert it with: torvane OUTDIR/NAME\n"
    "Without OUTDIR/NAME (as when the files are dropped on the program) the sector\n"
    "directory is written beside the sector file and named after it.\n"
    "\n"
    "Given a folder, or more sector files than one, writes into OUTDIR one sector\n"
    "directory for each sector file, named after it, with the .xml metadata of the\n"
    "same name. Of one sector in several formats the richest is imported. A folder\n"
    "given alone gets its sector directories inside it.\n"
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

// What the command line asks for: one sector, or (when `inputs` is not
// empty) the sector files among `inputs` imported into `output`.
struct ImportCommand {
  ImportSettings settings;
  SectorToImport sector;
  std::vector<std::string> inputs;
  fs::path output;
};

// A path as given, without trailing separators.
std::string WithoutTrailingSeparators(std::string argument) {
  while (argument.size() > 1 && argument.back() == '/') argument.pop_back();
  return argument;
}

// The sector directory beside a sector file, named after it: "maps/Reach.tab"
// gives "maps/Reach" (a file without an extension, "maps/Reach-sector").
std::string BesideSectorFile(const std::string& sector_path) {
  return Utf8FromPath(
      PathFromUtf8(sector_path).replace_filename(PathFromUtf8(SectorDirectoryName(sector_path))));
}

// Whether the paths ask for many sectors: a folder among the inputs, more
// inputs than a sector file and its metadata, or two inputs neither of which
// is named as metadata.
bool AsksForMany(ImportFileSystem& disk, const std::vector<std::string>& paths) {
  const size_t inputs = paths.size() == 1 ? 1 : paths.size() - 1;
  for (size_t i = 0; i < inputs; ++i) {
    if (disk.DirectoryExists(paths[i])) return true;
  }
  return paths.size() > 3 ||
         (paths.size() == 3 && !IsMetadataName(paths[0]) && !IsMetadataName(paths[1]));
}

// Reads the options into `command` and gathers the paths in `paths`.
// Nothing, with the status to end the run with in `status`, when the run
// ends here: help, version, a bad option.
std::optional<ImportCommand> ReadOptions(const std::vector<std::string>& arguments,
                                         std::vector<std::string>& paths, std::ostream& out,
                                         std::ostream& err, int& status) {
  ImportCommand command;
  ImportSettings& settings = command.settings;
  bool help = false;
  bool version = false;
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
      settings.encoding = *encoding;
    } else if (!options_end && argument == "--") {
      options_end = true;
    } else if (!options_end && (argument == "--help" || argument == "-h")) {
      help = true;
    } else if (!options_end && argument == "--version") {
      version = true;
    } else if (!options_end && argument == "--strict") {
      settings.strict = true;
    } else if (!options_end && argument == "--verbose") {
      settings.verbose = true;
    } else if (!options_end && argument == "--force") {
      settings.force = true;
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
  return command;
}

// Sets where many sectors come from and go to; false, with the message
// said, when the output cannot be a folder.
bool ReadManyPaths(ImportFileSystem& disk, std::vector<std::string> paths, ImportCommand& command,
                   std::ostream& err) {
  // A folder alone, as when it is dropped on the program, gets its sector
  // directories inside it.
  const std::string output =
      WithoutTrailingSeparators(paths.size() == 1 ? paths.front() : paths.back());
  if (paths.size() > 1) paths.pop_back();
  if (disk.FileExists(output)) {
    err << "torvane-import: " << output << " is a file: the last argument is the folder the "
        << "sector directories are written into\n";
    return false;
  }
  command.inputs = std::move(paths);
  command.output = PathFromUtf8(output);
  return true;
}

// Sets the files of one sector and its directory; false, with the message
// said, when they are not all given.
bool ReadSectorPaths(ImportFileSystem& disk, std::vector<std::string> paths, ImportCommand& command,
                     std::ostream& err) {
  // A sector file alone, or with its metadata file, as Explorer hands over
  // files dropped on the program.
  if (paths.size() == 1 || (paths.size() == 2 && disk.FileExists(paths.back()))) {
    paths.push_back(BesideSectorFile(paths.front()));
  }
  if (paths.size() < 2) {
    err << "torvane-import: give a sector file, optionally a metadata file, and OUTDIR/NAME, "
           "or a folder\n"
        << kUsage;
    return false;
  }
  SectorToImport& sector = command.sector;
  sector.sector_path = paths.front();
  if (paths.size() == 3) sector.metadata_path = paths[1];
  sector.directory = PathFromUtf8(WithoutTrailingSeparators(paths.back()));
  sector.name = Utf8FromPath(sector.directory.filename());
  if (sector.name.empty() || sector.name == "." || sector.name == "..") {
    err << "torvane-import: '" << paths.back() << "' names no sector directory\n";
    return false;
  }
  return true;
}

// Reads the command line. Nothing, with the status to end the run with in
// `status`, when the run ends here: help, version, a bad command line.
std::optional<ImportCommand> ReadCommandLine(ImportFileSystem& disk,
                                             const std::vector<std::string>& arguments,
                                             std::ostream& out, std::ostream& err, int& status) {
  std::vector<std::string> paths;
  std::optional<ImportCommand> command = ReadOptions(arguments, paths, out, err, status);
  if (!command) return std::nullopt;
  status = kImportUsage;
  const bool read = !paths.empty() && AsksForMany(disk, paths)
                        ? ReadManyPaths(disk, std::move(paths), *command, err)
                        : ReadSectorPaths(disk, std::move(paths), *command, err);
  if (!read) return std::nullopt;
  return command;
}

// Reads the files of one sector, taking them the right way round when they
// were given the wrong way. Nothing, with the status in `status`, when they
// cannot be used.
std::optional<ImportInput> ReadInput(ImportFileSystem& disk, SectorToImport& sector,
                                     std::ostream& err, int& status) {
  status = kImportFailed;
  ImportInput input;
  std::optional<std::string> sector_text = ReadInputFile(disk, sector.sector_path, err);
  if (!sector_text) return std::nullopt;
  input.sector_text = std::move(*sector_text);
  if (!sector.metadata_path.empty()) {
    input.metadata_text = ReadInputFile(disk, sector.metadata_path, err);
    if (!input.metadata_text) return std::nullopt;
    // The metadata is XML and a sector file never is, so two files given the
    // wrong way round are known for what they are.
    if (IsXmlText(input.sector_text) && !IsXmlText(*input.metadata_text)) {
      err << "torvane-import: " << sector.sector_path << " is the metadata and "
          << sector.metadata_path << " the sector file; read them that way round\n";
      std::swap(sector.sector_path, sector.metadata_path);
      std::swap(input.sector_text, *input.metadata_text);
    }
  } else if (IsXmlText(input.sector_text)) {
    err << "torvane-import: " << sector.sector_path
        << " is XML metadata, not a sector file; the sector file comes first: "
           "torvane-import SECTORFILE [METADATA] [OUTDIR/NAME]\n";
    status = kImportUsage;
    return std::nullopt;
  }
  return input;
}

}  // namespace

int RunImport(ImportFileSystem& disk, const std::vector<std::string>& arguments, std::ostream& out,
              std::ostream& err) {
  int status = kImportWritten;
  std::optional<ImportCommand> command = ReadCommandLine(disk, arguments, out, err, status);
  if (!command) return status;
  if (!command->inputs.empty()) {
    return ImportPublishedFiles(disk, command->settings, command->inputs, command->output, out, err)
               ? kImportWritten
               : kImportFailed;
  }
  const std::optional<ImportInput> input = ReadInput(disk, command->sector, err, status);
  if (!input) return status;
  return ImportSector(disk, command->settings, command->sector, *input, out, err).outcome ==
                 SectorImported::Outcome::kWritten
             ? kImportWritten
             : kImportFailed;
}

}  // namespace torvane
