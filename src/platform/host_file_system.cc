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
#include <map>
#include <optional>
#include <set>
#include <strings.h>

#include "platform/file_system.h"
#include "platform/path_text.h"

namespace torvane {

namespace {

bool PathExists(const std::string& host) {
  struct stat info;
  return stat(host.c_str(), &info) == 0;
}

// Directory listings kept for the case-insensitive lookup. A campaign writes
// hundreds of scripts into one directory and each new name is looked up
// before it is created, so reading the directory for every lookup would make
// a run quadratic. A listing is used while the directory's stamp is the one
// it was read at; changes this process makes are put into the listing.
struct DirectoryStamp {
  dev_t device;
  ino_t inode;
  nlink_t links;
  off_t size;
  timespec modified;
  timespec changed;
};

bool SameStamp(const DirectoryStamp& a, const DirectoryStamp& b) {
  return a.device == b.device && a.inode == b.inode && a.links == b.links && a.size == b.size &&
         a.modified.tv_sec == b.modified.tv_sec && a.modified.tv_nsec == b.modified.tv_nsec &&
         a.changed.tv_sec == b.changed.tv_sec && a.changed.tv_nsec == b.changed.tv_nsec;
}

std::optional<DirectoryStamp> StampOf(const std::string& dir) {
  struct stat info;
  if (stat(dir.empty() ? "." : dir.c_str(), &info) != 0) return std::nullopt;
  return DirectoryStamp{info.st_dev,  info.st_ino,  info.st_nlink,
                        info.st_size, info.st_mtim, info.st_ctim};
}

std::string FoldCase(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

struct DirectoryListing {
  DirectoryStamp stamp;
  // Names by their folded form; a std::set keeps them in byte order.
  std::map<std::string, std::set<std::string>> namesByFolded;
};

std::map<std::string, DirectoryListing>& Listings() {
  static std::map<std::string, DirectoryListing> listings;
  return listings;
}

bool ReadListing(const std::string& dir, DirectoryListing& listing) {
  DIR* stream = opendir(dir.empty() ? "." : dir.c_str());
  if (stream == nullptr) return false;
  while (const dirent* entry = readdir(stream)) {
    listing.namesByFolded[FoldCase(entry->d_name)].insert(entry->d_name);
  }
  closedir(stream);
  return true;
}

// The entry of `dir` whose name equals `name` apart from ASCII case; the
// first in byte order when there are several. Empty when there is none.
std::string FindCaseInsensitive(const std::string& dir, const std::string& name) {
  // The stamp is taken before the directory is read: a change while it is
  // read gives a later stamp, and the next lookup reads it again.
  const std::optional<DirectoryStamp> stamp = StampOf(dir);
  if (!stamp) return {};
  std::map<std::string, DirectoryListing>& listings = Listings();
  auto listing = listings.find(dir);
  if (listing == listings.end() || !SameStamp(listing->second.stamp, *stamp)) {
    DirectoryListing fresh{*stamp, {}};
    if (!ReadListing(dir, fresh)) {
      listings.erase(dir);
      return {};
    }
    listing = listings.insert_or_assign(dir, std::move(fresh)).first;
  }
  const auto found = listing->second.namesByFolded.find(FoldCase(name));
  return found == listing->second.namesByFolded.end() ? std::string() : *found->second.begin();
}

// One entry that an operation of this process adds to or removes from its
// directory. Made before the operation; Done after it succeeded keeps the
// directory's listing, when there is one, in step with the directory. A
// listing that was not current before the operation is dropped instead.
class EntryChange {
 public:
  explicit EntryChange(const std::string& host) {
    const size_t slash = host.rfind('/');
    dir_ = slash == std::string::npos ? std::string() : host.substr(0, slash + 1);
    name_ = slash == std::string::npos ? host : host.substr(slash + 1);
    if (Listings().contains(dir_)) before_ = StampOf(dir_);
  }

  void Done(bool added) const {
    std::map<std::string, DirectoryListing>& listings = Listings();
    const auto listing = listings.find(dir_);
    if (listing == listings.end()) return;
    const std::optional<DirectoryStamp> after = StampOf(dir_);
    // A listing already at the later stamp took an earlier change of the
    // same operation (a rename within one directory).
    const bool current = after && ((before_ && SameStamp(listing->second.stamp, *before_)) ||
                                   SameStamp(listing->second.stamp, *after));
    if (!current || name_.empty()) {
      listings.erase(listing);
      return;
    }
    auto& names = listing->second.namesByFolded;
    const std::string folded = FoldCase(name_);
    if (added) {
      names[folded].insert(name_);
    } else if (const auto same = names.find(folded); same != names.end()) {
      same->second.erase(name_);
      if (same->second.empty()) names.erase(same);
    }
    listing->second.stamp = *after;
  }

 private:
  std::string dir_;
  std::string name_;
  std::optional<DirectoryStamp> before_;
};

// Maps a path text to a host path. Components that do not exist as written
// are looked up case-insensitively; with `keep_last_as_written` the last
// component (a file about to be created) keeps its spelling.
std::string ResolveHostPath(std::string_view text, bool keep_last_as_written) {
  const std::string host = HostPathFromText(text);
  if (!keep_last_as_written && PathExists(host)) return host;

  // Mostly the directory exists as written and only the file's own name is
  // missing or differs in case: one look at the directory settles it.
  const size_t last_slash = host.rfind('/');
  const std::string parent = last_slash == std::string::npos ? "" : host.substr(0, last_slash + 1);
  const std::string leaf = host.substr(parent.size());
  if (parent.empty() || PathExists(parent)) {
    if (keep_last_as_written || leaf.empty() || leaf == "." || leaf == "..") return host;
    const std::string match = FindCaseInsensitive(parent, leaf);
    return match.empty() ? host : parent + match;
  }

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

// A regular file: its size is known from when it was opened, and it is read
// from the start without moving a file position.
class HostInputFile final : public InputFile {
 public:
  HostInputFile(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
  ~HostInputFile() override { close(fd_); }

  std::optional<std::uint64_t> Size() override { return size_; }

  std::optional<std::string> ReadRaw(std::uint64_t limit) override {
    std::string bytes;
    bytes.resize(limit);
    std::uint64_t filled = 0;
    while (filled < limit) {
      const ssize_t got =
          pread(fd_, bytes.data() + filled, limit - filled, static_cast<off_t>(filled));
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
  std::uint64_t size_;
};

// Writes are gathered into the pending text and handed to the system about
// 64 KiB at a time.
class HostOutputFile final : public OutputFile {
 public:
  explicit HostOutputFile(int fd) : OutputFile(kHandOverSize), fd_(fd) {
    // Room for the usual largest command past the mark, so the text is
    // allocated once per file.
    Pending().ReserveTotal(kHandOverSize + 4096);
  }
  ~HostOutputFile() override {
    if (fd_ >= 0) Close();
  }

  bool Close() override {
    bool ok = HandOver(Pending().Size());
    if (close(fd_) != 0) ok = false;
    fd_ = -1;
    return ok;
  }

 protected:
  // Bytes that could not be written are dropped: the failure is reported
  // once, for the write that met it.
  bool HandOver(size_t) override {
    const bool ok = WriteAll(Pending().Bytes());
    Pending().Clear();
    return ok;
  }

 private:
  static constexpr size_t kHandOverSize = 64 * 1024;

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
};

class HostFileSystemImpl final : public FileSystem {
 public:
  // A write past the process's file-size limit then fails with EFBIG and is
  // reported like a full disk, instead of SIGXFSZ ending the run unreported.
  HostFileSystemImpl() { std::signal(SIGXFSZ, SIG_IGN); }

  std::unique_ptr<InputFile> OpenForReading(std::string_view path) override {
    // Non-blocking, so that a FIFO in place of a file cannot hang the run;
    // only regular files are read, on which the flag changes nothing.
    constexpr int kFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
    const std::string host = HostPathFromText(path);
    int fd = open(host.c_str(), kFlags);
    if (fd < 0 && errno == ENOENT) {
      const std::string resolved = ResolveHostPath(path, false);
      if (resolved != host) fd = open(resolved.c_str(), kFlags);
    }
    if (fd < 0) return nullptr;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      close(fd);
      return nullptr;
    }
    return std::make_unique<HostInputFile>(fd, static_cast<std::uint64_t>(info.st_size));
  }

  std::unique_ptr<OutputFile> CreateForWriting(std::string_view path) override {
    const std::string host = ResolveHostPath(path, true);
    const EntryChange change(host);
    const int fd = open(host.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    change.Done(true);
    return std::make_unique<HostOutputFile>(fd);
  }

  bool FileExists(std::string_view path) override {
    const std::string host = ResolveHostPath(path, false);
    struct stat info;
    return stat(host.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
  }

  RemoveResult Remove(std::string_view path) override {
    const std::string host = ResolveHostPath(path, false);
    const EntryChange change(host);
    if (unlink(host.c_str()) == 0) {
      change.Done(false);
      return RemoveResult::kRemoved;
    }
    return errno == ENOENT ? RemoveResult::kNotFound : RemoveResult::kFailed;
  }

  bool Rename(std::string_view from, std::string_view to) override {
    const std::string host_from = ResolveHostPath(from, false);
    const std::string host_to = ResolveHostPath(to, true);
    const EntryChange removed(host_from);
    const EntryChange added(host_to);
    if (rename(host_from.c_str(), host_to.c_str()) != 0) return false;
    removed.Done(false);
    added.Done(true);
    return true;
  }
};

}  // namespace

FileSystem& HostFileSystem() {
  static HostFileSystemImpl file_system;
  return file_system;
}

}  // namespace torvane
