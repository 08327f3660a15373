#include "import/sector_file_reader.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

// The fields of a world, joined for comparison:
// hex|name|uwp|bases|remarks|zone|pbg|allegiance|stars.
std::string Fields(const ImportedWorld& w) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02d%02d", w.column, w.row);
  return std::string(hex) + "|" + w.name + "|" + w.uwp + "|" + w.bases + "|" + w.remarks + "|" +
         w.zone + "|" + w.pbg + "|" + w.allegiance + "|" + w.stars;
}

const char kTabFile[] =
    "# made up for the tests\r\n"
    "Sector\tSS\tHex\tName\tUWP\tBases\tRemarks\tZone\tPBG\tAllegiance\tStars\t{Ix}\r\n"
    "Test\tA\t0102\tAlpha\tA788899-C\tNS\tHi Cp\tA\t123\tImDd\tG2 V M1 V\t{ 2 }\r\n"
    "\r\n"
    "Test\tP\t3240\tOmega Station\tx000000-0\t-\tBa\t-\t000\tNaHu\tM9 V\t{ -3 }\r\n"
    "Test\tA\t0a01\tBroken\tA788899-C\r\n"
    "Test\tA\t0203\tShort\tA7888-C\r\n"
    "Test\tA\t3301\tPast the edge\tA788899-C\r\n";

const char kColumnFile[] =
    "# made up for the tests\n"
    "\n"
    "Hex  Name          UWP       Remarks       {Ix}   B  Z PBG A    Stellar\n"
    "---- ------------- --------- ------------- ------ -- - --- ---- ----------\n"
    "0102 Alpha         A788899-C Hi Cp         { 2 }  NS A 123 ImDd G2 V M1 V\n"
    "3240 Omega Station X000000-0 Ba            { -3 } -  - 000 NaHu M9 V\n"
    "0a01 Broken        A788899-C\n"
    "0203 Short         A7888-C\n";

const char kOlderFile[] =
    "Test Reach\n"
    "\n"
    "A: First                     A.dat\n"
    "P: Last Subsector            P.dat\n"
    "\n"
    "Bases:\n"
    "2 = Navy & Scout\n"
    "  = None\n"
    "\n"
    "Made up for the tests.\n"
    "@SUB-SECTOR: First SECTOR: Test Reach\n"
    "#\n"
    "$0102 0304 0 0 3\n"
    "$0102 3203 -1 0\n"
    "$0102 0304\n"
    "$01x2 0304 0 0 3\n"
    "$0102 0304 1 0 3\n"
    "#--------1---------2---------3---------4---------5---------6---\n"
    "Alpha         0102 A788899-C  2 Hi Cp           A  123 Im G2 V M1 V\n"
    "Beta          0304 B5A0000-8  N Ba                 001 Zh\n"
    "A Very Long World Name 0405 C444444-4  S Ni              R  000 Na\n"
    "Not a world line\n"
    "@SUB-SECTOR: Unlisted SECTOR: Test Reach\n"
    "$0101 0201 0 0 12\n"
    "Gamma         1811 C444444-4\n";

TEST(SectorFileReader, RecognisesEachFormatFromItsContent) {
  EXPECT_EQ(DetectSectorFileFormat(kTabFile), SectorFileFormat::kTabDelimited);
  EXPECT_EQ(DetectSectorFileFormat(kColumnFile), SectorFileFormat::kColumns);
  EXPECT_EQ(DetectSectorFileFormat(kOlderFile), SectorFileFormat::kOlderColumns);
  EXPECT_EQ(DetectSectorFileFormat(""), SectorFileFormat::kOlderColumns);
}

