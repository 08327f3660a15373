// The host's file system behind the file interface: Windows path texts are
// mapped to host paths, with the case-insensitive lookup that Windows names
// expect, and script output is buffered and written with CR LF line ends.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <set>

#include "platform/ascii_text.h"
#include "platform/file_system.h"
#include "platform/host_output_file.h"
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

// Nothing when the directory cannot be found, which makes the stamp the
// proof that it exists as well.
std::optional<DirectoryStamp> StampOf(const std::string& dir) {
  struct stat info;
  if (stat(dir.empty() ? "." : dir.c_str(), &info) != 0) return std::nullopt;
  return DirectoryStamp{info.st_dev,  info.st_ino,  info.st_nlink,
                        info.st_size, info.st_mtim, info.st_ctim};
}

struct DirectoryListing {
  DirectoryStamp stamp;
  // Names by their folded form; a std::set keeps them in byte order.
  std::map<std::string, std::set<std::string>> namesByFolded;
};

// The listings read so far, by directory: a file system's own, so that one
// that is used again finds its directories without reading them again.
using Listings = std::map<std::string, DirectoryListing>;

bool ReadListing(const std::string& dir, DirectoryListing& listing) {
  DIR* stream = opendir(dir.empty() ? "." : dir.c_str());
  if (stream == nullptr) return false;
  while (const dirent* entry = readdir(stream)) {
    listing.namesByFolded[LowerAscii(entry->d_name)].insert(entry->d_name);
  }
  closedir(stream);
  return true;
}

// The entry of `dir` whose name equals `name` apart from ASCII case; the
// first in byte order when there are several. Empty when there is none.
// `stamp` is the directory's, taken by the caller just before: a change
// while the directory is read gives a later stamp, and the next lookup
// reads it again.
std::string FindCaseInsensitive(Listings& listings, const std::string& dir, const std::string& name,
                                const DirectoryStamp& stamp) {
  auto listing = listings.find(dir);
  if (listing == listings.end() || !SameStamp(listing->second.stamp, stamp)) {
    DirectoryListing fresh{stamp, {}};
    if (!ReadListing(dir, fresh)) {
      listings.erase(dir);
      return {};
    }
    listing = listings.insert_or_assign(dir, std::move(fresh)).first;
  }
  const auto found = listing->second.namesByFolded.find(LowerAscii(name));
  return found == listing->second.namesByFolded.end() ? std::string() : *found->second.begin();
}

// The directory part of a host path, up to and including its last "/";
// empty for a name in the working directory.
std::string DirectoryOf(const std::string& host) {
  const size_t slash = host.rfind('/');
  return slash == std::string::npos ? std::string() : host.substr(0, slash + 1);
}

// A host path, and the stamp of its directory when finding the path took
// one. Taken just before the operation on the entry, that stamp also serves
// as the one an EntryChange needs, so the directory is not looked at twice.
struct HostPath {
  std::string path;
  std::optional<DirectoryStamp> dirStamp;
};

// One entry that an operation of this process adds to or removes from its
// directory. Made before the operation; Done after it succeeded keeps the
// directory's listing, when there is one, in step with the directory. A
// listing that was not current before the operation is dropped instead.
class EntryChange {
 public:
  // `before` is the directory's stamp when the caller took it just now;
  // otherwise it is taken here, if the directory has a listing to keep.
  EntryChange(Listings& listings, const std::string& host, std::optional<DirectoryStamp> before)
      : listings_(listings),
        dir_(DirectoryOf(host)),
        name_(host.substr(dir_.size())),
        before_(before) {
    if (!before_ && listings_.contains(dir_)) before_ = StampOf(dir_);
  }

  const std::string& dir() const { return dir_; }
  const std::optional<DirectoryStamp>& before() const { return before_; }

  // `after` is the directory's stamp when another change of the same
  // operation in the same directory already took it. Returns the stamp
  // after, when one was taken or given.
  std::optional<DirectoryStamp> Done(bool added,
                                     std::optional<DirectoryStamp> after = std::nullopt) const {
    const auto listing = listings_.find(dir_);
    if (listing == listings_.end()) return after;
    if (!after) after = StampOf(dir_);
    // A listing already at the later stamp took an earlier change of the
    // same operation (a rename within one directory).
    const bool current = after && ((before_ && SameStamp(listing->second.stamp, *before_)) ||
                                   SameStamp(listing->second.stamp, *after));
    if (!current || name_.empty()) {
      listings_.erase(listing);
      return after;
    }
    auto& names = listing->second.namesByFolded;
    const std::string folded = LowerAscii(name_);
    if (added) {
      names[folded].insert(name_);
    } else if (const auto same = names.find(folded); same != names.end()) {
      same->second.erase(name_);
      if (same->second.empty()) names.erase(same);
    }
    listing->second.stamp = *after;
    return after;
  }

