// The runner that every test program starts programs with: arguments and
// working directory reach the program as given, input and large outputs
// pass without blocking, statuses come back as the host keeps them, and a
// program that hangs is killed and reported.
#include "testing/program_runner.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "testing/scratch_dir.h"

namespace torvane_test {
namespace {

const std::string kChild = TORVANE_TEST_CHILD;

TEST(ProgramRunner, ArgumentsArriveAsTheyWereGiven) {
  const std::vector<std::string> arguments = {
      "plain",
      "two words",
      "",
      "tab\there",
      "\"quoted\"",
      "say \"hi\"",
      "back\\slash",
      "ends in\\",
      "ends\\\\",
      "\\\"",
      "a\\\\\"b c",
      "trailing ",
      "-y",
      "/?",
      "100%",
      "K\xC3\xB8rs\xC3\xB8 \xE2\x86\x92 \xF0\x9F\x9A\x80",
  };
  ScratchDir dir;
  std::vector<std::string> child_arguments = {"args"};
  child_arguments.insert(child_arguments.end(), arguments.begin(), arguments.end());
  const ProgramResult run = RunProgram(kChild, child_arguments, dir.path());
  EXPECT_EQ(run.status, 0) << run.err;
  std::string expected;
  for (const std::string& argument : arguments) expected += argument + "\n";
  EXPECT_EQ(run.out, expected);
}

TEST(ProgramRunner, WorkingDirectoryMayHaveAnyName) {
  ScratchDir dir;
  const std::filesystem::path work = dir.path() / std::filesystem::path(u8"w\u00f6rk dir");
  std::filesystem::create_directory(work);
  const ProgramResult run = RunProgram(kChild, {"cwd"}, work);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "w\xC3\xB6rk dir\n");
}

TEST(ProgramRunner, ExitStatusIsWhatTheHostKeeps) {
  const struct {
    int code;
    int posix;
    int windows;
  } cases[] = {
      {0, 0, 0}, {1, 1, 1}, {-1, 255, -1}, {-3, 253, -3}, {255, 255, 255}, {-300, 212, -300},
  };
  ScratchDir dir;
  for (const auto& c : cases) {
    const ProgramResult run = RunProgram(kChild, {"exit", std::to_string(c.code)}, dir.path());
#ifdef _WIN32
    EXPECT_EQ(run.status, c.windows) << c.code;
#else
    EXPECT_EQ(run.status, c.posix) << c.code;
#endif
    EXPECT_EQ(run.status, ExpectedStatus(c.code)) << c.code;
  }
}

TEST(ProgramRunner, InputAndLargeOutputsPassWithoutBlocking) {
  ScratchDir dir;
  std::string input;
  while (input.size() < (1u << 20)) {
    for (int byte = 0; byte < 256; ++byte) input += static_cast<char>(byte);
    input += "\r\n\n\r";
  }
  const ProgramResult echo = RunProgram(kChild, {"echo"}, dir.path(), {.input = input});
  EXPECT_EQ(echo.status, 0) << echo.err;
  EXPECT_TRUE(echo.raw_out == input) << echo.raw_out.size() << " bytes of " << input.size();

  const ProgramResult flood = RunProgram(kChild, {"flood", "1048576"}, dir.path());
  EXPECT_EQ(flood.status, 0);
  EXPECT_TRUE(flood.raw_out == std::string(1u << 20, 'o')) << flood.raw_out.size() << " bytes";
  EXPECT_TRUE(flood.raw_err == std::string(1u << 20, 'e')) << flood.raw_err.size() << " bytes";
}

TEST(ProgramRunner, ProgramPastItsTimeoutIsKilledAndReported) {
  ScratchDir dir;
  testing::TestPartResultArray failures;
  ProgramResult run;
  const auto start = std::chrono::steady_clock::now();
  {
    const testing::ScopedFakeTestPartResultReporter reporter(
        testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
    run = RunProgram(kChild, {"sleep", "60000"}, dir.path(),
                     {.input = std::nullopt, .timeout = std::chrono::milliseconds(500)});
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
  EXPECT_EQ(run.status, kNoStatus);
  ASSERT_EQ(failures.size(), 1);
  EXPECT_NE(std::string(failures.GetTestPartResult(0).message()).find("was killed after 500 ms"),
            std::string::npos)
      << failures.GetTestPartResult(0).message();
}

TEST(ProgramRunner, ProgramThatCannotBeStartedIsReported) {
  ScratchDir dir;
  testing::TestPartResultArray failures;
  ProgramResult run;
  {
    const testing::ScopedFakeTestPartResultReporter reporter(
        testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
    run = RunProgram(dir.Path("no-such-program"), {}, dir.path());
  }
  EXPECT_EQ(run.status, kNoStatus);
  ASSERT_EQ(failures.size(), 1);
  EXPECT_NE(std::string(failures.GetTestPartResult(0).message()).find("cannot start"),
            std::string::npos)
      << failures.GetTestPartResult(0).message();
}

}  // namespace
}  // namespace torvane_test