TEST(SectorFileReader, TabDelimitedFileGivesEveryFieldAndReportsBadLines) {
  ImportLog log;
  const ImportedSector sector = ReadSectorFile(kTabFile, "t.tab", log);
  EXPECT_EQ(sector.codes, CodeStyle::kNewer);
  ASSERT_EQ(sector.worlds.size(), 2u);
  EXPECT_EQ(Fields(sector.worlds[0]), "0102|Alpha|A788899-C|NS|Hi Cp|A|123|ImDd|G2 V M1 V");
  EXPECT_EQ(Fields(sector.worlds[1]), "3240|Omega Station|X000000-0|-|Ba|-|000|NaHu|M9 V");
  EXPECT_EQ(sector.worlds[1].source.line, 5);
  const std::vector<std::string> expected{
      "t.tab:6: hex '0a01' is not a hex of the sector (0101 to 3240)",
      "t.tab:7: world profile 'A7888-C' is not of the form A788899-C (nine characters, '-' eighth)",
      "t.tab:8: hex '3301' is not a hex of the sector (0101 to 3240)",
  };
  EXPECT_EQ(log.problems, expected);
}

TEST(SectorFileReader, HeaderWithoutProfileColumnIsReported) {
  ImportLog log;
  const ImportedSector sector = ReadSectorFile("Hex\tName\n0101\tAlpha\n", "t.tab", log);
  EXPECT_TRUE(sector.worlds.empty());
  ASSERT_EQ(log.problems.size(), 1u);
  EXPECT_EQ(log.problems[0],
            "t.tab:1: the header names no Hex or no UWP column: no world can be read");
}

TEST(SectorFileReader, ColumnFileIsCutWhereTheDashesSay) {
  ImportLog log;
  const ImportedSector sector = ReadSectorFile(kColumnFile, "t.txt", log);
  EXPECT_EQ(sector.codes, CodeStyle::kNewer);
  ASSERT_EQ(sector.worlds.size(), 2u);
  EXPECT_EQ(Fields(sector.worlds[0]), "0102|Alpha|A788899-C|NS|Hi Cp|A|123|ImDd|G2 V M1 V");
  EXPECT_EQ(Fields(sector.worlds[1]), "3240|Omega Station|X000000-0|-|Ba|-|000|NaHu|M9 V");
  const std::vector<std::string> expected{
      "t.txt:7: hex '0a01' is not a hex of the sector (0101 to 3240)",
      "t.txt:8: world profile 'A7888-C' is not of the form A788899-C (nine characters, '-' eighth)",
  };
  EXPECT_EQ(log.problems, expected);
}

// Widths count characters: a name with a letter of several UTF-8 bytes, or
// in a single-byte code page, moves no later field.
TEST(SectorFileReader, ColumnFileCountsCharactersNotBytes) {
  const std::string header =
      "Hex  Name          UWP       Remarks       B  Z PBG A    Stellar\n"
      "---- ------------- --------- ------------- -- - --- ---- ----------\n";
  const struct {
    std::string name;
    size_t characters;
  } cases[] = {{"Aikre Aa\xE2\x80\x99", 9}, {"Ch\xC3\xA9ron", 6}, {"Ch\xE9ron", 6}};
  for (const auto& c : cases) {
    const std::string name = c.name + std::string(14 - c.characters, ' ');
    ImportLog log;
    const ImportedSector sector = ReadSectorFile(
        header + "0102 " + name + "A788899-C Hi Cp         NS A 123 ImDd G2 V\n", "t.txt", log);
    ASSERT_EQ(sector.worlds.size(), 1u) << c.name << log.problems.front();
    EXPECT_EQ(Fields(sector.worlds[0]), "0102|" + c.name + "|A788899-C|NS|Hi Cp|A|123|ImDd|G2 V");
  }
}

// A sector still to be explored is a header without world lines; a text
// that names no columns is no sector file.
TEST(SectorFileReader, AFileIsASectorFileByItsHeaderEvenWithoutWorlds) {
  const struct {
    std::string text;
    bool is_sector_file;
  } cases[] = {
      {"Hex\tName\tUWP\tPBG\n", true},
      {"Hex  Name          UWP\n---- ------------- ---------\n", true},
      {"Lone Reach\n\nA: First                     A.dat\n", true},
      {"#Name         Hex  UWP        B Remarks          Z  PBG Al Stars\n", true},
      {"Shopping list\nmilk\n", false},
      {"# nothing\n", false},
  };
  for (const auto& c : cases) {
    ImportLog log;
    const ImportedSector sector = ReadSectorFile(c.text, "t.txt", log);
    EXPECT_EQ(sector.is_sector_file, c.is_sector_file) << c.text;
    EXPECT_EQ(sector.world_lines_read, 0) << c.text;
  }
}

