#include "preview/script_reader.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

std::string Framed(std::string_view body) { return "ECOFF\n" + std::string(body) + "ECON\n"; }

TEST(ScriptReaderTest, ReadsEveryCommandInTheFormTorvaneWritesIt) {
  const ScriptReading reading = ReadScript(
      Framed("LAYER MAP BORDER\n"
             "COLOR 15\n"
             "LWIDTH 0.750000\n"
             "LSTYLE Solid\n"
             "FSTYLE Solid\n"
             "TSPECF Courier New\n"
             "TSPECH 1.500000\n"
             "TSPECA -90.000000\n"
             "TSPECJ 7\n"
             "TSPECS 16\n"
             "TEXTM 0107\n"
             "10.000000,597.197275\n"
             "CIRR 2.500000;20.000000,30.000000;\n"
             "ARCS 10.000000,588.897275;<340.000000,6.000000;200.000000\n"
             "LINE REF 10.000000,20.000000;<90.000000,5.000000;REF 10.000000,30.000000;<-90.000000,"
             "5.000000;\n"
             "INSSYM K'Kree Naval Base\n"
             "1.000000;1.000000;0.000000;6.000000,588.897275;\n"));
  EXPECT_EQ(reading.warnings, std::vector<std::string>{});
  ASSERT_EQ(reading.commands.size(), 17u);
  const auto& c = reading.commands;
  EXPECT_EQ(c[0].kind, CommandKind::kEchoOff);
  EXPECT_EQ(c[1].kind, CommandKind::kLayer);
  EXPECT_EQ(c[1].name, "MAP BORDER");
  EXPECT_EQ(c[2].number, 15);
  EXPECT_EQ(c[3].values[0], 0.75);
  EXPECT_EQ(c[4].name, "Solid");
  EXPECT_EQ(c[5].kind, CommandKind::kFillStyle);
  EXPECT_EQ(c[6].name, "Courier New");
  EXPECT_EQ(c[7].values[0], 1.5);
  EXPECT_EQ(c[8].values[0], -90);
  EXPECT_EQ(c[9].number, 7);
  EXPECT_EQ(c[10].number, 16);
  EXPECT_EQ(c[11].kind, CommandKind::kText);
  EXPECT_EQ(c[11].name, "0107");
  EXPECT_EQ(c[11].line, 12);
  EXPECT_EQ(c[11].values[1], 597.197275);
  EXPECT_EQ(c[12].kind, CommandKind::kCircle);
  EXPECT_EQ((std::array<double, 3>{c[12].values[0], c[12].values[1], c[12].values[2]}),
            (std::array<double, 3>{2.5, 20, 30}));
  EXPECT_EQ(c[13].kind, CommandKind::kArc);
  EXPECT_EQ((std::array<double, 5>{c[13].values[0], c[13].values[1], c[13].values[2],
                                   c[13].values[3], c[13].values[4]}),
            (std::array<double, 5>{10, 588.897275, 340, 6, 200}));
  EXPECT_EQ(c[14].kind, CommandKind::kLine);
  EXPECT_EQ(c[14].values, (std::array<double, 8>{10, 20, 90, 5, 10, 30, -90, 5}));
  EXPECT_EQ(c[15].kind, CommandKind::kSymbol);
  EXPECT_EQ(c[15].name, "K'Kree Naval Base");
  EXPECT_EQ(c[15].line, 17);
  EXPECT_EQ(c[15].values[3], 6);
  EXPECT_EQ(c[16].kind, CommandKind::kEchoOn);
}

TEST(ScriptReaderTest, CrLfAndLfLineEndsReadAlike) {
  const std::string lf = Framed("COLOR 9\nTEXTM  Lyra Reach\n501.000000,611.000000\n");
  std::string crlf;
  for (const char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const ScriptReading a = ReadScript(lf), b = ReadScript(crlf);
  ASSERT_EQ(b.commands.size(), 4u);
  EXPECT_EQ(b.warnings, std::vector<std::string>{});
  EXPECT_EQ(b.commands[2].name, " Lyra Reach");  // leading blank kept, no CR
  EXPECT_EQ(a.commands[2].name, b.commands[2].name);
  EXPECT_EQ(b.commands[2].values[0], 501);
}

TEST(ScriptReaderTest, UnknownAndMalformedLinesAreSkippedByLineNumber) {
  const ScriptReading reading = ReadScript(
      "ECOFF\n"
      "ZOOM EXTENTS\n"                      // 2 unknown
      "COLOR nine\n"                        // 3 malformed
      "COLOR 2147483648\n"                  // 4 out of int range
      "LWIDTH nan\n"                        // 5 not finite
      "CIRR 2.5;20,30\n"                    // 6 missing the last ';'
      "TEXTM Lost\n"                        // 7 its position line is a command:
      "CIRR 1.000000;2.000000,3.000000;\n"  // 8 ... which is still read
      "INSSYM Reserve\n"                    // 9
      "1;1;0;oops\n"                        // 10 malformed placement, taken with it
      "LAYER\n"                             // 11 a layer needs a name
      "\n"                                  // 12 blank lines are nothing
      "ARCS 1,2;<3,4;5 \n"                  // 13 trailing blank tolerated
      "TEXTM Last\n");                      // 14 no position line, no ECON
  EXPECT_EQ(reading.warnings, (std::vector<std::string>{
                                  "line 2: unknown command \"ZOOM\" skipped",
                                  "line 3: malformed COLOR command skipped",
                                  "line 4: malformed COLOR command skipped",
                                  "line 5: malformed LWIDTH command skipped",
                                  "line 6: malformed CIRR command skipped",
                                  "line 7: TEXTM without its second line skipped",
                                  "line 10: malformed second line of INSSYM of line 9 skipped",
                                  "line 11: malformed LAYER command skipped",
                                  "line 14: TEXTM without its second line skipped",
                                  "line 14: the script does not end with ECON; it may be cut short",
                              }));
  ASSERT_EQ(reading.commands.size(), 3u);
  EXPECT_EQ(reading.commands[1].kind, CommandKind::kCircle);
  EXPECT_EQ(reading.commands[1].line, 8);
  EXPECT_EQ(reading.commands[2].kind, CommandKind::kArc);
}

TEST(ScriptReaderTest, AScriptWithoutFramingOrWithBinaryJunkIsStillRead) {
  const ScriptReading reading = ReadScript("COLOR 4\n\xFF\xFE\x01 junk\n");
  ASSERT_EQ(reading.commands.size(), 1u);
  EXPECT_EQ(reading.warnings,
            (std::vector<std::string>{"line 2: unknown command \"???\" skipped",
                                      "line 1: the script does not begin with ECOFF",
                                      "line 2: the script does not end with ECON; it may be "
                                      "cut short"}));
  EXPECT_EQ(ReadScript("").warnings.size(), 2u);
}

}  // namespace
}  // namespace torvane
