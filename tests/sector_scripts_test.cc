// Whole script files as the program writes them for a small made-up sector:
// the sector script and subsector scripts, checked line by line, with the
// messages, error total and exit status of a sector that has gaps in it.
// How one world, label or legend entry is drawn is its own unit's test; here
// the sector script is spelled out whole, for the order of its groups and the
// settings carried between them, and a subsector script draws each of its
// worlds as the sector script does, moved into its own frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "run_torvane.h"
#include "testing/sector_files.h"

namespace torvane_test {
namespace {

using Lines = std::vector<std::string>;

// Worlds in fixed columns (name 0, hex 14, profile 19, base 30, remarks 32,
// zone 48, gas giants 53, allegiance 55):
//   Ashfall  asteroid belt, base A with "Ex" in the remarks, amber zone
//   Vault    population A (capitals), "Cp" (capital colour), scout base S
//   Dryden   no water (colour 29), red zone, "Pr" and "Rs" in the remarks
//   Stray    a hex of subsector B written in A's file: sector map only
//   Quill    base H (the two Vargr kinds), gas giants
//   Tallow   population 9 (capitals), "Cp", "Ex", amber zone written 'a'
// Vault's "Cp" and Dryden's "Pr" and "Rs" lie in later lines than Ashfall's
// remarks, so they must not count for Ashfall.
const std::string kMapA =
    "# Amberlin subsector\n"
    "@SUB-SECTOR: Amberlin SECTOR: Kestrel Reach\n"
    "Ashfall       0203 B000669-C  A As Ex           A  312 Im\n"
    "Vault         0507 A867A98-F  S Cp Hi              900 Im\n"
    "Dryden        0709 C540300-8    Lo Pr Rs        R  102 Cs\n"
    "Stray         1003 X310000-0    Ba                 000 Na\n"
    // Inside A; into B next door; out of the sector to the left (3104 is
    // in the sector beyond A's left edge).
    "$0203 0507 1 0 12\n"
    "$0507 1005 0 0 1\n"
    "$0203 3104 0 0 4\n";

const std::string kMapF =
    "# Farrowdale subsector\n"
    "Quill         1215 C7A5523-9  H Ag Ni              203 Va\n"
    "Tallow        1618 E95897D-6    Cp Ex Ri        a  110 Im\n"
    // Inside F; from 0405 (F's own numbering for 1215) down into J.
    "$1215 1618 2 1 3\n"
    "$0405 1621 0 0 5\n";

// Sector 'kestrel': subsector G has no index line, K's map file is missing.
void WriteKestrel(const ScratchDir& dir) {
  const std::string names[16] = {"Amberlin",  "Brackwater", "Cindermoor", "Dunmere",
                                 "Elderfell", "Farrowdale", "",           "Hollin",
                                 "Ivywick",   "Juniper",    "Kettleby",   "Larkspur",
                                 "Millbrook", "Northold",   "Oakhurst",   "Pennwick"};
  std::string data = "Kestrel Reach\n";
  for (int i = 0; i < 16; ++i) {
    const char letter = static_cast<char>('A' + i);
    if (letter == 'G') continue;
    data += IndexLine(letter, names[i], MapFileName(letter));
    if (letter == 'K') continue;
    const std::string map = letter == 'A' ? kMapA : letter == 'F' ? kMapF : "# nothing charted\n";
    dir.Write(std::string("kestrel/map/SUB") + letter + ".DAT", map);
  }
  dir.Write("kestrel/kestrel.dat", data);
}

// The asteroid symbol's digit comes from the clock-seeded generator: check
// that it is 1 to 8 and mask it. Any other digit stays, so the line differs.
Lines ReadScript(const ScratchDir& dir, const std::string& file) {
  Lines lines = ScriptLines(dir.Read(file));
  for (std::string& line : lines) {
    if (line.size() == 17 && line.starts_with("INSSYM Asteroid ") && line[16] >= '1' &&
        line[16] <= '8') {
      line[16] = '#';
    }
  }
  return lines;
}

// A number as "%f" writes it, in millionths, and back.
long long Millionths(std::string number) {
  number.erase(number.find('.'), 1);
  return std::stoll(number);
}

std::string Decimal(long long millionths) {
  const long long size = std::llabs(millionths);
  const std::string fraction = std::to_string(size % 1'000'000);
  return (millionths < 0 ? "-" : "") + std::to_string(size / 1'000'000) + "." +
         std::string(6 - fraction.size(), '0') + fraction;
}

// Marks an expected line whose numbers may each be one millionth off: a
// point moved from the sector map is rounded apart from it.
constexpr char kToLastDigit = '~';

bool SameToLastDigit(const std::string& got, const std::string& want) {
  static const std::regex kNumber(R"(-?\d+\.\d{6})");
  if (std::regex_replace(got, kNumber, "#") != std::regex_replace(want, kNumber, "#")) return false;
  std::sregex_iterator g(got.begin(), got.end(), kNumber), w(want.begin(), want.end(), kNumber);
  for (const std::sregex_iterator end; g != end && w != end; ++g, ++w) {
    if (std::llabs(Millionths(g->str()) - Millionths(w->str())) > 1) return false;
  }
  return true;
}

// Where a point of the sector map lands on a subsector map, in millionths.
struct Shift {
  long long dx;
  long long dy;
};
constexpr Shift kIntoA = {0, -519'615'242};
constexpr Shift kIntoF = {-120'000'000, -346'410'162};

// A block of the sector script with every point "x,y" moved by `by`; angle
// pairs ("<a,b") stay. Lines that hold a point compare to the last digit.
Lines MovedBy(const Lines& block, Shift by) {
  static const std::regex kPoint(R"((^|[ ;])(-?\d+\.\d{6}),(-?\d+\.\d{6}))");
  Lines moved;
  for (const std::string& line : block) {
    std::string text;
    auto rest = line.cbegin();
    for (std::sregex_iterator point(line.begin(), line.end(), kPoint), end; point != end; ++point) {
      text.append(rest, (*point)[2].first);
      text +=
          Decimal(Millionths((*point)[2]) + by.dx) + "," + Decimal(Millionths((*point)[3]) + by.dy);
      rest = (*point)[0].second;
    }
    text.append(rest, line.end());
    moved.push_back(text == line ? line : kToLastDigit + text);
  }
  return moved;
}

void ExpectLines(const Lines& actual, const Lines& expected, const std::string& file) {
  int reported = 0;
  for (size_t i = 0; i < std::max(actual.size(), expected.size()) && reported < 12; ++i) {
    const std::string got = i < actual.size() ? actual[i] : "<missing>";
    const std::string want = i < expected.size() ? expected[i] : "<none>";
    const bool same =
        want.starts_with(kToLastDigit) ? SameToLastDigit(got, want.substr(1)) : got == want;
    if (!same) {
      ADD_FAILURE() << file << " line " << i + 1 << ": got \"" << got << "\", want \"" << want
                    << "\"";
      ++reported;
    }
  }
  EXPECT_EQ(actual.size(), expected.size()) << file;
}

void Append(Lines& lines, const Lines& more) {
  lines.insert(lines.end(), more.begin(), more.end());
}

// A text of the map border in Arial, begun after the previous group released
// the writer, so that every setting is written.
Lines BorderText(const std::string& height, const std::string& angle, int justification,
                 const std::string& text, const std::string& point) {
  return {"LAYER STANDARD",
          "LAYER MAP BORDER",
          "COLOR 15",
          "TSPECF Arial",
          "TSPECH " + height,
          "TSPECA " + angle,
          "TSPECJ " + std::to_string(justification),
          "TSPECS 16",
          "TEXTM " + text,
          point};
}

// A subsector name in the column at the right of the sector map.
Lines NameLabelAfterRelease(const std::string& name, const std::string& y) {
  return BorderText("3.000000", "0.000000", 0, name, "501.000000," + y);
}

// A subsector script's own name below its map.
Lines OwnNameLabel(const std::string& name) {
  return BorderText("5.000000", "0.000000", 7, name + " Subsector", "62.500000,-15.000000");
}

// A subsector script's caption above its legend; after a group that left the
// writer as it is, only the settings that change are written.
std::string CaptionText(char letter) {
  return std::string("(subsector ") + letter + " of Kestrel Reach sector)";
}
Lines CaptionAfterRelease(char letter) {
  return BorderText("3.000000", "0.000000", 7, CaptionText(letter), "62.500000,-23.000000");
}
Lines CaptionAfterRoutes(char letter) {
  return {"LAYER MAP BORDER",    "COLOR 15",
          "TSPECH 3.000000",     "TSPECJ 7",
          "TSPECS 16",           "TEXTM " + CaptionText(letter),
          "62.500000,-23.000000"};
}

// The kinds of base met in the whole of 'kestrel', in flag order: the
// legend of the sector script and of every subsector script lists them all
// (the Vargr bases of F in A's script too).
const Lines kKestrelKinds = {"Imperial Naval Base", "Imperial Scout Base", "Vargr Naval Base",
                             "Vargr Corsair Base",  "Exile Camp",          "Prison Camp",
                             "Research Station"};

// Takes off the legend that follows the line `last_before` up to the closing
// "ECON" and gives the kinds it lists, by their TEXTM lines. How a legend
// entry is drawn, and where, is the legend's own test.
Lines TakeLegendKinds(Lines& script, const std::string& last_before) {
  const auto start = std::find(script.begin(), script.end(), last_before);
  if (start == script.end() || script.back() != "ECON")
    return {"<no legend after " + last_before + ">"};
  Lines kinds;
  for (auto line = start + 1; line != script.end() - 1; ++line) {
    if (line->starts_with("TEXTM ")) kinds.push_back(line->substr(6));
  }
  script.erase(start + 1, script.end() - 1);
  return kinds;
}

// A subsector script of 'kestrel' read back: its lines up to the caption and
// "ECON", and the whole sector's kinds in the legend between them.
void ExpectSubsectorScript(const ScratchDir& dir, const std::string& file, Lines expected) {
  Lines actual = ReadScript(dir, "kestrel/" + file);
  EXPECT_EQ(TakeLegendKinds(actual, "62.500000,-23.000000"), kKestrelKinds) << file;
  expected.push_back("ECON");
  ExpectLines(actual, expected, file);
}

TEST(SectorScripts, SectorAndTwoSubsectorScriptsLineByLine) {
  ScratchDir dir;
  WriteKestrel(dir);
  const ProgramResult run = RunTorvane(dir.path(), {"-sAF", "-y", "1105", "kestrel"});

  // G counts one error; K's missing map file counts its message and one more.
  EXPECT_EQ(run.err, "Couldn't open file <kestrel/map\\SUBK.DAT>!\n");
  EXPECT_EQ(run.out, "There were 3 errors!\n");
  EXPECT_EQ(run.status, ExpectedStatus(-3));
  for (const char* other :
       {"kestrel/kestrelB.scr", "kestrel/kestrelG.scr", "kestrel/kestrelK.scr"}) {
    EXPECT_FALSE(dir.Exists(other)) << other;
  }

  // Subsector A: its name, then its worlds and routes.
  Lines sector = {"ECOFF"};
  Append(sector, NameLabelAfterRelease("Amberlin", "611.000000"));
  // Ashfall: amber ring, hex number, name, asteroid, port, allegiance, gas
  // giant, then base A's two symbols and the exile camp below them.
  const Lines ashfall = {"LAYER STANDARD",
                         "COLOR 10",
                         "LWIDTH 0.500000",
                         "LSTYLE Solid",
                         "FSTYLE Solid",
                         "ARCS 25.000000,649.519053;<340.000000,6.000000;200.000000",
                         "COLOR 15",
                         "TSPECF Courier New",
                         "TSPECH 1.500000",
                         "TSPECA 0.000000",
                         "TSPECJ 7",
                         "TSPECS 0",
                         "TEXTM 0203",
                         "25.000000,657.819053",
                         "TSPECF Arial",
                         "TSPECH 2.500000",
                         "TSPECS 16",
                         "TEXTM Ashfall",
                         "25.000000,645.019053",
                         "INSSYM Asteroid #",
                         "1.000000;1.000000;0.000000;25.000000,649.519053;",
                         "TSPECH 2.000000",
                         "TSPECJ 1",
                         "TSPECS 0",
                         "TEXTM B",
                         "25.000000,652.519053",
                         "TSPECH 1.500000",
                         "TSPECJ 6",
                         "TEXTM Im",
                         "29.500000,647.019053",
                         "LWIDTH 0.000000",
                         "CIRR 1.000000;28.000000,652.519053;",
                         "INSSYM Imperial Naval Base",
                         "1.000000;1.000000;0.000000;21.500000,652.019053;",
                         "INSSYM Imperial Scout Base",
                         "1.000000;1.000000;0.000000;21.000000,649.519053;",
                         "INSSYM Exile Camp",
                         "1.000000;1.000000;0.000000;21.500000,647.019053;"};
  Append(sector, ashfall);
  // Vault: capital name in colour 2, world circle, one scout base symbol.
  const Lines vault = {"TSPECF Courier New",
                       "TSPECJ 7",
                       "TEXTM 0507",
                       "70.000000,597.197275",
                       "COLOR 2",
                       "TSPECF Arial",
                       "TSPECH 2.500000",
                       "TSPECS 16",
                       "TEXTM VAULT",
                       "70.000000,584.397275",
                       "COLOR 9",
                       "CIRR 2.500000;70.000000,588.897275;",
                       "COLOR 15",
                       "TSPECH 2.000000",
                       "TSPECJ 1",
                       "TSPECS 0",
                       "TEXTM A",
                       "70.000000,591.897275",
                       "TSPECH 1.500000",
                       "TSPECJ 6",
                       "TEXTM Im",
                       "74.500000,586.397275",
                       "INSSYM Imperial Scout Base",
                       "1.000000;1.000000;0.000000;66.000000,588.897275;"};
  Append(sector, vault);
  // Dryden: red ring, dry world in colour 29, gas giant, prison camp above
  // the research station.
  const Lines dryden = {"COLOR 2",
                        "LWIDTH 1.000000",
                        "ARCS 100.000000,554.256259;<340.000000,6.000000;200.000000",
                        "COLOR 15",
                        "TSPECF Courier New",
                        "TSPECJ 7",
                        "TEXTM 0709",
                        "100.000000,562.556259",
                        "TSPECF Arial",
                        "TSPECH 2.500000",
                        "TSPECS 16",
                        "TEXTM Dryden",
                        "100.000000,549.756259",
                        "COLOR 29",
                        "LWIDTH 0.000000",
                        "CIRR 2.500000;100.000000,554.256259;",
                        "COLOR 15",
                        "TSPECH 2.000000",
                        "TSPECJ 1",
                        "TSPECS 0",
                        "TEXTM C",
                        "100.000000,557.256259",
                        "TSPECH 1.500000",
                        "TSPECJ 6",
                        "TEXTM Cs",
                        "104.500000,551.756259",
                        "CIRR 1.000000;103.000000,557.256259;",
                        "INSSYM Prison Camp",
                        "1.000000;1.000000;0.000000;96.500000,556.756259;",
                        "INSSYM Research Station",
                        "1.000000;1.000000;0.000000;96.500000,551.756259;"};
  Append(sector, dryden);
  // Stray, drawn where its hex lies on the sector map (subsector B).
  Append(sector, {"TSPECF Courier New",
                  "TSPECJ 7",
                  "TEXTM 1003",
                  "145.000000,657.819053",
                  "TSPECF Arial",
                  "TSPECH 2.500000",
                  "TSPECS 16",
                  "TEXTM Stray",
                  "145.000000,645.019053",
                  "COLOR 29",
                  "CIRR 2.500000;145.000000,649.519053;",
                  "COLOR 15",
                  "TSPECH 2.000000",
                  "TSPECJ 1",
                  "TSPECS 0",
                  "TEXTM X",
                  "145.000000,652.519053",
                  "TSPECH 1.500000",
                  "TSPECJ 6",
                  "TEXTM Na",
                  "149.500000,647.019053"});
  // A's routes: Ashfall-Vault whole; Vault to B whole (still in the sector);
  // the route to the next sector cut so that, less the 5-unit inset, it ends
  // on the left edge x = 0.
  Append(sector, {"COLOR 2", "LWIDTH 0.750000",
                  "LINE REF 25.000000,649.519053;<-53.413224,5.000000;"
                  "REF 70.000000,588.897275;<126.586776,5.000000;",
                  "COLOR 7",
                  "LINE REF 70.000000,588.897275;<19.106605,5.000000;"
                  "REF 145.000000,614.878037;<-160.893395,5.000000;",
                  "COLOR 11",
                  "LINE REF 25.000000,649.519053;<-169.106605,5.000000;"
                  "REF -4.909903,643.762890;<10.893395,5.000000;"});
  // B's name follows the routes without a release in between; C, D and E
  // have nothing charted.
  Append(sector, {"LAYER MAP BORDER", "COLOR 15", "TSPECH 3.000000", "TSPECJ 0", "TSPECS 16",
                  "TEXTM Brackwater", "501.000000,606.500000"});
  Append(sector, NameLabelAfterRelease("Cindermoor", "602.000000"));
  Append(sector, NameLabelAfterRelease("Dunmere", "597.500000"));
  Append(sector, NameLabelAfterRelease("Elderfell", "593.000000"));
  Append(sector, NameLabelAfterRelease("Farrowdale", "588.500000"));
  // Quill: two Vargr symbols, the naval base above the corsair base.
  const Lines quill = {"LAYER STANDARD",
                       "COLOR 15",
                       "TSPECF Courier New",
                       "TSPECH 1.500000",
                       "TSPECA 0.000000",
                       "TSPECJ 7",
                       "TSPECS 0",
                       "TEXTM 1215",
                       "175.000000,449.972956",
                       "TSPECF Arial",
                       "TSPECH 2.500000",
                       "TSPECS 16",
                       "TEXTM Quill",
                       "175.000000,437.172956",
                       "COLOR 9",
                       "LWIDTH 0.000000",
                       "LSTYLE Solid",
                       "FSTYLE Solid",
                       "CIRR 2.500000;175.000000,441.672956;",
                       "COLOR 15",
                       "TSPECH 2.000000",
                       "TSPECJ 1",
                       "TSPECS 0",
                       "TEXTM C",
                       "175.000000,444.672956",
                       "TSPECH 1.500000",
                       "TSPECJ 6",
                       "TEXTM Va",
                       "179.500000,439.172956",
                       "CIRR 1.000000;178.000000,444.672956;",
                       "INSSYM Vargr Naval Base",
                       "1.000000;1.000000;0.000000;171.500000,444.172956;",
                       "INSSYM Vargr Corsair Base",
                       "1.000000;1.000000;0.000000;171.500000,439.172956;"};
  Append(sector, quill);
  // Tallow: amber ring, capital name in colour 2, one exile camp symbol.
  const Lines tallow = {"COLOR 10",
                        "LWIDTH 0.500000",
                        "ARCS 235.000000,389.711432;<340.000000,6.000000;200.000000",
                        "COLOR 15",
                        "TSPECF Courier New",
                        "TSPECJ 7",
                        "TEXTM 1618",
                        "235.000000,398.011432",
                        "COLOR 2",
                        "TSPECF Arial",
                        "TSPECH 2.500000",
                        "TSPECS 16",
                        "TEXTM TALLOW",
                        "235.000000,385.211432",
                        "COLOR 9",
                        "LWIDTH 0.000000",
                        "CIRR 2.500000;235.000000,389.711432;",
                        "COLOR 15",
                        "TSPECH 2.000000",
                        "TSPECJ 1",
                        "TSPECS 0",
                        "TEXTM E",
                        "235.000000,392.711432",
                        "TSPECH 1.500000",
                        "TSPECJ 6",
                        "TEXTM Im",
                        "239.500000,387.211432",
                        "INSSYM Exile Camp",
                        "1.000000;1.000000;0.000000;231.000000,389.711432;"};
  Append(sector, tallow);
  // F's routes: both stay in the sector, so neither is cut.
  Append(sector, {"COLOR 9", "LWIDTH 0.750000",
                  "LINE REF 175.000000,441.672956;<-40.893395,5.000000;"
                  "REF 235.000000,389.711432;<139.106605,5.000000;",
                  "COLOR 25",
                  "LINE REF 175.000000,441.672956;<-60.000000,5.000000;"
                  "REF 235.000000,337.749908;<120.000000,5.000000;"});
  // G has no index line and so no name; H follows F's routes directly.
  Append(sector, {"LAYER MAP BORDER", "COLOR 15", "TSPECH 3.000000", "TSPECJ 0", "TSPECS 16",
                  "TEXTM Hollin", "501.000000,579.500000"});
  Append(sector, NameLabelAfterRelease("Ivywick", "575.000000"));
  Append(sector, NameLabelAfterRelease("Juniper", "570.500000"));
  Append(sector, NameLabelAfterRelease("Kettleby", "566.000000"));
  Append(sector, NameLabelAfterRelease("Larkspur", "561.500000"));
  Append(sector, NameLabelAfterRelease("Millbrook", "557.000000"));
  Append(sector, NameLabelAfterRelease("Northold", "552.500000"));
  Append(sector, NameLabelAfterRelease("Oakhurst", "548.000000"));
  Append(sector, NameLabelAfterRelease("Pennwick", "543.500000"));
  // Title and date text up the right-hand side.
  Append(sector, BorderText("23.000000", "90.000000", 6, "Kestrel Reach", "495.000000,0.000000"));
  Append(sector, {"TSPECH 8.000000", "TSPECJ 2", "TEXTM 1105", "540.000000,293.000000"});
  // The legend of the sector's kinds closes it.
  Lines sector_script = ReadScript(dir, "kestrel/kestrel.scr");
  EXPECT_EQ(TakeLegendKinds(sector_script, "540.000000,293.000000"), kKestrelKinds);
  sector.push_back("ECON");
  ExpectLines(sector_script, sector, "kestrel.scr");

  Lines a = {"ECOFF"};
  // A's own name below the map.
  Append(a, OwnNameLabel("Amberlin"));
  // Neighbours: only B to the right and E below lie in the sector.
  Append(a, BorderText("4.000000", "270.000000", 4, "Brackwater", "130.000000,95.933000"));
  Append(a, {"TSPECA 180.000000", "TEXTM Elderfell", "62.500000,-5.000000"});
  // Ashfall, Vault and Dryden as on the sector map, moved into A's frame;
  // Stray lies outside A and is left out.
  Append(a, MovedBy(ashfall, kIntoA));
  Append(a, MovedBy(vault, kIntoA));
  Append(a, MovedBy(dryden, kIntoA));
  // Routes: the one into B now leaves the map too and is cut so that it ends
  // on the right limit x = 126; the one to the next sector ends on x = 0.
  Append(a, {"COLOR 2", "LWIDTH 0.750000",
             "LINE REF 25.000000,129.903811;<-53.413224,5.000000;"
             "REF 70.000000,69.282032;<126.586776,5.000000;",
             "COLOR 7",
             "LINE REF 70.000000,69.282032;<19.106605,5.000000;"
             "REF 130.724556,90.317636;<-160.893395,5.000000;",
             "COLOR 11",
             "LINE REF 25.000000,129.903811;<-169.106605,5.000000;"
             "REF -4.909903,124.147647;<10.893395,5.000000;"});
  // The caption, before the legend.
  Append(a, CaptionAfterRoutes('A'));
  ExpectSubsectorScript(dir, "kestrelA.scr", a);

  Lines f = {"ECOFF"};
  // F's own name below the map.
  Append(f, OwnNameLabel("Farrowdale"));
  // Neighbours B above, E to the left and J below; G to the right has no
  // name in this sector, so no label.
  Append(f, BorderText("4.000000", "0.000000", 4, "Brackwater", "62.500000,186.865000"));
  Append(f, {"TSPECA 90.000000", "TEXTM Elderfell", "-5.000000,95.933000", "TSPECA 180.000000",
             "TEXTM Juniper", "62.500000,-5.000000"});
  // Quill and Tallow as on the sector map, moved into F's frame.
  Append(f, MovedBy(quill, kIntoF));
  Append(f, MovedBy(tallow, kIntoF));
  // Routes: the one into J is cut so that it ends on the bottom limit y = 0.
  Append(f, {"COLOR 9", "LWIDTH 0.750000",
             "LINE REF 55.000000,95.262794;<-40.893395,5.000000;"
             "REF 115.000000,43.301270;<139.106605,5.000000;",
             "COLOR 25",
             "LINE REF 55.000000,95.262794;<-60.000000,5.000000;"
             "REF 112.500000,-4.330127;<120.000000,5.000000;"});
  // The caption, before the legend.
  Append(f, CaptionAfterRoutes('F'));
  ExpectSubsectorScript(dir, "kestrelF.scr", f);
}

// A chosen subsector without an index line still gets its caption and legend;
// one whose map file is missing still gets its labels. Each counts again in
// its own pass.
TEST(SectorScripts, ChosenSubsectorsWithoutIndexLineOrMapFile) {
  ScratchDir dir;
  WriteKestrel(dir);
  const ProgramResult run = RunTorvane(dir.path(), {"-sGK", "kestrel"});
  EXPECT_EQ(run.err,
            "Couldn't open file <kestrel/map\\SUBK.DAT>!\n"
            "Couldn't open file <kestrel/map\\SUBK.DAT>!\n");
  EXPECT_EQ(run.out, "There were 6 errors!\n");
  EXPECT_EQ(run.status, ExpectedStatus(-6));

  Lines g = {"ECOFF"};
  // No name and no neighbour labels: the caption comes first.
  Append(g, CaptionAfterRelease('G'));
  ExpectSubsectorScript(dir, "kestrelG.scr", g);

  Lines k = {"ECOFF"};
  Append(k, OwnNameLabel("Kettleby"));
  // G above has no name; J to the left, L to the right and O below.
  Append(k, BorderText("4.000000", "90.000000", 4, "Juniper", "-5.000000,95.933000"));
  Append(k, {"TSPECA 270.000000", "TEXTM Larkspur", "130.000000,95.933000", "TSPECA 180.000000",
             "TEXTM Oakhurst", "62.500000,-5.000000"});
  Append(k, CaptionAfterRelease('K'));
  ExpectSubsectorScript(dir, "kestrelK.scr", k);
}

}  // namespace
}  // namespace torvane_test
