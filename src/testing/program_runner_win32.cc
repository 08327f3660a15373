// Starting a program on Windows: CreateProcessW with a command line quoted
// the way the C runtime splits it again, each pipe served by a thread of its
// own so that neither side waits for the other however much either writes,
// and the exit code kept whole.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// <windows.h> first: <gtest/gtest.h> brings in parts of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string_view>
#include <thread>

#include "testing/program_runner.h"

namespace torvane_test {

namespace {

// A handle closed when it goes.
class OwnedHandle {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
  ~OwnedHandle() { Close(); }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;

  HANDLE get() const { return handle_; }
  HANDLE* put() {
    Close();
    return &handle_;
  }
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  void Close() {
    if (valid()) CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_ = nullptr;
};

std::wstring WideFromUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

// Appends one argument so that the C runtime gives it back unchanged: it is
// quoted when it is empty or holds a blank or a quote, and inside the quotes
// backslashes are doubled where a quote follows them, escaped or closing.
void AppendArgument(std::wstring_view argument, std::wstring& line) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring_view::npos) {
    line += argument;
    return;
  }
  line += L'"';
  size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    line += c;
  }
  line.append(backslashes * 2, L'\\');
  line += L'"';
}

// The program's own name is split without escapes, up to the closing quote.
std::wstring CommandLine(const std::wstring& program, const std::vector<std::string>& arguments) {
  std::wstring line = L"\"" + program + L"\"";
  for (const std::string& argument : arguments) {
    line += L' ';
    AppendArgument(WideFromUtf8(argument), line);
  }
  return line;
}

// A pipe whose one end the child inherits. Its buffer is asked to be as
// large as a POSIX pipe's: the system's own is a few KiB, and every time it
// fills the writer waits for the reader.
bool OpenPipe(OwnedHandle& read, OwnedHandle& write, bool child_reads) {
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  if (!CreatePipe(read.put(), write.put(), &inherited, 64 * 1024)) return false;
  return SetHandleInformation(child_reads ? write.get() : read.get(), HANDLE_FLAG_INHERIT, 0);
}

void ReadToEnd(HANDLE pipe, std::string& bytes) {
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(pipe, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
}

// Stops early when the program closes its input.
void WriteAll(HANDLE pipe, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD put = 0;
    const DWORD size = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1 << 20));
    if (!WriteFile(pipe, bytes.data(), size, &put, nullptr)) return;
    bytes.remove_prefix(put);
  }
}

std::string LineFeedsOnly(const std::string& raw) {
  std::string text;
  text.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text += raw[i];
  }
  return text;
}

}  // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::filesystem::path& directory, const RunOptions& options) {
  ProgramResult result;
  const std::string found = FindProgram(program);
  if (found.empty()) {
    ADD_FAILURE() << "cannot start " << Describe(program, arguments) << ": no such program";
    return result;
  }
  // Made absolute here, so that a path without a drive names the same file
  // whatever the program's working directory.
  const std::wstring application = std::filesystem::absolute(WideFromUtf8(found)).wstring();
  const std::wstring working_dir = std::filesystem::absolute(directory).wstring();
  std::wstring command_line = CommandLine(application, arguments);

  OwnedHandle in_read, in_write, out_read, out_write, err_read, err_write;
  if (options.input) {
    if (!OpenPipe(in_read, in_write, true)) {
      ADD_FAILURE() << "no pipe for the input of " << Describe(program, arguments);
      return result;
    }
  } else {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    *in_read.put() = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 &inherited, OPEN_EXISTING, 0, nullptr);
  }
  if (!in_read.valid() || !OpenPipe(out_read, out_write, false) ||
      !OpenPipe(err_read, err_write, false)) {
    ADD_FAILURE() << "no pipes for " << Describe(program, arguments) << ": error "
                  << GetLastError();
    return result;
  }

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in_read.get();
  startup.hStdOutput = out_write.get();
  startup.hStdError = err_write.get();
  PROCESS_INFORMATION process{};
  const bool started = CreateProcessW(application.c_str(), command_line.data(), nullptr, nullptr,
                                      TRUE, 0, nullptr, working_dir.c_str(), &startup, &process);
  const DWORD start_error = GetLastError();
  // The child holds its own copies; with ours closed, the pipes end when
  // the child ends.
  in_read.Close();
  out_write.Close();
  err_write.Close();
  if (!started) {
    ADD_FAILURE() << "cannot start " << Describe(program, arguments) << ": error " << start_error;
    return result;
  }
  const OwnedHandle child(process.hProcess);
  CloseHandle(process.hThread);

  std::thread out_reader(ReadToEnd, out_read.get(), std::ref(result.raw_out));
  std::thread err_reader(ReadToEnd, err_read.get(), std::ref(result.raw_err));
  std::thread in_writer;
  if (options.input) {
    in_writer = std::thread([&in_write, &options] {
      WriteAll(in_write.get(), *options.input);
      in_write.Close();
    });
  }
  const auto timeout =
      std::clamp<std::chrono::milliseconds::rep>(options.timeout.count(), 0, INFINITE - 1);
  const bool timed_out =
      WaitForSingleObject(child.get(), static_cast<DWORD>(timeout)) == WAIT_TIMEOUT;
  if (timed_out) {
    TerminateProcess(child.get(), 1);
    WaitForSingleObject(child.get(), INFINITE);
  }
  out_reader.join();
  err_reader.join();
  if (in_writer.joinable()) in_writer.join();

  result.out = LineFeedsOnly(result.raw_out);
  result.err = LineFeedsOnly(result.raw_err);
  if (timed_out) {
    ADD_FAILURE() << Describe(program, arguments) << " was killed after " << options.timeout.count()
                  << " ms";
    return result;
  }
  DWORD code = 0;
  if (!GetExitCodeProcess(child.get(), &code)) {
    ADD_FAILURE() << "no exit code from " << Describe(program, arguments);
    return result;
  }
  result.status = static_cast<int>(code);
  return result;
}

std::string FindProgram(const std::string& name) {
  const auto program_at = [](const std::string& path) {
    for (const std::string& candidate : {path, path + ".exe"}) {
      std::error_code error;
      if (std::filesystem::is_regular_file(WideFromUtf8(candidate), error)) return candidate;
    }
    return std::string();
  };
  if (name.find_first_of("/\\") != std::string::npos) return program_at(name);
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path != nullptr ? path : "");
  std::string dir;
  while (std::getline(dirs, dir, ';')) {
    if (dir.empty()) continue;
    const std::string found = program_at(dir + "\\" + name);
    if (!found.empty()) return found;
  }
  return {};
}

}  // namespace torvane_test
