// Running the real binary for the whole-program tests.
#include "program_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace torvane_test {

namespace {

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

TempDir::TempDir() {
  std::random_device seed;
  for (;;) {
    path_ = std::filesystem::temp_directory_path() /
            ("torvane-test-" + std::to_string(getpid()) + "-" + std::to_string(seed()));
    if (std::filesystem::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void TempDir::Write(const std::string& relative, const std::string& bytes) const {
  const std::filesystem::path file = path_ / relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

std::string TempDir::Read(const std::string& relative) const { return ReadAll(path_ / relative); }

bool TempDir::Exists(const std::string& relative) const {
  return std::filesystem::exists(path_ / relative);
}

ProgramResult RunTorvane(const std::filesystem::path& cwd,
                         const std::vector<std::string>& arguments) {
  const std::filesystem::path out_file = cwd / ".stdout";
  const std::filesystem::path err_file = cwd / ".stderr";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());

  std::vector<std::string> argv_text = {TORVANE_BINARY};
  argv_text.insert(argv_text.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : argv_text) argv.push_back(argument.data());
  argv.push_back(nullptr);

  pid_t pid;
  if (posix_spawn(&pid, TORVANE_BINARY, &actions, nullptr, argv.data(), environ) != 0) {
    throw std::runtime_error("cannot start " TORVANE_BINARY);
  }
  posix_spawn_file_actions_destroy(&actions);
  int wait_status = 0;
  waitpid(pid, &wait_status, 0);

  ProgramResult result;
  result.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 1000 + WTERMSIG(wait_status);
  result.out = ReadAll(out_file);
  result.err = ReadAll(err_file);
  std::filesystem::remove(out_file);
  std::filesystem::remove(err_file);
  return result;
}

std::vector<std::string> CrLfLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(start) + "<no line end>");
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

}  // namespace torvane_test
