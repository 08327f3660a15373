// Windows path texts split and joined as sector arguments and output
// directories need them.
#include "platform/path_text.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

TEST(PathText, SplitsDriveDirectoryNameAndExtension) {
  struct Case {
    const char* text;
    const char* drive;
    const char* dir;
    const char* name;
    const char* ext;
  };
  const Case cases[] = {
      {"c:\\maps\\delta", "c:", "\\maps\\", "delta", ""},
      {"c:\\maps\\delta.old", "c:", "\\maps\\", "delta", ".old"},
      {"..\\delta", "", "..\\", "delta", ""},
      {"out/\\alpha.scr", "", "out/\\", "alpha", ".scr"},
      {"a.b/c.d.e", "", "a.b/", "c.d", ".e"},
      {"delta", "", "", "delta", ""},
      {"x:", "x:", "", "", ""},
      {"", "", "", "", ""},
  };
  for (const Case& c : cases) {
    const WindowsPath parts = SplitWindowsPath(c.text);
    EXPECT_EQ(parts.drive, c.drive) << c.text;
    EXPECT_EQ(parts.dir, c.dir) << c.text;
    EXPECT_EQ(parts.name, c.name) << c.text;
    EXPECT_EQ(parts.ext, c.ext) << c.text;
  }
}

TEST(PathText, JoinsWithColonSeparatorAndDot) {
  EXPECT_EQ(JoinWindowsPath("c:", "\\maps\\delta/", "delta", "dat"), "c:\\maps\\delta/delta.dat");
  EXPECT_EQ(JoinWindowsPath("", "out", "alpha", ".scr"), "out\\alpha.scr");
  EXPECT_EQ(JoinWindowsPath("", "", "alpha", ""), "alpha");
  EXPECT_EQ(JoinWindowsPath("d", "", "alpha", "$$$"), "d:alpha.$$$");
}

TEST(PathText, HostFormDropsTheDriveAndTurnsBackslashes) {
  EXPECT_EQ(HostPathFromText("c:\\maps\\delta/delta.dat"), "/maps/delta/delta.dat");
  EXPECT_EQ(HostPathFromText("..\\delta/map\\SUBA.DAT"), "../delta/map/SUBA.DAT");
  EXPECT_EQ(HostPathFromText("/home/me/x"), "/home/me/x");
}

}  // namespace
}  // namespace torvane
