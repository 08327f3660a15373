// Temporary files on Windows: their names, and Ctrl-C, Ctrl-Break and a
// closed console window, whose handler the system runs on a thread of its
// own.
#define NOMINMAX
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <system_error>

#include "platform/temporary_files.h"
#include "platform/wide_text_win32.h"

namespace torvane {

namespace {

BOOL WINAPI RemoveOnConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
    return FALSE;
  }
  // A file still open for writing is shared for deletion: it goes when the
  // process ends, which closes it.
  ProcessTemporaryFiles().RemoveAll(
      [](const std::string& path) {
        if (const std::optional<std::wstring> wide = WideFromUtf8(path)) DeleteFileW(wide->c_str());
      },
      [](const std::string& path) {
        if (const std::optional<std::wstring> wide = WideFromUtf8(path)) {
          std::error_code ignored;
          std::filesystem::remove_all(std::filesystem::path(*wide), ignored);
        }
      });
  // What the system's own handler ends the process with.
  ExitProcess(STATUS_CONTROL_C_EXIT);
}

}  // namespace

std::string NextTemporaryName() {
  static std::atomic<unsigned> next{0};
  return ".torvane-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(next++) +
         ".tmp";
}

// A process started with Ctrl-C ignored (as a new process group is) gets no
// CTRL_C_EVENT in any handler: it stays ignored.
void RemoveTemporaryFilesOnInterrupt() { SetConsoleCtrlHandler(RemoveOnConsoleEvent, TRUE); }

}  // namespace torvane
