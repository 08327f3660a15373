// On the web page the programs work on files held in memory, which the page
// hands in before a run and takes out after it through the functions below
// (exported from the module), and which the page asks about by the
// programs' own rules.
#include <emscripten/emscripten.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "import/published_files.h"
#include "page/program_files.h"
#include "platform/memory_file_system.h"
#include "script/script_file.h"
#include "sector/sector_conversion.h"

namespace torvane_page {

namespace {

// Never destroyed: the page takes the files out after main has returned,
// when the module's other statics are gone. The instance ends with the run.
torvane::MemoryFileSystem& Files() {
  static auto* const files = new torvane::MemoryFileSystem;
  return *files;
}

// A path the page may hand in: names below the working directory, "/"
// between them.
bool IsPagePath(std::string_view path) {
  if (path.empty() || path.back() == '/') return false;
  for (size_t start = 0;;) {
    const size_t slash = path.find('/', start);
    const std::string_view name = path.substr(start, slash - start);
    if (name.empty() || name == "." || name == "..") return false;
    if (slash == std::string_view::npos) return true;
    start = slash + 1;
  }
}

void AppendJsonText(std::string& json, std::string_view text) {
  json += '"';
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      static constexpr char kHex[] = "0123456789abcdef";
      json += "\\u00";
      json += kHex[(c >> 4) & 0xf];
      json += kHex[c & 0xf];
    } else {
      json += c;
    }
  }
  json += '"';
}

void AppendJsonList(std::string& json, const std::vector<std::string>& texts) {
  json += '[';
  for (size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) json += ',';
    AppendJsonText(json, texts[i]);
  }
  json += ']';
}

std::vector<std::string>& Written() {
  static auto* const written = new std::vector<std::string>;
  return *written;
}

std::string& Answer() {
  static auto* const answer = new std::string;
  return *answer;
}

// What the page reports as a run begins each sector.
EM_JS(void, ReportOpened, (const char* path), {
  if (Module.onOpened) Module.onOpened(UTF8ToString(path));
});

}  // namespace

torvane::HostFileSystem& ProgramFiles() { return Files(); }

}  // namespace torvane_page

using torvane_page::Files;

extern "C" {

// Room in the module's memory for `size` bytes the page writes in.
EMSCRIPTEN_KEEPALIVE char* torvane_page_buffer(size_t size) {
  return static_cast<char*>(std::malloc(size == 0 ? 1 : size));
}

// A file for the programs, its bytes in a buffer from torvane_page_buffer
// (which this frees). 0 when the path is not one of a new file below the
// working directory.
EMSCRIPTEN_KEEPALIVE int torvane_page_add_file(const char* path, char* bytes, size_t size) {
  std::string taken(bytes, size);
  std::free(bytes);
  if (!torvane_page::IsPagePath(path) || Files().FoundPath(path) != path ||
      Files().DirectoryExists(path) || Files().Exists(path)) {
    return 0;
  }
  Files().AddFile(path, std::move(taken));
  return 1;
}

EMSCRIPTEN_KEEPALIVE int torvane_page_add_directory(const char* path) {
  if (!torvane_page::IsPagePath(path)) return 0;
  Files().AddDirectory(path);
  return 1;
}

// Reports each file a program opens for reading to Module.onOpened.
EMSCRIPTEN_KEEPALIVE void torvane_page_watch_opens() {
  Files().WatchOpens([](const std::string& path) { torvane_page::ReportOpened(path.c_str()); });
}

// The files the run wrote, by path in byte order: how many (taken anew at
// each call), then each one's path, bytes and size.
EMSCRIPTEN_KEEPALIVE int torvane_page_written_count() {
  torvane_page::Written() = Files().NamedByPrograms();
  return static_cast<int>(torvane_page::Written().size());
}
EMSCRIPTEN_KEEPALIVE const char* torvane_page_written_path(int i) {
  return torvane_page::Written().at(i).c_str();
}
EMSCRIPTEN_KEEPALIVE const char* torvane_page_written_bytes(int i) {
  return Files().FileBytes(torvane_page::Written().at(i))->data();
}
EMSCRIPTEN_KEEPALIVE size_t torvane_page_written_size(int i) {
  return Files().FileBytes(torvane_page::Written().at(i))->size();
}

// The largest input file the programs read, in bytes.
EMSCRIPTEN_KEEPALIVE double torvane_page_largest_input() {
  return static_cast<double>(torvane::kLargestWholeInput);
}

// What the converter makes of the folder `dir` among the files handed in,
// as JSON: {"dataFile", "mapFolder", "scripts"}. The data file and the map
// folder are paths as found, null where there is none; the scripts are
// where a run with the output folder `output_dir` ("" for none) writes the
// sector's script and then its subsector scripts A to P.
EMSCRIPTEN_KEEPALIVE const char* torvane_page_sector(const char* dir, const char* output_dir) {
  const torvane::SectorPaths paths = torvane::BuildSectorPaths(dir);
  const auto found = [](std::string_view path) { return Files().FoundPath(path); };
  std::string& json = torvane_page::Answer();
  json = "{\"dataFile\":";
  const std::string data_file = found(paths.dataFile);
  if (Files().FileExists(data_file)) {
    torvane_page::AppendJsonText(json, data_file);
  } else {
    json += "null";
  }
  json += ",\"mapFolder\":";
  const std::string map_folder = found(paths.sectorDir + "map");
  if (Files().DirectoryExists(map_folder)) {
    torvane_page::AppendJsonText(json, map_folder);
  } else {
    json += "null";
  }
  json += ",\"scripts\":[";
  torvane_page::AppendJsonText(json,
                               found(torvane::FinalScriptPath(paths.sectorScript, output_dir)));
  for (int subsector = 0; subsector < 16; ++subsector) {
    json += ',';
    torvane_page::AppendJsonText(
        json, found(torvane::FinalScriptPath(torvane::SubsectorScriptPath(paths, subsector),
                                             output_dir)));
  }
  json += "]}";
  return json.c_str();
}

// Which sector directories torvane-import makes of the published files
// named in `names` (one name a line), as JSON: {"sectors": [{"directory",
// "sectorFiles", "metadataFiles"}], "loneMetadata"}; see PairPublishedFiles.
EMSCRIPTEN_KEEPALIVE const char* torvane_page_published(const char* names) {
  std::vector<std::string> paths;
  for (std::string_view rest = names; !rest.empty();) {
    const size_t end = rest.find('\n');
    if (end != 0) paths.emplace_back(rest.substr(0, end));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  const torvane::PublishedFiles published = torvane::PairPublishedFiles(paths);
  std::string& json = torvane_page::Answer();
  json = "{\"sectors\":[";
  for (size_t i = 0; i < published.sectors.size(); ++i) {
    const torvane::PublishedSector& sector = published.sectors[i];
    json += i > 0 ? ",{\"directory\":" : "{\"directory\":";
    torvane_page::AppendJsonText(json, sector.directory_name);
    json += ",\"sectorFiles\":";
    torvane_page::AppendJsonList(json, sector.sector_files);
    json += ",\"metadataFiles\":";
    torvane_page::AppendJsonList(json, sector.metadata_files);
    json += '}';
  }
  json += "],\"loneMetadata\":";
  torvane_page::AppendJsonList(json, published.lone_metadata);
  json += '}';
  return json.c_str();
}

}  // extern "C"
