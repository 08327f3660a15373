// Starting a program on a POSIX host: posix_spawn with pipes for the three
// standard streams, served together with poll so that neither side waits
// for the other however much either writes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "testing/program_runner.h"

extern char** environ;

namespace torvane_test {

namespace {

using Clock = std::chrono::steady_clock;

// Both ends close on exec, so that no other child holds them open; the
// child's own copies are made by dup2, which clears the flag.
struct Pipe {
  int read = -1;
  int write = -1;
  bool Open() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    read = ends[0];
    write = ends[1];
    return true;
  }
};

void CloseEnd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

// Reads what is there without waiting; false at the end of the stream.
bool ReadAvailable(int fd, std::string& bytes) {
  char chunk[65536];
  for (;;) {
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got > 0) {
      bytes.append(chunk, static_cast<size_t>(got));
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    return got < 0 && errno == EAGAIN;
  }
}

}  // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::filesystem::path& directory, const RunOptions& options) {
  ProgramResult result;
  Pipe in, out, err;
  if ((options.input && !in.Open()) || !out.Open() || !err.Open()) {
    ADD_FAILURE() << "no pipes for " << Describe(program, arguments) << ": "
                  << std::strerror(errno);
    return result;
  }
  // A program that ends without reading all its input must not take the
  // test down with SIGPIPE; the child gets the default action back below.
  if (options.input) std::signal(SIGPIPE, SIG_IGN);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (options.input) {
    posix_spawn_file_actions_adddup2(&actions, in.read, 0);
  } else {
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  }
  posix_spawn_file_actions_adddup2(&actions, out.write, 1);
  posix_spawn_file_actions_adddup2(&actions, err.write, 2);
  posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

  std::vector<std::string> argv_text = {program};
  argv_text.insert(argv_text.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : argv_text) argv.push_back(argument.data());
  argv.push_back(nullptr);

  pid_t pid = 0;
  const int spawned =
      posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  CloseEnd(in.read);
  CloseEnd(out.write);
  CloseEnd(err.write);
  if (spawned != 0) {
    CloseEnd(in.write);
    CloseEnd(out.read);
    CloseEnd(err.read);
    ADD_FAILURE() << "cannot start " << Describe(program, arguments) << ": "
                  << std::strerror(spawned);
    return result;
  }
  for (const int fd : {in.write, out.read, err.read}) {
    if (fd >= 0) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  }

  const std::string input = options.input.value_or("");
  size_t written = 0;
  if (input.empty()) CloseEnd(in.write);
  const Clock::time_point deadline = Clock::now() + options.timeout;
  int wait_status = 0;
  bool timed_out = false;
  for (;;) {
    const pid_t ended = waitpid(pid, &wait_status, WNOHANG);
    if (ended == pid) break;
    const Clock::time_point now = Clock::now();
    if (now >= deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &wait_status, 0);
      timed_out = true;
      break;
    }
    pollfd fds[3];
    nfds_t count = 0;
    for (const int fd : {in.write, out.read, err.read}) {
      if (fd >= 0) fds[count++] = {fd, static_cast<short>(fd == in.write ? POLLOUT : POLLIN), 0};
    }
    // Woken when a stream is ready or, with the streams closed, to look
    // again soon whether the program has ended.
    const auto wait =
        std::min<Clock::duration>(deadline - now, std::chrono::milliseconds(count > 0 ? 10 : 1));
    poll(fds, count, static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count()));
    if (in.write >= 0) {
      const ssize_t put = write(in.write, input.data() + written, input.size() - written);
      if (put > 0) written += static_cast<size_t>(put);
      if (written == input.size() || (put < 0 && errno != EAGAIN && errno != EINTR)) {
        CloseEnd(in.write);
      }
    }
    if (out.read >= 0 && !ReadAvailable(out.read, result.raw_out)) CloseEnd(out.read);
    if (err.read >= 0 && !ReadAvailable(err.read, result.raw_err)) CloseEnd(err.read);
  }
  // Whatever the program wrote before it ended is in the pipes.
  if (out.read >= 0) ReadAvailable(out.read, result.raw_out);
  if (err.read >= 0) ReadAvailable(err.read, result.raw_err);
  CloseEnd(in.write);
  CloseEnd(out.read);
  CloseEnd(err.read);

  result.out = result.raw_out;
  result.err = result.raw_err;
  if (timed_out) {
    ADD_FAILURE() << Describe(program, arguments) << " was killed after " << options.timeout.count()
                  << " ms";
    return result;
  }
  result.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 1000 + WTERMSIG(wait_status);
  return result;
}

std::string FindProgram(const std::string& name) {
  if (name.find('/') != std::string::npos) {
    return access(name.c_str(), X_OK) == 0 ? name : std::string();
  }
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path != nullptr ? path : "/usr/bin:/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    const std::string candidate = dir + "/" + name;
    if (!dir.empty() && access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

}  // namespace torvane_test
