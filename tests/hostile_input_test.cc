// Sector files as decades of copying leave them (cut, re-encoded, hand-edited
// or plain garbage) and paths that cannot work, run through the real
// program: each ends with the design's message and error count, or with the
// silent rejection of the line, and the rest of the sector is still drawn.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "run_torvane.h"
#include "testing/sector_files.h"

namespace torvane_test {
namespace {

// Farrow lies in subsector A, Brine in B and Vesper in A.
const std::string kFarrow = "Farrow        0304 A788899-C  A Hi Cp           A  123 Im G2 V\n";
const std::string kBrine = "Brine         1103 C544667-8  S Ex               A  012 Im\n";
const std::string kVesper = "Vesper        0607 B565776-9  N                 R  100 Im\n";

constexpr size_t kMiB = size_t{1} << 20;

std::string Total(int errors) {
  return errors == 0 ? "" : "There were " + std::to_string(errors) + " errors!\n";
}

// The texts that a script draws, in order.
std::vector<std::string> DrawnTexts(const std::string& script) {
  std::vector<std::string> texts;
  for (const std::string& line : ScriptLines(script)) {
    if (line.starts_with("TEXTM ")) texts.push_back(line.substr(6));
  }
  return texts;
}

bool Draws(const std::string& script, const std::string& text) {
  const std::vector<std::string> texts = DrawnTexts(script);
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// A script that was written to its end.
bool IsWholeScript(const std::string& script) {
  const std::vector<std::string> lines = ScriptLines(script);
  return !lines.empty() && lines.front() == "ECOFF" && lines.back() == "ECON";
}

// The colour in force for the first route line of a script, and that line;
// empty when no route was drawn.
std::pair<std::string, std::string> FirstRoute(const std::string& script) {
  const std::vector<std::string> lines = ScriptLines(script);
  std::string colour;
  for (const std::string& line : lines) {
    if (line.starts_with("COLOR ")) colour = line.substr(6);
    if (line.starts_with("LINE ")) return {colour, line};
  }
  return {};
}

// The index line of subsector `letter` as Starfold writes it, without its
// line end.
std::string StarfoldIndexLine(char letter, const std::string& name) {
  const std::string line = IndexLine(letter, name, MapFileName(letter));
  return line.substr(0, line.size() - 1);
}

// Bytes of every value but NUL and Ctrl-Z, which would end the text early.
std::string Garbage(size_t size, std::uint32_t seed) {
  std::string bytes;
  while (bytes.size() < size) {
    seed = seed * 1103515245u + 12345u;
    const char byte = static_cast<char>(seed >> 23);
    if (byte != '\0' && byte != '\x1a') bytes += byte;
  }
  return bytes;
}

// Cases that share their arguments run as sectors 's0', 's1', ... of one
// run, so that the program starts once; each case keeps its own script.
std::string CaseSector(size_t i) {
  // Appended, not "s" + ...: GCC 12 at -O3 warns falsely (-Wrestrict) there.
  std::string name = "s";
  name += std::to_string(i);
  return name;
}

std::vector<std::string> CaseSectors(size_t count) {
  std::vector<std::string> names;
  for (size_t i = 0; i < count; ++i) names.push_back(CaseSector(i));
  return names;
}

std::string CaseScript(const ScratchDir& dir, size_t i) {
  return dir.Read(CaseSector(i) + "/" + CaseSector(i) + ".scr");
}

TEST(HostileInput, MapFileBytesEndTextOrJoinLinesAsTextModeReadsThem) {
  struct Case {
    const char* what;
    std::string mapA;
    std::vector<std::string> drawn;
    std::vector<std::string> notDrawn;
  };
  const std::string farrow_line = kFarrow.substr(0, kFarrow.size() - 1);
  const Case cases[] = {
      {"NUL ends the text", kFarrow + std::string(1, '\0') + kVesper, {"Farrow"}, {"Vesper"}},
      {"Ctrl-Z ends the text", kFarrow + "\x1a" + kVesper, {"Farrow"}, {"Vesper"}},
      {"CR LF ends a line", farrow_line + "\r\n" + kVesper, {"Farrow", "Vesper"}, {}},
      {"a lone CR does not", "# note\r" + kVesper, {}, {"Vesper"}},
      {"binary garbage", Garbage(64 * 1024, 7) + "\n" + kVesper, {"Vesper"}, {}},
      {"a line of 1 MiB",
       farrow_line + std::string(kMiB, 'x') + "\n" + kVesper,
       {"Farrow", "Im", "Vesper"},
       {}},
      {"1 MiB of blanks", std::string(kMiB, ' ') + "\n" + kVesper, {"Vesper"}, {}},
      {"1 MiB without a line end", kVesper + std::string(kMiB, '#'), {"Vesper"}, {}},
      {"a name of 300 characters",
       std::string(300, 'W') + kFarrow.substr(6) + kVesper,
       {"Vesper"},
       {"Farrow"}},
  };
  ScratchDir dir;
  for (size_t i = 0; i < std::size(cases); ++i) {
    WriteSector(dir, CaseSector(i), "Delta", {{'A', cases[i].mapA}, {'B', kBrine}});
  }
  const ProgramResult run = RunTorvane(dir.path(), CaseSectors(std::size(cases)));
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.status, 0);
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.what);
    const std::string script = CaseScript(dir, i);
    EXPECT_TRUE(IsWholeScript(script));
    EXPECT_TRUE(Draws(script, "Brine")) << "the rest of the sector";
    for (const std::string& text : c.drawn) EXPECT_TRUE(Draws(script, text)) << text;
    for (const std::string& text : c.notDrawn) EXPECT_FALSE(Draws(script, text)) << text;
  }
}

