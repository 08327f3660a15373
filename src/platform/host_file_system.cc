// The host's file system behind the file interface: Windows path texts are
// mapped to host paths, with the case-insensitive lookup that Windows names
// expect, and script output is buffered and written with CR LF line ends.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <strings.h>

#include "platform/file_system.h"
#include "platform/path_text.h"

namespace torvane {

namespace {

bool PathExists(const std::string& host) {
  struct stat info;
  return stat(host.c_str(), &info) == 0;
}

// The entry of `dir` whose name equals `name` apart from ASCII case; the
// first in byte order when there are several. Empty when there is none.
std::string FindCaseInsensitive(const std::string& dir, const std::string& name) {
  DIR* stream = opendir(dir.empty() ? "." : dir.c_str());
  if (stream == nullptr) return {};
  std::string best;
  while (const dirent* entry = readdir(stream)) {
    const char* candidate = entry->d_name;
    if (strcasecmp(candidate, name.c_str()) != 0) continue;
    if (best.empty() || std::strcmp(candidate, best.c_str()) < 0) best = candidate;
  }
  closedir(stream);
  return best;
}

// Maps a path text to a host path. Components that do not exist as written
// are looked up case-insensitively; with `keep_last_as_written` the last
// component (a file about to be created) keeps its spelling.
std::string ResolveHostPath(std::string_view text, bool keep_last_as_written) {
  const std::string host = HostPathFromText(text);
  if (!keep_last_as_written && PathExists(host)) return host;

  std::string resolved = host.starts_with('/') ? "/" : "";
  size_t start = resolved.size();
  bool lookup = true;
  while (start <= host.size()) {
    size_t slash = host.find('/', start);
    const bool last = slash == std::string::npos;
    if (last) slash = host.size();
    std::string component = host.substr(start, slash - start);
    const bool special = component.empty() || component == "." || component == "..";
    if (lookup && !special && !(last && keep_last_as_written)) {
      const std::string candidate = resolved + component;
      if (!PathExists(candidate)) {
        std::string match = FindCaseInsensitive(resolved, component);
        if (match.empty()) {
          lookup = false;  // nothing below a missing directory can be found
        } else {
          component = match;
        }
      }
    }
    resolved += component;
    if (last) break;
    resolved += '/';
    start = slash + 1;
  }
  return resolved;
}

class HostInputFile final : public InputFile {
 public:
  explicit HostInputFile(int fd) : fd_(fd) {}
  ~HostInputFile() override { close(fd_); }

  std::optional<std::uint64_t> Size() override {
    const off_t end = lseek(fd_, 0, SEEK_END);
    if (end < 0) return std::nullopt;
    return static_cast<std::uint64_t>(end);
  }

  std::optional<std::string> ReadRaw(std::uint64_t limit) override {
    if (lseek(fd_, 0, SEEK_SET) < 0) return std::nullopt;
    std::string bytes;
    bytes.resize(limit);
    std::uint64_t filled = 0;
    while (filled < limit) {
      const ssize_t got = read(fd_, bytes.data() + filled, limit - filled);
      if (got < 0) {
        if (errno == EINTR) continue;
        return std::nullopt;
      }
      if (got == 0) break;
      filled += static_cast<std::uint64_t>(got);
    }
    bytes.resize(filled);
    return bytes;
  }

 private:
  int fd_;
};

class HostOutputFile final : public OutputFile {
 public:
  explicit HostOutputFile(int fd) : fd_(fd) { buffer_.reserve(kBufferSize); }
  ~HostOutputFile() override {
    if (fd_ >= 0) Close();
  }

  bool Close() override {
    bool ok = Flush();
    if (close(fd_) != 0) ok = false;
    fd_ = -1;
    return ok;
  }

 protected:
  bool WriteRaw(std::string_view bytes) override {
    if (buffer_.size() + bytes.size() > kBufferSize && !Flush()) return false;
    if (bytes.size() >= kBufferSize) return WriteAll(bytes);
    buffer_.append(bytes);
    return true;
  }

 private:
  static constexpr size_t kBufferSize = 64 * 1024;

  // Bytes that could not be written are dropped: the failure is reported
  // once, for the write that met it.
  bool Flush() {
    const bool ok = WriteAll(buffer_);
    buffer_.clear();
    return ok;
  }

  bool WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t put = write(fd_, bytes.data(), bytes.size());
      if (put < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      bytes.remove_prefix(static_cast<size_t>(put));
    }
    return true;
  }

  int fd_;
  std::string buffer_;
};

class HostFileSystemImpl final : public FileSystem {
 public:
  // A write past the process's file-size limit then fails with EFBIG and is
  // reported like a full disk, instead of SIGXFSZ ending the run unreported.
  HostFileSystemImpl() { std::signal(SIGXFSZ, SIG_IGN); }

  std::unique_ptr<InputFile> OpenForReading(std::string_view path) override {
    const std::string host = ResolveHostPath(path, false);
    // Non-blocking, so that a FIFO in place of a file cannot hang the run.
    const int fd = open(host.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      close(fd);
      return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return std::make_unique<HostInputFile>(fd);
  }

  std::unique_ptr<OutputFile> CreateForWriting(std::string_view path) override {
    const std::string host = ResolveHostPath(path, true);
    const int fd = open(host.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    return std::make_unique<HostOutputFile>(fd);
  }

  bool FileExists(std::string_view path) override {
    const std::string host = ResolveHostPath(path, false);
    struct stat info;
    return stat(host.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
  }

  RemoveResult Remove(std::string_view path) override {
    const std::string host = ResolveHostPath(path, false);
    if (unlink(host.c_str()) == 0) return RemoveResult::kRemoved;
    return errno == ENOENT ? RemoveResult::kNotFound : RemoveResult::kFailed;
  }

  bool Rename(std::string_view from, std::string_view to) override {
    const std::string host_from = ResolveHostPath(from, false);
    const std::string host_to = ResolveHostPath(to, true);
    return rename(host_from.c_str(), host_to.c_str()) == 0;
  }
};

}  // namespace

FileSystem& HostFileSystem() {
  static HostFileSystemImpl file_system;
  return file_system;
}

}  // namespace torvane
