// Which sectors of a run may be converted side by side, and the order their
// messages come out in.
#include "run/sector_jobs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/memory_file_system.h"

namespace torvane {
namespace {

using torvane_test::MemoryFileSystem;

using Groups = std::vector<std::vector<size_t>>;

TEST(SectorJobs, SectorsThatCouldMeetShareAGroup) {
  struct Case {
    std::vector<std::string> arguments;
    const char* outputDir;   // for every sector; none when null
    const char* subsectors;  // chosen for every sector
    Groups groups;
  };
  const Case cases[] = {
      {{"a", "b", "c"}, nullptr, "", {{0}, {1}, {2}}},
      {{"a", "b", "a"}, nullptr, "", {{0, 2}, {1}}},
      {{"x/alpha", "y/ALPHA", "x/alpha/"}, "out", "", {{0, 1, 2}}},
      {{"m/bet", "m/beta"}, nullptr, "", {{0}, {1}}},
      {{"m/bet", "m/beta"}, nullptr, "a", {{0, 1}}},
      {{"m/bet", "m/beta"}, nullptr, "bcdefghijklmnop", {{0}, {1}}},
      {{"a", "\xc3\x89t\xc3\xa9", "b", "c~1"}, nullptr, "", {{0, 1, 2, 3}}},
      // Scripts written into the directory another sector reads maps from.
      {{"a", "g", "b"}, "g/map", "", {{0, 1, 2}}},
      {{"a", "g", "b"}, "g", "", {{0}, {1}, {2}}},
  };
  for (const Case& c : cases) {
    MemoryFileSystem file_system;
    file_system.AddFile("g/map/SUBA.DAT", "");
    file_system.AddDirectory("out");
    std::vector<SectorJob> jobs;
    for (const std::string& argument : c.arguments) {
      SectorJob job;
      job.argument = argument;
      if (c.outputDir) job.options.outputDir = c.outputDir;
      for (const char* letter = c.subsectors; *letter; ++letter) {
        job.options.subsectors[*letter - 'a'] = 1;
      }
      jobs.push_back(job);
    }
    EXPECT_EQ(GroupSectorJobs(jobs, file_system), c.groups) << c.arguments.front();
  }
}

TEST(OrderedMessages, SlotsComeOutInTheirOrderWhateverOrderTheyFinishIn) {
  std::string out;
  OrderedMessages messages([&out](Channel channel, std::string_view text) {
    out += channel == Channel::kOutput ? "out:" : "err:";
    out += text;
    out += ' ';
  });
  for (int i = 0; i < 4; ++i) messages.Open();
  messages.Write(2, Channel::kErrors, "c1");
  messages.Write(0, Channel::kErrors, "a1");
  messages.Write(2, Channel::kErrors, "c2");
  messages.Write(1, Channel::kOutput, "b1");
  messages.Finish(2);
  EXPECT_EQ(out, "err:a1 ");
  messages.Finish(0);
  EXPECT_EQ(out, "err:a1 out:b1 ");
  messages.Write(1, Channel::kErrors, "b2");
  messages.Write(3, Channel::kErrors, "d1");
  messages.Finish(1);
  messages.Write(3, Channel::kErrors, "d2");
  EXPECT_EQ(out, "err:a1 out:b1 err:b2 err:c1c2 err:d1 err:d2 ");
}

}  // namespace
}  // namespace torvane