TEST(HostileInput, DataFileBytesCountTheSubsectorsTheyHide) {
  struct Case {
    const char* what;
    std::string data;
    std::string err;
    int errors;
    std::vector<std::string> drawn;
    std::vector<std::string> notDrawn;
  };
  std::string index;
  for (int i = 2; i < 16; ++i) index += StarfoldIndexLine(static_cast<char>('A' + i), "Sub") + "\n";
  const std::string a = StarfoldIndexLine('A', "Aurel");
  const std::string b = StarfoldIndexLine('B', "Brisk");
  const Case cases[] = {
      {"NUL after the first index line",
       "Delta\n" + a + "\n" + std::string(1, '\0') + b + "\n" + index,
       "",
       15,
       {"Delta", "Aurel", "Farrow"},
       {"Brisk", "Brine"}},
      {"Ctrl-Z after the first index line",
       "Delta\n" + a + "\n\x1a" + b + "\n" + index,
       "",
       15,
       {"Delta", "Aurel", "Farrow"},
       {"Brisk", "Brine"}},
      {"a lone CR joins two index lines",
       "Delta\n" + a + "\r" + b + "\n" + index,
       "Couldn't open file <%s/map\\SUBA.DAT\rB: Brisk>!\n",
       3,
       {"Delta", "Aurel"},
       {"Farrow", "Brisk"}},
      {"CR LF everywhere",
       "Delta\r\n" + a + "\r\n" + b + "\r\n" + index,
       "",
       0,
       {"Delta", "Aurel", "Brisk", "Farrow", "Brine"},
       {}},
      {"only a title", "Delta", "", 16, {}, {"Delta", "Aurel", "Farrow"}},
      {"only a title line", "Delta\n", "", 16, {"Delta"}, {"Aurel", "Farrow"}},
      {"an index line of 1 MiB",
       "Delta\n" + a + std::string(kMiB, ' ') + "\n" + b + "\n" + index,
       "",
       0,
       {"Aurel", "Farrow", "Brine"},
       {}},
  };
  ScratchDir dir;
  std::string err;
  int errors = 0;
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::string sector = CaseSector(i);
    WriteSector(dir, sector, "Delta", {{'A', kFarrow}, {'B', kBrine}});
    dir.Write(sector + "/" + sector + ".dat", cases[i].data);
    std::string message = cases[i].err;  // "%s" stands for the sector
    if (const size_t slot = message.find("%s"); slot != std::string::npos) {
      message.replace(slot, 2, sector);
    }
    err += message;
    errors += cases[i].errors;
  }
  const ProgramResult run = RunTorvane(dir.path(), CaseSectors(std::size(cases)));
  EXPECT_EQ(run.err, err);
  EXPECT_EQ(run.out, Total(errors));
  EXPECT_EQ(run.status, ExpectedStatus(-errors));
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.what);
    const std::string script = CaseScript(dir, i);
    EXPECT_TRUE(IsWholeScript(script));
    for (const std::string& text : c.drawn) EXPECT_TRUE(Draws(script, text)) << text;
    for (const std::string& text : c.notDrawn) EXPECT_FALSE(Draws(script, text)) << text;
  }
}

