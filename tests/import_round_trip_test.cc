// Imports made-up sector files with the real torvane-import, converts the
// result with the real torvane, and compares what the sector script draws
// with what the input file holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/program_runner.h"
#include "testing/scratch_dir.h"
#include "testing/script_lines.h"

namespace torvane_test {
namespace {

int CountStarting(const std::vector<std::string>& lines, const std::string& prefix) {
  int count = 0;
  for (const std::string& line : lines) count += line.rfind(prefix, 0) == 0 ? 1 : 0;
  return count;
}

bool HasText(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& line : lines) {
    if (line == "TEXTM " + text) return true;
  }
  return false;
}

// Imports `files` (the first is the sector file, an optional second the
// metadata) into out/NAME and converts it; returns the sector script's lines.
std::vector<std::string> ImportAndConvert(const ScratchDir& dir,
                                          const std::vector<std::string>& inputs,
                                          const std::string& name) {
  std::vector<std::string> import_arguments;
  for (const std::string& input : inputs) import_arguments.push_back(dir.Path(input));
  import_arguments.push_back(dir.Path("out/" + name));
  const ProgramResult import = RunProgram(TORVANE_IMPORT_BINARY, import_arguments, dir.path());
  EXPECT_EQ(import.status, 0) << import.err;
  std::filesystem::create_directories(dir.path() / "out/scripts");
  const ProgramResult convert =
      RunProgram(TORVANE_BINARY, {"-s+", "-d", "scripts", name}, dir.path() / "out");
  EXPECT_EQ(convert.status, 0) << convert.err;
  EXPECT_TRUE(dir.Exists("out/scripts/" + name + "P.scr"));
  return ScriptLines(dir.Read("out/scripts/" + name + ".scr"));
}

TEST(ImportRoundTrip, TabFileAndMetadataDrawEveryWorldAndRoute) {
  ScratchDir dir;
  // Six worlds, two of them belts (size 0), two with population 9 or more.
  dir.Write("reach.tab",
            "Sector\tSS\tHex\tName\tUWP\tBases\tRemarks\tZone\tPBG\tAllegiance\tStars\n"
            "Rch\tA\t0101\tAlpha\tA788899-C\tNS\tHi Cp\tA\t123\tImDd\tG2 V\n"
            "Rch\tA\t0304\tBelt Station\tB000677-A\t\tAs Px\t\t010\tImDd\tM1 V\n"
            "Rch\tF\t1015\tA Rather Long Name\tC5669A8-9\tKM\tHi\tR\t302\tSwCf\tK0 V\n"
            "Rch\tK\t2222\tTwo Belts\tD000000-0\t\tBa\tF\t020\tNaHu\t\n"
            "Rch\tP\t3240\tOmega\tX655000-0\t\tBa Lo\t\t000\t----\tM9 V\n"
            "Rch\tD\t3209\tEdgeworld\tE444444-4\tV\tNi\t\t001\tImDd\tF5 V\n");
  // Seven routes: one into the next sector, one turned round, one wholly
  // outside (left out).
  dir.Write("reach.xml",
            "<?xml version=\"1.0\"?>\n<Sector>\n  <Name>Test Reach</Name>\n"
            "  <Subsectors><Subsector Index=\"A\">Firstling</Subsector>"
            "<Subsector Index=\"P\">Lastling</Subsector></Subsectors>\n"
            "  <Routes>\n"
            "    <Route Start=\"0101\" End=\"0304\" Type=\"Trade\" />\n"
            "    <Route Start=\"0304\" End=\"1015\" />\n"
            "    <Route Start=\"1015\" End=\"2222\" Allegiance=\"SwCf\" />\n"
            "    <Route Start=\"2222\" End=\"3240\" Allegiance=\"ZhCo\" />\n"
            "    <Route Start=\"3209\" End=\"0208\" EndOffsetX=\"1\" />\n"
            "    <Route Start=\"0140\" End=\"0101\" StartOffsetY=\"-1\" />\n"
            "    <Route Start=\"0105\" End=\"0206\" StartOffsetX=\"-1\" EndOffsetX=\"-1\" />\n"
            "  </Routes>\n</Sector>\n");
  const std::vector<std::string> lines = ImportAndConvert(dir, {"reach.tab", "reach.xml"}, "reach");
  EXPECT_EQ(CountStarting(lines, "CIRR 2.500000"), 4);
  EXPECT_EQ(CountStarting(lines, "INSSYM Asteroid"), 2);
  EXPECT_EQ(CountStarting(lines, "LINE REF"), 6);
  for (const char* name : {"Alpha", "Belt Station", "A RATHER LONG", "Two Belts", "Omega",
                           "Edgeworld", "Firstling", "Lastling", "Test Reach"}) {
    EXPECT_TRUE(HasText(lines, name)) << name;
  }
  // The bases drawn: A (naval and scout), F (K and M), S (V), prison camp (Px).
  EXPECT_EQ(CountStarting(lines, "INSSYM Imperial Naval Base"), 2);  // symbol and legend
  EXPECT_EQ(CountStarting(lines, "INSSYM Military Base"), 2);
  EXPECT_EQ(CountStarting(lines, "INSSYM Imperial Scout Base"), 3);
  EXPECT_EQ(CountStarting(lines, "INSSYM Prison Camp"), 2);
}

#ifdef TORVANE_PREVIEW_BINARY
// Names reach the script in the code page Campaign Cartographer 2 shows
// them in, and the picture shows the letters themselves.
TEST(ImportRoundTrip, NamesAreWindows1252InTheScriptAndLettersInThePicture) {
  ScratchDir dir;
  dir.Write("reach.tab",
            "Hex\tName\tUWP\tRemarks\tPBG\n"
            "0101\tAikre Aa\xE2\x80\x99\tA788899-C\tHi\t123\n"
            "0102\tSh\xC3\xA9"
            "aniki\tA788899-C\tHi\t123\n"
            "0103\tM\xC3\xBCnster\tA788899-C\tHi\t123\n");
  const std::vector<std::string> lines = ImportAndConvert(dir, {"reach.tab"}, "reach");
  for (const char* name : {"Aikre Aa\x92",
                           "Sh\xE9"
                           "aniki",
                           "M\xFCnster"}) {
    EXPECT_TRUE(HasText(lines, name)) << name;
  }
  const ProgramResult preview =
      RunProgram(TORVANE_PREVIEW_BINARY, {"scripts/reach.scr"}, dir.path() / "out");
  ASSERT_EQ(preview.status, 0) << preview.err;
  const std::string svg = dir.Read("out/scripts/reach.svg");
  for (const char* name : {"Aikre Aa\xE2\x80\x99<",
                           "Sh\xC3\xA9"
                           "aniki<",
                           "M\xC3\xBCnster<"}) {
    EXPECT_NE(svg.find(name), std::string::npos) << name;
  }
}
#endif

TEST(ImportRoundTrip, OlderFileWithItsOwnIndexAndRoutesDrawsTheSame) {
  ScratchDir dir;
  dir.Write("old.sec",
            "Old Reach\n"
            "\n"
            "A: Oldfirst                  a.dat\n"
            "\n"
            "@SUB-SECTOR: Oldfirst SECTOR: Old Reach\n"
            "#\n"
            "$0102 0304 0 0 3\n"
            "$0304 3203 -1 0 12\n"
            "#PlanetName   Loc. UPP Code   B   Notes         Z  PBG Al LRX *\n"
            "Oldone        0102 A788899-C  A Hi Cp           A  123 Im G2 V\n"
            "Oldtwo        0304 B000677-A    As Ex              010 Im\n"
            "@SUB-SECTOR: Later SECTOR: Old Reach\n"
            "Oldthree      1718 C5669A8-9  Z Ri              R  302 Zh K0 V\n");
  const std::vector<std::string> lines = ImportAndConvert(dir, {"old.sec"}, "old");
  EXPECT_EQ(CountStarting(lines, "CIRR 2.500000"), 2);
  EXPECT_EQ(CountStarting(lines, "INSSYM Asteroid"), 1);
  EXPECT_EQ(CountStarting(lines, "LINE REF"), 2);
  for (const char* name : {"Oldone", "Oldtwo", "OLDTHREE", "Oldfirst", "Later", "Old Reach"}) {
    EXPECT_TRUE(HasText(lines, name)) << name;
  }
  EXPECT_EQ(CountStarting(lines, "INSSYM Exile Camp"), 2);
  EXPECT_EQ(CountStarting(lines, "INSSYM Zhodani Base"), 2);
}

TEST(ImportRoundTrip, OlderFilesWithOtherColumnsDrawEveryField) {
  struct Case {
    const char* name;
    const char* text;
    std::vector<std::string> texts;  // names, allegiances and the title drawn
    int worlds, asteroids, zones, gas_giants, scout_bases;
  };
  const Case cases[] = {
      // A ruler and a header row; a wider name field, remarks, zone, PBG and
      // allegiance further right than torvane's.
      {"ruled",
       "#--------1---------2---------3---------4---------5---------6---------7---\n"
       "#Name           Hex  UWP        B Remarks                Z  PBG Al Stars\n"
       "Ostrava Reach   0104 C759422-6    Ni Relay                  313 Na G2 V\n"
       "Brannock        0107 D632531-7  S Ni Po                  A  104 Na M1 V\n"
       "Quillon         0307 A5278AE-8    Ph Pi O:0508 Xb Yc Zd  R  ?10 Lh\n"
       "Dunmere         0910 X000000-0    Ba                        XXX\n",
       {"Ostrava Reach", "Brannock", "Quillon", "Dunmere", "Na", "Lh", "ruled"},
       3,
       1,
       2,
       2,
       2},
      // No header: the first line is a world; runs of blanks between the
      // fields, "--" for no allegiance, a name that runs into the hex.
      {"wide",
       "Vexhal               0103  D9C4599-6    Ni Fl          R  223 -- M2 V\n"
       "Garrow Deep          0236  D671455-6 S  Lo                ?03 -- G9 V\n"
       "Jennet's Haven1635 A98A515-C    Ni Wa Pr           400 Na\n",
       {"Vexhal", "Garrow Deep", "Jennet's Haven", "Na", "wide"},
       3,
       0,
       1,
       2,
       2},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    const std::string file = std::string(c.name) + ".sec";
    dir.Write(file, c.text);
    const std::vector<std::string> lines = ImportAndConvert(dir, {file}, c.name);
    EXPECT_EQ(CountStarting(lines, "CIRR 2.500000"), c.worlds) << c.name;
    EXPECT_EQ(CountStarting(lines, "INSSYM Asteroid"), c.asteroids) << c.name;
    EXPECT_EQ(CountStarting(lines, "ARCS "), c.zones) << c.name;
    EXPECT_EQ(CountStarting(lines, "CIRR 1.000000"), c.gas_giants) << c.name;
    EXPECT_EQ(CountStarting(lines, "INSSYM Imperial Scout Base"), c.scout_bases) << c.name;
    for (const std::string& text : c.texts) EXPECT_TRUE(HasText(lines, text)) << text;
  }
}

}  // namespace
}  // namespace torvane_test
