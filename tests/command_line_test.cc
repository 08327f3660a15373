// The command line as a user meets it: usage text, options, stops, error
// totals and exit statuses of the real program.
#include <gtest/gtest.h>

#include "run_torvane.h"
#include "testing/sector_files.h"

namespace torvane_test {
namespace {

const std::string kUsage =
    "Torvane [options] sector1 [sector2...] \n"
    "Version 1.2.  Creates a Campaign Cartographer 2 script 'sectorn.scr' \n"
    "from each Starfold sector dir 'sectorn\\'; see also \"readme.txt\".\n"
    "\n"
    "Options:\n"
    "-d outputdir  writes all output in this directory;\n"
    "-s#           also outputs a subsector script to 'sectorn#.scr',\n"
    "              where # is one or more of a-p (+ or * for all).\n"
    "-x#           sets hex number printing, where # is one of\n"
    "              o    occupied hexes only (default);\n"
    "              u    unoccupied hexes only;\n"
    "              n,-  no hexes;\n"
    "              a,+  all hexes.\n"
    "-y year       adds the given date text to the legend\n"
    "              (put it in quotes if you want spaces).\n"
    "-abgnptz      prints items on the map (all ON by default):\n"
    "              a    allegiance;           b    base symbols;\n"
    "              g    gas giants;           n    world names;\n"
    "              p    ports;                t    trade routes;\n"
    "              z    zones.\n"
    "              You can turn off options using -a- (for example).\n"
    "Note: Changing options only affects files later in the list.\n"
    "\n";

// A world with a route and an allegiance, so that options show in the script.
const std::string kWorldMap =
    "$0304 0506 0 0 1\n"
    "Farrow        0304 A788899-C  A Hi Cp           A  123 Im G2 V\n";

bool Contains(const std::string& haystack, const std::string& needle) {
  return haystack.find(needle) != std::string::npos;
}

TEST(CommandLine, UsageWhenThereIsNothingToConvert) {
  ScratchDir dir;
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, {"-a-", "-xu", "-d", "out"}, {"-h"}, {"/?"}}) {
    const ProgramResult run = RunTorvane(dir.path(), arguments);
    EXPECT_EQ(run.out, kUsage);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.status, 0);
  }
  EXPECT_EQ(RunTorvane(dir.path(), {"-h", "-?"}).out, kUsage + kUsage);
  // The usage text names the version the build and its packages carry.
  EXPECT_TRUE(Contains(kUsage, "Version " TORVANE_VERSION ".  "));
}

// Console text ends its lines the host's way: CR LF on Windows, as the C
// runtime's text mode writes them, LF elsewhere.
TEST(CommandLine, ConsoleLinesEndTheHostsWay) {
  const auto host_lines = [](std::string text) {
#ifdef _WIN32
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) {
      text.insert(at, 1, '\r');
    }
#endif
    return text;
  };
  ScratchDir dir;
  const ProgramResult usage = RunTorvane(dir.path(), {});
  EXPECT_EQ(usage.raw_out, host_lines(kUsage));
  const ProgramResult missing = RunTorvane(dir.path(), {"nosuch"});
  EXPECT_EQ(missing.raw_err, host_lines("Couldn't open file <nosuch/nosuch.dat>!\n"));
  EXPECT_EQ(missing.raw_out, host_lines("There were 2 errors!\n"));
}

TEST(CommandLine, HelpFirstThenTheSectorWithoutAnotherUsage) {
  ScratchDir dir;
  WriteSector(dir, "delta", "Delta");
  const ProgramResult run = RunTorvane(dir.path(), {"-h", "delta"});
  EXPECT_EQ(run.out, kUsage);
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(dir.Exists("delta/delta.scr"));
}

