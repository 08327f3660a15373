// Test support: a script open on an in-memory file system, with every
// process-wide record reset, and the lines written to it so far.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "draw/world_entry.h"
#include "draw/world_layout.h"
#include "script/error_report.h"
#include "script/script_file.h"
#include "script/script_writer.h"
#include "sector/run_context.h"
#include "sector/sector_context.h"
#include "testing/memory_file_system.h"
#include "testing/script_lines.h"

namespace torvane_test {

// The contexts of one test: a run context with default options, an error
// log that keeps the messages, an in-memory file system and a random source
// seeded with 1, and a fresh sector context.
class TestRun {
 public:
  TestRun() = default;
  TestRun(const TestRun&) = delete;
  TestRun& operator=(const TestRun&) = delete;

  // Every message reported so far, one after another.
  const std::string& errors() const { return errors_; }
  torvane::ErrorLog& log() { return log_; }
  torvane::RunContext& context() { return context_; }
  torvane::MapOptions& options() { return context_.options; }
  const torvane::MapOptions& options() const { return context_.options; }
  torvane::SectorContext& sector() { return sector_; }
  MemoryFileSystem& fs() { return fs_; }
  torvane::SubsectorNames& names() { return sector_.subsectorNames; }

 private:
  std::string errors_;
  torvane::ErrorLog log_{[this](std::string_view message) { errors_ += message; }};
  MemoryFileSystem fs_;
  torvane::RunContext context_{
      .options = {}, .errors = log_, .fileSystem = fs_, .random = torvane::RandomSource(1)};
  torvane::SectorContext sector_;
};

// A script "t.scr" opened on the test's in-memory file system.
class TestScript : public TestRun {
 public:
  TestScript() { torvane::OpenScript(fs(), log(), "t.scr", "", target_); }
  ~TestScript() {
    if (target_.stream) torvane::CloseScript(target_);
  }

  const torvane::ScriptTarget& target() const { return target_; }
  // The lines written since the last call (the first call skips "ECOFF").
  std::vector<std::string> TakeLines() {
    std::vector<std::string> all =
        ScriptLines(fs().UnnamedBytes("t.scr").value_or(fs().FileBytes("t.scr").value_or("")));
    std::vector<std::string> fresh(all.begin() + static_cast<long>(std::min(taken_, all.size())),
                                   all.end());
    taken_ = all.size();
    return fresh;
  }

 private:
  torvane::ScriptTarget target_;
  size_t taken_ = 1;
};

// What drawing a world into the test's script needs, from its contexts.
inline torvane::WorldDrawing WorldDrawingOf(
    TestScript& script, const torvane::WorldLayout& layout = torvane::kStandardWorldLayout) {
  return {script.options(),
          script.context().random,
          script.sector().occupancy,
          script.sector().legendFlags,
          layout,
          script.target()};
}

// Draws the world of `line`, read by the standard layout, with the test's
// contexts into its script.
inline int DrawTestWorld(TestScript& script, std::string_view line, int subsector = 0,
                         torvane::MapKind map = torvane::MapKind::kSectorMap) {
  return torvane::DrawWorld(WorldDrawingOf(script), line, subsector, map);
}

}  // namespace torvane_test