TEST(HostileInput, BinaryGarbageDataFileEndsInACountedRun) {
  ScratchDir dir;
  WriteSector(dir, "delta", "Delta");
  dir.Write("delta/delta.dat", Garbage(256 * 1024, 11));
  const ProgramResult run = RunTorvane(dir.path(), {"-s+", "-xu", "delta"});
  int errors = 0;
  ASSERT_EQ(std::sscanf(run.out.c_str(), "There were %d errors!\n", &errors), 1) << run.out;
  ASSERT_GT(errors, 0);
  EXPECT_EQ(run.out, Total(errors));
  EXPECT_EQ(run.status, ExpectedStatus(-errors)) << "a signal shows as 1000 and more";
  EXPECT_TRUE(IsWholeScript(dir.Read("delta/delta.scr")));
  EXPECT_TRUE(IsWholeScript(dir.Read("delta/deltaP.scr")));
}

// What an index line of Starfold's form ("O: Pellam" padded to column 29,
// then "SUBO.DAT") cut after a number of characters gets: the message, with
// '#' for the line's letter and "%s" for the sector, and the errors counted.
struct CutOutcome {
  size_t firstCut;
  size_t lastCut;
  std::string_view err;
  int errors;
};
constexpr CutOutcome kCutIndexLineOutcomes[] = {
    {0, 1, "", 1},  // no index line
    {2, 3, "No subsector file specified for # ()!\n", 2},
    {4, 4, "No subsector file specified for # (P)!\n", 2},
    {5, 5, "No subsector file specified for # (Pe)!\n", 2},
    {6, 6, "No subsector file specified for # (Pel)!\n", 2},
    {7, 7, "No subsector file specified for # (Pell)!\n", 2},
    {8, 8, "No subsector file specified for # (Pella)!\n", 2},
    {9, 28, "No subsector file specified for # (Pellam)!\n", 2},
    {29, 29, "Couldn't open file <%s/map\\>!\n", 2},
    {30, 30, "Couldn't open file <%s/map\\S>!\n", 2},
    {31, 31, "Couldn't open file <%s/map\\SU>!\n", 2},
    {32, 32, "Couldn't open file <%s/map\\SUB>!\n", 2},
    {33, 33, "Couldn't open file <%s/map\\SUB#>!\n", 2},
    {34, 34, "Couldn't open file <%s/map\\SUB#.>!\n", 2},
    {35, 35, "Couldn't open file <%s/map\\SUB#.D>!\n", 2},
    {36, 36, "Couldn't open file <%s/map\\SUB#.DA>!\n", 2},
    {37, 37, "", 0},  // the whole line
};

std::string CutIndexLineMessage(std::string_view pattern, const std::string& sector, char letter) {
  std::string message;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '#') {
      message += letter;
    } else if (pattern.substr(i, 2) == "%s") {
      message += sector;
      ++i;
    } else {
      message += pattern[i];
    }
  }
  return message;
}

