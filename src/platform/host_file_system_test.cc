// The host file system on every host: Windows path texts, names found
// whatever their case, text mode and the refusal of directories.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "testing/host_file_system_fixture.h"

namespace torvane {
namespace {

using torvane_test::HostFileSystemTest;

namespace fs = std::filesystem;

TEST_F(HostFileSystemTest, ReadsInTextModeWhateverTheCaseOfTheName) {
  Put("Maps/Delta/Delta.DAT", "Delta\r\nA: x\r\n\x1a tail");
  std::unique_ptr<InputFile> file = host_.OpenForReading(Text("maps\\DELTA/delta.dat"));
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->Size(), 19u);
  EXPECT_EQ(file->ReadText(19), "Delta\nA: x\n");
}

TEST_F(HostFileSystemTest, DirectoriesAndMissingFilesDoNotOpen) {
  Put("Maps/Delta/Delta.scr", "x");
  EXPECT_EQ(host_.OpenForReading(Text("Maps\\Delta")), nullptr);
  EXPECT_EQ(host_.OpenForReading(Text("Maps\\Delta\\none.dat")), nullptr);
  EXPECT_EQ(host_.OpenForReading(Text("none\\none.dat")), nullptr);
  EXPECT_FALSE(host_.FileExists(Text("maps\\delta")));
  EXPECT_TRUE(host_.FileExists(Text("MAPS\\DELTA\\DELTA.SCR")));
}

// A new file stays under a temporary name, which no script or backup has,
// until it is sealed whole, made durable and named; one that is not leaves
// nothing.
TEST_F(HostFileSystemTest, NewFilesTakeTheirNameOnlyWhenCommittedWhole) {
  const std::set<std::string> before = Listing();
  std::unique_ptr<OutputFile> file = host_.CreateForWriting(Text("MAPS\\delta\\x.scr"));
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->Write("ECOFF\nECON\n"));
  std::set<std::string> meanwhile = Listing();
  ASSERT_EQ(meanwhile.size(), before.size() + 1);
  for (const std::string& name : before) meanwhile.erase(name);
  EXPECT_TRUE(meanwhile.begin()->starts_with("Maps/Delta/.torvane-")) << *meanwhile.begin();
  EXPECT_TRUE(meanwhile.begin()->ends_with(".tmp")) << *meanwhile.begin();
  ASSERT_EQ(file->Seal(), SealResult::kSealed);
  EXPECT_EQ(Listing().size(), before.size() + 1);
  EXPECT_FALSE(host_.FileExists(Text("Maps\\Delta\\x.scr")));
  // Naming before the file is on disk fails, and removes it.
  std::unique_ptr<OutputFile> hasty = host_.CreateForWriting(Text("Maps\\Delta\\h.scr"));
  ASSERT_EQ(hasty->Seal(), SealResult::kSealed);
  EXPECT_EQ(hasty->TakeName(), NameResult::kFailed);
  OutputFile* const sealed[] = {file.get()};
  EXPECT_EQ(CommitFiles(host_, sealed), std::vector<NameResult>{NameResult::kNamed});
  EXPECT_EQ(Get("Maps/Delta/x.scr"), "ECOFF\r\nECON\r\n");
  EXPECT_EQ(Listing().size(), before.size() + 1);

  std::unique_ptr<OutputFile> abandoned = host_.CreateForWriting(Text("Maps\\Delta\\y.scr"));
  ASSERT_NE(abandoned, nullptr);
  EXPECT_TRUE(abandoned->Write("ECOFF\n"));
  abandoned.reset();
  EXPECT_EQ(Listing().size(), before.size() + 1);
  EXPECT_FALSE(host_.FileExists(Text("Maps\\Delta\\y.scr")));

  EXPECT_EQ(host_.CreateForWriting(Text("Maps\\Delta")), nullptr);
  EXPECT_EQ(host_.CreateForWriting(Text("Maps\\Delta\\x.scr")), nullptr);
  EXPECT_EQ(host_.CreateForWriting(Text("nowhere\\x.scr")), nullptr);
}

