// Fuzzes a whole sector conversion on the host's file system: the first
// part of the input is the data file 'delta.dat', the parts after it are the
// map files 'SUBA.DAT' to 'SUBP.DAT'. Every script written starts with
// "ECOFF" and ends with "ECON", and no file descriptor is left open.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "platform/file_system.h"
#include "script/error_report.h"
#include "sector/sector_conversion.h"
#include "testing/test_script.h"

namespace {

namespace fs = std::filesystem;

// One small directory per process, emptied before each input and removed
// when the process ends. The path is never destroyed, so the removal at
// exit can still read it.
const fs::path& WorkDir() {
  static const fs::path* const dir = [] {
    const auto made =
        new fs::path(fs::temp_directory_path() / ("torvane-fuzz-" + std::to_string(getpid())));
    fs::remove_all(*made);
    fs::create_directories(*made);
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(WorkDir(), ignored);
    });
    return made;
  }();
  return *dir;
}

void WriteFile(const fs::path& file, std::string_view bytes) {
  std::ofstream(file, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

int OpenDescriptors() {
  int count = 0;
  for ([[maybe_unused]] const fs::directory_entry& entry : fs::directory_iterator("/proc/self/fd"))
    ++count;
  return count;
}

void CheckScripts(const fs::path& dir) {
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() != ".scr") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    FUZZ_CHECK(bytes.starts_with("ECOFF\r\n"));
    FUZZ_CHECK(bytes.ends_with("\r\nECON\r\n"));
    for (const std::string& line : torvane_test::ScriptLines(bytes)) {
      FUZZ_CHECK(!torvane_fuzz::HasNonFiniteNumber(line));
    }
  }
}

}  // namespace

// Control byte: bit 0 asks for every subsector script, bit 1 for A and P
// only; bit 2 writes the numbers of unoccupied hexes; bit 3 puts the scripts
// into an existing output directory, bit 4 into one that does not exist;
// bit 5 adds a date text; bit 6 converts twice, so that backups are made.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const torvane_fuzz::Control control = torvane_fuzz::TakeControlByte(data, size);
  const std::vector<std::string_view> parts = torvane_fuzz::SplitInput(control.rest);
  const fs::path& work = WorkDir();
  for (const fs::directory_entry& entry : fs::directory_iterator(work))
    fs::remove_all(entry.path());
  const fs::path sector = work / "delta";
  fs::create_directories(sector / "map");
  fs::create_directories(work / "out");
  WriteFile(sector / "delta.dat", parts[0]);
  for (size_t i = 1; i < parts.size() && i <= 16; ++i) {
    WriteFile(sector / "map" / (std::string("SUB") + static_cast<char>('A' + i - 1) + ".DAT"),
              parts[i]);
  }
  fs::create_directories(sector / "map" / "DIR.DAT");

  // Made once: the host file system keeps its directory listings across
  // inputs, as it does across the sectors of one run.
  static const std::unique_ptr<torvane::HostFileSystem> host = torvane::MakeHostFileSystem();
  torvane::ErrorLog errors([](std::string_view) {});
  torvane::RunContext run{
      .options = {}, .errors = errors, .fileSystem = *host, .random = torvane::RandomSource(1)};
  torvane::MapOptions& options = run.options;
  if (control.bits & 1) options.subsectors.fill(1);
  if (control.bits & 2) options.subsectors[0] = options.subsectors[15] = 1;
  if (control.bits & 4) options.hexNumbers = torvane::HexNumberMode::kUnoccupied;
  if (control.bits & 8) options.outputDir = (work / "out").string();
  if (control.bits & 16) options.outputDir = (work / "missing").string();
  if (control.bits & 32) options.dateText = "1105";

  const int descriptors = OpenDescriptors();
  const int conversions = (control.bits & 64) ? 2 : 1;
  for (int i = 0; i < conversions; ++i) {
    const int result = torvane::ConvertSector(run, sector.string());
    FUZZ_CHECK(result == 0 || result == 1);
    if (result == 0) FUZZ_CHECK(errors.ErrorCount() > 0);
  }
  FUZZ_CHECK(OpenDescriptors() == descriptors);
  CheckScripts(sector);
  CheckScripts(work / "out");
  return 0;
}