// Sector 's<cut>' has subsector O's index line cut, followed by a line end,
// and P's line, the last of the file, cut at the same column and ending the
// text. B to N have no index line: 13 errors in every sector.
TEST(HostileInput, IndexLineCutAtEveryColumn) {
  const size_t whole = StarfoldIndexLine('P', "Pellam").size();
  ASSERT_EQ(whole, 37u);
  ScratchDir dir;
  std::string err;
  for (const CutOutcome& outcome : kCutIndexLineOutcomes) {
    for (size_t cut = outcome.firstCut; cut <= outcome.lastCut; ++cut) {
      const std::string sector = CaseSector(cut);
      WriteSector(dir, sector, "Delta", {{'A', kFarrow}});
      dir.Write(sector + "/" + sector + ".dat",
                "Delta\n" + StarfoldIndexLine('A', "Aurel") + "\n" +
                    StarfoldIndexLine('O', "Pellam").substr(0, cut) + "\n" +
                    StarfoldIndexLine('P', "Pellam").substr(0, cut));
      for (const char letter : {'O', 'P'}) err += CutIndexLineMessage(outcome.err, sector, letter);
    }
  }
  const ProgramResult run = RunTorvane(dir.path(), CaseSectors(whole + 1));
  EXPECT_EQ(run.err, err);
  // 13 in each of the 38 sectors, 2 for each cut line but the whole one's,
  // 1 for each line cut before its ':'.
  EXPECT_EQ(run.out, "There were 638 errors!\n");
#ifdef _WIN32
  EXPECT_EQ(run.status, -638);
#else
  EXPECT_EQ(run.status, 1);
#endif
  for (size_t cut = 0; cut <= whole; ++cut) {
    SCOPED_TRACE("cut after " + std::to_string(cut));
    const std::string script = CaseScript(dir, cut);
    EXPECT_TRUE(Draws(script, "Farrow")) << "the rest of the sector";
    EXPECT_TRUE(Draws(script, "Delta"));
  }
}

TEST(HostileInput, SignedAndOverflowingNumbersInMapLines) {
  struct Case {
    std::string mapA;
    std::string colour;  // of the route drawn; empty when none is
    std::string route;
    std::vector<std::string> drawn;
    std::vector<std::string> notDrawn;
  };
  const std::string route_0304_0506 =
      "LINE REF 40.000000,640.858799;<-49.106605,5.000000;"
      "REF 70.000000,606.217783;<130.893395,5.000000;";
  const Case cases[] = {
      {"Plus          +3+4 A788899-C\n", "", "", {"Plus", "+3+4"}, {}},
      {"Blank         3 4  A788899-C\n", "", "", {"Blank", "3 4 "}, {}},
      {"Minus         -304 A788899-C\n", "", "", {}, {"Minus"}},
      {"Minus         03-4 A788899-C\n", "", "", {}, {"Minus"}},
      {"Huge          9999 A788899-C\n", "", "", {}, {"Huge"}},
      {"$+3+4 +5+6 0 0 1\n", "7", route_0304_0506, {}, {}},
      {"$0304 0506 0 0 4294967297\n", "5", route_0304_0506, {}, {}},
      {"$0304 0506 0 0 -1\n", "5", route_0304_0506, {}, {}},
      {"$0304 0506 99999999999999999999 -99999999999999999999 12\n", "2", route_0304_0506, {}, {}},
      {"$0304 0506 0 0 -99999999999999999999\n", "5", route_0304_0506, {}, {}},
      {"$0304 0506 0 0\n" + std::string(kMiB, ' ') + "\n1\n", "7", route_0304_0506, {}, {}},
      {"$-1-1 -1-1\n", "", "", {}, {}},
      {"$9999999999\n", "5", "", {}, {}},
      {"$+-03 0506\n", "", "", {}, {}},
      {"$$$$\n", "", "", {}, {}},
  };
  ScratchDir dir;
  for (size_t i = 0; i < std::size(cases); ++i) {
    WriteSector(dir, CaseSector(i), "Delta", {{'A', cases[i].mapA}, {'B', kBrine}});
  }
  const ProgramResult run = RunTorvane(dir.path(), CaseSectors(std::size(cases)));
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.status, 0);
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.mapA.substr(0, 60));
    const std::string script = CaseScript(dir, i);
    EXPECT_TRUE(Draws(script, "Brine")) << "the rest of the sector";
    const auto [colour, route] = FirstRoute(script);
    EXPECT_EQ(colour, c.colour);
    if (!c.route.empty()) {
      EXPECT_EQ(route, c.route);
    }
    for (const std::string& text : c.drawn) EXPECT_TRUE(Draws(script, text)) << text;
    for (const std::string& text : c.notDrawn) EXPECT_FALSE(Draws(script, text)) << text;
  }
}