TEST(CommandLine, StopsNeverReportSuccess) {
  struct Case {
    std::vector<std::string> arguments;
    std::string err;
  };
  const Case cases[] = {
      {{"-q"}, "Invalid option -q!\n"},
      {{"/Q"}, "Invalid option -Q!\n"},
      {{"-"}, "Invalid option - !\n"},
      {{"-x"}, ""},
      {{"-xq"}, ""},
      {{"-d"}, ""},
      {{"-y"}, ""},
  };
  ScratchDir dir;
  for (const Case& c : cases) {
    const ProgramResult run = RunTorvane(dir.path(), c.arguments);
    EXPECT_EQ(run.out, kUsage) << c.arguments[0];
    EXPECT_EQ(run.err, c.err) << c.arguments[0];
    EXPECT_EQ(run.status, ExpectedStatus(-1)) << c.arguments[0];
  }
}

TEST(CommandLine, InvalidOptionAfterASectorStopsWithoutATotal) {
  ScratchDir dir;
  const ProgramResult run = RunTorvane(dir.path(), {"nosuch", "-q", "never"});
  EXPECT_EQ(run.err, "Couldn't open file <nosuch/nosuch.dat>!\nInvalid option -q!\n");
  EXPECT_EQ(run.out, kUsage);
  EXPECT_EQ(run.status, ExpectedStatus(-3));
}

TEST(CommandLine, MissingDataFileCountsTwoErrors) {
  ScratchDir dir;
  const ProgramResult run = RunTorvane(dir.path(), {"c:\\maps\\nosuch.old"});
  EXPECT_EQ(run.err, "Couldn't open file <c:\\maps\\nosuch/nosuch.dat>!\n");
  EXPECT_EQ(run.out, "There were 2 errors!\n");
  EXPECT_EQ(run.status, ExpectedStatus(-2));
}

// Where the status has 8 bits the count is held at 255, so that no count
// reads as success; Windows keeps all 32 bits and the whole count.
TEST(CommandLine, ErrorStatusIsHeldAt255) {
  ScratchDir dir;
  std::vector<std::string> arguments(130, "nosuch");
  const ProgramResult run = RunTorvane(dir.path(), arguments);
  EXPECT_EQ(run.out, "There were 260 errors!\n");
#ifdef _WIN32
  EXPECT_EQ(run.status, -260);
#else
  EXPECT_EQ(run.status, 1);
#endif
}

TEST(CommandLine, OptionsApplyOnlyToSectorsOnTheirRight) {
  ScratchDir dir;
  WriteSector(dir, "one", "One", {{'A', kWorldMap}});
  WriteSector(dir, "two", "Two", {{'A', kWorldMap}});
  const ProgramResult run = RunTorvane(dir.path(), {"one", "-t-", "/A-", "two"});
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string one = dir.Read("one/one.scr");
  const std::string two = dir.Read("two/two.scr");
  EXPECT_TRUE(Contains(one, "LINE REF")) << one;
  EXPECT_TRUE(Contains(one, "TEXTM Im\r\n"));
  EXPECT_FALSE(Contains(two, "LINE REF"));
  EXPECT_FALSE(Contains(two, "TEXTM Im\r\n"));
}

TEST(CommandLine, ValueOptionTakesTheNextArgumentWhateverItHolds) {
  ScratchDir dir;
  WriteSector(dir, "delta", "Delta");
  ASSERT_EQ(RunTorvane(dir.path(), {"-y", "-a", "delta"}).status, 0);
  EXPECT_TRUE(Contains(dir.Read("delta/delta.scr"), "TEXTM -a\r\n540.000000,293.000000\r\n"));
  ASSERT_EQ(RunTorvane(dir.path(), {"-y1105", "-y-", "delta"}).status, 0);
  EXPECT_FALSE(Contains(dir.Read("delta/delta.scr"), "540.000000,293.000000"));
}