TEST(SectorFileReader, OlderFileGivesTitleNamesWorldsAndRoutes) {
  ImportLog log;
  const ImportedSector sector = ReadSectorFile(kOlderFile, "t.sec", log);
  EXPECT_EQ(sector.codes, CodeStyle::kOlder);
  EXPECT_EQ(sector.title, "Test Reach");
  EXPECT_EQ(sector.subsector_names[0], "First");
  EXPECT_EQ(sector.subsector_names[15], "Last Subsector");
  // A block not in the index names the subsector of its first world (1811: G).
  EXPECT_EQ(sector.subsector_names[6], "Unlisted");
  ASSERT_EQ(sector.worlds.size(), 4u);
  // The legend explains base code 2.
  EXPECT_EQ(Fields(sector.worlds[0]), "0102|Alpha|A788899-C|NS|Hi Cp|A|123|Im|G2 V M1 V");
  EXPECT_EQ(Fields(sector.worlds[1]), "0304|Beta|B5A0000-8|N|Ba||001|Zh|");
  EXPECT_EQ(Fields(sector.worlds[2]), "0405|A Very Long World Name|C444444-4|S|Ni|R|000|Na|");
  EXPECT_EQ(Fields(sector.worlds[3]), "1811|Gamma|C444444-4||||||");

  ASSERT_EQ(sector.routes.size(), 5u);
  const auto route = [&](size_t i) {
    const ImportedRoute& r = sector.routes[i];
    return std::to_string(r.start.column) + "," + std::to_string(r.start.row) + " " +
           std::to_string(r.end.sector_x) + "," + std::to_string(r.end.sector_y) + ":" +
           std::to_string(r.end.column) + "," + std::to_string(r.end.row) + " " +
           (r.color_code ? std::to_string(*r.color_code) : "-");
  };
  EXPECT_EQ(route(0), "1,2 0,0:3,4 3");
  EXPECT_EQ(route(1), "1,2 -1,0:32,3 -");  // into the sector to the left
  EXPECT_EQ(route(2), "1,2 0,0:3,4 -");
  // Offsets that disagree with the end hex are passed over, as torvane does.
  EXPECT_EQ(route(3), "1,2 0,0:3,4 3");
  // The start hex is placed in the block's subsector (G): 0101 becomes 1711.
  EXPECT_EQ(route(4), "17,11 0,0:2,1 12");
  const std::vector<std::string> expected{
      "t.sec:22: not a world line: no hex and world profile such as '0101 A788899-C'",
      "t.sec:16: route line does not begin with two hex numbers ($0101 0202)",
  };
  EXPECT_EQ(log.problems, expected);
}

TEST(SectorFileReader, OlderFileWithoutHeaderTakesTitleFromItsBlocks) {
  ImportLog log;
  const ImportedSector sector = ReadSectorFile(
      "# comment\n@SUB-SECTOR: Near SECTOR: Somewhere\nAlpha         0909 A788899-C\n", "t.sec",
      log);
  EXPECT_EQ(sector.title, "Somewhere");
  EXPECT_EQ(sector.subsector_names[1], "Near");
  ASSERT_EQ(sector.worlds.size(), 1u);
  EXPECT_TRUE(log.problems.empty());
}

// Older files with other columns than torvane's: a ruler and a header row,
// a wider name field and the zone, PBG and allegiance further right.
const char kOlderFileWithHeader[] =
    "#--------1---------2---------3---------4---------5---------6---------7---\n"
    "#Name           Hex  UWP        B Remarks                Z  PBG Al Stars\n"
    "#-------------- ---- ---------  - ---------------------- -  --- -- -----\n"
    "Ostrava Reach   0104 C759422-6    Ni Relay                  313 Na G2 V\n"
    "Brannock        0107 D632531-7  S Ni Po                  A  104 Na M1 V\n"
    "Quillon         0307 A5278AE-8    Ph Pi O:0508 Xb Yc Zd  R  ?14 Lh\n"
    "Tarrow          0308 A5278AE-8    Ph Pi                     1-4 Lh\n";

