#include "import/sector_layout.h"

#include <gtest/gtest.h>

#include "testing/imported_data.h"

namespace torvane {
namespace {

using torvane_test::ImportedRouteBetween;
using torvane_test::ImportedWorldAt;

TEST(SectorLayout, SectorFilesHoldIndexRoutesAndWorldsInHexOrder) {
  ImportedSector sector;
  sector.title = "Test Reach";
  sector.subsector_names[0] = "First";
  sector.subsector_names[5] = "A Subsector Name Too Long To Fit";
  sector.worlds = {ImportedWorldAt(2, 1, "Second"), ImportedWorldAt(1, 2, "First"),
                   ImportedWorldAt(9, 11, "Effy"), ImportedWorldAt(1, 2, "Twin")};
  sector.worlds[2].bases = "D";
  sector.worlds[2].allegiance = "ZhCo";
  sector.routes = {ImportedRouteBetween({0, 0, 1, 2}, {0, 0, 2, 1}),
                   ImportedRouteBetween({-1, 0, 1, 1}, {-1, 0, 1, 2})};
  LayoutCounts counts;
  ImportLog log;
  const std::vector<LaidOutFile> files =
      LayOutSector(sector, "test", "t.tab", MapEncoding::kWindows1252, counts, log);
  EXPECT_EQ(counts.worlds, 3);
  EXPECT_EQ(counts.routes, 1);
  EXPECT_EQ(counts.routes_outside, 1);
  ASSERT_EQ(files.size(), 17u);
  EXPECT_EQ(files[0].path, "test.dat");
  EXPECT_EQ(files[0].text,
            "Test Reach\n"
            "\n"
            "A: First                     SUBA.DAT\n"
            "B:                           SUBB.DAT\n"
            "C:                           SUBC.DAT\n"
            "D:                           SUBD.DAT\n"
            "E:                           SUBE.DAT\n"
            "F: A Subsector Name Too Long SUBF.DAT\n"
            "G:                           SUBG.DAT\n"
            "H:                           SUBH.DAT\n"
            "I:                           SUBI.DAT\n"
            "J:                           SUBJ.DAT\n"
            "K:                           SUBK.DAT\n"
            "L:                           SUBL.DAT\n"
            "M:                           SUBM.DAT\n"
            "N:                           SUBN.DAT\n"
            "O:                           SUBO.DAT\n"
            "P:                           SUBP.DAT\n"
            "\n"
            "Bases:\n"
            "D = Imperial Naval Depot\n"
            "  = None\n"
            "\n"
            "Allegiance:\n"
            "Zh = ZhCo\n"
            "\n"
            "Imported by torvane-import from t.tab\n");
  EXPECT_EQ(files[1].path, "map/SUBA.DAT");
  EXPECT_EQ(files[1].text,
            "@SUB-SECTOR: First SECTOR: Test Reach\n"
            "#\n"
            "$0102 0201 0 0 3\n"
            "#--------1---------2---------3---------4---------5---------6---\n"
            "#Name         Hex  Profile    B Remarks         Z  PBG Al Stars\n"
            "First         0102 A788899-C                       000\n"
            "Second        0201 A788899-C                       000\n");
  EXPECT_EQ(files[6].path, "map/SUBF.DAT");
  EXPECT_NE(files[6].text.find("\nEffy          0911 A788899-C  D                    000 Zh\n"),
            std::string::npos);
  EXPECT_EQ(files[16].path, "map/SUBP.DAT");
  ASSERT_EQ(log.problems.size(), 1u);
  EXPECT_EQ(log.problems[0],
            "t.tab:3: hex 0102 already holds 'First' from t.tab:3: world left out");
}

TEST(SectorLayout, CountsSayWhichWorldLinesWereWrittenChangedOrSkipped) {
  ImportedSector sector;
  sector.world_lines_read = 5;
  sector.worlds = {ImportedWorldAt(1, 1, ""), ImportedWorldAt(1, 1, "Twin"),
                   ImportedWorldAt(2, 2, "Plain"), ImportedWorldAt(3, 3, "A Name Too Long For It")};
  for (size_t i = 0; i < sector.worlds.size(); ++i) {
    sector.worlds[i].source.line = static_cast<int>(i + 2);
    sector.worlds[i].pbg = "100";
  }
  LayoutCounts counts;
  ImportLog log;
  log.Skip({"t.tab", 9}, "not a world line");
  LayOutSector(sector, "test", "t.tab", MapEncoding::kWindows1252, counts, log);
  EXPECT_EQ(counts.world_lines_read, 5);
  EXPECT_EQ(counts.worlds, 3);
  EXPECT_EQ(counts.changed, 1);
  EXPECT_EQ(counts.skipped, 2);
  EXPECT_EQ(counts.written_lines, (std::vector<int>{2, 4, 5}));
  EXPECT_EQ(log.skipped_lines, (std::vector<int>{9, 3}));
  // A second world in the hex of an unnamed one.
  EXPECT_EQ(log.problems.back(),
            "t.tab:3: hex 0101 already holds an unnamed world from t.tab:2: world left out");
}

}  // namespace
}  // namespace torvane
