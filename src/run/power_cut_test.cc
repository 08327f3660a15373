// A power cut at any moment of a run: the scripts' names hold whole
// scripts, the earlier scripts are never lost, and the next run puts all
// right.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "run/command_line.h"
#include "testing/memory_file_system.h"
#include "testing/sector_files.h"

namespace torvane {
namespace {

using torvane_test::DiskState;
using torvane_test::MemoryFileSystem;

const std::vector<std::string> kArguments = {"-sa", "alpha", "beta"};
const std::vector<std::string> kScripts = {"alpha/alpha", "alpha/alphaA", "beta/beta",
                                           "beta/betaA"};

// Two sectors, each with an earlier script and an older backup of every
// script the run writes.
DiskState SectorsWithBackups() {
  MemoryFileSystem fs;
  constexpr std::array<std::string_view, 16> kNames = {"A", "B", "C", "D", "E", "F", "G", "H",
                                                       "I", "J", "K", "L", "M", "N", "O", "P"};
  for (const std::string name : {"alpha", "beta"}) {
    const std::string world = "Farrow        0304 A788899-C  N Hi               A  123 Im G2 V\n";
    for (const auto& [path, bytes] :
         torvane_test::SectorFiles(name + ".dat", name, kNames, {{'A', world}}, "# empty\n")) {
      fs.AddFile(name + "/" + path, bytes);
    }
  }
  for (const std::string& script : kScripts) {
    fs.AddFile(script + ".scr", "earlier " + script);
    fs.AddFile(script + ".$$$", "older " + script);
  }
  return fs.State();
}

// Runs the converter on `fs`; the number of errors it reported.
int Convert(MemoryFileSystem& fs) {
  ErrorLog errors;
  RunTorvane(kArguments, fs, errors, [](std::string_view) {}, {.seed = 1, .threads = 1});
  return errors.ErrorCount();
}

std::optional<std::string> At(const DiskState& state, const std::string& key) {
  const auto found = state.files.find(key);
  if (found == state.files.end()) return std::nullopt;
  return found->second;
}

// Whatever the run had done when the power failed: each script's name holds
// the whole new script or the earlier one, or nothing while its backup holds
// the earlier one; each backup holds the earlier script or the older
// backup.
void ExpectEveryScriptWholeAndTheEarlierKept(const DiskState& state, const DiskState& done) {
  for (const std::string& script : kScripts) {
    const std::string earlier = "earlier " + script;
    const std::optional<std::string> named = At(state, script + ".scr");
    const std::optional<std::string> backup = At(state, script + ".$$$");
    if (named) {
      EXPECT_TRUE(named == earlier || named == At(done, script + ".scr"))
          << script << ": " << *named;
    }
    EXPECT_TRUE(backup == earlier || backup == "older " + script) << script;
    EXPECT_TRUE(named == earlier || backup == earlier) << script << ": the earlier script is lost";
  }
}

TEST(PowerCut, AfterAnyOperationEveryScriptIsWholeAndTheNextRunPutsAllRight) {
  MemoryFileSystem clean(SectorsWithBackups());
  ASSERT_EQ(Convert(clean), 0);
  const DiskState done = clean.State();

  // The states a power cut could leave, after each operation of the run in
  // turn and after the last.
  std::set<DiskState> states;
  MemoryFileSystem fs(SectorsWithBackups());
  std::uint64_t seen = ~std::uint64_t{0};
  const auto take_states = [&] {
    if (fs.DiskChanges() == seen) return;
    seen = fs.DiskChanges();
    for (DiskState& state : fs.PowerCutStates()) states.insert(std::move(state));
  };
  fs.DoBeforeEach(take_states);
  ASSERT_EQ(Convert(fs), 0);
  seen = ~std::uint64_t{0};
  take_states();
  EXPECT_GE(states.size(), 8u);

  for (const DiskState& state : states) {
    ExpectEveryScriptWholeAndTheEarlierKept(state, done);
    MemoryFileSystem next(state);
    EXPECT_EQ(Convert(next), 0);
    for (const std::string& script : kScripts) {
      EXPECT_EQ(next.FileBytes(script + ".scr"), At(done, script + ".scr")) << script;
    }
  }
}

}  // namespace
}  // namespace torvane