TEST_F(HostFileSystemTest, RemoveAndRenameFindFilesWhateverTheirCase) {
  Put("Maps/Delta/OLD.SCR", "old");
  Put("Maps/Delta/new.scr", "new");
  EXPECT_EQ(host_.Remove(Text("maps/delta/none.$$$")), RemoveResult::kNotFound);
  EXPECT_EQ(host_.RenameReplacing(Text("maps/delta/old.scr"), Text("maps/delta/old.$$$")),
            RenameResult::kRenamed);
  EXPECT_EQ(Get("Maps/Delta/old.$$$"), "old");
  // It replaces a file of the name in another case, and takes the name as
  // written.
  EXPECT_EQ(host_.RenameReplacing(Text("maps/delta/NEW.SCR"), Text("maps/delta/OLD.$$$")),
            RenameResult::kRenamed);
  EXPECT_EQ(Get("Maps/Delta/OLD.$$$"), "new");
  EXPECT_FALSE(host_.FileExists(Text("maps/delta/new.scr")));
  EXPECT_EQ(host_.RenameReplacing(Text("maps/delta/new.scr"), Text("maps/delta/x.$$$")),
            RenameResult::kNotFound);
  EXPECT_EQ(host_.Remove(Text("MAPS/DELTA/OLD.$$$")), RemoveResult::kRemoved);
  EXPECT_FALSE(fs::exists(root_ / "Maps/Delta/OLD.$$$"));
  EXPECT_EQ(host_.Remove(Text("Maps")), RemoveResult::kFailed);
}

// Directory listings are read once and kept in step with the run's own
// changes.
TEST_F(HostFileSystemTest, LookupsFollowTheRunsOwnChanges) {
  EXPECT_FALSE(host_.FileExists(Text("Maps\\Delta\\A.SCR")));
  std::unique_ptr<OutputFile> file = host_.CreateForWriting(Text("Maps\\Delta\\a.scr"));
  ASSERT_NE(file, nullptr);
  EXPECT_FALSE(host_.FileExists(Text("Maps\\Delta\\A.SCR")));
  ASSERT_EQ(Commit(*file), NameResult::kNamed);
  EXPECT_TRUE(host_.FileExists(Text("Maps\\Delta\\A.SCR")));
  ASSERT_EQ(host_.RenameNoReplace(Text("maps\\delta\\A.SCR"), Text("maps\\delta\\a.$$$")),
            RenameResult::kRenamed);
  EXPECT_FALSE(host_.FileExists(Text("Maps\\Delta\\A.SCR")));
  EXPECT_TRUE(host_.FileExists(Text("Maps\\Delta\\A.$$$")));
  EXPECT_EQ(host_.Remove(Text("MAPS\\DELTA\\A.$$$")), RemoveResult::kRemoved);
  EXPECT_FALSE(host_.FileExists(Text("Maps\\Delta\\a.$$$")));
}

// Another program makes a name while the run writes: the run never
// overwrites that file, and reads the directory again to learn of it.
TEST_F(HostFileSystemTest, NamesAnotherProgramMakesMidRunAreNeverOverwritten) {
  EXPECT_FALSE(host_.FileExists(Text("Maps\\Delta\\x.scr")));
  std::unique_ptr<OutputFile> file = host_.CreateForWriting(Text("Maps\\Delta\\x.scr"));
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(file->Write("ours\n"));
  Put("Maps/Delta/x.scr", "theirs");
  EXPECT_EQ(Commit(*file), NameResult::kNameTaken);
  EXPECT_EQ(Get("Maps/Delta/x.scr"), "theirs");
  EXPECT_TRUE(host_.FileExists(Text("Maps\\Delta\\X.SCR")));

  // The backup's name too is made meanwhile.
  Put("Maps/Delta/x.$$$", "theirs too");
  EXPECT_EQ(host_.RenameNoReplace(Text("Maps\\Delta\\x.scr"), Text("Maps\\Delta\\x.$$$")),
            RenameResult::kNameTaken);
  EXPECT_EQ(Get("Maps/Delta/x.$$$"), "theirs too");
  ASSERT_EQ(host_.Remove(Text("Maps\\Delta\\x.$$$")), RemoveResult::kRemoved);
  ASSERT_EQ(host_.RenameNoReplace(Text("Maps\\Delta\\x.scr"), Text("Maps\\Delta\\x.$$$")),
            RenameResult::kRenamed);
  // With the name free again, the waiting file takes it.
  EXPECT_EQ(file->TakeName(), NameResult::kNamed);
  EXPECT_EQ(Get("Maps/Delta/x.scr"), "ours\r\n");
  EXPECT_EQ(Get("Maps/Delta/x.$$$"), "theirs");

  // A file another program removed is found gone when the run moves it.
  fs::remove(root_ / "Maps/Delta/x.scr");
  EXPECT_EQ(host_.RenameNoReplace(Text("Maps\\Delta\\x.scr"), Text("Maps\\Delta\\y.scr")),
            RenameResult::kNotFound);
  EXPECT_FALSE(host_.FileExists(Text("Maps\\Delta\\x.scr")));
}

