// Write faults as a user meets them: the disk under the output directory
// fills up while scripts are written. Every failed write is reported with
// the script's path and counted in the exit status, the earlier script is
// kept as its "$$$" backup, and the rest of the command line still runs.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "run_torvane.h"
#include "testing/sector_files.h"
#include "tmpfs_mount.h"

namespace torvane_test {
namespace {

// Worlds in half the hexes of every subsector and a route in each, so that
// with all hex numbers drawn the sector script spans several of the writer's
// 64 KiB buffers. No world is an asteroid belt, whose symbol is random.
std::map<char, std::string> CrowdedMaps() {
  std::map<char, std::string> maps;
  for (int subsector = 0; subsector < 16; ++subsector) {
    const int first_column = subsector % 4 * 8;
    const int first_row = subsector / 4 * 10;
    char line[128];
    std::snprintf(line, sizeof line, "$%02d%02d %02d%02d 0 0 1\n", first_column + 1, first_row + 1,
                  first_column + 2, first_row + 2);
    std::string map = line;
    for (int column = 1; column <= 8; ++column) {
      for (int row = 1; row <= 10; ++row) {
        if ((column + row) % 2 != 0) continue;
        const int hex = (first_column + column) * 100 + first_row + row;
        std::snprintf(line, sizeof line,
                      "World%04d     %04d A788899-C  A Hi Cp           A  123 Im G2 V\n", hex, hex);
        map += line;
      }
    }
    maps[static_cast<char>('A' + subsector)] = map;
  }
  return maps;
}

std::string WriteError(const std::string& path) { return "Error writing file <" + path + ">!"; }

// The error total on standard output agrees with the messages on standard
// error, and the exit status carries it.
void ExpectErrorTotal(const ProgramResult& run) {
  const int errors = static_cast<int>(LinesEndingIn(run.err, "\n").size());
  ASSERT_GT(errors, 0);
  ASSERT_LT(errors, 256);
  EXPECT_EQ(run.out, "There were " + std::to_string(errors) + " errors!\n");
  EXPECT_EQ(run.status, ExpectedStatus(-errors));
}

// The messages on standard error as runs of one repeated line, in order,
// each with its count.
std::vector<std::pair<std::string, int>> MessageCounts(const std::string& err) {
  std::vector<std::pair<std::string, int>> counts;
  for (const std::string& line : LinesEndingIn(err, "\n")) {
    if (counts.empty() || counts.back().first != line) {
      counts.emplace_back(line, 0);
    }
    ++counts.back().second;
  }
  return counts;
}

// A whole run into a directory with room to spare: the bytes a script ought
// to have.
std::string ScriptWithRoom(const ScratchDir& dir, const std::vector<std::string>& options,
                           const std::string& sector, const std::string& script) {
  std::filesystem::create_directories(dir.path() / "reference");
  std::vector<std::string> arguments = options;
  arguments.insert(arguments.end(), {"-d", "reference", sector});
  const ProgramResult run = RunTorvane(dir.path(), arguments);
  EXPECT_EQ(run.status, 0) << run.err;
  return dir.Read("reference/" + script);
}

// Script bytes are compared without printing whole scripts: a failure names
// the sizes and the first byte that differs.
testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
  if (actual == expected) return testing::AssertionSuccess();
  size_t same = 0;
  while (same < actual.size() && same < expected.size() && actual[same] == expected[same]) ++same;
  return testing::AssertionFailure() << actual.size() << " bytes where " << expected.size()
                                     << " were expected; they differ from byte " << same;
}

TEST(WriteFaultAsRoot, SectorScriptMeetsAFullDiskHalfwayThrough) {
  ScratchDir dir;
  TmpfsMount full(dir.path() / "full", "size=2m");
  if (!full.mounted()) GTEST_SKIP() << full.failure();
  WriteSector(dir, "delta", "Delta", CrowdedMaps());
  const std::string whole = ScriptWithRoom(dir, {"-xa"}, "delta", "delta.scr");
  ASSERT_GT(whole.size(), 4u * 64 * 1024) << "the script must outgrow several write buffers";

  // The earlier script, without hex numbers, differs from the one that fails.
  ASSERT_EQ(RunTorvane(dir.path(), {"-xn", "-d", "full", "delta"}).status, 0);
  const std::string earlier = dir.Read("full/delta.scr");
  ASSERT_FALSE(earlier == whole);
  const std::uint64_t room = full.Blocks(whole.size() / 2);
  full.LeaveFree(room);
  ASSERT_EQ(full.FreeBytes(), room);

  const ProgramResult run = RunTorvane(dir.path(), {"-xa", "-d", "full", "delta"});
  ExpectErrorTotal(run);
  const auto counts = MessageCounts(run.err);
  ASSERT_EQ(counts.size(), 1u) << run.err;
  EXPECT_EQ(counts[0].first, WriteError("full\\delta.scr"));
  // Buffers that met the full disk were reported as they were written, not
  // only when the script was closed.
  EXPECT_GE(counts[0].second, 2);
  EXPECT_TRUE(SameBytes(dir.Read("full/delta.$$$"), earlier));
  // The script cut short is removed, so that a later run finds nothing to
  // push the earlier script out of its backup with.
  EXPECT_FALSE(dir.Exists("full/delta.scr"));
  std::filesystem::remove(dir.path() / "full" / "filler");  // room again
  ASSERT_EQ(RunTorvane(dir.path(), {"-xa", "-d", "full", "delta"}).status, 0);
  EXPECT_TRUE(SameBytes(dir.Read("full/delta.$$$"), earlier));
  EXPECT_TRUE(SameBytes(dir.Read("full/delta.scr"), whole));
}

TEST(WriteFaultAsRoot, SubsectorScriptsMeetAFullDisk) {
  ScratchDir dir;
  TmpfsMount full(dir.path() / "full", "size=2m");
  if (!full.mounted()) GTEST_SKIP() << full.failure();
  WriteSector(dir, "delta", "Delta", CrowdedMaps());
  const std::string sector = ScriptWithRoom(dir, {"-xa", "-sab"}, "delta", "delta.scr");
  const std::string subsector_a = dir.Read("reference/deltaA.scr");
  ASSERT_FALSE(subsector_a.empty());

  ASSERT_EQ(RunTorvane(dir.path(), {"-xn", "-sab", "-d", "full", "delta"}).status, 0);
  const std::string earlier_a = dir.Read("full/deltaA.scr");
  const std::string earlier_b = dir.Read("full/deltaB.scr");
  ASSERT_FALSE(earlier_a == subsector_a);
  // Room for the whole sector script and half of subsector A's.
  const std::uint64_t room_for_a = full.Blocks(subsector_a.size() / 2);
  full.LeaveFree(full.Blocks(sector.size()) + room_for_a);

  const ProgramResult run = RunTorvane(dir.path(), {"-xa", "-sab", "-d", "full", "delta"});
  ExpectErrorTotal(run);
  const auto counts = MessageCounts(run.err);
  ASSERT_EQ(counts.size(), 2u) << run.err;
  EXPECT_EQ(counts[0].first, WriteError("full\\deltaA.scr"));
  EXPECT_EQ(counts[1].first, WriteError("full\\deltaB.scr"));
  EXPECT_TRUE(SameBytes(dir.Read("full/delta.scr"), sector));
  EXPECT_TRUE(SameBytes(dir.Read("full/deltaA.$$$"), earlier_a));
  EXPECT_TRUE(SameBytes(dir.Read("full/deltaB.$$$"), earlier_b));
  EXPECT_FALSE(dir.Exists("full/deltaA.scr"));
  EXPECT_FALSE(dir.Exists("full/deltaB.scr"));
}

TEST(WriteFaultAsRoot, EveryScriptOnADiskFullFromTheStartIsReported) {
  ScratchDir dir;
  TmpfsMount full(dir.path() / "full", "size=2m");
  if (!full.mounted()) GTEST_SKIP() << full.failure();
  WriteSector(dir, "delta", "Delta", CrowdedMaps());
  ASSERT_EQ(RunTorvane(dir.path(), {"-xn", "-s+", "-d", "full", "delta"}).status, 0);
  const std::string letters = "ABCDEFGHIJKLMNOP";
  std::map<std::string, std::string> earlier;
  earlier["delta"] = dir.Read("full/delta.scr");
  for (const char letter : letters) {
    const std::string name = "delta" + std::string(1, letter);
    earlier[name] = dir.Read("full/" + name + ".scr");
  }
  full.LeaveFree(0);
  ASSERT_EQ(full.FreeBytes(), 0u);

  const ProgramResult run = RunTorvane(dir.path(), {"-xa", "-s+", "-d", "full", "delta"});
  ExpectErrorTotal(run);
  const auto counts = MessageCounts(run.err);
  ASSERT_EQ(counts.size(), 17u) << run.err;
  EXPECT_EQ(counts[0].first, WriteError("full\\delta.scr"));
  for (size_t i = 0; i < letters.size(); ++i) {
    EXPECT_EQ(counts[i + 1].first, WriteError("full\\delta" + std::string(1, letters[i]) + ".scr"));
  }
  for (const auto& [name, bytes] : earlier) {
    EXPECT_FALSE(bytes.empty()) << name;
    EXPECT_TRUE(SameBytes(dir.Read("full/" + name + ".$$$"), bytes)) << name;
    EXPECT_FALSE(dir.Exists("full/" + name + ".scr")) << name;
  }
}

TEST(WriteFaultAsRoot, ScriptThatCannotBeCreatedKeepsItsBackupAndTheRunGoesOn) {
  ScratchDir dir;
  // Two inodes: the root directory and the earlier script.
  TmpfsMount full(dir.path() / "full", "size=2m,nr_inodes=2");
  if (!full.mounted()) GTEST_SKIP() << full.failure();
  WriteSector(dir, "delta", "Delta", CrowdedMaps());
  const std::string whole = ScriptWithRoom(dir, {"-xa"}, "delta", "delta.scr");
  ASSERT_EQ(RunTorvane(dir.path(), {"-xn", "-d", "full", "delta"}).status, 0);
  const std::string earlier = dir.Read("full/delta.scr");
  std::filesystem::create_directories(dir.path() / "roomy");

  const ProgramResult run =
      RunTorvane(dir.path(), {"-xa", "-d", "full", "delta", "-d", "roomy", "delta"});
  // The failed creation and the sector it stopped are two errors.
  EXPECT_EQ(run.err, "Error creating file <full\\delta.scr>!\n");
  EXPECT_EQ(run.out, "There were 2 errors!\n");
  EXPECT_EQ(run.status, ExpectedStatus(-2));
  EXPECT_TRUE(SameBytes(dir.Read("full/delta.$$$"), earlier));
  EXPECT_FALSE(dir.Exists("full/delta.scr"));
  EXPECT_TRUE(SameBytes(dir.Read("roomy/delta.scr"), whole));
}

TEST(WriteFaultAsRoot, NextSectorIsWrittenAfterOneMeetsAFullDisk) {
  ScratchDir dir;
  TmpfsMount full(dir.path() / "full", "size=2m");
  if (!full.mounted()) GTEST_SKIP() << full.failure();
  WriteSector(dir, "alpha", "Alpha", CrowdedMaps());
  WriteSector(dir, "beta", "Beta", CrowdedMaps());
  const std::string alpha = ScriptWithRoom(dir, {"-xa"}, "alpha", "alpha.scr");
  const std::string beta = ScriptWithRoom(dir, {"-xa"}, "beta", "beta.scr");
  std::filesystem::create_directories(dir.path() / "roomy");
  const std::uint64_t room = full.Blocks(alpha.size() / 3);
  full.LeaveFree(room);

  const ProgramResult run =
      RunTorvane(dir.path(), {"-xa", "-d", "full/", "alpha", "-d", "roomy", "beta"});
  ExpectErrorTotal(run);
  const auto counts = MessageCounts(run.err);
  ASSERT_EQ(counts.size(), 1u) << run.err;
  // The directory's own "/" stays, and "\\" is appended all the same.
  EXPECT_EQ(counts[0].first, WriteError("full/\\alpha.scr"));
  EXPECT_FALSE(dir.Exists("full/alpha.scr"));
  EXPECT_TRUE(SameBytes(dir.Read("roomy/beta.scr"), beta));
}

// A write refused by the process's file-size limit is a write fault like a
// full disk: reported, counted, and the next sector still written.
TEST(WriteFault, FileSizeLimitIsReportedLikeAFullDisk) {
#ifdef _WIN32
  GTEST_SKIP() << "a process's file-size limit (RLIMIT_FSIZE) is a POSIX host's; Windows has none";
#else
  ScratchDir dir;
  WriteSector(dir, "delta", "Delta", CrowdedMaps());
  WriteSector(dir, "small", "Small");
  constexpr rlim_t kLimit = 100 * 1024;
  const std::string whole = ScriptWithRoom(dir, {"-xa"}, "delta", "delta.scr");
  const std::string small = ScriptWithRoom(dir, {"-xa"}, "small", "small.scr");
  ASSERT_GT(whole.size(), kLimit);
  ASSERT_LT(small.size(), kLimit);
  std::filesystem::create_directories(dir.path() / "capped");
  std::filesystem::create_directories(dir.path() / "roomy");

  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  if (saved.rlim_max != RLIM_INFINITY && saved.rlim_max < kLimit) {
    GTEST_SKIP() << "the file-size limit is already below " << kLimit << " bytes";
  }
  // The program must stand on its own: it inherits the default action for
  // the limit's signal, which ends a process that does nothing about it.
  const auto saved_action = std::signal(SIGXFSZ, SIG_DFL);
  struct rlimit capped = saved;
  capped.rlim_cur = kLimit;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &capped), 0);
  const ProgramResult run =
      RunTorvane(dir.path(), {"-xa", "-d", "capped", "delta", "-d", "roomy", "small"});
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, saved_action);

  ASSERT_LT(run.status, 256) << "ended by signal " << run.status - 1000;
  ExpectErrorTotal(run);
  const auto counts = MessageCounts(run.err);
  ASSERT_EQ(counts.size(), 1u) << run.err;
  EXPECT_EQ(counts[0].first, WriteError("capped\\delta.scr"));
  EXPECT_FALSE(dir.Exists("capped/delta.scr"));
  EXPECT_TRUE(SameBytes(dir.Read("roomy/small.scr"), small));
#endif
}

}  // namespace
}  // namespace torvane_test
