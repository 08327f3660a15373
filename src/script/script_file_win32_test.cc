// Script files on a Windows host: the backup of an earlier script gets past
// the read-only attribute of the script or of its old backup.
#define NOMINMAX
#include <gtest/gtest.h>
#include <windows.h>

#include "script/script_file.h"
#include "testing/host_file_system_fixture.h"
#include "testing/test_script.h"

namespace torvane {
namespace {

using torvane_test::HostFileSystemTest;
using torvane_test::TestRun;

class ScriptFileWin32Test : public HostFileSystemTest {
 protected:
  // Read-only files would keep the test's directory from being removed.
  void TearDown() override {
    for (const char* name : {"Maps/Delta/delta.scr", "Maps/Delta/delta.$$$"}) {
      SetFileAttributesW(HostPath(name).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    HostFileSystemTest::TearDown();
  }

  void SetReadOnly(std::string_view relative) const {
    ASSERT_TRUE(SetFileAttributesW(HostPath(relative).c_str(), FILE_ATTRIBUTE_READONLY));
  }
};

// The backup step moves the earlier script over the old backup. Neither
// file's read-only attribute may stop it or cost the earlier script.
TEST_F(ScriptFileWin32Test, BackupGetsPastReadOnlyFilesAndKeepsTheEarlierScript) {
  struct Case {
    bool script_read_only;
    bool backup_read_only;
  };
  for (const Case c : {Case{false, true}, Case{true, false}, Case{true, true}}) {
    SCOPED_TRACE(testing::Message()
                 << "script " << c.script_read_only << ", backup " << c.backup_read_only);
    TestRun run;
    Put("Maps/Delta/delta.scr", "hand-tuned");
    Put("Maps/Delta/delta.$$$", "older");
    if (c.script_read_only) SetReadOnly("Maps/Delta/delta.scr");
    if (c.backup_read_only) SetReadOnly("Maps/Delta/delta.$$$");
    ScriptTarget target;
    ASSERT_EQ(OpenScript(host_, run.log(), Text("Maps\\Delta\\delta.scr"), "", target), 1)
        << run.errors();
    CloseScript(target);
    EXPECT_EQ(run.errors(), "");
    EXPECT_EQ(Get("Maps/Delta/delta.$$$"), "hand-tuned");
    EXPECT_EQ(Get("Maps/Delta/delta.scr"), "ECOFF\r\nECON\r\n");
    SetFileAttributesW(HostPath("Maps/Delta/delta.$$$").c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

}  // namespace
}  // namespace torvane
