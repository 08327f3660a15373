// Trade routes: the lines written for route lines of subsector map files,
// the cuts at the map's edges, and how the values of a line are read.
#include "draw/trade_route.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/test_script.h"

namespace torvane {
namespace {

using torvane_test::TestScript;

using enum MapKind;

using Lines = std::vector<std::string>;

struct RouteCase {
  const char* behaviour;
  std::string_view text;
  int subsector;
  MapKind subsector_map;
  const char* colour;
  const char* line;
};

// The lines a route writes as the first command of a fresh script.
Lines RouteLines(const char* colour, const char* line) {
  return {"LAYER STANDARD", colour, "LWIDTH 0.750000", "LSTYLE Solid", "FSTYLE Solid", line};
}

void ExpectRoutes(const RouteCase* begin, const RouteCase* end) {
  for (const RouteCase* c = begin; c != end; ++c) {
    TestScript script;
    EXPECT_EQ(DrawRoute(script.options(), script.target(), c->text, c->subsector, c->subsector_map),
              1)
        << c->behaviour;
    EXPECT_EQ(script.TakeLines(), RouteLines(c->colour, c->line)) << c->behaviour;
  }
}

TEST(TradeRoute, RoutesInsideTheMapRunBetweenHexCentres) {
  const RouteCase cases[] = {
      {"four values give colour 5", "$0304 0506", 0, kSectorMap, "COLOR 5",
       "LINE REF 40.000000,640.858799;<-49.106605,5.000000;"
       "REF 70.000000,606.217783;<130.893395,5.000000;"},
      {"the start is placed in the file's subsector", "$0912 1013 0 0 0", 0, kSectorMap, "COLOR 0",
       "LINE REF 10.000000,675.499815;<-55.872190,5.000000;"
       "REF 145.000000,476.313972;<124.127810,5.000000;"},
      {"a subsector map shifts both ends into its frame", "$1213 1415 0 0 15", 5, kSubsectorMap,
       "COLOR 15",
       "LINE REF 55.000000,129.903811;<-49.106605,5.000000;"
       "REF 85.000000,95.262794;<130.893395,5.000000;"},
      {"an end in the subsector's top corner stays uncut", "$0202 0101 0 0 5", 0, kSubsectorMap,
       "COLOR 25",
       "LINE REF 25.000000,147.224319;<120.000000,5.000000;"
       "REF 10.000000,173.205081;<-60.000000,5.000000;"},
  };
  ExpectRoutes(std::begin(cases), std::end(cases));
}

TEST(TradeRoute, RoutesLeavingTheMapAreCutAtTheFirstLimitLine) {
  const RouteCase cases[] = {
      {"offset 3 becomes -1: the end lies in the sector to the left", "$0102 3102 0 0 1", 0,
       kSectorMap, "COLOR 7",
       "LINE REF 10.000000,675.499815;<180.000000,5.000000;"
       "REF -5.000000,675.499815;<-0.000000,5.000000;"},
      {"an end in subsector D seen from A leaves to the left", "$0202 2602 0 0 1", 0, kSectorMap,
       "COLOR 7",
       "LINE REF 25.000000,666.839561;<180.000000,5.000000;"
       "REF -5.000000,666.839561;<-0.000000,5.000000;"},
      {"an end in the sector to the right", "$3202 0102 0 0 3", 3, kSectorMap, "COLOR 9",
       "LINE REF 475.000000,666.839561;<30.000000,5.000000;"
       "REF 490.330127,675.690414;<-150.000000,5.000000;"},
      {"an end in the sector below", "$0835 0805 0 0 3", 12, kSectorMap, "COLOR 9",
       "LINE REF 115.000000,95.262794;<-90.000000,5.000000;"
       "REF 115.000000,-5.000000;<90.000000,5.000000;"},
      {"an end centre below the top limit keeps the whole length", "$0201 0240 0 0 1", 0,
       kSectorMap, "COLOR 7",
       "LINE REF 25.000000,684.160069;<90.000000,5.000000;"
       "REF 25.000000,706.480577;<-90.000000,5.000000;"},
      {"an end centre above the top limit is cut there", "$0101 0140 0 0 1", 0, kSectorMap,
       "COLOR 7",
       "LINE REF 10.000000,692.820323;<90.000000,5.000000;"
       "REF 10.000000,707.480577;<-90.000000,5.000000;"},
      {"on a subsector map every other subsector lies outside", "$0805 0905 0 0 3", 0,
       kSubsectorMap, "COLOR 9",
       "LINE REF 115.000000,95.262794;<30.000000,5.000000;"
       "REF 130.330127,104.113647;<-150.000000,5.000000;"},
      {"leaving right and at the bottom ends on the nearer limit", "$1620 1721 0 0 3", 5,
       kSubsectorMap, "COLOR 9",
       "LINE REF 115.000000,8.660254;<-30.000000,5.000000;"
       "REF 130.330127,-0.190599;<150.000000,5.000000;"},
      {"the top limit of a subsector map", "$0101 0140 0 0 1", 0, kSubsectorMap, "COLOR 7",
       "LINE REF 10.000000,173.205081;<90.000000,5.000000;"
       "REF 10.000000,187.865340;<-90.000000,5.000000;"},
  };
  ExpectRoutes(std::begin(cases), std::end(cases));
}

TEST(TradeRoute, ColourCodesOutsideTheTableGiveColourFive) {
  const RouteCase cases[] = {
      {"code 5 is looked up", "$0304 0506 0 0 5", 0, kSectorMap, "COLOR 25", ""},
      {"code 16", "$0304 0506 0 0 16", 0, kSectorMap, "COLOR 5", ""},
      {"code -1", "$0304 0506 0 0 -1", 0, kSectorMap, "COLOR 5", ""},
      {"no code after one ignored value", "$0304 0506 0 5", 0, kSectorMap, "COLOR 5", ""},
      {"a code that would wrap to 1 saturates", "$0304 0506 0 0 4294967297", 0, kSectorMap,
       "COLOR 5", ""},
      {"a negative code that would wrap to 1 saturates", "$0304 0506 0 0 -4294967295", 0,
       kSectorMap, "COLOR 5", ""},
      {"the largest int", "$0304 0506 0 0 2147483647", 0, kSectorMap, "COLOR 5", ""},
      {"huge ignored values are read whole", "$0304 0506 99999999999999999999 -99999999999 1", 0,
       kSectorMap, "COLOR 7", ""},
      {"values come from the following lines", "$0304 0506\n0\n0 1\nRegina", 0, kSectorMap,
       "COLOR 7", ""},
      {"reading stops at the next route line's dollar", "$0304 0506 1\n$0102 0304 0 0 1", 0,
       kSectorMap, "COLOR 5", ""},
      {"a sign counts in a hex field's width", "$+3+40506 0 0 1", 0, kSectorMap, "COLOR 7", ""},
      {"white space may stand before every value", "$ 03\t04 \r\n05 06  0 0  1", 0, kSectorMap,
       "COLOR 7", ""},
  };
  for (const RouteCase& c : cases) {
    TestScript script;
    EXPECT_EQ(DrawRoute(script.options(), script.target(), c.text, c.subsector, c.subsector_map), 1)
        << c.behaviour;
    EXPECT_EQ(script.TakeLines(), RouteLines(c.colour,
                                             "LINE REF 40.000000,640.858799;<-49.106605,5.000000;"
                                             "REF 70.000000,606.217783;<130.893395,5.000000;"))
        << c.behaviour;
  }
}

TEST(TradeRoute, HexValuesAreReadTwoCharactersAtATime) {
  const RouteCase cases[] = {
      {"a long number is split into hex fields and then values", "$9999999999 1", 0, kSectorMap,
       "COLOR 5",
       "LINE REF 40.000000,554.256259;<-47.269472,5.000000;"
       "REF 1480.000000,-1004.589469;<132.730528,5.000000;"},
      {"hexes may be read from the next line", "$0102\n3102 0 0 1", 0, kSectorMap, "COLOR 7",
       "LINE REF 10.000000,675.499815;<180.000000,5.000000;"
       "REF -5.000000,675.499815;<-0.000000,5.000000;"},
  };
  ExpectRoutes(std::begin(cases), std::end(cases));
}

TEST(TradeRoute, RejectedLinesWriteNothing) {
  const struct {
    const char* behaviour;
    std::string_view text;
    int subsector;
  } cases[] = {
      {"start and end the same hex", "$0202 0202 0 0 1", 0},
      {"the sector number of the start hex is placed first", "$1012 0202 0 0 1", 0},
      {"a letter in a hex number", "$0A02 0304 0 0 1", 0},
      {"three hex values", "$0102 03", 0},
      {"three hex values before the end of the text", "$0102 03\n", 0},
      {"a sign without a digit", "$01-+0304 0 0 1", 0},
      {"a lone sign", "$0102 - 304 0 0 1", 0},
      {"the text ends at a NUL", std::string_view("$0102\0 0304 0 0 1", 17), 0},
      {"only the dollar", "$", 0},
      {"an empty line", "", 0},
      {"a missing line", std::string_view(), 0},
      {"subsector index 16", "$0102 0304 0 0 1", 16},
      {"subsector index -1", "$0102 0304 0 0 1", -1},
  };
  for (const auto& c : cases) {
    TestScript script;
    EXPECT_EQ(DrawRoute(script.options(), script.target(), c.text, c.subsector, kSectorMap), 0)
        << c.behaviour;
    EXPECT_EQ(DrawRoute(script.options(), script.target(), c.text, c.subsector, kSubsectorMap), 0)
        << c.behaviour;
    EXPECT_EQ(script.TakeLines(), Lines{}) << c.behaviour;
  }
}

TEST(TradeRoute, RoutesSwitchedOffWriteNothingAndSucceed) {
  TestScript script;
  script.options().showRoutes = 0;
  EXPECT_EQ(DrawRoute(script.options(), script.target(), "$0102 0304 0 0 1", 0, kSectorMap), 1);
  EXPECT_EQ(DrawRoute(script.options(), script.target(), "$0202 0202", 0, kSubsectorMap), 1);
  EXPECT_EQ(script.TakeLines(), Lines{});
}

}  // namespace
}  // namespace torvane
