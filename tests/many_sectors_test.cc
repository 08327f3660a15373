// Many sectors on one command line, which the program converts side by side,
// leave every file, message and status as the same sectors converted one per
// run in the command line's order: repeated and colliding names included.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "run_torvane.h"
#include "testing/sector_files.h"

namespace torvane_test {
namespace {

namespace fs = std::filesystem;

// An asteroid belt (random digits), a world with a base, and a route.
const std::string kMap =
    "Rubble        0102 C000000-8  N As              A  013 Im\n"
    "Farrow        0304 A788899-C  A Hi Cp           A  123 Im G2 V\n"
    "$0102 0304 0 0 4\n";

// Sectors under two directories: "alpha" twice, "bet" whose subsector A
// script is beta's sector script, and one whose map files are missing.
void WriteCampaign(const ScratchDir& dir) {
  const char* const names[] = {"maps/alpha", "other/alpha", "maps/bet",  "maps/beta",
                               "maps/gamma", "maps/delta",  "maps/eps",  "maps/zeta",
                               "maps/eta",   "maps/theta",  "maps/iota", "maps/kappa"};
  for (const char* name : names) {
    WriteSector(dir, name, std::string("Title of ") + name, {{'A', kMap}, {'F', kMap}});
  }
  fs::remove(dir.path() / "maps/kappa/map/SUBC.DAT");
}

// Every file under `root` by its relative path, the asteroid digits masked.
std::map<std::string, std::string> Files(const fs::path& root) {
  static const std::regex kAsteroid("INSSYM Asteroid [1-8]");
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    files[entry.path().lexically_relative(root).generic_string()] =
        std::regex_replace(ReadBytes(entry.path()), kAsteroid, "INSSYM Asteroid #");
  }
  return files;
}

bool IsSector(const std::string& argument) { return !argument.starts_with('-'); }

// Whether `arguments[i]` is the value of the option before it.
bool IsOptionValue(const std::vector<std::string>& arguments, size_t i) {
  return i > 0 && (arguments[i - 1] == "-d" || arguments[i - 1] == "-y");
}

// The paths whose bytes differ between the two trees, or that only one holds.
std::vector<std::string> Differences(const fs::path& left, const fs::path& right) {
  const std::map<std::string, std::string> left_files = Files(left);
  std::map<std::string, std::string> right_files = Files(right);
  std::vector<std::string> differences;
  for (const auto& [path, bytes] : left_files) {
    const auto found = right_files.find(path);
    if (found == right_files.end() || found->second != bytes) differences.push_back(path);
    if (found != right_files.end()) right_files.erase(found);
  }
  for (const auto& [path, bytes] : right_files) differences.push_back(path);
  return differences;
}

int ErrorsOf(const ProgramResult& run) {
  const std::string prefix = "There were ";
  const size_t at = run.out.rfind(prefix);
  return at == std::string::npos ? 0 : std::stoi(run.out.substr(at + prefix.size()));
}

TEST(ManySectors, OneRunLeavesWhatOneRunPerSectorLeaves) {
  const std::vector<std::vector<std::string>> cases = {
      {"-s+", "maps/alpha", "maps/beta", "nosuch", "maps/gamma", "-xa", "maps/delta", "maps/eps",
       "-y", "1105", "maps/zeta", "maps/eta", "maps/theta", "maps/iota", "maps/kappa"},
      // The same scripts from several sectors: one after another, in order.
      {"-d", "out", "-sab", "maps/alpha", "other/alpha", "maps/gamma", "MAPS/ALPHA", "maps/delta",
       "maps/alpha/", "-sa", "maps/bet", "maps/beta", "maps/eps", "maps/bet"},
      // Scripts written where other sectors read their map files.
      {"-d", "maps/gamma/map", "maps/alpha", "maps/gamma", "maps/delta", "-d-", "-s+", "maps/eps",
       "maps/zeta"},
      // A bad option: the sectors after it are never started.
      {"-s+", "maps/alpha", "maps/beta", "maps/gamma", "-q", "maps/delta", "maps/eps"},
  };
  for (const std::vector<std::string>& arguments : cases) {
    const std::string what = Describe("torvane", arguments);
    ScratchDir together;
    ScratchDir one_by_one;
    for (const ScratchDir* dir : {&together, &one_by_one}) {
      WriteCampaign(*dir);
      fs::create_directory(dir->path() / "out");
    }

    // Twice each way, the second run making backups of the first's scripts.
    ProgramResult whole;
    std::string expected_err;
    std::string expected_out;
    int errors = 0;
    for (int round = 0; round < 2; ++round) {
      whole = RunTorvane(together.path(), arguments);
      expected_err.clear();
      errors = 0;
      std::vector<std::string> options;
      for (size_t i = 0; i < arguments.size(); ++i) {
        if (!IsSector(arguments[i]) || IsOptionValue(arguments, i)) {
          options.push_back(arguments[i]);
          if (arguments[i] != "-q") continue;
        }
        std::vector<std::string> alone = options;
        if (arguments[i] != "-q") alone.push_back(arguments[i]);
        const ProgramResult run = RunTorvane(one_by_one.path(), alone);
        expected_err += run.err;
        errors += ErrorsOf(run);
        if (arguments[i] == "-q") {
          expected_out = run.out;
          break;
        }
        expected_out = errors == 0 ? "" : "There were " + std::to_string(errors) + " errors!\n";
      }
    }
    EXPECT_EQ(whole.err, expected_err) << what;
    EXPECT_EQ(whole.out, expected_out) << what;
    if (expected_out.starts_with("There were") || expected_out.empty()) {
      EXPECT_EQ(whole.status, ExpectedStatus(-errors)) << what;
    } else {
      EXPECT_EQ(whole.status, ExpectedStatus(-(errors + 1))) << what;
    }
    EXPECT_EQ(Differences(together.path(), one_by_one.path()), std::vector<std::string>{}) << what;
  }
}

}  // namespace
}  // namespace torvane_test
