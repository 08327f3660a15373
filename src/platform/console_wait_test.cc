#include "platform/console_wait.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

TEST(ConsoleWait, OnlyAConsoleOfItsOwnWaitsForAKey) {
  const struct {
    ConsoleFacts facts;
    bool waits;
  } cases[] = {
      {{.processes_attached = 1, .input_output_on_console = true}, true},    // double-clicked
      {{.processes_attached = 2, .input_output_on_console = true}, false},   // cmd or PowerShell
      {{.processes_attached = 1, .input_output_on_console = false}, false},  // redirected
      {{.processes_attached = 0, .input_output_on_console = false}, false},  // no console
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShouldWaitForKey(c.facts), c.waits) << c.facts.processes_attached;
  }
}

}  // namespace
}  // namespace torvane
