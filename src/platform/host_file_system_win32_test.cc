// The host file system on Windows: real drives, UTF-8 names through the
// wide API, devices refused by name before anything is opened, and
// read-only files removed and replaced as POSIX hosts do it.
#define NOMINMAX
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <set>

#include "platform/file_system.h"
#include "platform/utf8_path.h"
#include "testing/host_file_system_fixture.h"

namespace torvane {
namespace {

using torvane_test::HostFileSystemTest;

namespace fs = std::filesystem;

class HostFileSystemWin32Test : public HostFileSystemTest {
 protected:
  // Read-only files would keep the test's directory from being removed.
  void TearDown() override {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root_, error)) {
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    HostFileSystemTest::TearDown();
  }

  void SetReadOnly(std::string_view relative) const {
    ASSERT_TRUE(SetFileAttributesW(HostPath(relative).c_str(), FILE_ATTRIBUTE_READONLY));
  }
  bool IsReadOnly(std::string_view relative) const {
    const DWORD attributes = GetFileAttributesW(HostPath(relative).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  }
};

TEST_F(HostFileSystemWin32Test, DeviceNamesAreNeverOpenedCreatedOrFound) {
  Put("Maps/Delta/real.dat", "real");
  const std::string texts[] = {
      "NUL",
      "con",
      Text("nul.dat"),
      Text("Maps\\Delta\\CON.scr"),
      Text("Maps/Delta/aux .dat"),
      Text("Maps\\Delta\\Com1"),
      Text("Maps\\Delta\\LPT9.$$$"),
      Text("Maps\\Delta\\prn..scr"),
      Text("Maps\\Delta\\conout$"),
      "\\\\.\\NUL",
      "\\\\.\\pipe\\torvane",
      "\\\\?\\" + Text("Maps\\Delta\\real.dat"),
      "//?/" + Text("Maps/Delta/real.dat"),
      "\\\\?\\" + Text("Maps\\Delta\\new.scr"),
  };
  const std::set<std::string> before = Listing();
  for (const std::string& text : texts) {
    EXPECT_EQ(host_.OpenForReading(text), nullptr) << text;
    EXPECT_EQ(host_.CreateForWriting(text), nullptr) << text;
    EXPECT_FALSE(host_.FileExists(text)) << text;
    EXPECT_EQ(host_.Remove(text), RemoveResult::kFailed) << text;
    EXPECT_EQ(host_.RenameReplacing(Text("Maps\\Delta\\real.dat"), text), RenameResult::kFailed)
        << text;
    EXPECT_NE(host_.RenameReplacing(text, Text("Maps\\Delta\\moved.dat")), RenameResult::kRenamed)
        << text;
  }
  EXPECT_EQ(Listing(), before);
  EXPECT_EQ(Get("Maps/Delta/real.dat"), "real");
}

TEST_F(HostFileSystemWin32Test, NamesThatOnlyResembleDevicesAreFiles) {
  for (const char* name : {"console.scr", "com10.dat", "nul1.scr", "lpt.dat", "xcon.dat"}) {
    std::unique_ptr<OutputFile> file = host_.CreateForWriting(Text(name));
    ASSERT_NE(file, nullptr) << name;
    EXPECT_TRUE(file->Write("x\n")) << name;
    EXPECT_EQ(Commit(*file), NameResult::kNamed) << name;
    EXPECT_TRUE(host_.FileExists(Text(name))) << name;
    EXPECT_EQ(Get(name), "x\r\n") << name;
  }
}

TEST_F(HostFileSystemWin32Test, ReadOnlyFilesAreRemovedAndReplaced) {
  Put("Maps/Delta/old.$$$", "old");
  SetReadOnly("Maps/Delta/old.$$$");
  EXPECT_EQ(host_.Remove(Text("Maps\\Delta\\OLD.$$$")), RemoveResult::kRemoved);
  EXPECT_FALSE(fs::exists(HostPath("Maps/Delta/old.$$$")));

  Put("Maps/Delta/a.scr", "new");
  Put("Maps/Delta/a.$$$", "old");
  SetReadOnly("Maps/Delta/a.$$$");
  EXPECT_EQ(host_.RenameReplacing(Text("Maps\\Delta\\a.scr"), Text("Maps\\Delta\\a.$$$")),
            RenameResult::kRenamed);
  EXPECT_EQ(Get("Maps/Delta/a.$$$"), "new");
  EXPECT_FALSE(fs::exists(HostPath("Maps/Delta/a.scr")));
}

TEST_F(HostFileSystemWin32Test, FailedRenameKeepsTheSource) {
  Put("Maps/Delta/a.scr", "only copy");
  SetReadOnly("Maps/Delta/a.scr");
  EXPECT_EQ(host_.RenameReplacing(Text("Maps\\Delta\\a.scr"), Text("Maps")), RenameResult::kFailed);
  EXPECT_NE(host_.RenameReplacing(Text("Maps\\Delta\\a.scr"), Text("none\\a.$$$")),
            RenameResult::kRenamed);
  EXPECT_EQ(Get("Maps/Delta/a.scr"), "only copy");
  EXPECT_TRUE(IsReadOnly("Maps/Delta/a.scr"));
  EXPECT_TRUE(fs::is_directory(HostPath("Maps")));
}

TEST_F(HostFileSystemWin32Test, NonAsciiNamesAreCreatedFoundRenamedAndRemoved) {
  struct Case {
    const char* name;
    const char* other_case;
    const char* renamed;
  };
  const Case cases[] = {
      {"\xC3\x86r\xC3\xB8.dat", "\xC3\xA6R\xC3\x98.DAT", "\xC3\x86r\xC3\xB8.$$$"},  // Ærø
      {"\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1.scr",                      // Ελλάδα
       "\xCE\x95\xCE\x9B\xCE\x9B\xCE\x86\xCE\x94\xCE\x91.SCR",                      // ΕΛΛΆΔΑ
       "\xCE\xB4.scr"},                                                             // δ
      {"\xE6\x97\xA5\xE6\x9C\xAC.dat", "\xE6\x97\xA5\xE6\x9C\xAC.DAT",              // 日本
       "\xE5\x9C\xB0\xE5\x9B\xB3.dat"},                                             // 地図
  };
  for (const Case& c : cases) {
    std::unique_ptr<OutputFile> file = host_.CreateForWriting(Text(c.name));
    ASSERT_NE(file, nullptr) << c.name;
    ASSERT_TRUE(file->Write("name\n"));
    ASSERT_EQ(Commit(*file), NameResult::kNamed);
    // On disk under the very name, not its bytes read in another code page.
    EXPECT_TRUE(Listing().contains(c.name)) << c.name;
    EXPECT_TRUE(host_.FileExists(Text(c.other_case))) << c.other_case;
    std::unique_ptr<InputFile> input = host_.OpenForReading(Text(c.other_case));
    ASSERT_NE(input, nullptr) << c.other_case;
    EXPECT_EQ(input->ReadRaw(99), "name\r\n");
    input.reset();
    EXPECT_EQ(host_.RenameReplacing(Text(c.other_case), Text(c.renamed)), RenameResult::kRenamed)
        << c.renamed;
    EXPECT_EQ(Get(c.renamed), "name\r\n") << c.renamed;
    EXPECT_FALSE(host_.FileExists(Text(c.name))) << c.name;
    EXPECT_EQ(host_.Remove(Text(c.renamed)), RemoveResult::kRemoved) << c.renamed;
    EXPECT_EQ(host_.Remove(Text(c.renamed)), RemoveResult::kNotFound) << c.renamed;
  }
}

// The drive is part of the path: the same directories on a drive that does
// not exist hold no files.
TEST_F(HostFileSystemWin32Test, DriveLetterIsReal) {
  Put("Maps/Delta/delta.dat", "delta");
  const std::string text = Text("Maps/Delta\\delta.dat");
  ASSERT_TRUE(text.size() > 2 && text[1] == ':') << text;
  std::string lower_drive = text;
  lower_drive[0] = static_cast<char>(lower_drive[0] | 0x20);
  EXPECT_TRUE(host_.FileExists(lower_drive)) << lower_drive;
  ASSERT_NE(host_.OpenForReading(lower_drive), nullptr) << lower_drive;

  const DWORD drives = GetLogicalDrives();
  char missing = 0;
  for (char letter = 'Z'; letter >= 'D' && missing == 0; --letter) {
    if ((drives & (1u << (letter - 'A'))) == 0) missing = letter;
  }
  ASSERT_NE(missing, 0) << "every drive letter is taken";
  std::string elsewhere = text;
  elsewhere[0] = missing;
  EXPECT_FALSE(host_.FileExists(elsewhere)) << elsewhere;
  EXPECT_EQ(host_.OpenForReading(elsewhere), nullptr) << elsewhere;
  EXPECT_EQ(host_.CreateForWriting(elsewhere), nullptr) << elsewhere;
}

}  // namespace
}  // namespace torvane
