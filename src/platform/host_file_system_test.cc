// The host file system on every host: Windows path texts, names found
// whatever their case, text mode and the refusal of directories.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "platform/host_file_system_fixture.h"

namespace torvane {
namespace {

namespace fs = std::filesystem;

TEST_F(HostFileSystemTest, ReadsInTextModeWhateverTheCaseOfTheName) {
  Put("Maps/Delta/Delta.DAT", "Delta\r\nA: x\r\n\x1a tail");
  std::unique_ptr<InputFile> file = host_.OpenForReading(Text("maps\\DELTA/delta.dat"));
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->Size(), 19u);
  EXPECT_EQ(file->ReadText(19), "Delta\nA: x\n");
}

TEST_F(HostFileSystemTest, DirectoriesAndMissingFilesDoNotOpen) {
  EXPECT_EQ(host_.OpenForReading(Text("Maps\\Delta")), nullptr);
  EXPECT_EQ(host_.OpenForReading(Text("Maps\\Delta\\none.dat")), nullptr);
  EXPECT_EQ(host_.OpenForReading(Text("none\\none.dat")), nullptr);
  EXPECT_FALSE(host_.FileExists(Text("maps\\delta")));
  Put("Maps/Delta/Delta.scr", "x");
  EXPECT_TRUE(host_.FileExists(Text("MAPS\\DELTA\\DELTA.SCR")));
}

TEST_F(HostFileSystemTest, CreatedFilesKeepTheirNameInsideTheExistingDirectory) {
  std::unique_ptr<OutputFile> file = host_.CreateForWriting(Text("MAPS\\delta\\x.scr"));
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->Write("ECOFF\nECON\n"));
  EXPECT_TRUE(file->Close());
  EXPECT_EQ(Get("Maps/Delta/x.scr"), "ECOFF\r\nECON\r\n");
  EXPECT_EQ(host_.CreateForWriting(Text("Maps\\Delta")), nullptr);
  EXPECT_EQ(host_.CreateForWriting(Text("nowhere\\x.scr")), nullptr);
}

TEST_F(HostFileSystemTest, RemoveAndRenameFindFilesWhateverTheirCase) {
  Put("Maps/Delta/OLD.SCR", "old");
  EXPECT_EQ(host_.Remove(Text("maps/delta/none.$$$")), RemoveResult::kNotFound);
  EXPECT_TRUE(host_.Rename(Text("maps/delta/old.scr"), Text("maps/delta/old.$$$")));
  EXPECT_EQ(Get("Maps/Delta/old.$$$"), "old");
  EXPECT_EQ(host_.Remove(Text("MAPS/DELTA/OLD.$$$")), RemoveResult::kRemoved);
  EXPECT_FALSE(fs::exists(root_ / "Maps/Delta/old.$$$"));
  EXPECT_EQ(host_.Remove(Text("Maps")), RemoveResult::kFailed);
}

// Directory listings are kept between lookups; they must follow what this
// process and others do to the directory.
TEST_F(HostFileSystemTest, LookupsFollowChangesToTheDirectory) {
  EXPECT_FALSE(host_.FileExists(Text("Maps\\Delta\\A.SCR")));
  ASSERT_NE(host_.CreateForWriting(Text("Maps\\Delta\\a.scr")), nullptr);
  EXPECT_TRUE(host_.FileExists(Text("Maps\\Delta\\A.SCR")));
  ASSERT_TRUE(host_.Rename(Text("maps\\delta\\A.SCR"), Text("maps\\delta\\a.$$$")));
  EXPECT_FALSE(host_.FileExists(Text("Maps\\Delta\\A.SCR")));
  EXPECT_TRUE(host_.FileExists(Text("Maps\\Delta\\A.$$$")));
  EXPECT_EQ(host_.Remove(Text("MAPS\\DELTA\\A.$$$")), RemoveResult::kRemoved);
  EXPECT_FALSE(host_.FileExists(Text("Maps\\Delta\\a.$$$")));
  // Another program adds and removes files behind our back. Directory times
  // tick coarsely, so it waits a tick as any other program would have.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  Put("Maps/Delta/B.SCR", "b");
  EXPECT_TRUE(host_.FileExists(Text("maps\\delta\\b.scr")));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  fs::remove(root_ / "Maps/Delta/B.SCR");
  EXPECT_FALSE(host_.FileExists(Text("maps\\delta\\b.scr")));
}

