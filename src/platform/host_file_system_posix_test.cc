// The host file system on POSIX hosts, where names that differ only in case
// are different files and a FIFO may stand where a file is expected.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/file_system.h"
#include "testing/host_file_system_fixture.h"

namespace torvane {
namespace {

using torvane_test::HostFileSystemTest;

namespace fs = std::filesystem;

TEST_F(HostFileSystemTest, ExactNameWinsOverOtherCases) {
  Put("Maps/Delta/a.dat", "lower");
  Put("Maps/Delta/A.DAT", "upper");
  Put("Maps/Delta/A.dat", "mixed");
  EXPECT_EQ(host_.OpenForReading(Text("Maps/Delta/a.dat"))->ReadText(99), "lower");
  // No exact match: the first in byte order.
  EXPECT_EQ(host_.OpenForReading(Text("Maps/Delta/a.DAT"))->ReadText(99), "upper");
  EXPECT_EQ(host_.FoundName(Text("Maps/Delta/A.dat")), "A.dat");
  EXPECT_EQ(host_.FoundName(Text("Maps/Delta/a.DAT")), "A.DAT");
}

// Names are used as written whenever they exist; only a missing name is
// looked up, and then the first in byte order of its other spellings wins.
TEST_F(HostFileSystemTest, ExactNameWinsForRemoveAndRename) {
  Put("Maps/Delta/a.scr", "lower");
  Put("Maps/Delta/A.SCR", "upper");
  Put("Maps/Delta/b.$$$", "lower");
  Put("Maps/Delta/B.$$$", "upper");
  Put("Maps/Delta/c.$$$", "lower");
  Put("Maps/Delta/C.$$$", "upper");
  EXPECT_FALSE(host_.FileExists(Text("Maps\\Delta\\none.scr")));  // a listing is read
  EXPECT_EQ(host_.Remove(Text("Maps\\Delta\\b.$$$")), RemoveResult::kRemoved);
  EXPECT_FALSE(fs::exists(root_ / "Maps/Delta/b.$$$"));
  EXPECT_EQ(Get("Maps/Delta/B.$$$"), "upper");
  EXPECT_EQ(host_.RenameReplacing(Text("Maps\\Delta\\a.scr"), Text("Maps\\Delta\\a.$$$")),
            RenameResult::kRenamed);
  EXPECT_EQ(Get("Maps/Delta/a.$$$"), "lower");
  EXPECT_EQ(Get("Maps/Delta/A.SCR"), "upper");
  EXPECT_EQ(host_.Remove(Text("Maps\\Delta\\c.$$$")), RemoveResult::kRemoved);
  EXPECT_EQ(host_.Remove(Text("Maps\\Delta\\c.$$$")), RemoveResult::kRemoved);
  EXPECT_FALSE(fs::exists(root_ / "Maps/Delta/C.$$$"));
}

// A script is never written through a link that points nowhere: that would
// create a file wherever the link says.
TEST_F(HostFileSystemTest, LinkToNothingAtAScriptsNameIsNotFollowed) {
  fs::create_symlink(root_ / "elsewhere.scr", root_ / "Maps/Delta/x.scr");
  EXPECT_FALSE(host_.FileExists(Text("Maps\\Delta\\x.scr")));
  EXPECT_EQ(host_.CreateForWriting(Text("Maps\\Delta\\x.scr")), nullptr);
  EXPECT_FALSE(fs::exists(root_ / "elsewhere.scr"));
}

TEST_F(HostFileSystemTest, FifoInPlaceOfAFileDoesNotOpenOrHang) {
  ASSERT_EQ(mkfifo((root_ / "Maps/Delta/SUBA.DAT").c_str(), 0600), 0);
  EXPECT_EQ(host_.OpenForReading(Text("Maps\\Delta\\SUBA.DAT")), nullptr);
}

}  // namespace
}  // namespace torvane
