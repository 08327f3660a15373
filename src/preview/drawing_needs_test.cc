// What a drawing must provide for scripts: the names of their LAYER,
// TSPECF, LSTYLE, FSTYLE and INSSYM commands, gathered over every script.
#include "preview/drawing_needs.h"

#include <gtest/gtest.h>

#include <sstream>

#include "preview/preview_command_line.h"
#include "testing/memory_file_system.h"

namespace torvane {
namespace {

using torvane_test::MemoryFileSystem;

TEST(DrawingNeeds, NamesOfEveryScriptAreListedSortedAndOnce) {
  MemoryFileSystem disk;
  disk.AddFile("a.scr",
               "ECOFF\r\nLAYER MAP BORDER\r\nTSPECF Arial\r\nLSTYLE Solid\r\nFSTYLE Hollow\r\n"
               "INSSYM Naval Base\r\n1;1;0;10,20;\r\nECON\r\n");
  disk.AddFile("b.scr", "ECOFF\nLAYER GRID\nLAYER MAP BORDER\nFSTYLE Solid\nECON\n");
  std::ostringstream out, err;
  EXPECT_EQ(RunPreview(disk, {"--needs", "a.scr", "b.scr"}, out, err), kPreviewDone);
  EXPECT_EQ(out.str(),
            "Layers: GRID, MAP BORDER\n"
            "Fonts: Arial\n"
            "Line and fill styles: Hollow, Solid\n"
            "Symbols: Naval Base\n");
  EXPECT_EQ(err.str(), "");
  EXPECT_FALSE(disk.Exists("a.svg"));

  std::ostringstream none, missing;
  EXPECT_EQ(RunPreview(disk, {"--needs", "b.scr", "c.scr"}, none, missing), kPreviewFileError);
  EXPECT_TRUE(missing.str().starts_with("torvane-preview: cannot read 'c.scr'")) << missing.str();
  DrawingNeeds empty;
  EXPECT_EQ(empty.Text(), "Layers:\nFonts:\nLine and fill styles:\nSymbols:\n");
}

}  // namespace
}  // namespace torvane
