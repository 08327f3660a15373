// The command line on Windows: the C runtime's narrow argv holds the ANSI
// code page's reading of the arguments, which loses every character outside
// it, so the arguments are read from the wide command line and turned into
// UTF-8 here.
#define NOMINMAX
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <thread>

#include "platform/console_wait.h"
#include "platform/host_process.h"
#include "platform/wide_text_win32.h"

namespace torvane {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) {
    if (argc < 1) return {};
    return std::vector<std::string>(argv + 1, argv + argc);
  }
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Utf8FromWide(wide[i]));
  LocalFree(wide);
  return arguments;
}

void IgnoreFileSizeSignal() {}

namespace {

bool OnConsole(DWORD stream) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(stream), &mode) != 0;
}

}  // namespace

void WaitForKeyInOwnConsole() {
  DWORD processes[2];
  const ConsoleFacts facts{.processes_attached = GetConsoleProcessList(processes, 2),
                           .input_output_on_console = OnConsole(STD_INPUT_HANDLE) &&
                                                      OnConsole(STD_OUTPUT_HANDLE) &&
                                                      OnConsole(STD_ERROR_HANDLE)};
  if (!ShouldWaitForKey(facts)) return;
  std::fflush(stdout);
  std::fprintf(stdout, "%.*s\n", static_cast<int>(kPressAnyKey.size()), kPressAnyKey.data());
  std::fflush(stdout);
  // Keys pressed while the program ran do not count.
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  FlushConsoleInputBuffer(input);
  INPUT_RECORD record;
  DWORD read = 0;
  while (ReadConsoleInputW(input, &record, 1, &read) && read == 1) {
    if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown) return;
  }
}

unsigned UsableProcessors() {
  DWORD_PTR process_mask = 0;
  DWORD_PTR system_mask = 0;
  if (GetProcessAffinityMask(GetCurrentProcess(), &process_mask, &system_mask) &&
      process_mask != 0) {
    return static_cast<unsigned>(std::popcount(static_cast<std::uint64_t>(process_mask)));
  }
  return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace torvane