TEST(HostileInput, LongNamesAreCutWhereTheyAreKeptAndWholeWhereTheyAreDrawn) {
  struct Case {
    const char* what;
    std::string indexC;  // replaces subsector C's index line
    std::vector<std::string> arguments;
    std::string err;
    int errors;
    std::vector<std::string> drawn;
  };
  const std::string n300(300, 'N');
  const std::string t300(300, 'T');
  const std::string y300(300, 'Y');
  const Case cases[] = {
      {"subsector name",
       "C: " + n300,
       {"-scd", "delta"},
       "Couldn't open file <delta/map\\" + std::string(20, 'N') + ">!\n" +
           "Couldn't open file <delta/map\\" + std::string(20, 'N') + ">!\n",
       4,
       {std::string(26, 'N'), std::string(26, 'N') + " Subsector"}},
      {"title",
       "",
       {"-sa", "delta"},
       "",
       0,
       {t300, "(subsector A of " + std::string(64, 'T') + " sector)"}},
      {"date text", "", {"-y", y300, "delta"}, "", 0, {y300}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    WriteSector(dir, "delta", t300, {{'B', kBrine}});
    if (!c.indexC.empty()) {
      std::string data = dir.Read("delta/delta.dat");
      const size_t at = data.find("\nC:") + 1;
      data.replace(at, data.find('\n', at) - at, c.indexC);
      dir.Write("delta/delta.dat", data);
    }
    const ProgramResult run = RunTorvane(dir.path(), c.arguments);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.out, Total(c.errors));
    EXPECT_EQ(run.status, ExpectedStatus(-c.errors));
    std::string scripts = dir.Read("delta/delta.scr");
    EXPECT_TRUE(Draws(scripts, "Brine")) << "the rest of the sector";
    for (char letter : {'A', 'C', 'D'}) {
      scripts += dir.Read("delta/delta" + std::string(1, letter) + ".scr");
    }
    for (const std::string& text : c.drawn) EXPECT_TRUE(Draws(scripts, text)) << text.substr(0, 40);
  }
}