TEST(CommandLine, SubsectorSelectionsAccumulate) {
  struct Case {
    std::vector<std::string> options;
    std::string letters;
  };
  const Case cases[] = {
      {{"-sa-c"}, "C"},
      {{"-sab", "-sp"}, "ABP"},
      {{"-sq9z!"}, ""},
      {{"-s+", "-s-", "-sD"}, "D"},
      {{"-s*"}, "ABCDEFGHIJKLMNOP"},
      {{"-s"}, ""},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    WriteSector(dir, "delta", "Delta");
    std::vector<std::string> arguments = c.options;
    arguments.push_back("delta");
    ASSERT_EQ(RunTorvane(dir.path(), arguments).status, 0);
    std::string written;
    for (char letter = 'A'; letter <= 'P'; ++letter) {
      if (dir.Exists(std::string("delta/delta") + letter + ".scr")) written += letter;
    }
    EXPECT_EQ(written, c.letters) << c.options[0];
  }
}

TEST(CommandLine, HexNumberModeLettersFoldAndTheDigitZeroMeansOccupied) {
  ScratchDir dir;
  WriteSector(dir, "delta", "Delta");
  ASSERT_EQ(RunTorvane(dir.path(), {"-XU", "delta"}).status, 0);
  EXPECT_TRUE(Contains(dir.Read("delta/delta.scr"), "TEXTM 0101\r\n"));
  ASSERT_EQ(RunTorvane(dir.path(), {"-xu", "-x0", "delta"}).status, 0);
  EXPECT_FALSE(Contains(dir.Read("delta/delta.scr"), "TEXTM 0101\r\n"));
}

TEST(CommandLine, AbsolutePosixPathIsASectorNotAnOption) {
#ifdef _WIN32
  GTEST_SKIP() << "a path that begins with '/' is a POSIX host's; on Windows '/' begins an option";
#endif
  ScratchDir dir;
  WriteSector(dir, "delta", "Delta");
  const std::string absolute = (dir.path() / "delta").string();
  const ProgramResult run = RunTorvane(dir.path(), {absolute + "/"});
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(dir.Exists("delta/delta.scr"));
}

TEST(CommandLine, WindowsPathTextsAndCaseFindTheSector) {
  ScratchDir dir;
  WriteSector(dir, "maps/Delta", "Delta");
  std::filesystem::rename(dir.path() / "maps/Delta/Delta.dat", dir.path() / "maps/Delta/DELTA.DAT");
  const ProgramResult run = RunTorvane(dir.path(), {"-sa", "c:MAPS\\delta"});
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.status, 0);
  // New scripts take the name as written, inside the directory that exists.
  EXPECT_TRUE(dir.Exists("maps/Delta/delta.scr"));
  EXPECT_TRUE(dir.Exists("maps/Delta/deltaA.scr"));
}

TEST(CommandLine, OutputDirectoryAndBackupOfTheEarlierScript) {
  ScratchDir dir;
  WriteSector(dir, "delta", "Delta");
  std::filesystem::create_directory(dir.path() / "out");
  dir.Write("out/DELTA.SCR", "hand-tuned\r\n");
  const ProgramResult run = RunTorvane(dir.path(), {"-d", "out", "delta"});
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(dir.Read("out/delta.$$$"), "hand-tuned\r\n");
  EXPECT_EQ(dir.Read("out/delta.scr").substr(0, 23), "ECOFF\r\nLAYER STANDARD\r\n");
  EXPECT_FALSE(dir.Exists("delta/delta.scr"));
}

TEST(CommandLine, MissingOutputDirectoryFailsTheSectorAndTheNextIsStillTried) {
  ScratchDir dir;
  WriteSector(dir, "delta", "Delta");
  WriteSector(dir, "gamma", "Gamma");
  const ProgramResult run = RunTorvane(dir.path(), {"-dnowhere", "-s+", "delta", "-d-", "gamma"});
  EXPECT_EQ(run.err, "Error creating file <nowhere\\delta.scr>!\n");
  EXPECT_EQ(run.out, "There were 2 errors!\n");
  EXPECT_EQ(run.status, ExpectedStatus(-2));
  EXPECT_TRUE(dir.Exists("gamma/gamma.scr"));
  EXPECT_TRUE(dir.Exists("gamma/gammaP.scr"));
}

}  // namespace
}  // namespace torvane_test
