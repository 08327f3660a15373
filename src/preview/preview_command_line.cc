// Options, file reading and writing, and the messages of torvane-preview.
#include "preview/preview_command_line.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

#include "platform/ascii_text.h"
#include "platform/utf8_path.h"
#include "preview/script_reader.h"
#include "preview/svg_drawing.h"

namespace torvane::preview {

namespace {

constexpr std::string_view kUsage =
    "Usage: torvane-preview [options] SCRIPT [OUTPUT.svg]\n"
    "Draws a script written by torvane as an SVG picture, to see the map\n"
    "before the script is carried over to the map-making application.\n"
    "OUTPUT.svg defaults to SCRIPT with the extension .svg.\n"
    "\n"
    "Options:\n"
    "  --no-grid             leave out the hex grid\n"
    "  --frame=sector        draw the frame of the whole sector\n"
    "  --frame=subsector     draw the frame of one subsector\n"
    "                        (by default the frame is decided from the script)\n"
    "  -h, --help            show this text\n"
    "  --version             show the program's version\n"
    "\n"
    "Exit status: 0 when the picture was written (lines that could not be\n"
    "drawn are reported as warnings), 1 when the script could not be read or\n"
    "the picture not written, 2 for a bad command line.\n";

// Warnings beyond this many are counted, not printed.
constexpr size_t kWarningLimit = 100;

constexpr std::string_view kProgram = "torvane-preview: ";

std::optional<std::string> ReadScriptFile(FileSystem& disk, const std::string& path,
                                          std::string& reason) {
  if (disk.DirectoryExists(path)) {
    reason = "it is a directory";
    return std::nullopt;
  }
  const std::unique_ptr<InputFile> file = disk.OpenForReading(path);
  if (!file) {
    reason = disk.FailureReason();
    return std::nullopt;
  }
  const std::optional<std::uint64_t> size = file->Size();
  std::optional<std::string> bytes = size ? file->ReadRaw(*size) : std::nullopt;
  if (!bytes) reason = "read error";
  return bytes;
}

// A picture not wholly written is removed.
bool WritePicture(FileSystem& disk, const std::string& path, const std::string& bytes,
                  std::string& reason) {
  switch (disk.WriteWholeFile(path, bytes)) {
    case WriteResult::kWritten:
      return true;
    case WriteResult::kNotCreated:
      reason = disk.FailureReason();
      return false;
    case WriteResult::kNotWritten:
      break;
  }
  reason = "write error (disk full?)";
  disk.Remove(path);
  return false;
}

}  // namespace

std::string DefaultOutputPath(const std::string& script) {
  std::filesystem::path path = PathFromUtf8(script);
  if (LowerAscii(Utf8FromPath(path.extension())) == ".svg") return script + ".svg";
  return Utf8FromPath(path.replace_extension(".svg"));
}

int RunPreview(FileSystem& disk, const std::vector<std::string>& arguments, std::ostream& out,
               std::ostream& err) {
  PreviewOptions options;
  std::vector<std::string> files;
  bool options_ended = false;
  for (const std::string& argument : arguments) {
    if (options_ended || argument.empty() || argument[0] != '-') {
      files.push_back(argument);
    } else if (argument == "--") {
      options_ended = true;
    } else if (argument == "-h" || argument == "--help") {
      out << kUsage;
      return kPreviewDone;
    } else if (argument == "--version") {
      out << "torvane-preview " TORVANE_VERSION "\n";
      return kPreviewDone;
    } else if (argument == "--no-grid") {
      options.hex_grid = false;
    } else if (argument == "--frame=sector") {
      options.frame = MapKind::kSector;
    } else if (argument == "--frame=subsector") {
      options.frame = MapKind::kSubsector;
    } else {
      err << kProgram << "unknown option '" << argument << "'\n" << kUsage;
      return kPreviewUsageError;
    }
  }
  if (files.empty() || files.size() > 2) {
    err << kProgram << (files.empty() ? "no script named\n" : "too many file names\n") << kUsage;
    return kPreviewUsageError;
  }
  const std::string& script = files[0];
  const std::string output = files.size() == 2 ? files[1] : DefaultOutputPath(script);

  std::string reason;
  const std::optional<std::string> text = ReadScriptFile(disk, script, reason);
  if (!text) {
    err << kProgram << "cannot read '" << script << "': " << reason << "\n";
    return kPreviewFileError;
  }
  if (disk.SameFile(script, output)) {
    err << kProgram << "the picture '" << output << "' would overwrite the script; "
        << "name another output file\n";
    return kPreviewFileError;
  }

  ScriptReading reading = ReadScript(*text);
  const std::string title = Utf8FromPath(PathFromUtf8(script).filename());
  const std::string svg = DrawPreview(reading.commands, options, title, reading.warnings);
  for (size_t i = 0; i < reading.warnings.size() && i < kWarningLimit; ++i) {
    err << kProgram << script << ": " << reading.warnings[i] << "\n";
  }
  if (reading.warnings.size() > kWarningLimit) {
    err << kProgram << script << ": " << reading.warnings.size() - kWarningLimit
        << " more warnings not shown\n";
  }
  if (!WritePicture(disk, output, svg, reason)) {
    err << kProgram << "cannot write '" << output << "': " << reason << "\n";
    return kPreviewFileError;
  }
  return kPreviewDone;
}

}  // namespace torvane::preview
