// Loading text files: text-mode translation and every failure message.
#include "sector/text_file.h"

#include <gtest/gtest.h>

#include "platform/text_mode.h"
#include "testing/test_script.h"

namespace torvane {
namespace {

using torvane_test::FileOp;
using torvane_test::MemoryFileSystem;
using torvane_test::TestRun;

TEST(TextMode, ReadingTranslatesLineEndsAndStopsAtEndOfTextBytes) {
  EXPECT_EQ(DecodeTextMode("a\r\nb\r\n"), "a\nb\n");
  EXPECT_EQ(DecodeTextMode("a\rb\r\r\n"), "a\rb\r\n");
  EXPECT_EQ(DecodeTextMode("a\nb\x1a"
                           "c\n"),
            "a\nb");
  EXPECT_EQ(DecodeTextMode(std::string("a\0b", 3)), "a");
  EXPECT_EQ(DecodeTextMode("ab\r"), "ab\r");
}

TEST(TextMode, WritingEndsEveryLineWithCrLf) {
  EncodedText out;
  out.Append("ECOFF\nLAYER STANDARD\n");
  out.Append("x");
  EXPECT_EQ(out.Bytes(), "ECOFF\r\nLAYER STANDARD\r\nx");
}

TEST(LoadTextFile, ReturnsTheTextModeContents) {
  TestRun run;
  MemoryFileSystem fs;
  fs.AddFile("c:\\maps\\delta/delta.dat", "Delta\r\nA: Alpha\r\n\x1ajunk");
  EXPECT_EQ(LoadTextFile(fs, run.log(), "c:\\maps\\delta/delta.dat"), "Delta\nA: Alpha\n");
  EXPECT_EQ(run.log().ErrorCount(), 0);
  EXPECT_EQ(fs.OpenFiles(), 0);
}

TEST(LoadTextFile, EachFailureHasItsMessageAndCountsOneError) {
  struct Case {
    const char* why;
    void (*prepare)(MemoryFileSystem&);
    const char* message;
  };
  const Case cases[] = {
      {"missing", [](MemoryFileSystem&) {}, "Couldn't open file <d/d.dat>!\n"},
      {"directory", [](MemoryFileSystem& fs) { fs.AddDirectory("d/d.dat"); },
       "Couldn't open file <d/d.dat>!\n"},
      {"size unknown",
       [](MemoryFileSystem& fs) {
         fs.AddFile("d/d.dat", "x\n");
         fs.FailOperation(FileOp::kSize, 1);
       },
       "Error reading file <d/d.dat>!\n"},
      {"empty", [](MemoryFileSystem& fs) { fs.AddFile("d/d.dat", ""); },
       "File <d/d.dat> invalid!\n"},
      {"too large",
       [](MemoryFileSystem& fs) {
         fs.AddFile("d/d.dat", "x\n");
         fs.SetReportedSize("d/d.dat", ~std::uint64_t{0});
       },
       "Out of memory reading <d/d.dat>!\n"},
      // A read that fails outright must not pass for an empty file.
      {"read fails",
       [](MemoryFileSystem& fs) {
         fs.AddFile("d/d.dat", "x\n");
         fs.FailOperation(FileOp::kRead, 1);
       },
       "Error reading file <d/d.dat>!\n"},
  };
  for (const Case& c : cases) {
    TestRun run;
    MemoryFileSystem fs;
    c.prepare(fs);
    EXPECT_EQ(LoadTextFile(fs, run.log(), "d/d.dat"), std::nullopt) << c.why;
    EXPECT_EQ(run.errors(), c.message) << c.why;
    EXPECT_EQ(run.log().ErrorCount(), 1) << c.why;
    EXPECT_EQ(fs.OpenFiles(), 0) << c.why;
  }
}

TEST(LoadTextFile, FileOfOnlyEndOfTextBytesLoadsEmpty) {
  TestRun run;
  MemoryFileSystem fs;
  fs.AddFile("d.dat", "\x1a\x1a");
  EXPECT_EQ(LoadTextFile(fs, run.log(), "d.dat"), "");
  EXPECT_EQ(run.log().ErrorCount(), 0);
}

}  // namespace
}  // namespace torvane