TEST(HostileInput, PathsThatCannotWorkAreReportedAndCounted) {
  struct Case {
    const char* what;
    std::vector<std::string> directories;  // made where a file is expected
    std::vector<std::string> arguments;
    std::string err;
    bool sectorScriptWritten;
    std::string alsoWritten = "";
  };
  std::string deep;
  while (deep.size() < 4200) deep += "deep/";
  const std::string long_name(300, 'L');
  const Case cases[] = {
      {"data file is a directory",
       {"delta/delta.dat"},
       {"delta"},
       "Couldn't open file <delta/delta.dat>!\n",
       false},
      {"map file is a directory",
       {"delta/map/SUBA.DAT"},
       {"delta"},
       "Couldn't open file <delta/map\\SUBA.DAT>!\n",
       true},
      {"sector script is a directory",
       {"delta/delta.scr"},
       {"-s+", "delta"},
       "Error creating file <delta/delta.scr>!\n",
       false},
      {"subsector script is a directory",
       {"delta/deltaA.scr"},
       {"-sab", "delta"},
       "Error creating file <delta/deltaA.scr>!\n",
       true,
       "delta/deltaB.scr"},
      {"output directory does not exist",
       {},
       {"-d", "nowhere", "delta"},
       "Error creating file <nowhere\\delta.scr>!\n",
       false},
      {"output directory name too long",
       {},
       {"-d", long_name, "delta"},
       "Error creating file <" + long_name + "\\delta.scr>!\n",
       false},
      {"output directory path too long",
       {},
       {"-d", deep, "delta"},
       "Error creating file <" + deep + "\\delta.scr>!\n",
       false},
      {"sector name too long",
       {},
       {long_name},
       "Couldn't open file <" + long_name + "/" + long_name + ".dat>!\n",
       false},
      {"sector path too long",
       {},
       {deep + "delta"},
       "Couldn't open file <" + deep + "delta/delta.dat>!\n",
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    WriteSector(dir, "delta", "Delta", {{'A', kFarrow}, {'B', kBrine}});
    for (const std::string& path : c.directories) {
      std::filesystem::remove(dir.path() / path);
      std::filesystem::create_directories(dir.path() / path);
    }
    const ProgramResult run = RunTorvane(dir.path(), c.arguments);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.out, Total(2));
    EXPECT_EQ(run.status, ExpectedStatus(-2));
    const std::string script = dir.Read("delta/delta.scr");
    EXPECT_EQ(IsWholeScript(script), c.sectorScriptWritten);
    if (c.sectorScriptWritten) {
      EXPECT_TRUE(Draws(script, "Brine")) << "the rest of the sector";
    }
    if (!c.alsoWritten.empty()) {
      EXPECT_TRUE(IsWholeScript(dir.Read(c.alsoWritten)));
    }
  }
}

// A map file that is no regular file is refused unread, and the run does
// not wait on it: a FIFO on a POSIX host; on Windows a device name, which
// opens the device in whatever directory it stands.
TEST(HostileInput, MapFileThatIsNoRegularFileIsRefusedWithoutWaiting) {
  ScratchDir dir;
  WriteSector(dir, "delta", "Delta", {{'A', kFarrow}, {'B', kBrine}});
#ifdef _WIN32
  const std::vector<std::string> refused = {"NUL", "COM1", "con.txt", "Lpt1.dat", "AUX"};
  std::string data = dir.Read("delta/delta.dat");
  for (size_t i = 0; i < refused.size(); ++i) {
    const std::string file = std::string("SUB") + static_cast<char>('C' + i) + ".DAT";
    data.replace(data.find(file), file.size(), refused[i]);
  }
  dir.Write("delta/delta.dat", data);
#else
  const std::vector<std::string> refused = {"SUBA.DAT"};
  std::filesystem::remove(dir.path() / "delta/map/SUBA.DAT");
  ASSERT_EQ(mkfifo((dir.path() / "delta/map/SUBA.DAT").c_str(), 0600), 0);
#endif
  std::string err;
  for (const std::string& file : refused) err += "Couldn't open file <delta/map\\" + file + ">!\n";
  const int errors = 2 * static_cast<int>(refused.size());  // each message and its subsector
  const ProgramResult run = RunTorvane(dir.path(), {"delta"});
  EXPECT_EQ(run.err, err);
  EXPECT_EQ(run.out, Total(errors));
  EXPECT_EQ(run.status, ExpectedStatus(-errors));
  const std::string script = dir.Read("delta/delta.scr");
  EXPECT_TRUE(IsWholeScript(script));
  EXPECT_TRUE(Draws(script, "Brine")) << "the rest of the sector";
}

}  // namespace
}  // namespace torvane_test
