// The in-memory file system: names found as the POSIX host finds them, new
// names made as written, directories kept in order as names come and go.
#include "platform/memory_file_system.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace torvane {
namespace {

using Names = std::vector<std::string>;

// Writes and commits a new file; its naming's outcome.
NameResult Write(MemoryFileSystem& fs, std::string_view path, std::string_view bytes,
                 Replacing replacing = Replacing::kNever) {
  std::unique_ptr<OutputFile> file = fs.CreateForWriting(path, replacing);
  if (file == nullptr || !file->WriteUnchanged(bytes) || file->Seal() != SealResult::kSealed) {
    return NameResult::kFailed;
  }
  const std::array<OutputFile*, 1> sealed{file.get()};
  return CommitFiles(fs, sealed).front();
}

TEST(MemoryFileSystem, NamesAreFoundWhateverTheirCaseTheExactOneFirst) {
  MemoryFileSystem fs;
  fs.AddFile("Maps/Delta/delta.dat", "lower");
  fs.AddFile("Maps/Delta/DELTA.DAT", "upper");
  fs.AddFile("Maps/Delta/Map/SUBA.DAT", "a");
  EXPECT_EQ(ReadWholeFile(fs, "maps\\delta\\Delta.dat").bytes, "upper");
  EXPECT_EQ(ReadWholeFile(fs, "MAPS/DELTA/delta.dat").bytes, "lower");
  EXPECT_EQ(ReadWholeFile(fs, "./maps/delta/map/suba.dat").bytes, "a");
  EXPECT_EQ(fs.FoundName("maps/delta/MAP"), "Map");
  EXPECT_TRUE(fs.DirectoryExists("MAPS\\delta\\"));
  EXPECT_FALSE(fs.FileExists("maps/delta/map"));
  EXPECT_EQ(fs.OpenForReading("maps/delta"), nullptr);
  EXPECT_EQ(fs.OpenForReading("maps/delta/none.dat"), nullptr);
  EXPECT_TRUE(fs.SameFile("maps/DELTA", "Maps/delta/"));
}

TEST(MemoryFileSystem, NewNamesAreMadeAsWrittenInTheirDirectoryAsFound) {
  MemoryFileSystem fs;
  fs.AddFile("Out/old.scr", "old");
  EXPECT_EQ(Write(fs, "out\\New.scr", "new"), NameResult::kNamed);
  EXPECT_EQ(Write(fs, "out/old.scr", "again"), NameResult::kFailed);  // created over
  EXPECT_EQ(Write(fs, "none/x.scr", "x"), NameResult::kFailed);       // no directory
  EXPECT_TRUE(fs.MakeDirectory("OUT/Sub"));
  EXPECT_FALSE(fs.MakeDirectory("out/Sub"));
  // A file of the name in another case gives way to the one moved there.
  EXPECT_EQ(fs.RenameReplacing("out/new.scr", "out/OLD.SCR"), RenameResult::kRenamed);
  EXPECT_EQ(fs.ListDirectory("out"), (Names{"OLD.SCR", "Sub"}));
  EXPECT_EQ(fs.RenameNoReplace("out/old.scr", "out/Sub"), RenameResult::kNameTaken);
  EXPECT_EQ(fs.NamedByPrograms(), (Names{"Out/OLD.SCR"}));
  EXPECT_EQ(fs.OpenFiles(), 0);
}

// Names that sort between a directory and the names below it ("a-b" and
// "a.txt" before "a/", "a0" after) are listed once, in their own place.
TEST(MemoryFileSystem, DirectoriesListTheirOwnNamesAndFollowRemovesAndMoves) {
  MemoryFileSystem fs;
  for (const char* path : {"a-b", "a.txt", "a/x/1", "a/y", "a0", "b/z"}) fs.AddFile(path, path);
  fs.AddDirectory("a/empty");
  EXPECT_EQ(fs.ListDirectory(""), (Names{"a", "a-b", "a.txt", "a0", "b"}));
  EXPECT_EQ(fs.ListDirectory("A"), (Names{"empty", "x", "y"}));
  EXPECT_FALSE(fs.RemoveEmptyDirectory("a"));
  EXPECT_EQ(fs.Remove("b/z"), RemoveResult::kRemoved);
  EXPECT_FALSE(fs.DirectoryExists("b"));  // only its file made it
  EXPECT_TRUE(fs.RemoveEmptyDirectory("a/empty"));
  ASSERT_TRUE(fs.RenameDirectory("a", "moved"));
  EXPECT_EQ(fs.ListDirectory(""), (Names{"a-b", "a.txt", "a0", "moved"}));
  EXPECT_EQ(ReadWholeFile(fs, "moved/x/1").bytes, "a/x/1");
  EXPECT_EQ(fs.NamedByPrograms(), (Names{"moved/x/1", "moved/y"}));
  EXPECT_FALSE(fs.RenameDirectory("moved", "a0"));
}

}  // namespace
}  // namespace torvane
