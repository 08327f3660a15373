#include "import/metadata_reader.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

const char kMetadata[] =
    "<?xml version=\"1.0\"?>\n"
    "<Sector Abbreviation=\"Test\">\n"
    "  <Name Lang=\"zz\">Elsewise</Name>\n"
    "  <Name>Test\n    Reach</Name>\n"
    "  <Subsectors>\n"
    "    <Subsector Index=\"A\">First</Subsector>\n"
    "    <Subsector Index=\"p\">Last</Subsector>\n"
    "    <Subsector Index=\"Q\">Nowhere</Subsector>\n"
    "  </Subsectors>\n"
    "  <Routes>\n"
    "    <Route Start=\"0101\" End=\"0203\" Type=\"Trade\" Allegiance=\"ImDd\" Color=\"red\" />\n"
    "    <Route Start=\"3209\" End=\"0208\" EndOffsetX=\"1\" />\n"
    "    <Route Start=\"0140\" End=\"0101\" StartOffsetY=\"-1\" EndOffsetY=\"1\" />\n"
    "    <Route Start=\"01\" End=\"0203\" />\n"
    "    <Route Start=\"0101\" End=\"0203\" EndOffsetX=\"one\" />\n"
    "  </Routes>\n"
    "</Sector>\n";

TEST(MetadataReader, GivesTitleSubsectorNamesAndRoutes) {
  ImportedSector sector;
  sector.routes.push_back(ImportedRoute{});  // a route of the sector file, replaced
  ImportLog log;
  ASSERT_TRUE(ReadMetadata(kMetadata, "t.xml", sector, log));
  EXPECT_EQ(sector.title, "Test Reach");
  EXPECT_EQ(sector.subsector_names[0], "First");
  EXPECT_EQ(sector.subsector_names[15], "Last");
  ASSERT_EQ(sector.routes.size(), 3u);
  const ImportedRoute& trade = sector.routes[0];
  EXPECT_EQ(trade.source.line, 12);
  EXPECT_EQ(trade.type, "Trade");
  EXPECT_EQ(trade.allegiance, "ImDd");
  EXPECT_EQ(trade.start.column, 1);
  EXPECT_EQ(trade.end.row, 3);
  EXPECT_EQ(sector.routes[1].end.sector_x, 1);
  EXPECT_EQ(sector.routes[2].start.sector_y, -1);
  EXPECT_EQ(sector.routes[2].end.sector_y, 1);
  const std::vector<std::string> problems{
      "t.xml:9: subsector Index 'Q' is not a letter A to P",
      "t.xml:15: route Start '01' or End '0203' is not a four-digit hex number",
      "t.xml:16: route offset is not a whole number",
  };
  EXPECT_EQ(log.problems, problems);
  ASSERT_EQ(log.notes.size(), 1u);
  EXPECT_EQ(log.notes[0],
            "t.xml:12: route colour 'red' is a web colour: the colour code comes from type and "
            "allegiance");
}

TEST(MetadataReader, KeepsTheFileRoutesWhenItListsNoneAndTakesATranslatedNameAlone) {
  ImportedSector sector;
  sector.title = "From the file";
  sector.routes.push_back(ImportedRoute{});
  ImportLog log;
  ASSERT_TRUE(
      ReadMetadata("<Sector><Name Lang=\"hv\">Drakkar</Name></Sector>", "t.xml", sector, log));
  EXPECT_EQ(sector.title, "Drakkar");
  EXPECT_EQ(sector.routes.size(), 1u);
  EXPECT_TRUE(log.problems.empty());
}

TEST(MetadataReader, BrokenXmlIsReportedWithItsLine) {
  ImportedSector sector;
  sector.title = "Unchanged";
  ImportLog log;
  EXPECT_FALSE(ReadMetadata("<Sector>\n<Name>Test</Nme>\n</Sector>\n", "t.xml", sector, log));
  ASSERT_EQ(log.problems.size(), 1u);
  EXPECT_EQ(log.problems[0].substr(0, 32), "t.xml:2: not readable as XML: St");
  EXPECT_EQ(sector.title, "Unchanged");
  ImportLog other;
  EXPECT_FALSE(ReadMetadata("<World/>", "t.xml", sector, other));
  EXPECT_EQ(other.problems[0], "t.xml: no <Sector> element: not a sector metadata file");
}

TEST(MetadataReader, RoutesOfEveryRoutesElementAreRead) {
  struct Case {
    const char* routes;
    size_t expected;
  };
  const Case cases[] = {
      {"<Routes></Routes><Routes><Route Start=\"0101\" End=\"0203\"/>"
       "<Route Start=\"0203\" End=\"0305\"/></Routes>",
       2},
      {"<Routes><Route Start=\"0101\" End=\"0203\"/></Routes><Borders/>"
       "<Routes><Route Start=\"0203\" End=\"0305\"/></Routes>",
       2},
      {"<Routes/><Routes/>", 1},  // none listed: the sector file's route stays
      {"", 1},
  };
  for (const Case& c : cases) {
    ImportedSector sector;
    sector.routes.push_back(ImportedRoute{});
    ImportLog log;
    const std::string text = std::string("<Sector><Name>Test</Name>") + c.routes + "</Sector>";
    ASSERT_TRUE(ReadMetadata(text, "t.xml", sector, log));
    EXPECT_EQ(sector.routes.size(), c.expected) << c.routes;
    EXPECT_TRUE(log.problems.empty());
  }
}

TEST(MetadataReader, XmlIsToldFromASectorFileByItsFirstCharacter) {
  EXPECT_TRUE(IsXmlText("<?xml version=\"1.0\"?>\n<Sector/>"));
  EXPECT_TRUE(IsXmlText("\xEF\xBB\xBF \r\n\t<Sector/>"));
  EXPECT_FALSE(IsXmlText("Hex\tName\tUWP\n0101\tAlpha\tA788899-C\n"));
  EXPECT_FALSE(IsXmlText("# <Sector>\n"));
  EXPECT_FALSE(IsXmlText("\xEF\xBB\xBF  \n"));
}

}  // namespace
}  // namespace torvane
