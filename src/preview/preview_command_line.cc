// Options, file reading and writing, and the messages of torvane-preview.
#include "preview/preview_command_line.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

#include "draw/hex_geometry.h"
#include "platform/ascii_text.h"
#include "platform/utf8_path.h"
#include "preview/drawing_needs.h"
#include "preview/script_reader.h"
#include "preview/svg_drawing.h"
#include "preview/world_targets.h"

namespace torvane {

namespace {

constexpr std::string_view kUsage =
    "Usage: torvane-preview [options] SCRIPT [OUTPUT.svg]\n"
    "       torvane-preview --needs SCRIPT...\n"
    "Draws a script written by torvane as an SVG picture, to see the map\n"
    "before the script is carried over to the map-making application.\n"
    "OUTPUT.svg defaults to SCRIPT with the extension .svg.\n"
    "\n"
    "Options:\n"
    "  --no-grid             leave out the hex grid\n"
    "  --frame=sector        draw the frame of the whole sector\n"
    "  --frame=subsector     draw the frame of one subsector\n"
    "                        (by default the frame is decided from the script)\n"
    "  --worlds=PATH         lay a hover target, titled with the world's line,\n"
    "                        on the hex of each world in map file PATH or in\n"
    "                        every file of directory PATH (may be repeated)\n"
    "  --subsector=LETTER    targets only for the worlds of subsector A to P\n"
    "  --needs               draw nothing; list the layers, fonts, styles and\n"
    "                        symbols that a drawing must hold for the scripts\n"
    "  -h, --help            show this text\n"
    "  --version             show the program's version\n"
    "\n"
    "Exit status: 0 when the picture was written (lines that could not be\n"
    "drawn are reported as warnings), 1 when a script or map file could not\n"
    "be read or the picture not written, 2 for a bad command line.\n";

// Warnings beyond this many are counted, not printed.
constexpr size_t kWarningLimit = 100;

constexpr std::string_view kProgram = "torvane-preview: ";

void ReportUnreadable(const std::string& path, const std::string& reason, std::ostream& err) {
  err << kProgram << "cannot read '" << path << "': " << reason << "\n";
}

// A script or map file, whole; nothing, with the message said, when it
// cannot be read.
std::optional<std::string> ReadInputFile(DirectoryFileSystem& disk, const std::string& path,
                                         std::ostream& err) {
  if (disk.DirectoryExists(path)) {
    ReportUnreadable(path, "it is a directory", err);
    return std::nullopt;
  }
  WholeFile file = ReadWholeFile(disk, path);
  switch (file.result) {
    case WholeFile::Result::kRead:
      return std::move(file.bytes);
    case WholeFile::Result::kTooLarge:
      ReportUnreadable(path,
                       "it is " + std::to_string(file.size) + " bytes, more than the " +
                           std::to_string(kLargestWholeInput / (1024 * 1024)) + " MiB (" +
                           std::to_string(kLargestWholeInput) +
                           " bytes) that a script or map file can be",
                       err);
      return std::nullopt;
    case WholeFile::Result::kUnreadable:
      break;
  }
  const std::string reason = disk.FailureReason();
  ReportUnreadable(path, reason.empty() ? "read error" : reason, err);
  return std::nullopt;
}

// The picture replaces an earlier one only once it is whole and on disk.
bool WritePicture(DirectoryFileSystem& disk, const std::string& path, const std::string& bytes,
                  std::string& reason) {
  const NewFile picture[] = {{path, bytes}};
  switch (WriteNewFiles(disk, picture, Replacing::kAllowed).step) {
    case NewFilesWritten::Step::kDone:
      return true;
    case NewFilesWritten::Step::kWrite:
      reason = "write error (disk full?)";
      return false;
    case NewFilesWritten::Step::kCreate:
    case NewFilesWritten::Step::kName:
      break;
  }
  reason = disk.FailureReason();
  return false;
}

struct CommandLine {
  PreviewOptions options;
  std::vector<std::string> world_paths;
  std::optional<int> subsector;
  bool needs = false;
  std::vector<std::string> files;
};

constexpr std::string_view kWorldsOption = "--worlds=";
constexpr std::string_view kSubsectorOption = "--subsector=";

// False for an option this program does not know or a bad value.
bool ReadOption(const std::string& argument, CommandLine& line) {
  if (argument == "--no-grid") {
    line.options.hex_grid = false;
  } else if (argument == "--frame=sector") {
    line.options.frame = MapKind::kSectorMap;
  } else if (argument == "--frame=subsector") {
    line.options.frame = MapKind::kSubsectorMap;
  } else if (argument == "--needs") {
    line.needs = true;
  } else if (argument.starts_with(kWorldsOption) && argument.size() > kWorldsOption.size()) {
    line.world_paths.push_back(argument.substr(kWorldsOption.size()));
  } else if (argument.starts_with(kSubsectorOption) &&
             argument.size() == kSubsectorOption.size() + 1) {
    const int subsector = ToAsciiUpper(argument.back()) - 'A';
    if (subsector < 0 || subsector >= kSubsectorCount) return false;
    line.subsector = subsector;
  } else {
    return false;
  }
  return true;
}

void ReportWarnings(const std::string& script, const std::vector<std::string>& warnings,
                    std::ostream& err) {
  for (size_t i = 0; i < warnings.size() && i < kWarningLimit; ++i) {
    err << kProgram << script << ": " << warnings[i] << "\n";
  }
  if (warnings.size() > kWarningLimit) {
    err << kProgram << script << ": " << warnings.size() - kWarningLimit
        << " more warnings not shown\n";
  }
}

// The worlds of a map file, or of every file in a directory, in byte order
// of their names.
bool ReadWorlds(DirectoryFileSystem& disk, const std::string& path, std::optional<int> subsector,
                std::vector<WorldTarget>& targets, std::ostream& err) {
  std::vector<std::string> files = {path};
  if (disk.DirectoryExists(path)) {
    const std::optional<std::vector<std::string>> names = disk.ListDirectory(path);
    if (!names) {
      ReportUnreadable(path, disk.FailureReason(), err);
      return false;
    }
    files.clear();
    for (const std::string& name : *names) {
      const std::string file = Utf8FromPath(PathFromUtf8(path) / PathFromUtf8(name));
      if (!disk.DirectoryExists(file)) files.push_back(file);
    }
  }
  for (const std::string& file : files) {
    const std::optional<std::string> text = ReadInputFile(disk, file, err);
    if (!text) return false;
    ReadWorldTargets(*text, subsector, targets);
  }
  return true;
}

int ListNeeds(DirectoryFileSystem& disk, const std::vector<std::string>& scripts, std::ostream& out,
              std::ostream& err) {
  DrawingNeeds needs;
  for (const std::string& script : scripts) {
    const std::optional<std::string> text = ReadInputFile(disk, script, err);
    if (!text) return kPreviewFileError;
    const ScriptReading reading = ReadScript(*text);
    ReportWarnings(script, reading.warnings, err);
    needs.Add(reading.commands);
  }
  out << needs.Text();
  return kPreviewDone;
}

int DrawPicture(DirectoryFileSystem& disk, CommandLine& line, std::ostream& err) {
  const std::string& script = line.files[0];
  const std::string output = line.files.size() == 2 ? line.files[1] : DefaultOutputPath(script);

  const std::optional<std::string> text = ReadInputFile(disk, script, err);
  if (!text) return kPreviewFileError;
  if (disk.SameFile(script, output)) {
    err << kProgram << "the picture '" << output << "' would overwrite the script; "
        << "name another output file\n";
    return kPreviewFileError;
  }
  for (const std::string& path : line.world_paths) {
    if (!ReadWorlds(disk, path, line.subsector, line.options.worlds, err)) {
      return kPreviewFileError;
    }
  }

  ScriptReading reading = ReadScript(*text);
  const std::string title = Utf8FromPath(PathFromUtf8(script).filename());
  const std::string svg = DrawPreview(reading.commands, line.options, title, reading.warnings);
  ReportWarnings(script, reading.warnings, err);
  std::string reason;
  if (!WritePicture(disk, output, svg, reason)) {
    err << kProgram << "cannot write '" << output << "': " << reason << "\n";
    return kPreviewFileError;
  }
  return kPreviewDone;
}

}  // namespace

std::string DefaultOutputPath(const std::string& script) {
  std::filesystem::path path = PathFromUtf8(script);
  if (LowerAscii(Utf8FromPath(path.extension())) == ".svg") return script + ".svg";
  return Utf8FromPath(path.replace_extension(".svg"));
}

int RunPreview(DirectoryFileSystem& disk, const std::vector<std::string>& arguments,
               std::ostream& out, std::ostream& err) {
  CommandLine line;
  bool options_ended = false;
  for (const std::string& argument : arguments) {
    if (options_ended || argument.empty() || argument[0] != '-') {
      line.files.push_back(argument);
    } else if (argument == "--") {
      options_ended = true;
    } else if (argument == "-h" || argument == "--help") {
      out << kUsage;
      return kPreviewDone;
    } else if (argument == "--version") {
      out << "torvane-preview " TORVANE_VERSION "\n";
      return kPreviewDone;
    } else if (!ReadOption(argument, line)) {
      err << kProgram << "unknown option '" << argument << "'\n" << kUsage;
      return kPreviewUsageError;
    }
  }
  if (line.files.empty() || (!line.needs && line.files.size() > 2)) {
    err << kProgram << (line.files.empty() ? "no script named\n" : "too many file names\n")
        << kUsage;
    return kPreviewUsageError;
  }
  return line.needs ? ListNeeds(disk, line.files, out, err) : DrawPicture(disk, line, err);
}

}  // namespace torvane
