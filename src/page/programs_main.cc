// The web page's one program: torvane, torvane-import and torvane-preview in
// a single WebAssembly module, the program chosen by the first argument as a
// multi-call binary chooses it by its name. Each runs as its own entry does.
#include <array>
#include <cstdint>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "import/import_run.h"
#include "page/program_files.h"
#include "platform/file_system.h"
#include "platform/host_process.h"
#include "platform/random_source.h"
#include "platform/temporary_files.h"
#include "preview/preview_command_line.h"
#include "run/command_line.h"

namespace {

int RunConverter(const std::vector<std::string>& arguments) {
  // The module has no threads to start: the sectors are converted and
  // committed one after another, as a run on one processor does.
  const torvane::RunSetup setup{.seed = static_cast<std::uint32_t>(torvane::ClockSeconds()),
                                .threads = 1};
  return torvane::RunTorvane(torvane_page::ProgramFiles(), arguments, std::cout, std::cerr, setup);
}

int RunImporter(const std::vector<std::string>& arguments) {
  return torvane::RunImport(torvane_page::ProgramFiles(), arguments, std::cout, std::cerr);
}

int RunPreviewer(const std::vector<std::string>& arguments) {
  return torvane::RunPreview(torvane_page::ProgramFiles(), arguments, std::cout, std::cerr);
}

struct Program {
  std::string_view name;
  int (*run)(const std::vector<std::string>& arguments);
};

constexpr std::array<Program, 3> kPrograms{{
    {"torvane", RunConverter},
    {"torvane-import", RunImporter},
    {"torvane-preview", RunPreviewer},
}};

// What a bad command line of the module (never the page's) exits with, as
// the programs' own usage errors do.
constexpr int kNoSuchProgram = 2;

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments = torvane::ProgramArguments(argc, argv);
  torvane::IgnoreFileSizeSignal();
  torvane::RemoveTemporaryFilesOnInterrupt();
  const std::string program = arguments.empty() ? "" : arguments.front();
  for (const Program& candidate : kPrograms) {
    if (candidate.name == program) {
      arguments.erase(arguments.begin());
      return candidate.run(arguments);
    }
  }
  std::cerr << "Which program? The first argument is torvane, torvane-import or torvane-preview"
            << (program.empty() ? "" : ", not " + program) << ".\n";
  return kNoSuchProgram;
}
