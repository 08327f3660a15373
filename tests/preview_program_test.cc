// The program as a user runs it: its command line and files, the bundled
// example sector converted by the real torvane and previewed, and the
// picture as a browser draws it.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "sector/map_line.h"
#include "testing/program_runner.h"
#include "testing/scratch_dir.h"
#include "testing/script_lines.h"
#include "testing/test_png.h"

namespace torvane_test {
namespace {

using torvane::MapLineKind;
using torvane::MapLineKindOf;
namespace fs = std::filesystem;

const std::string kScript =
    "ECOFF\r\nLAYER STANDARD\r\nCOLOR 9\r\nLWIDTH 0.000000\r\nLSTYLE Solid\r\nFSTYLE Solid\r\n"
    "CIRR 2.500000;20.000000,30.000000;\r\nECON\r\n";

TEST(PreviewProgramTest, CommandLineAndFileErrorsGiveClearMessagesAndStatus) {
  ScratchDir dir;
  WriteBytes(dir.path() / "a.scr", kScript);
  WriteBytes(dir.path() / "b.svg", kScript);
  fs::create_directory(dir.path() / "d.scr");
  const std::string preview = TORVANE_PREVIEW_BINARY;
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string_view message;  // on standard error, or standard output for 0
  } cases[] = {
      {{"--help"}, 0, "Usage: torvane-preview [options] SCRIPT [OUTPUT.svg]"},
      {{"--version"}, 0, "torvane-preview " TORVANE_VERSION "\n"},
      {{}, 2, "torvane-preview: no script named"},
      {{"--grid-off", "a.scr"}, 2, "torvane-preview: unknown option '--grid-off'"},
      {{"a.scr", "x.svg", "y.svg"}, 2, "torvane-preview: too many file names"},
      {{"missing.scr"}, 1, "torvane-preview: cannot read 'missing.scr': No such file"},
      {{"d.scr"}, 1, "torvane-preview: cannot read 'd.scr': it is a directory"},
      {{"a.scr", "no/such/dir/a.svg"}, 1, "torvane-preview: cannot write 'no/such/dir/a.svg'"},
      {{"a.scr", "./a.scr"}, 1, "would overwrite the script"},
  };
  for (const auto& c : cases) {
    const ProgramResult run = RunProgram(preview, c.arguments, dir.path());
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE((c.status == 0 ? run.out : run.err).find(c.message), std::string::npos)
        << run.out << run.err;
  }
  EXPECT_EQ(ReadBytes(dir.path() / "a.scr"), kScript);

  // The default name replaces the extension; a script named .svg is kept.
  EXPECT_EQ(RunProgram(preview, {"a.scr"}, dir.path()).status, 0);
  EXPECT_EQ(RunProgram(preview, {"b.svg"}, dir.path()).status, 0);
  EXPECT_NE(ReadBytes(dir.path() / "a.svg").find("<circle cx=\"20\" cy=\"-30\""),
            std::string::npos);
  EXPECT_EQ(ReadBytes(dir.path() / "b.svg"), kScript);
  EXPECT_TRUE(fs::exists(dir.path() / "b.svg.svg"));
}

// Hexes holding a world, from the example's map files: world lines are
// those that are not comments, bases or routes and give a hex 0101 to 3240.
std::vector<std::string> WorldHexes(const fs::path& map_file) {
  std::ifstream in(map_file);
  std::vector<std::string> hexes;
  for (std::string line; std::getline(in, line);) {
    if (line.size() < 23 || MapLineKindOf(line) != MapLineKind::kWorld) continue;
    const int column = std::stoi(line.substr(14, 2)), row = std::stoi(line.substr(16, 2));
    if (column >= 1 && column <= 32 && row >= 1 && row <= 40) hexes.push_back(line.substr(14, 4));
  }
  return hexes;
}

// The example sector, converted by the real torvane in a scratch copy.
class ExampleSector : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(fs::path(TORVANE_EXAMPLES_DIR) / "lyra", dir_.path() / "lyra",
             fs::copy_options::recursive);
    fs::create_directory(dir_.path() / "out");
    const ProgramResult run = RunProgram(TORVANE_BINARY, {"-s+", "-d", "out", "lyra"}, dir_.path());
    ASSERT_EQ(run.status, 0) << run.err;
  }

  // Previews a script of out/ and returns its picture.
  std::string Preview(const std::string& script) {
    const ProgramResult run = RunProgram(TORVANE_PREVIEW_BINARY, {"out/" + script}, dir_.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");  // a script as torvane writes it draws without a warning
    return ReadBytes(out() / fs::path(script).replace_extension(".svg"));
  }

  fs::path out() const { return dir_.path() / "out"; }
  fs::path maps() const { return dir_.path() / "lyra" / "map"; }

  ScratchDir dir_;
};