// Another program may change the directory between our lookup and our own
// change to it: the listing must not take our change for the only one.
TEST_F(HostFileSystemTest, ChangesByOthersJustBeforeOursAreSeen) {
  const auto tick = [] { std::this_thread::sleep_for(std::chrono::milliseconds(20)); };
  EXPECT_FALSE(host_.FileExists(Text("Maps\\Delta\\X.SCR")));
  tick();
  Put("Maps/Delta/b.scr", "b");
  ASSERT_NE(host_.CreateForWriting(Text("Maps\\Delta\\x.scr")), nullptr);
  EXPECT_TRUE(host_.FileExists(Text("Maps\\Delta\\B.SCR")));
  tick();
  Put("Maps/Delta/c.scr", "c");
  ASSERT_TRUE(host_.Rename(Text("Maps\\Delta\\x.scr"), Text("Maps\\Delta\\x.$$$")));
  EXPECT_TRUE(host_.FileExists(Text("Maps\\Delta\\C.SCR")));
  tick();
  Put("Maps/Delta/d.scr", "d");
  EXPECT_EQ(host_.Remove(Text("Maps\\Delta\\x.$$$")), RemoveResult::kRemoved);
  EXPECT_TRUE(host_.FileExists(Text("Maps\\Delta\\D.SCR")));
  tick();
  Put("Maps/Delta/e.scr", "e");
  EXPECT_EQ(host_.Remove(Text("Maps\\Delta\\none.$$$")), RemoveResult::kNotFound);
  EXPECT_TRUE(host_.FileExists(Text("Maps\\Delta\\E.SCR")));
}

TEST_F(HostFileSystemTest, RenameIntoAnotherDirectoryKeepsBothListings) {
  Put("Maps/Delta/OLD.SCR", "old");
  EXPECT_FALSE(host_.FileExists(Text("Maps\\Delta\\NEW.SCR")));
  EXPECT_FALSE(host_.FileExists(Text("Maps\\NEW.SCR")));
  // The new name's directory is written in another case.
  ASSERT_TRUE(host_.Rename(Text("Maps\\Delta\\OLD.SCR"), Text("maps\\new.scr")));
  EXPECT_EQ(Get("Maps/new.scr"), "old");
  EXPECT_FALSE(host_.FileExists(Text("Maps\\Delta\\old.scr")));
  EXPECT_TRUE(host_.FileExists(Text("Maps\\NEW.SCR")));
  EXPECT_FALSE(host_.Rename(Text("Maps\\Delta\\OLD.SCR"), Text("Maps\\old.scr")));
}

// What the importer and the previewer do: directories made, listed, moved
// and removed, and whole files written byte for byte, all found whatever the
// case of their names.
TEST_F(HostFileSystemTest, DirectoriesAndWholeFiles) {
  ASSERT_TRUE(host_.MakeDirectory(Text("maps\\Zeta")));
  EXPECT_TRUE(host_.DirectoryExists(Text("MAPS\\ZETA")));
  EXPECT_FALSE(host_.DirectoryExists(Text("Maps\\none")));
  EXPECT_FALSE(host_.MakeDirectory(Text("Maps\\Zeta")));
  EXPECT_FALSE(host_.MakeDirectory(Text("none\\Zeta")));
  EXPECT_EQ(host_.WriteWholeFile(Text("Maps\\zeta\\b.dat"), "a\nb\r\n"), WriteResult::kWritten);
  EXPECT_EQ(Get("Maps/Zeta/b.dat"), "a\nb\r\n");
  Put("Maps/Zeta/A.DAT", "");
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
  EXPECT_EQ(Get("Maps/Eta/b.dat"), "a\nb\r\n");
  EXPECT_EQ(host_.WriteWholeFile(Text("Maps\\Eta"), "x"), WriteResult::kNotCreated);
  EXPECT_EQ(host_.WriteWholeFile(Text("none\\x.svg"), "x"), WriteResult::kNotCreated);
  EXPECT_EQ(host_.FailureReason(), std::strerror(ENOENT));
  EXPECT_EQ(host_.Remove(Text("Maps\\Eta\\A.DAT")), RemoveResult::kRemoved);
  EXPECT_EQ(host_.Remove(Text("Maps\\Eta\\B.DAT")), RemoveResult::kRemoved);
  EXPECT_TRUE(host_.RemoveEmptyDirectory(Text("MAPS\\ETA")));
  EXPECT_FALSE(fs::exists(root_ / "Maps/Eta"));
}

TEST_F(HostFileSystemTest, LargeWritesArriveWhole) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "LINE REF 1.000000,2.000000;<3.000000,5.000000;\n";
  std::unique_ptr<OutputFile> file = host_.CreateForWriting(Text("big.scr"));
  for (size_t at = 0; at < text.size(); at += 4093) {
    ASSERT_TRUE(file->Write(std::string_view(text).substr(at, 4093)));
  }
  ASSERT_TRUE(file->Write(std::string(200000, 'x')));
  ASSERT_TRUE(file->Close());
  std::string expected;
  for (int i = 0; i < 20000; ++i) expected += "LINE REF 1.000000,2.000000;<3.000000,5.000000;\r\n";
  EXPECT_EQ(Get("big.scr"), expected + std::string(200000, 'x'));
}

}  // namespace
}  // namespace torvane