TEST(SectorFileReader, OlderFileFieldsAreFoundWhereItsHeaderPutsThem) {
  ImportLog log;
  const ImportedSector sector = ReadSectorFile(kOlderFileWithHeader, "h.sec", log);
  EXPECT_EQ(sector.title, "");
  EXPECT_EQ(sector.world_lines_read, 4);
  ASSERT_EQ(sector.worlds.size(), 3u);
  EXPECT_EQ(Fields(sector.worlds[0]), "0104|Ostrava Reach|C759422-6||Ni Relay||313|Na|G2 V");
  EXPECT_EQ(Fields(sector.worlds[1]), "0107|Brannock|D632531-7|S|Ni Po|A|104|Na|M1 V");
  EXPECT_EQ(Fields(sector.worlds[2]), "0307|Quillon|A5278AE-8||Ph Pi O:0508 Xb Yc Zd|R|?14|Lh|");
  const std::vector<std::string> expected{
      "h.sec:7: no PBG (three digits, X or ?) where the file's world lines hold it, 39 columns "
      "after the world profile",
  };
  EXPECT_EQ(log.problems, expected);
  EXPECT_EQ(log.skipped_lines, std::vector<int>{7});
}

TEST(SectorFileReader, OlderFileWithoutHeaderBeginsWithAWorld) {
  struct Case {
    const char* text;
    const char* first_world;
  };
  const Case cases[] = {
      // A name that runs into the hex, as torvane's own files have it.
      {"Jennet's Haven1635 A98A515-C    Ni Wa Pr           400 Na\n",
       "1635|Jennet's Haven|A98A515-C||Ni Wa Pr||400|Na|"},
      // Two blanks between hex and profile.
      {"Orrinvale       0105  E373533-7    Ni         101 Na\n"
       "Pellam          0106  E373533-7    Ni         101 Na\n",
       "0105|Orrinvale|E373533-7||Ni||101|Na|"},
  };
  for (const Case& c : cases) {
    ImportLog log;
    const ImportedSector sector = ReadSectorFile(c.text, "w.sec", log);
    EXPECT_EQ(sector.title, "") << c.text;
    ASSERT_FALSE(sector.worlds.empty()) << c.text;
    EXPECT_EQ(Fields(sector.worlds[0]), c.first_world);
    EXPECT_TRUE(log.problems.empty()) << log.problems[0];
  }
}

TEST(SectorFileReader, EveryLineThatIsNoWorldIsReportedWithItsNumber) {
  ImportLog log;
  const ImportedSector sector = ReadSectorFile(
      "Some Title\n@SUB-SECTOR: Near SECTOR: Somewhere\nAlpha 0101 A78-C\n\nBeta  0102\n", "u.sec",
      log);
  EXPECT_EQ(sector.title, "Some Title");
  EXPECT_TRUE(sector.worlds.empty());
  EXPECT_EQ(sector.world_lines_read, 2);
  const std::vector<std::string> expected{
      "u.sec:3: not a world line: no hex and world profile such as '0101 A788899-C'",
      "u.sec:5: not a world line: no hex and world profile such as '0101 A788899-C'",
  };
  EXPECT_EQ(log.problems, expected);
  EXPECT_EQ(log.skipped_lines, (std::vector<int>{3, 5}));
}

TEST(SectorFileReader, EveryFormatCountsItsWorldLines) {
  struct Case {
    const char* text;
    int read;
    size_t skipped;
  };
  const Case cases[] = {
      {kTabFile, 5, 3},
      {kColumnFile, 4, 2},
      {kOlderFile, 5, 1},
      // A header line without its dashes: a line that is no world.
      {"Hex  UWP\nHex  UWP\n---- ---------\n0101 A788899-C\n", 2, 1},
  };
  for (const Case& c : cases) {
    ImportLog log;
    const ImportedSector sector = ReadSectorFile(c.text, "c.txt", log);
    EXPECT_EQ(sector.world_lines_read, c.read) << c.text;
    EXPECT_EQ(log.skipped_lines.size(), c.skipped) << c.text;
  }
}

}  // namespace
}  // namespace torvane
