// Script files: where they are created, the backup of an earlier file,
// their framing, and every failure path with its message and its release
// of what it acquired.
#include "script/script_file.h"

#include <gtest/gtest.h>

#include "testing/test_script.h"

namespace torvane {
namespace {

using torvane_test::FileOp;
using torvane_test::MemoryFileSystem;
using torvane_test::TestRun;

TEST(ScriptFile, OutputDirectoryKeepsOnlyTheScriptsFileName) {
  EXPECT_EQ(FinalScriptPath("C:\\maps\\alpha\\alpha.scr", "out"), "out\\alpha.scr");
  EXPECT_EQ(FinalScriptPath("C:\\maps\\alpha\\alpha.scr", "out\\"), "out\\alpha.scr");
  EXPECT_EQ(FinalScriptPath("C:\\maps\\alpha\\alpha.scr", "out/"), "out/\\alpha.scr");
  EXPECT_EQ(FinalScriptPath("C:\\maps\\alpha\\alpha.scr", "d:\\x"), "d:\\x\\alpha.scr");
  EXPECT_EQ(FinalScriptPath("C:\\maps\\alpha\\alpha.scr", ""), "C:\\maps\\alpha\\alpha.scr");
}

TEST(ScriptFile, ScriptIsFramedWithCrLfLines) {
  TestRun run;
  MemoryFileSystem fs;
  fs.AddDirectory("a");
  ScriptTarget target;
  ASSERT_EQ(OpenScript(fs, run.log(), "a/a.scr", "", target), 1);
  EXPECT_EQ(target.path, "a/a.scr");
  ScrSelect(target);
  CloseScript(target);
  EXPECT_EQ(fs.FileBytes("a/a.scr"), "ECOFF\r\nLAYER STANDARD\r\nECON\r\n");
  EXPECT_EQ(target.stream, nullptr);
  EXPECT_EQ(fs.OpenFiles(), 0);
  EXPECT_EQ(run.log().ErrorCount(), 0);
}

TEST(ScriptFile, EmptyOutputDirectoryCountsAsNone) {
  TestRun run;
  MemoryFileSystem fs;
  fs.AddDirectory("a");
  ScriptTarget target;
  ASSERT_EQ(OpenScript(fs, run.log(), "a/a.scr", "", target), 1);
  CloseScript(target);
  EXPECT_TRUE(fs.Exists("a/a.scr"));
}

TEST(ScriptFile, EarlierScriptBecomesTheBackup) {
  TestRun run;
  MemoryFileSystem fs;
  fs.AddFile("out\\a.scr", "hand-tuned");
  fs.AddFile("out\\a.$$$", "older");
  fs.AddFile("other.$$$", "unrelated");
  ScriptTarget target;
  ASSERT_EQ(OpenScript(fs, run.log(), "c:\\maps\\a\\a.scr", "out", target), 1);
  CloseScript(target);
  EXPECT_EQ(fs.FileBytes("out\\a.$$$"), "hand-tuned");
  EXPECT_EQ(fs.FileBytes("out\\a.scr"), "ECOFF\r\nECON\r\n");
  EXPECT_EQ(fs.FileBytes("other.$$$"), "unrelated");
}

TEST(ScriptFile, NoEarlierScriptLeavesAnOldBackupAlone) {
  TestRun run;
  MemoryFileSystem fs;
  fs.AddFile("a.$$$", "older");
  ScriptTarget target;
  ASSERT_EQ(OpenScript(fs, run.log(), "a.scr", "", target), 1);
  CloseScript(target);
  EXPECT_EQ(fs.FileBytes("a.$$$"), "older");
}

TEST(ScriptFile, OpenFailuresReportReleaseAndKeepTheEarlierFiles) {
  struct Case {
    const char* why;
    FileOp op;
    bool had_backup;
    const char* message;
    const char* script_after;  // bytes of out\a.scr afterwards
    const char* backup_after;  // bytes of out\a.$$$ afterwards
  };
  const Case cases[] = {
      {"backup over the old one fails", FileOp::kRename, true,
       "Error backing up file <out\\a.scr>!\n", "hand-tuned", "older"},
      {"backup fails", FileOp::kRename, false, "Error backing up file <out\\a.scr>!\n",
       "hand-tuned", nullptr},
      {"create fails", FileOp::kCreate, true, "Error creating file <out\\a.scr>!\n", nullptr,
       "hand-tuned"},
      {"first line fails", FileOp::kWrite, true, "Error writing file <out\\a.scr>!\n", nullptr,
       "hand-tuned"},
  };
  for (const Case& c : cases) {
    TestRun run;
    MemoryFileSystem fs;
    fs.AddFile("out\\a.scr", "hand-tuned");
    if (c.had_backup) fs.AddFile("out\\a.$$$", "older");
    fs.FailOperation(c.op, 1);
    ScriptTarget target;
    EXPECT_EQ(OpenScript(fs, run.log(), "a.scr", "out", target), 0) << c.why;
    EXPECT_EQ(run.errors(), c.message) << c.why;
    EXPECT_EQ(run.log().ErrorCount(), 1) << c.why;
    EXPECT_EQ(fs.OpenFiles(), 0) << c.why;
    EXPECT_EQ(target.stream, nullptr) << c.why;
    EXPECT_TRUE(target.path.empty()) << c.why;
    const auto bytes = [](const char* text) {
      return text ? std::optional<std::string>(text) : std::nullopt;
    };
    EXPECT_EQ(fs.FileBytes("out\\a.scr"), bytes(c.script_after)) << c.why;
    EXPECT_EQ(fs.FileBytes("out\\a.$$$"), bytes(c.backup_after)) << c.why;
  }
}

TEST(ScriptFile, UnreadableEarlierScriptIsStillBackedUp) {
  TestRun run;
  MemoryFileSystem fs;
  fs.AddFile("a.scr", "hand-tuned");
  fs.FailOperation(FileOp::kOpen, 1, true);
  ScriptTarget target;
  ASSERT_EQ(OpenScript(fs, run.log(), "a.scr", "", target), 1);
  CloseScript(target);
  EXPECT_EQ(fs.FileBytes("a.$$$"), "hand-tuned");
}

TEST(ScriptFile, IncompleteScriptIsRemovedSoItsBackupSurvivesTheNextRun) {
  struct Case {
    const char* why;
    FileOp op;
    int nth;
  };
  const Case cases[] = {
      {"a command fails", FileOp::kWrite, 1}, {"the last line fails", FileOp::kWrite, 2},
      {"the seal fails", FileOp::kSeal, 1},   {"the flush fails", FileOp::kFlush, 1},
      {"the naming fails", FileOp::kName, 1},
  };
  for (const Case& c : cases) {
    TestRun run;
    MemoryFileSystem fs;
    fs.AddFile("a.scr", "hand-tuned");
    ScriptTarget target;
    ASSERT_EQ(OpenScript(fs, run.log(), "a.scr", "", target), 1) << c.why;
    fs.FailOperation(c.op, c.nth);
    ScrSelect(target);
    CloseScript(target);
    EXPECT_EQ(run.errors(), "Error writing file <a.scr>!\n") << c.why;
    EXPECT_EQ(run.log().ErrorCount(), 1) << c.why;
    EXPECT_EQ(fs.OpenFiles(), 0) << c.why;
    EXPECT_FALSE(fs.Exists("a.scr")) << c.why;
    // The next run finds no script to back up, so the backup stays.
    ASSERT_EQ(OpenScript(fs, run.log(), "a.scr", "", target), 1) << c.why;
    CloseScript(target);
    EXPECT_EQ(fs.FileBytes("a.$$$"), "hand-tuned") << c.why;
  }
}

TEST(ScriptFile, ScriptTakesItsNameOnlyWhenClosedWhole) {
  TestRun run;
  MemoryFileSystem fs;
  fs.AddFile("a.scr", "hand-tuned");
  ScriptTarget target;
  ASSERT_EQ(OpenScript(fs, run.log(), "a.scr", "", target), 1);
  ScrSelect(target);
  EXPECT_FALSE(fs.Exists("a.scr"));
  EXPECT_EQ(fs.FileBytes("a.$$$"), "hand-tuned");
  target = ScriptTarget{};  // the run ends before the script is closed
  EXPECT_FALSE(fs.Exists("a.scr"));
  EXPECT_EQ(fs.UnnamedBytes("a.scr"), std::nullopt);
}

// Another program changes the directory while the run writes into it. The
// run learns of what it did before acting on it, and treats it as if it had
// been there from the start: a file of the script's name becomes the backup,
// an old backup makes way for the earlier script, a script that has gone
// needs no backup.
TEST(ScriptFile, FilesAnotherProgramMakesMeanwhileAreKept) {
  struct Case {
    const char* why;
    FileOp before;
    const char* made;    // by the other program, "theirs"; removed when null
    const char* script;  // bytes of a.scr afterwards
    const char* backup;  // bytes of a.$$$ afterwards; none when null
    const char* errors;
  };
  const Case cases[] = {
      {"the script's name, while it is written", FileOp::kName, "a.scr", "ECOFF\r\nECON\r\n",
       "theirs", ""},
      {"the backup's name, just before the backup", FileOp::kRename, "a.$$$", "ECOFF\r\nECON\r\n",
       "hand-tuned", ""},
      {"the earlier script is removed just before the backup", FileOp::kRename, nullptr,
       "ECOFF\r\nECON\r\n", nullptr, ""},
  };
  for (const Case& c : cases) {
    TestRun run;
    MemoryFileSystem fs;
    if (c.before == FileOp::kRename) fs.AddFile("a.scr", "hand-tuned");
    fs.DoBefore(c.before, 1, [&fs, &c] {
      if (c.made != nullptr) {
        fs.AddFile(c.made, "theirs");
      } else {
        fs.Remove("a.scr");
      }
    });
    ScriptTarget target;
    ASSERT_EQ(OpenScript(fs, run.log(), "a.scr", "", target), 1) << c.why;
    CloseScript(target);
    EXPECT_EQ(run.errors(), c.errors) << c.why;
    EXPECT_EQ(fs.FileBytes("a.scr"), c.script) << c.why;
    EXPECT_EQ(fs.FileBytes("a.$$$"), c.backup ? std::optional<std::string>(c.backup) : std::nullopt)
        << c.why;
  }
}

TEST(ScriptFile, NameTakenMeanwhileThatCannotBeBackedUpIsLeftAlone) {
  TestRun run;
  MemoryFileSystem fs;
  fs.DoBefore(FileOp::kName, 1, [&fs] { fs.AddFile("a.scr", "theirs"); });
  ScriptTarget target;
  ASSERT_EQ(OpenScript(fs, run.log(), "a.scr", "", target), 1);
  fs.FailOperation(FileOp::kRename, 1);
  CloseScript(target);
  EXPECT_EQ(run.errors(), "Error backing up file <a.scr>!\n");
  EXPECT_EQ(run.log().ErrorCount(), 1);
  EXPECT_EQ(fs.FileBytes("a.scr"), "theirs");
  EXPECT_FALSE(fs.Exists("a.$$$"));
  EXPECT_EQ(fs.UnnamedBytes("a.scr"), std::nullopt);
}

TEST(ScriptFile, ClosingReleasesTheWriterSoTheNextScriptStartsAfresh) {
  TestRun run;
  MemoryFileSystem fs;
  for (const char* name : {"a.scr", "b.scr"}) {
    ScriptTarget target;
    ASSERT_EQ(OpenScript(fs, run.log(), name, "", target), 1);
    ScrCircle(target, {0, 0}, 1, {1, 0, "Solid", "Solid"});
    CloseScript(target);
  }
  EXPECT_EQ(fs.FileBytes("a.scr"), fs.FileBytes("b.scr"));
  EXPECT_NE(fs.FileBytes("b.scr")->find("LAYER STANDARD"), std::string::npos);
}

}  // namespace
}  // namespace torvane
