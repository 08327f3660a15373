// A program for the runner's own tests, which need one that behaves the same
// on every host: it shows its arguments and working directory, copies its
// input, writes much to both streams, sleeps, or ends with a given status.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace {

// Bytes pass unchanged; text written in text mode ends its lines the
// host's way.
void BinaryMode() {
#ifdef _WIN32
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
}

int Run(const std::vector<std::string>& arguments) {
  const std::string mode = arguments.empty() ? "" : arguments[0];
  if (mode == "args") {
    for (size_t i = 1; i < arguments.size(); ++i) std::cout << arguments[i] << '\n';
  } else if (mode == "cwd") {
    const std::u8string name = std::filesystem::current_path().filename().u8string();
    std::cout << std::string(name.begin(), name.end()) << '\n';
  } else if (mode == "echo") {
    BinaryMode();
    std::cout << std::cin.rdbuf();
  } else if (mode == "flood" && arguments.size() == 2) {
    BinaryMode();
    const std::string out(4096, 'o'), err(4096, 'e');
    for (long left = std::stol(arguments[1]); left > 0; left -= 4096) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      std::fwrite(err.data(), 1, err.size(), stderr);
    }
  } else if (mode == "exit" && arguments.size() == 2) {
    return std::stoi(arguments[1]);
  } else if (mode == "sleep" && arguments.size() == 2) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::stol(arguments[1])));
  } else {
    std::cerr << "usage: torvane_test_child args ARG... | cwd | echo | flood BYTES | exit STATUS |"
                 " sleep MILLISECONDS\n";
    return 2;
  }
  return 0;
}

}  // namespace

#ifdef _WIN32
// The arguments as UTF-16, split by the C runtime, then given as UTF-8.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
    std::string argument(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, argument.data(), size, nullptr, nullptr);
    argument.pop_back();  // the terminating NUL
    arguments.push_back(argument);
  }
  return Run(arguments);
}
#else
int main(int argc, char** argv) { return Run(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
