// Sector conversion: the paths a sector argument names, the order of the
// sector and subsector scripts, and how failures are counted.
#include "sector/sector_conversion.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "testing/sector_files.h"
#include "testing/test_script.h"

namespace torvane {
namespace {

using torvane_test::FileOp;
using torvane_test::MemoryFileSystem;
using torvane_test::ScriptLines;
using torvane_test::TestRun;

using Lines = std::vector<std::string>;

TEST(SectorPaths, ArgumentsNameTheDirectoryDataFileAndScripts) {
  struct Case {
    const char* argument;
    const char* drive;
    const char* sector_dir;
    const char* data_file;
    const char* script;
  };
  const Case cases[] = {
      {"c:\\maps\\delta", "c:", "\\maps\\delta/", "c:\\maps\\delta/delta.dat",
       "c:\\maps\\delta/delta.scr"},
      {"c:\\maps\\delta.old", "c:", "\\maps\\delta/", "c:\\maps\\delta/delta.dat",
       "c:\\maps\\delta/delta.scr"},
      {"..\\delta", "", "..\\delta/", "..\\delta/delta.dat", "..\\delta/delta.scr"},
      {"delta", "", "delta/", "delta/delta.dat", "delta/delta.scr"},
      {"delta/", "", "delta/", "delta/delta.dat", "delta/delta.scr"},
      {"maps\\delta\\\\", "", "maps\\delta/", "maps\\delta/delta.dat", "maps\\delta/delta.scr"},
      {"/home/me/delta", "", "/home/me/delta/", "/home/me/delta/delta.dat",
       "/home/me/delta/delta.scr"},
  };
  for (const Case& c : cases) {
    const SectorPaths paths = BuildSectorPaths(c.argument);
    EXPECT_EQ(paths.drive, c.drive) << c.argument;
    EXPECT_EQ(paths.sectorDir, c.sector_dir) << c.argument;
    EXPECT_EQ(paths.dataFile, c.data_file) << c.argument;
    EXPECT_EQ(paths.sectorScript, c.script) << c.argument;
  }
  EXPECT_EQ(SubsectorScriptPath(BuildSectorPaths("c:\\maps\\delta"), 2),
            "c:\\maps\\delta/deltaC.scr");
}

// A data file whose index names an empty map file for every subsector.
void AddSector(MemoryFileSystem& fs, const std::string& title) {
  for (const auto& [path, bytes] : torvane_test::SectorFiles("d.dat", title, {}, {}, "# empty\n")) {
    fs.AddFile("d/" + path, bytes);
  }
}

TEST(ConvertSector, SectorScriptHoldsTitleAndDateText) {
  TestRun run;
  MemoryFileSystem& fs = run.fs();
  AddSector(fs, "Delta");
  run.options().dateText = "1105";
  ASSERT_EQ(ConvertSector(run.context(), "d"), 1);
  EXPECT_EQ(run.log().ErrorCount(), 0) << run.errors();
  EXPECT_EQ(ScriptLines(*fs.FileBytes("d/d.scr")),
            (Lines{"ECOFF", "LAYER STANDARD", "LAYER MAP BORDER", "COLOR 15", "TSPECF Arial",
                   "TSPECH 23.000000", "TSPECA 90.000000", "TSPECJ 6", "TSPECS 16", "TEXTM Delta",
                   "495.000000,0.000000", "TSPECH 8.000000", "TSPECJ 2", "TEXTM 1105",
                   "540.000000,293.000000", "ECON"}));
  EXPECT_EQ(fs.OpenFiles(), 0);
}

TEST(ConvertSector, SubsectorScriptsCarryACaptionCutAt64Characters) {
  TestRun run;
  MemoryFileSystem& fs = run.fs();
  const std::string title(70, 't');
  AddSector(fs, title);
  run.options().subsectors[2] = 1;
  ASSERT_EQ(ConvertSector(run.context(), "d"), 1);
  // Unnamed neighbours leave only the empty label group before the caption.
  EXPECT_EQ(
      ScriptLines(*fs.FileBytes("d/dC.scr")),
      (Lines{"ECOFF", "LAYER STANDARD", "LAYER MAP BORDER", "LAYER STANDARD", "LAYER MAP BORDER",
             "COLOR 15", "TSPECF Arial", "TSPECH 3.000000", "TSPECA 0.000000", "TSPECJ 7",
             "TSPECS 16", "TEXTM (subsector C of " + title.substr(0, 64) + " sector)",
             "62.500000,-23.000000", "ECON"}));
  EXPECT_NE(fs.FileBytes("d/d.scr")->find("TEXTM " + title + "\r\n"), std::string::npos);
  EXPECT_FALSE(fs.Exists("d/dA.scr"));
}

TEST(ConvertSector, MapFilesAreReadOnceForTheSectorAndItsSubsectorScripts) {
  TestRun run;
  MemoryFileSystem& fs = run.fs();
  AddSector(fs, "Delta");
  fs.AddFile("d/map\\SUBB.DAT", "Beta          0904 B588853-8\n");
  fs.AddFile("d/map\\SUBA.DAT", "");  // reported in both scripts that draw it
  run.options().subsectors[0] = 1;
  run.options().subsectors[1] = 1;
  ASSERT_EQ(ConvertSector(run.context(), "d"), 1);
  EXPECT_EQ(run.errors(), "File <d/map\\SUBA.DAT> invalid!\nFile <d/map\\SUBA.DAT> invalid!\n");
  EXPECT_EQ(run.log().ErrorCount(), 4);
  for (char letter = 'B'; letter <= 'P'; ++letter) {
    const std::string open = std::string("open d/map/SUB") + letter + ".DAT";
    EXPECT_EQ(std::count(fs.Log().begin(), fs.Log().end(), open), 1) << letter;
  }
  EXPECT_NE(fs.FileBytes("d/dB.scr")->find("TEXTM Beta\r\n"), std::string::npos);
  // The next sector reads its files afresh.
  fs.AddFile("d/map\\SUBB.DAT", "Gamma         0904 B588853-8\n");
  ASSERT_EQ(ConvertSector(run.context(), "d"), 1);
  EXPECT_NE(fs.FileBytes("d/dB.scr")->find("TEXTM Gamma\r\n"), std::string::npos);
}

TEST(ConvertSector, DataFileWithoutLineEndHasNoTitleAndNoSubsectors) {
  TestRun run;
  MemoryFileSystem& fs = run.fs();
  fs.AddFile("d/d.dat", "Delta");
  run.options().subsectors[0] = 1;
  ASSERT_EQ(ConvertSector(run.context(), "d"), 1);
  // Each of the 16 subsectors fails in the sector pass, A once more in its own.
  EXPECT_EQ(run.log().ErrorCount(), 17);
  EXPECT_EQ(run.errors(), "");
  EXPECT_EQ(ScriptLines(*fs.FileBytes("d/d.scr")),
            (Lines{"ECOFF", "LAYER STANDARD", "LAYER MAP BORDER", "ECON"}));
  EXPECT_EQ(ScriptLines(*fs.FileBytes("d/dA.scr")), (Lines{"ECOFF", "ECON"}));
}

TEST(ConvertSector, EmptyDataFileWritesNoScript) {
  TestRun run;
  MemoryFileSystem& fs = run.fs();
  fs.AddFile("d/d.dat", "");
  EXPECT_EQ(ConvertSector(run.context(), "d"), 0);
  EXPECT_EQ(run.errors(), "File <d/d.dat> invalid!\n");
  EXPECT_EQ(run.log().ErrorCount(), 1);
  EXPECT_FALSE(fs.Exists("d/d.scr"));
}

TEST(ConvertSector, SectorScriptThatDoesNotOpenStopsTheSector) {
  TestRun run;
  MemoryFileSystem& fs = run.fs();
  AddSector(fs, "Delta");
  run.options().subsectors.fill(1);
  fs.FailOperation(FileOp::kCreate, 1);
  EXPECT_EQ(ConvertSector(run.context(), "d"), 0);
  EXPECT_EQ(run.errors(), "Error creating file <d/d.scr>!\n");
  EXPECT_EQ(run.log().ErrorCount(), 1);
  EXPECT_FALSE(fs.Exists("d/dA.scr"));
  EXPECT_EQ(fs.OpenFiles(), 0);
}

TEST(ConvertSector, SubsectorScriptThatDoesNotOpenIsSkippedAndFailsTheSector) {
  TestRun run;
  MemoryFileSystem& fs = run.fs();
  AddSector(fs, "Delta");
  run.options().subsectors[0] = 1;
  run.options().subsectors[1] = 1;
  fs.FailOperation(FileOp::kCreate, 2);  // the first subsector script
  EXPECT_EQ(ConvertSector(run.context(), "d"), 0);
  EXPECT_EQ(run.errors(), "Error creating file <d/dA.scr>!\n");
  EXPECT_EQ(run.log().ErrorCount(), 1);
  EXPECT_TRUE(fs.Exists("d/dB.scr"));
  EXPECT_EQ(fs.OpenFiles(), 0);
}

TEST(ConvertSector, SubsectorWithoutIndexLineCountsInEveryPassThatMeetsIt) {
  TestRun run;
  MemoryFileSystem& fs = run.fs();
  AddSector(fs, "Delta");
  std::string data = *fs.FileBytes("d/d.dat");
  data.replace(data.find("\nC:"), 3, "\nc:");
  fs.AddFile("d/d.dat", data);
  run.options().subsectors[2] = 1;
  ASSERT_EQ(ConvertSector(run.context(), "d"), 1);
  EXPECT_EQ(run.log().ErrorCount(), 2);
  EXPECT_TRUE(fs.Exists("d/dC.scr"));
}

// Two sectors converted in one run: the legend of each lists only the kinds
// of base met in that sector, on its sector map and on its subsector map.
TEST(ConvertSector, SecondSectorsLegendListsOnlyItsOwnBases) {
  TestRun run;
  MemoryFileSystem& fs = run.fs();
  const struct {
    const char* sector;
    const char* world;
  } kSectors[] = {
      {"d", "Farrow        0304 A788899-C  N Hi               A  123 Im G2 V\n"},
      {"e", "Gannet        0304 A788899-C  S Hi               A  123 Im G2 V\n"},
  };
  for (const auto& sector : kSectors) {
    const std::string name = sector.sector;
    fs.AddFile(name + "/" + name + ".dat", "Delta\nA:                           SUBA.DAT\n");
    fs.AddFile(name + "/map\\SUBA.DAT", sector.world);
  }
  run.options().subsectors[0] = 1;
  ASSERT_EQ(ConvertSector(run.context(), "d"), 1);
  ASSERT_EQ(ConvertSector(run.context(), "e"), 1);
  EXPECT_EQ(run.errors(), "");
  const struct {
    const char* script;
    const char* listed;
    const char* not_listed;
  } kLegends[] = {
      {"d/d.scr", "TEXTM Imperial Naval Base", "TEXTM Imperial Scout Base"},
      {"d/dA.scr", "TEXTM Imperial Naval Base", "TEXTM Imperial Scout Base"},
      {"e/e.scr", "TEXTM Imperial Scout Base", "TEXTM Imperial Naval Base"},
      {"e/eA.scr", "TEXTM Imperial Scout Base", "TEXTM Imperial Naval Base"},
  };
  for (const auto& legend : kLegends) {
    const Lines lines = ScriptLines(fs.FileBytes(legend.script).value_or(""));
    EXPECT_EQ(std::ranges::count(lines, std::string(legend.listed)), 1) << legend.script;
    EXPECT_EQ(std::ranges::count(lines, std::string(legend.not_listed)), 0) << legend.script;
  }
}

}  // namespace
}  // namespace torvane
