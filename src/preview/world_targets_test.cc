// World hover targets: which lines of a map file become targets, and where
// and how a target is drawn on either map.
#include "preview/world_targets.h"

#include <gtest/gtest.h>

#include <sstream>

#include "draw/hex_geometry.h"
#include "preview/preview_command_line.h"
#include "testing/memory_file_system.h"

namespace torvane {
namespace {

using torvane_test::MemoryFileSystem;

// Two worlds, in subsectors A and P, among lines that are not worlds.
const std::string kMapFile =
    "@SUB-SECTOR: Near SECTOR: Test\r\n"
    "# a comment 0101 A788899-C\r\n"
    "$0102 3240 1 0 3\r\n"
    "\r\n"
    "Lone <&> One  0102 A788899-C\r\n"
    "Far Rim       3240 B000000-9 N\r\n";

// Sector and subsector scripts, told apart by their labels.
const std::string kSectorScript = "ECOFF\nTEXTM Test\n495,300\nECON\n";
const std::string kSubsectorScript = "ECOFF\nTEXTM Near Subsector\n62.5,-15\nECON\n";

struct Target {
  std::string title;
  MapPoint centre;  // of its corners, in map units
};

// The targets of a picture, in order.
std::vector<Target> TargetsOf(const std::string& svg) {
  std::vector<Target> targets;
  for (size_t at = svg.find("<g class=\"world\"><title>"); at != std::string::npos;
       at = svg.find("<g class=\"world\"><title>", at + 1)) {
    const size_t title = svg.find('>', svg.find("<title", at)) + 1;
    Target target{svg.substr(title, svg.find("</title>", title) - title), {}};
    std::istringstream points(svg.substr(svg.find("points=\"", at) + 8));
    double x, y;
    char comma;
    for (int corner = 0; corner < 6 && points >> x >> comma >> y; ++corner) {
      target.centre.x += x / 6;
      target.centre.y -= y / 6;
    }
    targets.push_back(target);
  }
  return targets;
}

std::string Preview(const std::string& script, std::vector<std::string> options) {
  MemoryFileSystem disk;
  disk.AddFile("a.scr", script);
  disk.AddFile("maps/SUBA.DAT", kMapFile);
  disk.AddFile("maps/notes/ignored.txt", "Ignored       0103 A788899-C\n");
  options.push_back("a.scr");
  std::ostringstream out, err;
  EXPECT_EQ(RunPreview(disk, options, out, err), kPreviewDone) << err.str();
  return disk.FileBytes("a.svg").value_or("");
}

TEST(WorldTargets, EachWorldLineIsATargetOnItsHex) {
  MapPoint regina, far_rim;
  HexCenter(1, 2, &regina, HexRange::kSectorOnly);
  SubsectorHexCenter(32, 40, &far_rim);
  const struct {
    std::string script;
    std::vector<std::string> options;
    size_t count;
    size_t checked;  // the target whose title and place are checked
    std::string title;
    MapPoint centre;
  } cases[] = {
      {kSectorScript, {"--worlds=maps"}, 2, 0, "Lone &lt;&amp;&gt; One  0102 A788899-C", regina},
      {kSubsectorScript,
       {"--worlds=maps/SUBA.DAT"},
       2,
       1,
       "Far Rim       3240 B000000-9 N",
       far_rim},
      {kSubsectorScript,
       {"--worlds=maps", "--subsector=P"},
       1,
       0,
       "Far Rim       3240 B000000-9 N",
       far_rim},
      {kSectorScript,
       {"--subsector=a", "--worlds=maps"},
       1,
       0,
       "Lone &lt;&amp;&gt; One  0102 A788899-C",
       regina},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options[0]);
    const std::string svg = Preview(c.script, c.options);
    const std::vector<Target> targets = TargetsOf(svg);
    ASSERT_EQ(targets.size(), c.count);
    EXPECT_EQ(targets[c.checked].title, c.title);
    EXPECT_NEAR(targets[c.checked].centre.x, c.centre.x, 0.001);
    EXPECT_NEAR(targets[c.checked].centre.y, c.centre.y, 0.001);
    // Above everything else, and transparent but catching the pointer.
    EXPECT_GT(svg.find("<g class=\"world\">"), svg.rfind("class=\"layer\""));
    EXPECT_NE(svg.find(".hex-target{fill:transparent;pointer-events:all}"), std::string::npos);
  }
  EXPECT_EQ(Preview(kSectorScript, {"--worlds=maps", "--subsector=b"}), Preview(kSectorScript, {}));
}

TEST(WorldTargets, BadWorldsOrSubsectorStopTheRunWithoutAPicture) {
  const struct {
    std::string option;
    int status;
    std::string message;
  } cases[] = {
      {"--worlds=nowhere", kPreviewFileError, "torvane-preview: cannot read 'nowhere'"},
      {"--subsector=q", kPreviewUsageError, "torvane-preview: unknown option '--subsector=q'"},
  };
  for (const auto& c : cases) {
    MemoryFileSystem disk;
    disk.AddFile("a.scr", kSectorScript);
    std::ostringstream out, err;
    EXPECT_EQ(RunPreview(disk, {c.option, "a.scr"}, out, err), c.status);
    EXPECT_TRUE(err.str().starts_with(c.message)) << err.str();
    EXPECT_FALSE(disk.Exists("a.svg"));
  }
}

}  // namespace
}  // namespace torvane
