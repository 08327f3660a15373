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

TEST(PathText, DeviceNamesAreKnownAsWindowsReadsThem) {
  const char* const devices[] = {
      // clang-format off
      "CON", "con", "nul.dat", "c:\\maps\\Aux.scr", "out/PRN.$$$",  // any case, any directory
      "COM1", "com9.dat", "LPT1.scr", "lpt5", "COM\xC2\xB9.dat",    // ports 1-9, superscripts
      "prn.", "CON .txt", "nul   ", "NUL..scr", "con. .dat",         // dots and spaces dropped
      "nul:", "c:nul", "nul:.dat", "conin$", "CONOUT$",              // colons; the console
      "\\\\.\\C:\\x", "\\\\?\\C:\\maps\\a.scr", "//./pipe/x",        // the device namespace
      "//?/c:/a.scr", "\\??\\c:\\a",
      // clang-format on
  };
  for (const char* text : devices) EXPECT_TRUE(NamesWindowsDevice(text)) << text;
  const char* const files[] = {
      // clang-format off
      "CONSOLE.dat", "com10.dat", "COM0", "lpt", "nul1.scr", "COM 1",  // longer or shorter
      "xcon.dat", " con", "AUX_.scr", "com\xC2\xB9x", "delta.nul",      // more around the name
      "con\\x.dat", "c:\\con\\delta",                                   // a directory's name
      "\\\\server\\share\\a", "\\\\..\\a", "",                          // a share; nothing
      // clang-format on
  };
  for (const char* text : files) EXPECT_FALSE(NamesWindowsDevice(text)) << text;
}

}  // namespace
}  // namespace torvane
