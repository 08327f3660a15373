// Kept map texts: a kept text is read once, a failure is met (and reported)
// again, and the limit and the start of a sector bound what is kept.
#include "sector/kept_map_texts.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "testing/test_script.h"

namespace torvane {
namespace {

using torvane_test::MemoryFileSystem;
using torvane_test::TestRun;

int Opens(const MemoryFileSystem& fs, const std::string& path) {
  return static_cast<int>(std::count(fs.Log().begin(), fs.Log().end(), "open " + path));
}

TEST(KeptMapTexts, KeptTextIsReadOnceAndOthersEveryTime) {
  TestRun run;
  MemoryFileSystem fs;
  fs.AddFile("d/map/a.map", "0101 Alpha\r\n");
  fs.AddFile("d/map/b.map", "0102 Beta\r\n");
  KeptMapTexts texts;
  for (int pass = 0; pass < 2; ++pass) {
    const std::string* a = texts.Load(fs, run.log(), "d/map/a.map", true);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(*a, "0101 Alpha\n");
    const std::string* b = texts.Load(fs, run.log(), "d/map/b.map", false);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(*b, "0102 Beta\n");
  }
  EXPECT_EQ(Opens(fs, "d/map/a.map"), 1);
  EXPECT_EQ(Opens(fs, "d/map/b.map"), 2);
  texts.Clear();
  ASSERT_NE(texts.Load(fs, run.log(), "d/map/a.map", false), nullptr);
  EXPECT_EQ(Opens(fs, "d/map/a.map"), 2);
  EXPECT_EQ(fs.OpenFiles(), 0);
}

TEST(KeptMapTexts, FailureIsReportedEachTimeTheFileIsWanted) {
  TestRun run;
  MemoryFileSystem fs;
  fs.AddFile("d/map/empty.map", "");
  KeptMapTexts texts;
  EXPECT_EQ(texts.Load(fs, run.log(), "d/map/empty.map", true), nullptr);
  EXPECT_EQ(texts.Load(fs, run.log(), "d/map/missing.map", true), nullptr);
  EXPECT_EQ(texts.Load(fs, run.log(), "d/map/empty.map", false), nullptr);
  EXPECT_EQ(texts.Load(fs, run.log(), "d/map/missing.map", false), nullptr);
  EXPECT_EQ(run.errors(),
            "File <d/map/empty.map> invalid!\nCouldn't open file <d/map/missing.map>!\n"
            "File <d/map/empty.map> invalid!\nCouldn't open file <d/map/missing.map>!\n");
  EXPECT_EQ(run.log().ErrorCount(), 4);
}

TEST(KeptMapTexts, TextsBeyondTheLimitAreReadAgain) {
  TestRun run;
  MemoryFileSystem fs;
  const std::string half(kKeptMapTextLimit / 2, 'x');
  fs.AddFile("a.map", half);
  fs.AddFile("b.map", half + "y");  // does not fit beside a.map
  fs.AddFile("c.map", "small");     // still does
  KeptMapTexts texts;
  for (int pass = 0; pass < 2; ++pass) {
    EXPECT_EQ(texts.Load(fs, run.log(), "a.map", pass == 0)->size(), half.size());
    EXPECT_EQ(texts.Load(fs, run.log(), "b.map", pass == 0)->size(), half.size() + 1);
    EXPECT_EQ(*texts.Load(fs, run.log(), "c.map", pass == 0), "small");
  }
  EXPECT_EQ(Opens(fs, "a.map"), 1);
  EXPECT_EQ(Opens(fs, "b.map"), 2);
  EXPECT_EQ(Opens(fs, "c.map"), 1);
}

}  // namespace
}  // namespace torvane
