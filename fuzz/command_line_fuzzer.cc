// Fuzzes option decoding and the run driver: the input, split at NUL bytes,
// is the argument list of one whole run on an in-memory file system that
// holds a small sector 'delta'. Whatever the arguments, the run ends with a
// status of 0 to -255, reports success only without errors, and leaves no
// file open.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "run/command_line.h"
#include "script/error_report.h"
#include "testing/memory_file_system.h"

namespace {

constexpr std::string_view kSectorText =
    "Delta\n"
    "A: Aurel                     SUBA.DAT\n"
    "B: Brisk                     SUBB.DAT\n"
    "C: Corvin\n";

constexpr std::string_view kMapA =
    "$0304 0506 0 0 1\n"
    "Farrow        0304 A788899-C  A Hi Cp           A  123 Im G2 V\n"
    "Rock          0101 B000000-0  N                 R  000 Zh\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::vector<std::string_view> parts =
      torvane_fuzz::SplitInput(std::string_view(reinterpret_cast<const char*>(data), size), '\0');
  // An empty input is a run without arguments, not one empty argument.
  const std::vector<std::string> arguments =
      size == 0 ? std::vector<std::string>() : std::vector<std::string>(parts.begin(), parts.end());

  torvane_test::MemoryFileSystem fs;
  fs.AddFile("delta/delta.dat", std::string(kSectorText));
  fs.AddFile("delta/map/SUBA.DAT", std::string(kMapA));
  fs.AddFile("delta/map/SUBB.DAT", "# nothing charted\n");
  fs.AddDirectory("out/delta.scr");
  torvane::ErrorLog errors([](std::string_view) {});
  size_t printed = 0;
  const int status = torvane::RunTorvane(
      arguments, fs, errors, [&printed](std::string_view text) { printed += text.size(); });

  FUZZ_CHECK(status <= 0 && status >= -255);
  if (status == 0) FUZZ_CHECK(errors.ErrorCount() == 0);
  if (errors.ErrorCount() > 0) FUZZ_CHECK(status != 0);
  FUZZ_CHECK(fs.OpenFiles() == 0);
  return 0;
}
