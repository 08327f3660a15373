// The exit status of a run: its error count, negated, as far as the host's
// exit status can carry it, and never 0 for a stopped run.
#include "run/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/test_script.h"

namespace torvane {
namespace {

using torvane_test::MemoryFileSystem;
using torvane_test::TestRun;

#ifdef _WIN32
constexpr bool kWindowsHost = true;
#else
constexpr bool kWindowsHost = false;
#endif

TEST(CommandLine, ExitStatusIsTheNegatedErrorCountAsFarAsTheHostCarriesIt) {
  struct Case {
    std::vector<std::string> arguments;
    std::string total;  // the error total that ends standard output, if any
    int posix;
    int windows;
  };
  std::vector<std::string> many(150, "nosuch");
  std::vector<std::string> many_then_stop(128, "nosuch");
  many_then_stop.push_back("-q");
  const Case cases[] = {
      {{}, "", 0, 0},
      {{"nosuch"}, "There were 2 errors!\n", -2, -2},
      {many, "There were 300 errors!\n", -255, -300},
      {{"-q"}, "", -1, -1},
      {{"nosuch", "-q"}, "", -3, -3},
      {many_then_stop, "", -255, -257},
  };
  for (const Case& c : cases) {
    TestRun run;
    MemoryFileSystem file_system;
    std::string out;
    const int status = RunTorvane(c.arguments, file_system, run.log(),
                                  [&out](std::string_view text) { out += text; });
    EXPECT_EQ(status, kWindowsHost ? c.windows : c.posix) << c.arguments.size();
    if (c.total.empty()) {
      EXPECT_EQ(out.find("There were"), std::string::npos) << out;
    } else {
      EXPECT_TRUE(out.ends_with(c.total)) << out;
    }
  }
}

}  // namespace
}  // namespace torvane