 private:
  Listings& listings_;
  std::string dir_;
  std::string name_;
  std::optional<DirectoryStamp> before_;
};

// Maps a host path that was not found as written (or, with
// `keep_last_as_written`, names a file about to be created, which keeps its
// spelling) to the path of what is there. Components that do not exist as
// written are looked up case-insensitively, parent first. `parent_stamp` is
// the stamp of the path's directory when the caller took it just now.
HostPath ResolveHostPath(Listings& listings, const std::string& host, bool keep_last_as_written,
                         std::optional<DirectoryStamp> parent_stamp = std::nullopt) {
  // Mostly the directory exists as written and only the file's own name is
  // missing or differs in case: one look at the directory settles it, and
  // its stamp both proves it exists and validates its listing.
  const std::string parent = DirectoryOf(host);
  const std::string leaf = host.substr(parent.size());
  if (!parent_stamp) parent_stamp = StampOf(parent);
  if (parent_stamp) {
    if (keep_last_as_written || leaf.empty() || leaf == "." || leaf == "..") {
      return {host, parent_stamp};
    }
    const std::string match = FindCaseInsensitive(listings, parent, leaf, *parent_stamp);
    return {match.empty() ? host : parent + match, parent_stamp};
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
        const std::optional<DirectoryStamp> stamp = StampOf(resolved);
        std::string match = stamp ? FindCaseInsensitive(listings, resolved, component, *stamp) : "";
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
  return {resolved, std::nullopt};
}

// The host path of an entry that is used as written when it exists there,
// and looked up otherwise.
HostPath FindEntry(Listings& listings, const std::string& host) {
  if (PathExists(host)) return {host, std::nullopt};
  return ResolveHostPath(listings, host, false);
}

// The operations below change one directory entry and keep the listing of
// its directory in step. Each is tried on the path as written first, and
// on a looked-up path only when nothing was found there, so that the names
// of the common case cost no lookup.

// The new file's descriptor, or -1 with errno set.
int CreateFile(const std::string& host, const EntryChange& change) {
  const int fd = open(host.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd >= 0) change.Done(true);
  return fd;
}

// 0 when removed, else the errno of the failure.
int RemoveFile(const std::string& host, const EntryChange& change) {
  if (unlink(host.c_str()) != 0) return errno;
  change.Done(false);
  return 0;
}

// 0 when renamed, else the errno of the failure.
int RenameFile(Listings& listings, const HostPath& source, const HostPath& target) {
  const EntryChange added(listings, target.path, target.dirStamp);
  // A backup stays in its directory: one stamp before and one after serve
  // both entries.
  const bool same_dir = DirectoryOf(source.path) == added.dir();
  const EntryChange removed(listings, source.path, same_dir ? added.before() : source.dirStamp);
  if (rename(source.path.c_str(), target.path.c_str()) != 0) return errno;
  const std::optional<DirectoryStamp> after = removed.Done(false);
  added.Done(true, same_dir ? after : std::nullopt);
  return 0;
}

// 0 when the directory was made, else the errno of the failure.
int MakeHostDirectory(const std::string& host, const EntryChange& change) {
  if (mkdir(host.c_str(), 0777) != 0) return errno;
  change.Done(true);
  return 0;
}

// 0 when removed, else the errno of the failure.
int RemoveHostDirectory(const std::string& host, const EntryChange& change) {
  if (rmdir(host.c_str()) != 0) return errno;
  change.Done(false);
  return 0;
}

// Writes every byte; false when the system refuses one.
bool WriteAllBytes(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = write(fd, bytes.data(), bytes.size());
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(put));
  }
  return true;
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

class PosixOutputFile final : public HostOutputFile {
 public:
  explicit PosixOutputFile(int fd) : fd_(fd) {}
  ~PosixOutputFile() override {
    if (fd_ >= 0) Close();
  }

 protected:
  bool WriteAll(std::string_view bytes) override { return WriteAllBytes(fd_, bytes); }