TEST_F(HostFileSystemTest, RenameIntoAnotherDirectoryKeepsBothListings) {
  Put("Maps/Delta/OLD.SCR", "old");
  EXPECT_FALSE(host_.FileExists(Text("Maps\\Delta\\NEW.SCR")));
  EXPECT_FALSE(host_.FileExists(Text("Maps\\NEW.SCR")));
  // The new name's directory is written in another case.
  ASSERT_EQ(host_.RenameReplacing(Text("Maps\\Delta\\OLD.SCR"), Text("maps\\new.scr")),
            RenameResult::kRenamed);
  EXPECT_EQ(Get("Maps/new.scr"), "old");
  EXPECT_FALSE(host_.FileExists(Text("Maps\\Delta\\old.scr")));
  EXPECT_TRUE(host_.FileExists(Text("Maps\\NEW.SCR")));
}

// What the importer and the previewer do: directories made, listed, moved
// and removed, and whole files written byte for byte, replacing others only
// when allowed, all found whatever the case of their names.
TEST_F(HostFileSystemTest, DirectoriesAndWholeFiles) {
  ASSERT_TRUE(host_.MakeDirectory(Text("maps\\Zeta")));
  Put("Maps/Zeta/A.DAT", "");
  EXPECT_TRUE(host_.DirectoryExists(Text("MAPS\\ZETA")));
  EXPECT_FALSE(host_.DirectoryExists(Text("Maps\\none")));
  EXPECT_FALSE(host_.MakeDirectory(Text("Maps\\Zeta")));
  EXPECT_FALSE(host_.MakeDirectory(Text("none\\Zeta")));
  EXPECT_EQ(WriteWhole(Text("Maps\\zeta\\b.dat"), "a\nb\r\n").step, NewFilesWritten::Step::kDone);
  EXPECT_EQ(Get("Maps/Zeta/b.dat"), "a\nb\r\n");
  EXPECT_EQ(WriteWhole(Text("Maps\\zeta\\b.dat"), "x").step, NewFilesWritten::Step::kCreate);
  EXPECT_EQ(WriteWhole(Text("Maps\\zeta\\b.dat"), "c\n", Replacing::kAllowed).step,
            NewFilesWritten::Step::kDone);
  EXPECT_EQ(Get("Maps/Zeta/b.dat"), "c\n");
  EXPECT_EQ(host_.ListDirectory(Text("maps\\zeta")), (std::vector<std::string>{"A.DAT", "b.dat"}));
  EXPECT_EQ(host_.ListDirectory(Text("Maps\\none")), std::nullopt);
  EXPECT_EQ(host_.FoundName(Text("MAPS\\ZETA\\a.dat")), "A.DAT");
  EXPECT_EQ(host_.FoundName(Text("maps\\zeta")), "Zeta");
  EXPECT_EQ(host_.FoundName(Text("Maps\\none")), std::nullopt);
  EXPECT_TRUE(host_.SameFile(Text("Maps\\Zeta\\b.dat"), Text("maps\\ZETA\\B.DAT")));
  EXPECT_FALSE(host_.SameFile(Text("Maps\\Zeta\\b.dat"), Text("Maps\\Zeta\\A.DAT")));
  EXPECT_FALSE(host_.RemoveEmptyDirectory(Text("Maps\\Zeta")));
  EXPECT_FALSE(host_.RenameDirectory(Text("Maps\\Zeta"), Text("Maps\\Delta")));
  ASSERT_TRUE(host_.RenameDirectory(Text("maps\\zeta"), Text("Maps\\Eta")));
  EXPECT_EQ(Get("Maps/Eta/b.dat"), "c\n");
  EXPECT_EQ(WriteWhole(Text("Maps\\Eta"), "x", Replacing::kAllowed).step,
            NewFilesWritten::Step::kCreate);
  EXPECT_EQ(WriteWhole(Text("none\\x.svg"), "x").step, NewFilesWritten::Step::kCreate);
  EXPECT_EQ(host_.FailureReason(), std::strerror(ENOENT));
  EXPECT_EQ(host_.Remove(Text("Maps\\Eta\\A.DAT")), RemoveResult::kRemoved);
  EXPECT_EQ(host_.Remove(Text("Maps\\Eta\\B.DAT")), RemoveResult::kRemoved);
  EXPECT_TRUE(host_.RemoveEmptyDirectory(Text("MAPS\\ETA")));
  EXPECT_FALSE(fs::exists(root_ / "Maps/Eta"));
}

