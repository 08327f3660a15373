// The command writer: exact lines, the attribute cache and its resets, and
// failed writes.
#include "script/script_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "testing/test_script.h"

namespace torvane {
namespace {

using torvane_test::FileOp;
using torvane_test::TestScript;

using Lines = std::vector<std::string>;

TEST(ScriptWriter, WorkedCommandSequence) {
  TestScript script;
  const ScriptTarget& t = script.target();
  ASSERT_EQ(ScrSelect(t), 1);
  ScrCircle(t, {20, 30}, 2.5, {9, 0.0, "Solid", "Solid"});
  ScrCircle(t, {40, 30}, 2.5, {9, 0.0, "Solid", "Solid"});
  ScrText(t, "Regina", 0, {20, 25}, {15, "Arial", 2.0, 0.0, 1, 0});
  ScrLayer(t, "MAP BORDER");
  ScrRelease(t);
  ScrSymbol(t, "Imperial Scout Base", {30, 40}, 1.0, 1.0, 0.0);
  EXPECT_EQ(script.TakeLines(), (Lines{
                                    "LAYER STANDARD",
                                    "COLOR 9",
                                    "LWIDTH 0.000000",
                                    "LSTYLE Solid",
                                    "FSTYLE Solid",
                                    "CIRR 2.500000;20.000000,30.000000;",
                                    "CIRR 2.500000;40.000000,30.000000;",
                                    "COLOR 15",
                                    "TSPECF Arial",
                                    "TSPECH 2.000000",
                                    "TSPECA 0.000000",
                                    "TSPECJ 1",
                                    "TSPECS 0",
                                    "TEXTM Regina",
                                    "20.000000,25.000000",
                                    "LAYER MAP BORDER",
                                    "LAYER STANDARD",
                                    "INSSYM Imperial Scout Base",
                                    "1.000000;1.000000;0.000000;30.000000,40.000000;",
                                }));
  EXPECT_EQ(script.log().ErrorCount(), 0);
}

TEST(ScriptWriter, LineEndsAreWrittenAsPolarOffsets) {
  TestScript script;
  const ScriptTarget& t = script.target();
  ScrSelect(t);
  script.TakeLines();
  ScrLine(t, {10, 20}, {10, 30}, 5, {7, 0.75, "Solid", "Solid"});
  ScrLine(t, {0, 0}, {1, 0}, 5, {7, 0.75, "Solid", "Solid"});
  ScrLine(t, {0, 0}, {0, -1}, 5, {7, 0.75, "Solid", "Solid"});
  EXPECT_EQ(script.TakeLines(), (Lines{
                                    "COLOR 7",
                                    "LWIDTH 0.750000",
                                    "LSTYLE Solid",
                                    "FSTYLE Solid",
                                    "LINE REF 10.000000,20.000000;<90.000000,5.000000;REF "
                                    "10.000000,30.000000;<-90.000000,5.000000;",
                                    "LINE REF 0.000000,0.000000;<0.000000,5.000000;REF "
                                    "1.000000,0.000000;<-180.000000,5.000000;",
                                    "LINE REF 0.000000,0.000000;<-90.000000,5.000000;REF "
                                    "0.000000,-1.000000;<90.000000,5.000000;",
                                }));
}

TEST(ScriptWriter, ArcListsCentreStartRadiusEnd) {
  TestScript script;
  ScrArc(script.target(), {40, 640.858799}, 6.0, 340.0, 200.0, {10, 0.5, "Solid", "Solid"});
  EXPECT_EQ(script.TakeLines(),
            (Lines{"LAYER STANDARD", "COLOR 10", "LWIDTH 0.500000", "LSTYLE Solid", "FSTYLE Solid",
                   "ARCS 40.000000,640.858799;<340.000000,6.000000;200.000000"}));
}

TEST(ScriptWriter, CacheWritesOnlyChangedSettings) {
  TestScript script;
  const ScriptTarget& t = script.target();
  ScrSelect(t);
  ScrLayer(t, "STANDARD");  // already the layer after a selection
  ScrLayer(t, "MAP BORDER");
  ScrLayer(t, "MAP BORDER");
  // An empty style name matches the empty cache after a selection.
  ScrCircle(t, {1, 2}, 1.0, {15, 0.0, "", ""});
  // A text after a circle of the same colour writes no COLOR line.
  ScrText(t, "0101 and more", 4, {1, 2}, {15, "Courier New", 1.5, 0.0, 7, 0});
  EXPECT_EQ(script.TakeLines(),
            (Lines{"LAYER STANDARD", "LAYER MAP BORDER", "COLOR 15", "LWIDTH 0.000000",
                   "CIRR 1.000000;1.000000,2.000000;", "TSPECF Courier New", "TSPECH 1.500000",
                   "TSPECA 0.000000", "TSPECJ 7", "TSPECS 0", "TEXTM 0101", "1.000000,2.000000"}));
  // After a release everything is written again.
  ScrRelease(t);
  ScrText(t, "0101", 4, {1, 2}, {15, "Courier New", 1.5, 0.0, 7, 0});
  EXPECT_EQ(script.TakeLines(),
            (Lines{"LAYER STANDARD", "COLOR 15", "TSPECF Courier New", "TSPECH 1.500000",
                   "TSPECA 0.000000", "TSPECJ 7", "TSPECS 0", "TEXTM 0101", "1.000000,2.000000"}));
}

TEST(ScriptWriter, NamesLongerThanTheCacheAreWrittenEveryTime) {
  TestScript script;
  const ScriptTarget& t = script.target();
  const std::string exact(kCachedNameLimit, 'f');
  const std::string longer(kCachedNameLimit + 1, 'f');
  ScrSelect(t);
  script.TakeLines();
  ScrTextFont(t, exact);
  ScrTextFont(t, exact);
  ScrTextFont(t, longer);
  ScrTextFont(t, longer);
  EXPECT_EQ(script.TakeLines(), (Lines{"TSPECF " + exact, "TSPECF " + longer, "TSPECF " + longer}));
}

TEST(ScriptWriter, NamesThatDifferInAnyOneCharacterAreWrittenAgain) {
  TestScript script;
  const ScriptTarget& t = script.target();
  ScrSelect(t);
  script.TakeLines();
  Lines expected;
  for (size_t size = 1; size <= 20; ++size) {
    std::string name;
    for (size_t i = 0; i < size; ++i) name += static_cast<char>('a' + i);
    ScrLineStyle(t, name);
    expected.push_back("LSTYLE " + name);
    for (size_t at = 0; at < size; ++at) {
      std::string other = name;
      other[at] = 'Z';
      ScrLineStyle(t, other);
      ScrLineStyle(t, other);
      ScrLineStyle(t, name);
      expected.insert(expected.end(), {"LSTYLE " + other, "LSTYLE " + name});
    }
  }
  EXPECT_EQ(script.TakeLines(), expected);
}

TEST(ScriptWriter, TextLengthZeroOrBeyondTheTextWritesItWhole) {
  TestScript script;
  const ScriptTarget& t = script.target();
  ScrText(t, "Zhodani", 0, {0, 0}, {15, "Arial", 1, 0, 0, 0});
  ScrText(t, "Zhodani", 99, {0, 0}, {15, "Arial", 1, 0, 0, 0});
  ScrText(t, "Zhodani", 3, {0, 0}, {15, "Arial", 1, 0, 0, 0});
  const Lines lines = script.TakeLines();
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[7], "TEXTM Zhodani");
  EXPECT_EQ(lines[9], "TEXTM Zhodani");
  EXPECT_EQ(lines[11], "TEXTM Zho");
}

TEST(ScriptWriter, MissingArgumentsWriteNothing) {
  TestScript script;
  const ScriptTarget& t = script.target();
  ScrSelect(t);
  script.TakeLines();
  ScrCircle(t, {0, 0}, 1, {1, 1, std::string_view(), "Solid"});
  ScrSymbol(t, std::string_view(), {0, 0}, 1, 1, 0);
  ScrText(t, std::string_view(), 0, {0, 0}, {1, "Arial", 1, 0, 0, 0});
  EXPECT_TRUE(script.TakeLines().empty());
  // A missing font is met after the colour has been written.
  ScrText(t, "x", 0, {0, 0}, {3, std::string_view(), 1, 0, 0, 0});
  EXPECT_EQ(script.TakeLines(), (Lines{"COLOR 3"}));
  const ScriptTarget closed;
  ScrText(closed, "x", 0, {0, 0}, {3, "Arial", 1, 0, 0, 0});
  EXPECT_EQ(script.log().ErrorCount(), 0);
}

TEST(ScriptWriter, FailedWriteIsReportedOnceAndTheCacheKeepsTheNewValue) {
  TestScript script;
  const ScriptTarget& t = script.target();
  ScrSelect(t);
  script.fs().FailOperation(FileOp::kWrite, 1);
  ScrCircle(t, {1, 1}, 1, {9, 0, "Solid", "Solid"});  // COLOR fails, nothing more
  EXPECT_EQ(script.errors(), "Error writing file <t.scr>!\n");
  EXPECT_EQ(script.log().ErrorCount(), 1);
  ScrCircle(t, {1, 1}, 1, {9, 0, "Solid", "Solid"});
  EXPECT_EQ(script.TakeLines(), (Lines{"LAYER STANDARD", "LWIDTH 0.000000", "LSTYLE Solid",
                                       "FSTYLE Solid", "CIRR 1.000000;1.000000,1.000000;"}));
}

TEST(ScriptWriter, FailedSelectionKeepsTheStreamCurrent) {
  TestScript script;
  const ScriptTarget& t = script.target();
  script.fs().FailOperation(FileOp::kWrite, 1);
  EXPECT_EQ(ScrSelect(t), 0);
  EXPECT_EQ(ScrSelect(t), 1);
  EXPECT_EQ(script.log().ErrorCount(), 1);
  EXPECT_TRUE(script.TakeLines().empty());
}

TEST(ScriptWriter, IntegerSettingsAreWrittenInFullWhateverTheirSize) {
  TestScript script;
  const ScriptTarget& t = script.target();
  ScrSelect(t);
  script.TakeLines();
  Lines expected;
  for (const int value : {0, 9, 10, 15, 99, 100, 123456, -1, -10, -100,
                          std::numeric_limits<int>::max(), std::numeric_limits<int>::min()}) {
    ScrColor(t, value);
    ScrTextJustify(t, value);
    expected.push_back("COLOR " + std::to_string(value));
    expected.push_back("TSPECJ " + std::to_string(value));
  }
  EXPECT_EQ(script.TakeLines(), expected);
}

TEST(ScriptWriter, RepeatedNumbersKeepTheirOwnText) {
  // More distinct values than the writer keeps texts for, each written
  // twice, with neighbours that differ in the last bit, both zeros and values
  // too long to keep.
  TestScript script;
  const ScriptTarget& t = script.target();
  ScrSelect(t);
  script.TakeLines();
  std::vector<double> values{0.0, -0.0, 1e20, -1e20, 1e300};
  for (int i = 0; i < 6000; ++i) {
    const double value = i * 0.5 - 1000 + (i % 7) / 128.0;
    values.insert(values.end(), {value, std::nextafter(value, 1e9)});
  }
  Lines expected;
  for (int pass = 0; pass < 2; ++pass) {
    for (double value : values) {
      ScrCircle(t, {value, -value}, value, {9, 0.5, "Solid", "Solid"});
      char line[1000];
      std::snprintf(line, sizeof line, "CIRR %f;%f,%f;", value, value, -value);
      expected.push_back(line);
    }
  }
  Lines lines = script.TakeLines();
  // The settings written before the first circle.
  ASSERT_EQ(lines.size(), expected.size() + 4);
  lines.erase(lines.begin(), lines.begin() + 4);
  EXPECT_EQ(lines, expected);
}

// Two scripts open at once: each keeps the settings written to it, and
// writing to one does not make the other select itself again.
TEST(ScriptWriter, EachScriptKeepsItsOwnSettings) {
  TestScript script;
  ScriptTarget other;
  ASSERT_EQ(OpenScript(script.fs(), script.log(), "u.scr", "", other), 1);
  ScrCircle(script.target(), {1, 1}, 1, {9, 0, "Solid", "Solid"});
  ScrCircle(other, {2, 2}, 1, {9, 0, "Solid", "Solid"});
  ScrCircle(script.target(), {3, 3}, 1, {9, 0, "Solid", "Solid"});
  ScrCircle(other, {4, 4}, 1, {9, 0, "Solid", "Solid"});
  CloseScript(other);
  EXPECT_EQ(script.TakeLines(),
            (Lines{"LAYER STANDARD", "COLOR 9", "LWIDTH 0.000000", "LSTYLE Solid", "FSTYLE Solid",
                   "CIRR 1.000000;1.000000,1.000000;", "CIRR 1.000000;3.000000,3.000000;"}));
  EXPECT_EQ(script.fs().FileBytes("u.scr"),
            "ECOFF\r\nLAYER STANDARD\r\nCOLOR 9\r\nLWIDTH 0.000000\r\nLSTYLE Solid\r\n"
            "FSTYLE Solid\r\nCIRR 1.000000;2.000000,2.000000;\r\n"
            "CIRR 1.000000;4.000000,4.000000;\r\nECON\r\n");
}

}  // namespace
}  // namespace torvane