  bool CloseHostFile() override {
    const bool ok = close(fd_) == 0;
    fd_ = -1;
    return ok;
  }

 private:
  int fd_;
};

// The errno of this thread's latest failed operation, for FailureReason: a
// file system may serve several threads at once.
thread_local int last_error = 0;

class HostFileSystemImpl final : public FileSystem {
 public:
  std::unique_ptr<InputFile> OpenForReading(std::string_view path) override {
    // Non-blocking, so that a FIFO in place of a file cannot hang the run;
    // only regular files are read, on which the flag changes nothing.
    constexpr int kFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
    const std::string host = HostPathFromText(path);
    int fd = open(host.c_str(), kFlags);
    last_error = fd < 0 ? errno : 0;
    if (fd < 0 && errno == ENOENT) {
      const std::lock_guard lock(mutex_);
      const std::string resolved = ResolveHostPath(listings_, host, false).path;
      if (resolved != host) {
        fd = open(resolved.c_str(), kFlags);
        last_error = fd < 0 ? errno : 0;
      }
    }
    if (fd < 0) return nullptr;
    struct stat info;
    const bool known = fstat(fd, &info) == 0;
    if (!known || !S_ISREG(info.st_mode)) {
      last_error = !known ? errno : S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
      close(fd);
      return nullptr;
    }
    return std::make_unique<HostInputFile>(fd, static_cast<std::uint64_t>(info.st_size));
  }

  std::unique_ptr<OutputFile> CreateForWriting(std::string_view path) override {
    const std::lock_guard lock(mutex_);
    // A name is created as written in a directory that exists as written;
    // only a directory written in another case is looked up.
    const std::string host = HostPathFromText(path);
    const EntryChange as_written(listings_, host, std::nullopt);
    const int fd = Create(host, as_written);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixOutputFile>(fd);
  }