// Each file system keeps the reason of its own last failure: another one's
// failure on the same thread does not replace it.
TEST_F(HostFileSystemTest, EachFileSystemReportsItsOwnFailure) {
  const std::unique_ptr<torvane::FileSystem> other = torvane::MakeHostFileSystem();
  EXPECT_EQ(host_.CreateForWriting(Text("none\\x.svg")), nullptr);
  const std::string missing_directory = host_.FailureReason();
  EXPECT_EQ(other->CreateForWriting(Text("Maps\\Delta"), Replacing::kAllowed), nullptr);
  EXPECT_NE(other->FailureReason(), missing_directory);
  EXPECT_EQ(host_.FailureReason(), missing_directory);
}

// The converter's threads share one file system: what one thread's call
// returns never depends on another's failures or successes meanwhile.
TEST_F(HostFileSystemTest, ThreadsSharingItGetTheirOwnOutcomes) {
  constexpr int kRounds = 2000;
  int wrong_outcomes = 0;
  std::thread remover([&] {
    for (int i = 0; i < kRounds; ++i) {
      if (host_.Remove(Text("none.$$$")) != RemoveResult::kNotFound) ++wrong_outcomes;
    }
  });
  for (int i = 0; i < kRounds; ++i) {
    EXPECT_EQ(WriteWhole(Text("busy.scr"), "x").step, NewFilesWritten::Step::kDone);
    EXPECT_EQ(host_.Remove(Text("busy.scr")), RemoveResult::kRemoved);
  }
  remover.join();
  EXPECT_EQ(wrong_outcomes, 0);
}

// Files sealed together are made durable together and named in turn; one
// that failed is never named.
TEST_F(HostFileSystemTest, SealedFilesAreCommittedTogether) {
  std::vector<std::unique_ptr<OutputFile>> files;
  std::vector<OutputFile*> sealed;
  for (const char* name : {"a.scr", "b.scr", "c.scr"}) {
    files.push_back(host_.CreateForWriting(Text(name)));
    ASSERT_TRUE(files.back()->Write(name));
    ASSERT_EQ(files.back()->Seal(), SealResult::kSealed);
    sealed.push_back(files.back().get());
  }
  Put("b.scr", "theirs");
  EXPECT_EQ(
      CommitFiles(host_, sealed),
      (std::vector<NameResult>{NameResult::kNamed, NameResult::kNameTaken, NameResult::kNamed}));
  EXPECT_EQ(Get("a.scr") + Get("b.scr") + Get("c.scr"), "a.scrtheirsc.scr");
}

TEST_F(HostFileSystemTest, WholeFilesAreReadUpToTheirLimit) {
  Put("four", "abcd");
  Put("five", "abcde");
  const WholeFile at_limit = ReadWholeFile(host_, Text("four"), 4);
  EXPECT_EQ(at_limit.result, WholeFile::Result::kRead);
  EXPECT_EQ(at_limit.bytes, "abcd");
  const WholeFile over = ReadWholeFile(host_, Text("five"), 4);
  EXPECT_EQ(over.result, WholeFile::Result::kTooLarge);
  EXPECT_EQ(over.size, 5u);
  EXPECT_EQ(over.bytes, "");
  EXPECT_EQ(ReadWholeFile(host_, Text("none"), 4).result, WholeFile::Result::kUnreadable);
}

TEST_F(HostFileSystemTest, LargeWritesArriveWhole) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "LINE REF 1.000000,2.000000;<3.000000,5.000000;\n";
  std::unique_ptr<OutputFile> file = host_.CreateForWriting(Text("big.scr"));
  for (size_t at = 0; at < text.size(); at += 4093) {
    ASSERT_TRUE(file->Write(std::string_view(text).substr(at, 4093)));
  }
  ASSERT_TRUE(file->Write(std::string(200000, 'x')));
  ASSERT_EQ(Commit(*file), NameResult::kNamed);
  std::string expected;
  for (int i = 0; i < 20000; ++i) expected += "LINE REF 1.000000,2.000000;<3.000000,5.000000;\r\n";
  EXPECT_EQ(Get("big.scr"), expected + std::string(200000, 'x'));
}

}  // namespace
}  // namespace torvane
