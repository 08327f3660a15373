#include "preview/svg_drawing.h"

#include <gtest/gtest.h>

#include <set>

#include "draw/base_symbols.h"
#include "preview/symbol_glyphs.h"
#include "testing/script_lines.h"

namespace torvane {
namespace {

using torvane_test::Occurrences;

// The picture of a script body (framed by ECOFF and ECON).
std::string Draw(std::string_view body, std::vector<std::string>* warnings = nullptr,
                 PreviewOptions options = {}) {
  std::vector<std::string> ignored;
  const ScriptReading reading = ReadScript("ECOFF\n" + std::string(body) + "ECON\n");
  EXPECT_EQ(reading.warnings, std::vector<std::string>{});
  return DrawPreview(reading.commands, options, "test.scr", warnings ? *warnings : ignored);
}

void ExpectHas(const std::string& svg, std::string_view element) {
  EXPECT_NE(svg.find(element), std::string::npos) << "missing: " << element;
}

TEST(SvgDrawingTest, CircleIsFilledInTheCurrentColourWithYTurnedDownward) {
  const std::string svg = Draw(
      "LAYER STANDARD\nCOLOR 9\nLWIDTH 0.000000\nLSTYLE Solid\nFSTYLE Solid\n"
      "CIRR 2.500000;20.000000,30.000000;\n"
      "LWIDTH 0.500000\nCIRR 1.000000;23.000000,33.000000;\n"
      "FSTYLE Hollow\nCOLOR 29\nCIRR 6.000000;-5.000000,-4.000000;\n");
  ExpectHas(svg, "<circle cx=\"20\" cy=\"-30\" r=\"2.5\" fill=\"#00ffff\"/>");
  ExpectHas(svg,
            "<circle cx=\"23\" cy=\"-33\" r=\"1\" fill=\"#00ffff\" stroke=\"#00ffff\" "
            "stroke-width=\"0.5\"/>");
  ExpectHas(svg,
            "<circle cx=\"-5\" cy=\"4\" r=\"6\" fill=\"none\" stroke=\"#d2aa5a\" "
            "stroke-width=\"0.5\"/>");
}

TEST(SvgDrawingTest, ArcsRunCounterClockwiseFromStartToEndAlsoAcrossZero) {
  const std::string svg = Draw(
      "COLOR 2\nLWIDTH 1.000000\nLSTYLE Solid\nFSTYLE Solid\n"
      // A zone ring: 220 degrees from 340 over 0 and 90 to 200, open below.
      "ARCS 10.000000,20.000000;<340.000000,6.000000;200.000000\n"
      // 20 degrees across 0: the short way, not the 340-degree one.
      "ARCS 0.000000,0.000000;<350.000000,1.000000;10.000000\n"
      // From 10 to 350 is the long way round.
      "ARCS 0.000000,0.000000;<10.000000,1.000000;350.000000\n"
      // Negative angles and angles past 360 count modulo 360.
      "ARCS 0.000000,0.000000;<-10.000000,1.000000;370.000000\n"
      // The same angle at both ends: the whole circle.
      "ARCS 5.000000,5.000000;<90.000000,2.000000;90.000000\n");
  ExpectHas(svg,
            "<path d=\"M15.638,-17.948A6,6 0 1,0 4.362,-17.948\" fill=\"none\" "
            "stroke=\"#ff0000\" stroke-width=\"1\"/>");
  ExpectHas(svg, "<path d=\"M0.985,0.174A1,1 0 0,0 0.985,-0.174\"");
  ExpectHas(svg, "<path d=\"M0.985,-0.174A1,1 0 1,0 0.985,0.174\"");
  EXPECT_EQ(Occurrences(svg, "<path d=\"M0.985,0.174A1,1 0 0,0 0.985,-0.174\""), 2u);
  ExpectHas(svg,
            "<circle cx=\"5\" cy=\"-5\" r=\"2\" fill=\"none\" stroke=\"#ff0000\" "
            "stroke-width=\"1\"/>");
}

TEST(SvgDrawingTest, LineEndsLieTheirDistanceFromEachPointInTheirDirection) {
  const std::string svg = Draw(
      "COLOR 7\nLWIDTH 0.750000\nLSTYLE Solid\nFSTYLE Solid\n"
      "LINE REF 40.000000,640.858799;<-49.106605,5.000000;REF 70.000000,606.217783;"
      "<130.893395,5.000000;\n"
      "LINE REF 0.000000,0.000000;<0.000000,5.000000;REF 100.000000,0.000000;<-180.000000,"
      "5.000000;\n"
      "LSTYLE Dashed\nLWIDTH 0.000000\n"
      "LINE REF 10.000000,20.000000;<90.000000,0.000000;REF 10.000000,30.000000;<-90.000000,"
      "2.000000;\n");
  ExpectHas(svg,
            "<line x1=\"43.273\" y1=\"-637.079\" x2=\"66.727\" y2=\"-609.997\" "
            "stroke=\"#0000ff\" stroke-width=\"0.75\"/>");
  ExpectHas(svg, "<line x1=\"5\" y1=\"0\" x2=\"95\" y2=\"0\" ");
  ExpectHas(svg,
            "<line x1=\"10\" y1=\"-20\" x2=\"10\" y2=\"-28\" stroke=\"#0000ff\" "
            "stroke-width=\"0.25\" stroke-dasharray=\"1.5,1\"/>");
}

TEST(SvgDrawingTest, JustificationPlacesTheAnchorByColumnAndRow) {
  // Height 2: the baseline lies 0, 1 or 2 units below the anchor.
  const struct {
    int justification;
    std::string_view baseline;
    std::string_view anchor;
  } cases[] = {{0, "0", "start"}, {1, "0", "middle"}, {2, "0", "end"},
               {3, "1", "start"}, {4, "1", "middle"}, {5, "1", "end"},
               {6, "2", "start"}, {7, "2", "middle"}, {8, "2", "end"}};
  for (const auto& c : cases) {
    const std::string svg =
        Draw("COLOR 15\nTSPECF Arial\nTSPECH 2.000000\nTSPECA 0.000000\nTSPECJ " +
             std::to_string(c.justification) + "\nTSPECS 16\nTEXTM Veyl\n62.500000,-15.000000\n");
    ExpectHas(svg, "<text transform=\"translate(62.5,15)\" y=\"" + std::string(c.baseline) +
                       "\" font-family=\"Arial, 'Liberation Sans', Helvetica, sans-serif\" "
                       "font-size=\"2.793\" text-anchor=\"" +
                       std::string(c.anchor) +
                       "\" fill=\"#ffffff\" xml:space=\"preserve\">Veyl</text>");
  }
}

TEST(SvgDrawingTest, TextAngleTurnsCounterClockwiseAndFontsMapToFamilies) {
  std::vector<std::string> warnings;
  const std::string svg = Draw(
      "COLOR 15\nTSPECF Arial\nTSPECH 23.000000\nTSPECA 90.000000\nTSPECJ 6\nTSPECS 16\n"
      "TEXTM Lyra Sector\n495.000000,0.000000\n"
      "TSPECF Courier New\nTSPECH 1.500000\nTSPECA 0.000000\nTSPECJ 7\n"
      "TEXTM 0101\n10.000000,701.120323\n"
      "TSPECF Papyrus\nTEXTM x\n0.000000,0.000000\n",
      &warnings);
  ExpectHas(svg,
            "<text transform=\"translate(495,0) rotate(-90)\" y=\"23\" font-family=\"Arial, "
            "'Liberation Sans', Helvetica, sans-serif\" font-size=\"32.123\" "
            "text-anchor=\"start\"");
  ExpectHas(svg,
            "<text transform=\"translate(10,-701.12)\" y=\"1.5\" font-family=\"'Courier New', "
            "'Liberation Mono', monospace\" font-size=\"2.5\" text-anchor=\"middle\"");
  ExpectHas(svg, "font-family=\"sans-serif\"");
  EXPECT_EQ(warnings, std::vector<std::string>{"line 17: font not known; drawn in sans-serif"});
}

TEST(SvgDrawingTest, EverySettingHoldsUntilChangedAcrossLayers) {
  const std::string svg = Draw(
      "LAYER STANDARD\nCOLOR 13\nLWIDTH 0.750000\nLSTYLE Solid\nFSTYLE Solid\n"
      "LINE REF 0.000000,0.000000;<0.000000,0.000000;REF 9.000000,0.000000;<180.000000,"
      "0.000000;\n"
      "LAYER MAP BORDER\nTSPECH 3.000000\nTEXTM Harrow\n501.000000,606.500000\n"
      "LAYER STANDARD\n"
      "LINE REF 0.000000,1.000000;<0.000000,0.000000;REF 9.000000,1.000000;<180.000000,"
      "0.000000;\n");
  // The text keeps colour 13 from before the layer change, and the second
  // line is drawn as the first, on the same group.
  ExpectHas(svg, "fill=\"#00b000\" xml:space=\"preserve\">Harrow</text>");
  EXPECT_EQ(Occurrences(svg, "stroke=\"#00b000\" stroke-width=\"0.75\"/>"), 2u);
  const size_t standard = svg.find(
      "<g id=\"layer-STANDARD\" class=\"layer\" "
      "data-name=\"STANDARD\">");
  const size_t border = svg.find(
      "<g id=\"layer-MAP_BORDER\" class=\"layer\" "
      "data-name=\"MAP BORDER\">");
  ASSERT_NE(standard, std::string::npos);
  ASSERT_NE(border, std::string::npos);
  EXPECT_LT(svg.find("y1=\"-1\""), border);  // both lines in the STANDARD group
  EXPECT_EQ(Occurrences(svg, "<g id=\"layer-"), 2u);
}

TEST(SvgDrawingTest, ColourNumbersFollowThePaletteAndOthersArePink) {
  const struct {
    int number;
    std::string_view rgb;
  } cases[] = {{0, "#000000"},  {1, "#80ff80"},  {2, "#ff0000"},  {3, "#80a0ff"},  {4, "#ffff00"},
               {5, "#a0ffff"},  {6, "#ff80ff"},  {7, "#0000ff"},  {9, "#00ffff"},  {10, "#ffbf00"},
               {11, "#8b0000"}, {13, "#00b000"}, {14, "#606060"}, {15, "#ffffff"}, {16, "#c0c0c0"},
               {25, "#ff00ff"}, {29, "#d2aa5a"}, {8, "#ff1493"},  {-1, "#ff1493"}};
  for (const auto& c : cases) {
    std::vector<std::string> warnings;
    const std::string svg = Draw(
        "COLOR " + std::to_string(c.number) + "\nCIRR 1.000000;0.000000,0.000000;\n", &warnings);
    ExpectHas(svg, "r=\"1\" fill=\"" + std::string(c.rgb) + "\"/>");
    EXPECT_EQ(warnings.size(), c.rgb == "#ff1493" ? 1u : 0u) << c.number;
  }
}

TEST(SvgDrawingTest, SymbolsAreNamedGlyphsAndUnknownNamesArePlaceholders) {
  std::vector<std::string> warnings;
  const std::string svg = Draw(
      "INSSYM Imperial Scout Base\n1.000000;1.000000;0.000000;6.000000,588.897275;\n"
      "INSSYM Asteroid 3\n2.000000;1.000000;30.000000;10.000000,20.000000;\n"
      "INSSYM Bar & <Grill>\n1.000000;1.000000;0.000000;0.000000,0.000000;\n"
      "INSSYM Bar & <Grill>\n1.000000;1.000000;0.000000;0.000000,0.000000;\n",
      &warnings);
  ExpectHas(svg,
            "<g class=\"symbol\" transform=\"translate(6,-588.897)\"><title>Imperial Scout "
            "Base</title><polygon points=\"0,-1.2 1.039,0.6 -1.039,0.6\" fill=\"#ffd700\"/></g>");
  ExpectHas(svg,
            "<g class=\"symbol\" transform=\"translate(10,-20) scale(2,1) rotate(-30)\">"
            "<title>Asteroid 3</title>");
  ExpectHas(svg,
            "<g class=\"symbol unknown\" transform=\"translate(0,0)\"><title>Bar &amp; "
            "&lt;Grill&gt;</title>");
  EXPECT_EQ(warnings, std::vector<std::string>{
                          "line 6: no stand-in for symbol \"Bar &amp; &lt;Grill&gt;\"; drawn as "
                          "a placeholder"});
}

TEST(SvgDrawingTest, EveryNameTorvaneInsertsHasADistinctGlyph) {
  std::vector<std::string> names;
  for (const BaseFlagRow& row : BaseFlagTable) names.emplace_back(row.name);
  ASSERT_EQ(names.size(), 27u);
  for (char digit = '1'; digit <= '8'; ++digit) names.push_back(std::string("Asteroid ") + digit);

  std::string placeholder;
  AppendGlyph(placeholder, "no such symbol");
  std::set<std::string> glyphs = {placeholder};
  for (const std::string& name : names) {
    EXPECT_TRUE(HasGlyph(name)) << name;
    std::string glyph;
    AppendGlyph(glyph, name);
    EXPECT_TRUE(glyphs.insert(glyph).second) << name << " looks like another symbol";
  }
}

TEST(SvgDrawingTest, TextIsEscapedWhateverBytesItHolds) {
  const std::string svg = Draw("TEXTM  Orrin's <Gap> & \"Co\" \xFF\x01\n1.000000,2.000000\n");
  ExpectHas(svg,
            "xml:space=\"preserve\"> Orrin&apos;s &lt;Gap&gt; &amp; &quot;Co&quot; "
            "\xC3\xBF\xEF\xBF\xBD</text>");  // not UTF-8: 0xFF is Windows-1252's y-umlaut
}

TEST(SvgDrawingTest, FrameIsChosenFromWhereTheLabelsStand) {
  const struct {
    std::string_view body;
    std::string_view map;
  } cases[] = {
      {"TEXTM Lyra Sector\n495.000000,0.000000\n", "sector"},
      {"TEXTM Lyra Reach\n501.000000,611.000000\n", "sector"},
      {"TEXTM Veyl Subsector\n62.500000,-15.000000\n", "subsector"},
      {"TEXTM (subsector F of Lyra sector)\n62.500000,-23.000000\n", "subsector"},
      {"TEXTM Exile Camp\n-50.000000,56.500000\n", "subsector"},
      // Worlds alone: the sector frame, which shows everything.
      {"CIRR 2.500000;10.000000,20.000000;\n", "sector"},
      // A subsector label, but a world no subsector map reaches.
      {"TEXTM Veyl Subsector\n62.500000,-15.000000\nCIRR 2.500000;475.000000,8.660254;\n",
       "sector"},
  };
  for (const auto& c : cases) {
    const std::string svg = Draw(c.body);
    ExpectHas(svg, "data-map=\"" + std::string(c.map) + "\"");
  }
  ExpectHas(Draw(""), "width=\"100%\" height=\"100%\" viewBox=\"-10 -712 580 722\"");
  ExpectHas(Draw(cases[2].body), "width=\"100%\" height=\"100%\" viewBox=\"-60 -195 200 225\"");
  PreviewOptions subsector;
  subsector.frame = MapKind::kSubsectorMap;
  ExpectHas(Draw(cases[0].body, nullptr, subsector), "data-map=\"subsector\"");
}

TEST(SvgDrawingTest, HexGridHasEveryHexOfTheFrameUnlessLeftOut) {
  const std::string sector = Draw("TEXTM Lyra Sector\n495.000000,0.000000\n");
  EXPECT_EQ(Occurrences(sector, "Z"), 1280u);
  // Column 1, row 1 (centre 10, 692.8203232) and column 32, row 40 (475, 8.66025404).
  ExpectHas(sector, "d=\"M20,-692.82L15,-701.481L5,-701.481L0,-692.82L5,-684.16L15,-684.16Z");
  ExpectHas(sector, "M485,-8.66L480,-17.321L470,-17.321L465,-8.66L470,0L480,0Z\"");
  const std::string subsector = Draw("TEXTM Veyl Subsector\n62.500000,-15.000000\n");
  EXPECT_EQ(Occurrences(subsector, "Z"), 80u);
  ExpectHas(subsector, "d=\"M20,-173.205L15,-181.865L5,-181.865L0,-173.205");
  PreviewOptions no_grid;
  no_grid.hex_grid = false;
  EXPECT_EQ(Draw("", nullptr, no_grid).find("hex-grid"), std::string::npos);
}

}  // namespace
}  // namespace torvane