  bool FileExists(std::string_view path) override {
    const std::string host = HostPathFromText(path);
    struct stat info;
    if (stat(host.c_str(), &info) == 0) return !S_ISDIR(info.st_mode);
    const std::lock_guard lock(mutex_);
    // The lookup gives the name back as written when no other spelling is
    // there; as written it was just found missing.
    const std::string resolved = ResolveHostPath(listings_, host, false).path;
    return resolved != host && stat(resolved.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
  }

  RemoveResult Remove(std::string_view path) override {
    const std::lock_guard lock(mutex_);
    const std::string host = HostPathFromText(path);
    const EntryChange as_written(listings_, host, std::nullopt);
    int error = RemoveFile(host, as_written);
    if (error == ENOENT) {
      const HostPath found = ResolveHostPath(listings_, host, false, as_written.before());
      if (found.path != host) {
        error = RemoveFile(found.path, EntryChange(listings_, found.path, found.dirStamp));
      }
    }
    last_error = error;
    if (error == 0) return RemoveResult::kRemoved;
    return error == ENOENT ? RemoveResult::kNotFound : RemoveResult::kFailed;
  }

  bool Rename(std::string_view from, std::string_view to) override {
    const std::lock_guard lock(mutex_);
    const std::string host_from = HostPathFromText(from);
    const std::string host_to = HostPathFromText(to);
    last_error = RenameFile(listings_, {host_from, std::nullopt}, {host_to, std::nullopt});
    if (last_error != ENOENT) return last_error == 0;
    const HostPath source = FindEntry(listings_, host_from);
    const HostPath target = ResolveHostPath(listings_, host_to, true);
    if (source.path == host_from && target.path == host_to) return false;
    last_error = RenameFile(listings_, source, target);
    return last_error == 0;
  }

  std::optional<std::string> DirectoryIdentity(std::string_view path) override {
    const std::string host = HostPathFromText(path);
    struct stat info;
    if (stat(host.empty() ? "." : host.c_str(), &info) != 0) {
      const std::lock_guard lock(mutex_);
      const std::string resolved = ResolveHostPath(listings_, host, false).path;
      if (resolved == host || stat(resolved.c_str(), &info) != 0) return std::nullopt;
    }
    if (!S_ISDIR(info.st_mode)) return std::nullopt;
    return std::to_string(info.st_dev) + ':' + std::to_string(info.st_ino);
  }

  bool DirectoryExists(std::string_view path) override {
    const std::lock_guard lock(mutex_);
    struct stat info;
    return stat(Found(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }

  std::optional<std::vector<std::string>> ListDirectory(std::string_view path) override {
    const std::lock_guard lock(mutex_);
    const std::string host = Found(path);
    DIR* stream = opendir(host.empty() ? "." : host.c_str());
    if (stream == nullptr) {
      last_error = errno;
      return std::nullopt;
    }
    std::vector<std::string> names;
    while (const dirent* entry = readdir(stream)) {
      const std::string_view name = entry->d_name;
      if (name != "." && name != "..") names.emplace_back(name);
    }
    closedir(stream);
    std::sort(names.begin(), names.end());
    return names;
  }

  std::optional<std::string> FoundName(std::string_view path) override {
    const std::lock_guard lock(mutex_);
    const std::string host = Found(path);
    if (!PathExists(host)) return std::nullopt;
    return host.substr(DirectoryOf(host).size());
  }

  // A name is made as written in a directory that exists as written; only
  // a directory written in another case is looked up.
  bool MakeDirectory(std::string_view path) override {
    const std::lock_guard lock(mutex_);
    const std::string host = HostPathFromText(path);
    const EntryChange as_written(listings_, host, std::nullopt);
    last_error = MakeHostDirectory(host, as_written);
    if (last_error == ENOENT) {
      const HostPath found = ResolveHostPath(listings_, host, true, as_written.before());
      if (found.path != host) {
        last_error =
            MakeHostDirectory(found.path, EntryChange(listings_, found.path, found.dirStamp));
      }
    }
    return last_error == 0;
  }

  bool RemoveEmptyDirectory(std::string_view path) override {
    const std::lock_guard lock(mutex_);
    const std::string host = Found(path);
    last_error = RemoveHostDirectory(host, EntryChange(listings_, host, std::nullopt));
    return last_error == 0;
  }

  bool RenameDirectory(std::string_view from, std::string_view to) override {
    const std::lock_guard lock(mutex_);
    const HostPath source = FindEntry(listings_, HostPathFromText(from));
    const HostPath target = ResolveHostPath(listings_, HostPathFromText(to), true);
    // rename() would put a directory in the place of an empty one.
    if (PathExists(target.path)) {
      last_error = EEXIST;
      return false;
    }
    last_error = RenameFile(listings_, source, target);
    return last_error == 0;
  }

  WriteResult WriteWholeFile(std::string_view path, std::string_view bytes) override {
    const std::lock_guard lock(mutex_);
    const std::string host = HostPathFromText(path);
    const int fd = Create(host, EntryChange(listings_, host, std::nullopt));
    if (fd < 0) return WriteResult::kNotCreated;
    const bool written = WriteAllBytes(fd, bytes);
    last_error = written ? 0 : errno;
    if (close(fd) != 0 && written) last_error = errno;
    return last_error == 0 ? WriteResult::kWritten : WriteResult::kNotWritten;
  }

  bool SameFile(std::string_view a, std::string_view b) override {
    const std::lock_guard lock(mutex_);
    struct stat first;
    struct stat second;
    return stat(Found(a).c_str(), &first) == 0 && stat(Found(b).c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  }

  std::string FailureReason() override { return last_error == 0 ? "" : std::strerror(last_error); }

 private:
  // The host path of what a path text finds.
  std::string Found(std::string_view path) {
    return FindEntry(listings_, HostPathFromText(path)).path;
  }

  // Creates (or truncates) the file at `host`, or at the path found for it
  // when its directory is written in another case; -1 on failure.
  int Create(const std::string& host, const EntryChange& as_written) {
    int fd = CreateFile(host, as_written);
    last_error = fd < 0 ? errno : 0;
    if (fd < 0 && errno == ENOENT) {
      const HostPath found = ResolveHostPath(listings_, host, true, as_written.before());
      if (found.path != host) {
        fd = CreateFile(found.path, EntryChange(listings_, found.path, found.dirStamp));
        last_error = fd < 0 ? errno : 0;
      }
    }
    return fd;
  }

  // Threads converting sectors side by side share the file system: one at a
  // time looks up, creates, renames or removes an entry, so that the
  // listings stay in step with every change the process makes. What finds
  // its entry as written, and reading and writing open files, go on
  // without it.
  std::mutex mutex_;
  Listings listings_;
};

}  // namespace

std::unique_ptr<FileSystem> MakeHostFileSystem() { return std::make_unique<HostFileSystemImpl>(); }

}  // namespace torvane
