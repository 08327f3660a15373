// The command line of torvane-preview inside the process: names are UTF-8
// texts from end to end, also where the host's own narrow encoding is
// something else, and file failures are reported.
#include "preview/preview_command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/utf8_path.h"
#include "testing/memory_file_system.h"
#include "testing/scratch_dir.h"

namespace torvane {
namespace {

using torvane_test::FileOp;
using torvane_test::MemoryFileSystem;

namespace fs = std::filesystem;

TEST(PreviewCommandLine, DefaultOutputPathKeepsNonAsciiNames) {
  const struct {
    const char* script;
    const char* picture;
  } cases[] = {
      {"\xC3\x86r\xC3\xB8.scr", "\xC3\x86r\xC3\xB8.svg"},  // Ærø
      {"\xCE\xB4/\xCE\xBB\xCF\x8D\xCF\x81\xCE\xB1",
       "\xCE\xB4/\xCE\xBB\xCF\x8D\xCF\x81\xCE\xB1.svg"},                     // δ/λύρα
      {"\xE5\x9C\xB0\xE5\x9B\xB3.SVG", "\xE5\x9C\xB0\xE5\x9B\xB3.SVG.svg"},  // 地図
  };
  for (const auto& c : cases) EXPECT_EQ(DefaultOutputPath(c.script), c.picture) << c.script;
  // The extension is replaced; a script named .svg keeps its name.
  EXPECT_EQ(DefaultOutputPath("maps/lyra.scr"), "maps/lyra.svg");
  EXPECT_EQ(DefaultOutputPath("maps.v2/lyra"), "maps.v2/lyra.svg");
  EXPECT_EQ(DefaultOutputPath("LYRA.SVG"), "LYRA.SVG.svg");
}

TEST(PreviewCommandLine, ScriptWithANonAsciiNameIsDrawnBesideIt) {
  const torvane_test::ScratchDir dir;
  const std::string name = "\xC3\x86r\xC3\xB8 \xCE\xBB";  // Ærø λ
  std::ofstream(dir.path() / PathFromUtf8(name + ".scr"), std::ios::binary) << "ECOFF\r\nECON\r\n";
  std::ostringstream out, err;
  EXPECT_EQ(RunPreview(*MakeHostFileSystem(),
                       {Utf8FromPath(dir.path() / PathFromUtf8(name + ".scr"))}, out, err),
            kPreviewDone)
      << err.str();
  EXPECT_TRUE(fs::exists(dir.path() / PathFromUtf8(name + ".svg")));
}

// Lines the previewer cannot draw are named and skipped; the rest is drawn.
TEST(PreviewCommandLine, WarningsNameTheirLinesAndThePictureIsStillWritten) {
  MemoryFileSystem disk;
  disk.AddFile("odd.scr", "ECOFF\nPAN 3\nCOLOR 2\nCIRR 1.0;2.0;3.0\nCIRR 1.0;2.0,3.0;\n");
  std::ostringstream out, err;
  EXPECT_EQ(RunPreview(disk, {"--no-grid", "odd.scr"}, out, err), kPreviewDone);
  EXPECT_EQ(err.str(),
            "torvane-preview: odd.scr: line 2: unknown command \"PAN\" skipped\n"
            "torvane-preview: odd.scr: line 4: malformed CIRR command skipped\n"
            "torvane-preview: odd.scr: line 5: the script does not end with ECON; it may be cut "
            "short\n");
  const std::string svg = disk.FileBytes("odd.svg").value_or("");
  EXPECT_NE(svg.find("<circle cx=\"2\" cy=\"-3\" r=\"1\" fill=\"#ff0000\"/>"), std::string::npos);
  EXPECT_EQ(svg.find("hex-grid"), std::string::npos);
}

// A picture that could not be written whole is not left behind, and each
// failure says what was refused.
TEST(PreviewCommandLine, FileFailuresAreReportedAndLeaveNoPicture) {
  const struct {
    FileOp failing;
    std::string_view message;
  } cases[] = {
      {FileOp::kOpen, "torvane-preview: cannot read 'a.scr': made to fail\n"},
      {FileOp::kCreate, "torvane-preview: cannot write 'a.svg': made to fail\n"},
      {FileOp::kWrite, "torvane-preview: cannot write 'a.svg': write error (disk full?)\n"},
  };
  for (const auto& c : cases) {
    MemoryFileSystem disk;
    disk.AddFile("a.scr", "ECOFF\r\nECON\r\n");
    disk.FailOperation(c.failing, 1);
    std::ostringstream out, err;
    EXPECT_EQ(RunPreview(disk, {"a.scr"}, out, err), kPreviewFileError);
    EXPECT_EQ(err.str(), c.message);
    EXPECT_FALSE(disk.Exists("a.svg"));
  }
}

TEST(PreviewCommandLine, InputsOverTheLimitAreRefused) {
  MemoryFileSystem disk;
  disk.AddFile("big.scr", std::string(kLargestWholeInput + 1, '\n'));
  std::ostringstream out, err;
  EXPECT_EQ(RunPreview(disk, {"big.scr"}, out, err), kPreviewFileError);
  EXPECT_EQ(err.str(),
            "torvane-preview: cannot read 'big.scr': it is 16777217 bytes, more than the 16 MiB "
            "(16777216 bytes) that a script or map file can be\n");
  EXPECT_FALSE(disk.Exists("big.svg"));
}

}  // namespace
}  // namespace torvane
