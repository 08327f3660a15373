#include "import/import_run.h"

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
using torvane_test::ScratchDir;

const char kColumnFile[] =
    "Hex  Name          UWP       Remarks       B  Z PBG A    Stellar\n"
    "---- ------------- --------- ------------- -- - --- ---- ----------\n"
    "0102 Alpha         A788899-C Hi Cp         NS A 123 ImDd G2 V\n"
    "0x02 Broken        A788899-C\n";

struct ImportResult {
  int status;
  std::string out, err;
};

ImportResult Import(const std::vector<std::string>& arguments) {
  std::ostringstream out, err;
  const int status = RunImport(*MakeHostFileSystem(), arguments, out, err);
  return {status, out.str(), err.str()};
}

TEST(ImportRun, WritesTheSectorDirectoryAndReportsBadLines) {
  ScratchDir dir;
  dir.Write("reach.txt", kColumnFile);
  const ImportResult run = Import({dir.Path("reach.txt"), dir.Path("out/reach/")});
  EXPECT_EQ(run.status, kImportWritten);
  EXPECT_EQ(run.err,
            dir.Path("reach.txt") + ":4: hex '0x02' is not a hex of the sector (0101 to 3240)\n");
  EXPECT_NE(run.out.find(": 2 world lines read, 1 written unchanged, 0 written changed, 1 skipped; "
                         "0 routes.\n1 line or value could not be used"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(dir.Read("out/reach/reach.dat").substr(0, 7), "reach\n\n");
  EXPECT_NE(dir.Read("out/reach/map/SUBA.DAT").find("\nAlpha         0102 A788899-C  A Cp Hi"),
            std::string::npos);
  EXPECT_TRUE(dir.Exists("out/reach/map/SUBP.DAT"));
  EXPECT_FALSE(dir.Exists("out/.reach.torvane-import"));
}

TEST(ImportRun, InputsOverTheLimitAreRefusedAndNothingIsWritten) {
  ScratchDir dir;
  dir.Write("reach.txt", kColumnFile);
  dir.Write("huge.txt", std::string(kLargestWholeInput + 1, ' '));
  dir.Write("huge.xml", "<" + std::string(kLargestWholeInput, ' '));
  for (const auto& [sector, metadata] : {std::pair{"huge.txt", ""}, {"reach.txt", "huge.xml"}}) {
    std::vector<std::string> arguments = {dir.Path(sector)};
    if (*metadata) arguments.push_back(dir.Path(metadata));
    arguments.push_back(dir.Path("out/reach"));
    const ImportResult run = Import(arguments);
    EXPECT_EQ(run.status, kImportFailed);
    EXPECT_EQ(run.err, "torvane-import: " + dir.Path(*metadata ? metadata : sector) +
                           " is 16777217 bytes, more than the 16 MiB (16777216 bytes) that a "
                           "sector file or its metadata can be; nothing was written\n");
    EXPECT_FALSE(dir.Exists("out/reach"));
  }
}

// A whole milieu imported in a loop meets sectors nobody has explored yet.
TEST(ImportRun, ASectorWithoutWorldsIsStillWritten) {
  ScratchDir dir;
  dir.Write("void.tab", "Hex\tName\tUWP\tPBG\n");
  dir.Write("void.xml",
            "<Sector><Name>Void</Name><Subsectors><Subsector Index=\"B\">Deep</Subsector>"
            "</Subsectors></Sector>");
  const ImportResult run = Import({dir.Path("void.tab"), dir.Path("void.xml"), dir.Path("void")});
  EXPECT_EQ(run.status, kImportWritten) << run.err;
  EXPECT_NE(run.out.find(": 0 world lines read, 0 written unchanged"), std::string::npos)
      << run.out;
  EXPECT_NE(dir.Read("void/void.dat").find("\nB: Deep "), std::string::npos);
  EXPECT_TRUE(dir.Exists("void/map/SUBP.DAT"));
}

TEST(ImportRun, StrictWritesNothingWhenALineCannotBeRead) {
  ScratchDir dir;
  dir.Write("reach.txt", kColumnFile);
  const ImportResult run = Import({"--strict", dir.Path("reach.txt"), dir.Path("out/reach")});
  EXPECT_EQ(run.status, kImportFailed);
  EXPECT_NE(run.err.find(":4: hex '0x02'"), std::string::npos);
  EXPECT_NE(run.err.find("1 problem and --strict: nothing written"), std::string::npos);
  EXPECT_FALSE(dir.Exists("out/reach"));
}

TEST(ImportRun, ExistingFilesAreReplacedOnlyWithForce) {
  ScratchDir dir;
  dir.Write("reach.txt", kColumnFile);
  dir.Write("out/reach/map/suba.dat", "hand edits\n");
  const ImportResult refused = Import({dir.Path("reach.txt"), dir.Path("out/reach")});
  EXPECT_EQ(refused.status, kImportFailed);
  EXPECT_NE(refused.err.find("already holds map/suba.dat"), std::string::npos) << refused.err;
  EXPECT_EQ(dir.Read("out/reach/map/suba.dat"), "hand edits\n");
  EXPECT_FALSE(dir.Exists("out/reach/reach.dat"));

  const ImportResult forced = Import({"--force", dir.Path("reach.txt"), dir.Path("out/reach")});
  EXPECT_EQ(forced.status, kImportWritten) << forced.err;
  EXPECT_NE(dir.Read("out/reach/map/suba.dat").find("Alpha"), std::string::npos);
  EXPECT_TRUE(dir.Exists("out/reach/reach.dat"));
}

// A write that fails part-way leaves no sector directory half-written: a
// new one is never renamed into place and its hidden build is removed;
// existing files keep their text and no temporary file stays beside them.
TEST(ImportRun, AFailedWriteLeavesNothingHalfWritten) {
  const auto path = [](std::string_view file) {
    return Utf8FromPath(std::filesystem::path("out/reach") / file);
  };
  const struct {
    bool existing;  // out/reach/map/suba.dat holds hand edits, and --force is given
    FileOp failing;
    int nth;
    std::string message;
  } cases[] = {
      {false, FileOp::kWrite, 3, "cannot write " + path("map/SUBB.DAT")},
      {false, FileOp::kRename, 1, "cannot create out/reach: made to fail"},
      {true, FileOp::kWrite, 1, "cannot write " + path("reach.dat") + ": nothing replaced"},
      {true, FileOp::kWrite, 17, "cannot write " + path("map/SUBP.DAT") + ": nothing replaced"},
      {true, FileOp::kFlush, 1, "cannot replace " + path("reach.dat") + ": made to fail"},
  };
  for (const auto& c : cases) {
    torvane_test::MemoryFileSystem disk;
    disk.AddFile("reach.txt", kColumnFile);
    if (c.existing) disk.AddFile("out/reach/map/suba.dat", "hand edits\n");
    disk.FailOperation(c.failing, c.nth);
    std::ostringstream out, err;
    const std::vector<std::string> arguments = {"--force", "reach.txt", "out/reach"};
    EXPECT_EQ(RunImport(disk, arguments, out, err), kImportFailed);
    EXPECT_NE(err.str().find("torvane-import: " + c.message + "\n"), std::string::npos)
        << err.str();
    if (c.existing) {
      EXPECT_EQ(disk.ListDirectory("out/reach"), std::vector<std::string>{"map"});
      EXPECT_EQ(disk.ListDirectory("out/reach/map"), std::vector<std::string>{"suba.dat"});
      EXPECT_EQ(disk.FileBytes("out/reach/map/suba.dat"), "hand edits\n");
    } else {
      EXPECT_EQ(disk.ListDirectory("out"), std::vector<std::string>{});
    }
  }
}

// Existing files are found as torvane finds them: the name as written when
// it is there, else the first other spelling in byte order.
TEST(ImportRun, ExistingFilesAreFoundByTorvanesRule) {
  const struct {
    std::vector<std::string> existing;
    std::string_view held;
  } cases[] = {
      {{"out/reach/map/suba.dat", "out/reach/map/SUBA.DAT"}, "already holds map/SUBA.DAT "},
      {{"out/reach/map/suba.dat", "out/reach/map/Suba.dat"}, "already holds map/Suba.dat "},
      {{"out/reach/Map/SUBA.dat"}, "already holds Map/SUBA.dat "},
  };
  for (const auto& c : cases) {
    torvane_test::MemoryFileSystem disk;
    disk.AddFile("reach.txt", kColumnFile);
    for (const std::string& file : c.existing) disk.AddFile(file, "hand edits\n");
    std::ostringstream out, err;
    EXPECT_EQ(RunImport(disk, {"reach.txt", "out/reach"}, out, err), kImportFailed);
    EXPECT_NE(err.str().find(c.held), std::string::npos) << err.str();
  }
}

TEST(ImportRun, VerboseSaysHowValuesWereFitted) {
  ScratchDir dir;
  dir.Write("reach.txt", kColumnFile);
  const ImportResult quiet = Import({dir.Path("reach.txt"), dir.Path("a/reach")});
  EXPECT_EQ(quiet.err.find("allegiance 'ImDd' written as 'Im'"), std::string::npos);
  const ImportResult verbose = Import({"--verbose", dir.Path("reach.txt"), dir.Path("b/reach")});
  EXPECT_NE(verbose.err.find(":3: allegiance 'ImDd' written as 'Im'"), std::string::npos);
}

TEST(ImportRun, BadCommandLinesAndUnreadableFilesFail) {
  ScratchDir dir;
  EXPECT_EQ(Import({"--help"}).status, kImportWritten);
  EXPECT_EQ(Import({"--help"}).out.substr(0, 22), "Usage: torvane-import ");
  EXPECT_EQ(Import({"--version"}).out, "torvane-import " TORVANE_VERSION "\n");
  EXPECT_EQ(Import({"--bogus", "a", "b"}).status, kImportUsage);
  EXPECT_EQ(Import({}).status, kImportUsage);
  const ImportResult missing = Import({dir.Path("none.tab"), dir.Path("out/x")});
  EXPECT_EQ(missing.status, kImportFailed);
  EXPECT_EQ(missing.err, "torvane-import: cannot read " + dir.Path("none.tab") + "\n");
  dir.Write("empty.tab", "# nothing\n");
  EXPECT_EQ(Import({dir.Path("empty.tab"), dir.Path("out/x")}).status, kImportFailed);
  dir.Write("reach.txt", kColumnFile);
  dir.Write("bad.xml", "<Sector>");
  const ImportResult bad_xml =
      Import({dir.Path("reach.txt"), dir.Path("bad.xml"), dir.Path("out/x")});
  EXPECT_EQ(bad_xml.status, kImportFailed);
  EXPECT_FALSE(dir.Exists("out/x"));
}

// File names are UTF-8 texts from end to end, also where the host's own
// narrow encoding is something else; the title inside is in Windows-1252.
TEST(ImportRun, NonAsciiNamesAreReadAndWrittenAsGiven) {
  ScratchDir dir;
  const std::string name = "\xC3\x86r\xC3\xB8";                                   // Ærø
  const std::string folder = "\xCE\xBA\xCF\x8C\xCF\x83\xCE\xBC\xCE\xBF\xCF\x82";  // κόσμος
  std::ofstream(dir.path() / PathFromUtf8(name + ".txt"), std::ios::binary) << kColumnFile;
  const std::string sector_file = Utf8FromPath(dir.path() / PathFromUtf8(name + ".txt"));
  const std::string out_dir = Utf8FromPath(dir.path() / PathFromUtf8(folder + "/" + name));
  const ImportResult run = Import({sector_file, out_dir});
  EXPECT_EQ(run.status, kImportWritten) << run.err;
  EXPECT_EQ(run.out.substr(0, 6 + out_dir.size()), "Wrote " + out_dir) << run.out;
  EXPECT_TRUE(std::filesystem::exists(dir.path() /
                                      PathFromUtf8(folder + "/" + name + "/" + name + ".dat")));
  std::ifstream dat(dir.path() / PathFromUtf8(folder + "/" + name + "/" + name + ".dat"));
  std::string title;
  std::getline(dat, title);
  EXPECT_EQ(title, "\xC6r\xF8");
}

TEST(ImportRun, SummaryCountsWorldLinesInEveryOutcome) {
  struct Case {
    const char* text;
    const char* summary;  // after "file NAME: "
  };
  const Case cases[] = {
      {"Alpha         0101 A788899-C  A Hi              A  123 Im G2 V\n",
       "1 world line read, 1 written unchanged, 0 written changed, 0 skipped; 0 routes.\n"},
      {"Alpha         0101 A788899-C  A Hi              A  ?23 Im G2 V\n"
       "Beta          0102 A788899-C  V Hi                 123 Im\n"
       "$0101 0102 0 0 3\n"
       "Gamma         0103 A788899-C\n"
       "Delta         0104\n",
       "4 world lines read, 1 written unchanged, 2 written changed, 1 skipped; 1 route.\n"
       "1 line or value could not be used; see the messages above.\n"},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    dir.Write("old.sec", c.text);
    const ImportResult run = Import({dir.Path("old.sec"), dir.Path("out/old")});
    EXPECT_EQ(run.status, kImportWritten) << run.err;
    const std::string prefix = "file " + dir.Path("old.sec") + ": ";
    ASSERT_NE(run.out.find(prefix), std::string::npos) << run.out;
    EXPECT_EQ(run.out.substr(run.out.find(prefix) + prefix.size()), c.summary);
  }
}

// Notes follow the lines of the sector file, then those of the metadata,
// though worlds are laid out in hex order and routes after them.
TEST(ImportRun, VerboseSaysWhatChangedOnEachLineInLineOrder) {
  torvane_test::MemoryFileSystem disk;
  disk.AddFile("old.sec",
               "Gamma         0103 A788899-C  A Hi              A  ?23 Im G2 V\n"
               "$0101 0103 1 0 3\n"
               "A Name Too Long For It   0101 A788899-C\n"
               "Beta          0102 A788899-C  V Hi                 123 Im\n");
  disk.AddFile("old.xml",
               "<Sector><Routes><Route Start='0101' End='0102' Color='red'/></Routes>"
               "</Sector>\n");
  std::ostringstream out, err;
  EXPECT_EQ(RunImport(disk, {"--verbose", "old.sec", "old.xml", "out/old"}, out, err),
            kImportWritten);
  EXPECT_EQ(err.str(),
            "old.sec:1: PBG '?23' written as '023'\n"
            "old.sec:2: route offsets 1 0 disagree with end hex 0103, which decides as it does "
            "for torvane\n"
            "old.sec:3: name 'A Name Too Long For It' cut to 'A Name Too Lon'\n"
            "old.sec:3: no PBG: written as '000'\n"
            "old.xml:1: route colour 'red' is a web colour: the colour code comes from type and "
            "allegiance\n");
  EXPECT_NE(disk.FileBytes("out/old/map/SUBA.DAT")
                ->find("\nBeta          0102 A788899-C  S Hi                 123 Im\n"),
            std::string::npos);
}

// The metadata is told from a sector file by its content: XML.
// Files dropped on the program come in any order and without OUTDIR/NAME:
// the sector directory goes beside the sector file.
TEST(ImportRun, MetadataGivenBeforeTheSectorFileIsKnown) {
  const char metadata[] =
      "\xEF\xBB\xBF\n<?xml version=\"1.0\"?>\n<Sector><Name>Reach</Name></Sector>\n";
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string first_message;
    std::string data_file = "out/reach/reach.dat";
    std::string title = "Reach";  // from the metadata, else the directory's name
  } cases[] = {
      {{"reach.xml", "reach.txt", "out/reach"},
       kImportWritten,
       "torvane-import: reach.xml is the metadata and reach.txt the sector file; read them that "
       "way round\n"},
      {{"reach.xml", "out/reach"},
       kImportUsage,
       "torvane-import: reach.xml is XML metadata, not a sector file; the sector file comes "
       "first: torvane-import SECTORFILE [METADATA] [OUTDIR/NAME]\n"},
      {{"reach.xml", "more.xml", "out/reach"},
       kImportFailed,
       "torvane-import: no world could be read from reach.xml: nothing written\n"},
      {{"maps/reach.txt"}, kImportWritten, "", "maps/reach/reach.dat", "reach"},
      {{"maps/reach.xml", "maps/reach.txt"},
       kImportWritten,
       "torvane-import: maps/reach.xml is the metadata",
       "maps/reach/reach.dat"},
  };
  for (const auto& c : cases) {
    torvane_test::MemoryFileSystem disk;
    for (const std::string dir : {"", "maps/"}) {
      disk.AddFile(dir + "reach.txt", kColumnFile);
      disk.AddFile(dir + "reach.xml", metadata);
    }
    disk.AddFile("more.xml", metadata);
    std::ostringstream out, err;
    EXPECT_EQ(RunImport(disk, c.arguments, out, err), c.status);
    EXPECT_EQ(err.str().substr(0, c.first_message.size()), c.first_message);
    if (c.status != kImportWritten) continue;
    EXPECT_EQ(disk.FileBytes(c.data_file).value_or("").substr(0, 7), c.title + "\n\n");
    EXPECT_NE(out.str().find(" from column file "), std::string::npos) << out.str();
  }
}

TEST(ImportRun, StrictFailsWhenAnOlderLineIsSkippedOrItsFieldsCannotBeFound) {
  struct Case {
    const char* text;
    const char* problem;
  };
  const Case cases[] = {
      {"Alpha         0101 A788899-C  A Hi              A  123 Im\n"
       "Beta          0102 A788899-C  A Hi              A  123 Imperial\n",
       ":2: allegiance 'Imperial' is not 2 to 4 letters or \"--\"\n"},
      {"Alpha         0101 A788899-C  A Hi              A  123 Im\nBeta 0102 A7-C\n",
       ":2: not a world line: no hex and world profile such as '0101 A788899-C'\n"},
      {"Alpha         0101 A788899-C\nBeta          0101 A788899-C\n",
       ":2: hex 0101 already holds 'Alpha' from "},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    dir.Write("old.sec", c.text);
    const ImportResult run = Import({"--strict", dir.Path("old.sec"), dir.Path("out/old")});
    EXPECT_EQ(run.status, kImportFailed) << c.text;
    EXPECT_NE(run.err.find(dir.Path("old.sec") + c.problem), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("1 problem and --strict: nothing written"), std::string::npos);
    EXPECT_FALSE(dir.Exists("out/old"));
  }
}

}  // namespace
}  // namespace torvane
