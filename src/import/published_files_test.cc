#include "import/published_files.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

// Each sector as "directory: files | metadata", then the lone metadata.
std::vector<std::string> Paired(const std::vector<std::string>& paths) {
  const PublishedFiles published = PairPublishedFiles(paths);
  std::vector<std::string> shown;
  for (const PublishedSector& sector : published.sectors) {
    std::string line = sector.directory_name + ":";
    for (const std::string& file : sector.sector_files) line += " " + file;
    line += " |";
    for (const std::string& file : sector.metadata_files) line += " " + file;
    shown.push_back(line);
  }
  for (const std::string& file : published.lone_metadata) shown.push_back("alone: " + file);
  return shown;
}

TEST(PublishedFiles, SectorFilesTakeTheMetadataOfTheirNameElseTheOnlyOne) {
  const struct {
    std::vector<std::string> paths;
    std::vector<std::string> paired;
  } cases[] = {
      {{"Reach.tab", "Reach.xml"}, {"Reach: Reach.tab | Reach.xml"}},
      {{"reach.XML", "maps/Reach.tab"}, {"Reach: maps/Reach.tab | reach.XML"}},
      {{"Reach.tab", "Other.xml"}, {"Reach: Reach.tab | Other.xml"}},
      {{"Reach.tab"}, {"Reach: Reach.tab |"}},
      {{"A.tab", "B.sec", "B.xml", "C.xml"}, {"A: A.tab |", "B: B.sec | B.xml", "alone: C.xml"}},
      {{"A.tab", "B.tab", "C.xml"}, {"A: A.tab |", "B: B.tab |", "alone: C.xml"}},
      {{"Reach.xml", "Spin.xml"}, {"alone: Reach.xml", "alone: Spin.xml"}},
      // One sector in two formats, or two files that would make one directory.
      {{"Gak.sec", "Gak.txt", "Gak.xml"}, {"Gak: Gak.sec Gak.txt | Gak.xml"}},
      {{"a/Reach.tab", "b/reach.TAB"}, {"Reach: a/Reach.tab b/reach.TAB |"}},
      {{"Reach.tab", "Reach.xml", "reach.XML"}, {"Reach: Reach.tab | Reach.xml reach.XML"}},
      {{"Reach", "Reach-sector.tab"}, {"Reach-sector: Reach Reach-sector.tab |"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Paired(c.paths), c.paired) << c.paths.front();
}

TEST(PublishedFiles, SectorDirectoryIsNamedAfterTheFile) {
  EXPECT_EQ(SectorDirectoryName("maps/Reach.tab"), "Reach");
  EXPECT_EQ(SectorDirectoryName("Reach.v2.sec"), "Reach.v2");
  EXPECT_EQ(SectorDirectoryName("maps/Reach"), "Reach-sector");
}

}  // namespace
}  // namespace torvane