TEST_F(ExampleSector, SectorAndSubsectorPreviewsAreWellFormedWithOneBodyPerWorld) {
  const std::string sector = Preview("lyra.scr");
  const std::string subsector = Preview("lyraF.scr");
  EXPECT_NE(sector.find("data-map=\"sector\""), std::string::npos);
  EXPECT_NE(subsector.find("data-map=\"subsector\""), std::string::npos);

  size_t sector_worlds = 0;
  for (char letter = 'A'; letter <= 'P'; ++letter) {
    sector_worlds += WorldHexes(maps() / (std::string("SUB") + letter + ".DAT")).size();
  }
  const size_t f_worlds = WorldHexes(maps() / "SUBF.DAT").size();
  ASSERT_GT(f_worlds, 0u);
  // A world is a circle of radius 2.5 or an asteroid belt's glyph.
  const auto bodies = [](const std::string& svg) {
    return Occurrences(svg, " r=\"2.5\" ") + Occurrences(svg, "<title>Asteroid ");
  };
  EXPECT_EQ(bodies(sector), sector_worlds);
  EXPECT_EQ(bodies(subsector), f_worlds);

  const std::string xmllint = FindProgram("xmllint");
  if (xmllint.empty()) {
    GTEST_SKIP() << "xmllint is not installed (Debian: libxml2-utils); well-formedness unchecked";
  }
  const ProgramResult lint =
      RunProgram(xmllint, {"--noout", "out/lyra.svg", "out/lyraF.svg"}, dir_.path());
  EXPECT_EQ(lint.status, 0) << lint.err;
  EXPECT_EQ(lint.err, "");
}

TEST_F(ExampleSector, HostileNamesStillGiveAWellFormedPicture) {
  const std::string xmllint = FindProgram("xmllint");
  if (xmllint.empty()) GTEST_SKIP() << "xmllint is not installed (Debian: libxml2-utils)";
  WriteBytes(out() / "odd.scr",
             "ECOFF\r\nTEXTM ]]> & <x a=\"'\"> \xFF\xC3\x28 \x01\x1B\r\n1.0,2.0\r\n"
             "INSSYM <&\"\x80\r\n1.0;1.0;0.0;1.0,2.0;\r\nLAYER A&B <\xFE>\r\n"
             "TEXTM ok\r\n1.0,2.0\r\nECON\r\n");
  const ProgramResult run = RunProgram(TORVANE_PREVIEW_BINARY, {"out/odd.scr"}, dir_.path());
  EXPECT_EQ(run.status, 0) << run.err;
  const ProgramResult lint = RunProgram(xmllint, {"--noout", "out/odd.svg"}, dir_.path());
  EXPECT_EQ(lint.status, 0) << lint.err;
  EXPECT_EQ(lint.err, "");
}

// Pixel of a map point in the sector picture shown in a 1160 x 1444 window,
// which it fills at 2 pixels per unit: the top left corner is map (-10, 712).
std::pair<int, int> SectorPixel(double x, double y) {
  return {static_cast<int>(std::floor((x + 10) * 2)), static_cast<int>(std::floor((712 - y) * 2))};
}

// Centre of a hex on the sector map.
std::pair<int, int> HexPixel(int column, int row) {
  const double x = (column - 1) * 15.0 + 10;
  const double y = (40 - row) * 17.32050808 + 8.66025404 + (column % 2 == 1 ? 8.66025404 : 0);
  return SectorPixel(x, y);
}

bool Near(std::uint32_t rgb, std::uint32_t want) {
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = static_cast<int>((rgb >> shift) & 255),
              b = static_cast<int>((want >> shift) & 255);
    if (std::abs(a - b) > 12) return false;
  }
  return true;
}

TEST_F(ExampleSector, BrowserDrawsWorldsAtTheirHexCentres) {
#ifdef _WIN32
  GTEST_SKIP() << "the browser's pixel test runs on Linux only: it starts chromium headless on "
                  "the picture's file:// address as a POSIX path";
#endif
#ifndef TORVANE_HAVE_ZLIB
  GTEST_SKIP() << "zlib is not installed (Debian: zlib1g-dev); the screenshot cannot be decoded";
#endif
  const std::string chromium = FindProgram("chromium");
  if (chromium.empty()) {
    GTEST_SKIP() << "chromium is not installed (Debian package chromium); the picture was not "
                    "rendered";
  }
  Preview("lyra.scr");
  ScratchDir profile;
  const fs::path png = dir_.path() / "lyra.png";
  const ProgramResult run =
      RunProgram(chromium,
                 {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--hide-scrollbars", "--user-data-dir=" + profile.path().string(),
                  "--screenshot=" + png.string(), "--window-size=1160,1444",
                  "file://" + (out() / "lyra.svg").string()},
                 dir_.path());
  ASSERT_EQ(run.status, 0) << run.err;
  std::string error;
  const std::optional<PngImage> image = DecodePng(ReadBytes(png), error);
  ASSERT_TRUE(image) << error;
  ASSERT_EQ(image->width, 1160);
  ASSERT_EQ(image->height, 1444);

  const struct {
    int column;
    int row;
    std::uint32_t rgb;
    std::string_view what;
  } cases[] = {
      {1, 8, 0x00ffff, "Gallor, a world with water (cyan)"},
      {3, 8, 0xd2aa5a, "Fenbrisel, a dry world (sandy)"},
      {17, 22, 0x00ffff, "Morgallor"},
      {1, 1, 0x000000, "an empty hex"},
      {20, 30, 0x000000, "an empty hex"},
      {32, 40, 0x000000, "an empty hex"},
  };
  for (const auto& c : cases) {
    const auto [x, y] = HexPixel(c.column, c.row);
    EXPECT_TRUE(Near(image->Rgb(x, y), c.rgb)) << c.what << " at hex " << c.column << "," << c.row
                                               << ": pixel " << std::hex << image->Rgb(x, y);
  }
  // The title stands right of the map, white on black.
  bool title_drawn = false;
  for (int y = 0; y < 1444 && !title_drawn; ++y) {
    for (int x = SectorPixel(496, 0).first; x < SectorPixel(517, 0).first; ++x) {
      title_drawn = title_drawn || Near(image->Rgb(x, y), 0xffffff);
    }
  }
  EXPECT_TRUE(title_drawn);
}

}  // namespace
}  // namespace torvane_test
