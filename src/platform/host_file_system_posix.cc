// The host's file system behind the file interface: Windows path texts are
// mapped to host paths, with the case-insensitive lookup that Windows names
// expect (directory_listings.h), and scripts are written with CR LF line
// ends under a temporary name that they leave only when whole and on disk.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#ifdef __linux__
#include <sys/syscall.h>
#include <sys/vfs.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "platform/directory_listings.h"
#include "platform/file_system.h"
#include "platform/host_output_file.h"
#include "platform/path_text.h"
#include "platform/shared_flushes.h"
#include "platform/temporary_files.h"

namespace torvane {

namespace {

ReadResult ReadDirectory(const std::string& dir, DirectoryEntries& entries) {
  DIR* stream = opendir(dir.empty() ? "." : dir.c_str());
  if (stream == nullptr) {
    return errno == ENOENT || errno == ENOTDIR ? ReadResult::kMissing : ReadResult::kUnreadable;
  }
  while (const dirent* entry = readdir(stream)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    const EntryKind kind = entry->d_type == DT_REG   ? EntryKind::kFile
                           : entry->d_type == DT_DIR ? EntryKind::kDirectory
                                                     : EntryKind::kOther;
    entries.emplace(name, kind);
  }
  closedir(stream);
  return ReadResult::kRead;
}

// A host path as its directory ("" or ending in "/") and its last
// component; a final "/" is not a component.
struct SplitPath {
  std::string dir;
  std::string leaf;
};

SplitPath SplitHostPath(std::string host) {
  while (host.size() > 1 && host.back() == '/') host.pop_back();
  const size_t slash = host.rfind('/');
  if (slash == std::string::npos) return {"", host};
  return {host.substr(0, slash + 1), host.substr(slash + 1)};
}

// Moves `from` to `to` when nothing is at `to`: 0, or the errno of the
// failure (EEXIST when something is there).
int RenameWithoutReplacing(const std::string& from, const std::string& to) {
#ifdef __linux__
  if (syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return 0;
  }
  // Other errors are the rename's own; these say the kernel or the file
  // system cannot rename so.
  if (errno != EINVAL && errno != ENOSYS) return errno;
#endif
  // A hard link is made only where nothing is; then the old name goes.
  if (link(from.c_str(), to.c_str()) == 0) {
    unlink(from.c_str());
    return 0;
  }
  if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS && errno != EMLINK) return errno;
  // A file system without hard links, or a directory: look, then rename.
  // Another program could come in between, but none of this run.
  struct stat info;
  if (lstat(to.c_str(), &info) == 0) return EEXIST;
  return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// An error of the bytes themselves, rather than a file that cannot be
// written out so (a pipe, or a system without the call).
[[maybe_unused]] bool IsWriteError(int error) {
  return error != ESPIPE && error != EINVAL && error != ENOSYS;
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

// A new file written under a temporary name in its directory `dir`, which
// takes the name `name` once it is whole and on disk.
class PosixOutputFile final : public HostOutputFile {
 public:
  PosixOutputFile(int fd, std::string temporary, std::string dir, std::string name,
                  Replacing replacing, DirectoryListings& listings, std::atomic<int>& last_error)
      : fd_(fd),
        temporary_(std::move(temporary)),
        dir_(std::move(dir)),
        name_(std::move(name)),
        replacing_(replacing),
        listings_(listings),
        last_error_(last_error) {}
  ~PosixOutputFile() override { Abandon(); }

  int fd() const { return fd_; }

 protected:
  bool WriteAll(std::string_view bytes) override { return WriteAllBytes(fd_, bytes); }

  // The write-out goes on while the run writes its next files, so that
  // little is left to wait for when they are made durable together.
  bool StartWriteOut() override {
#ifdef __linux__
    if (sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE) != 0) return !IsWriteError(errno);
#endif
    return true;
  }

  bool CloseHostFile() override {
    if (fd_ < 0) return true;
    const bool ok = close(fd_) == 0;
    fd_ = -1;
    return ok;
  }

  Naming Name() override {
    const std::string path = dir_ + name_;
    int error = 0;
    {
      const TemporaryFiles::Change change(ProcessTemporaryFiles());
      if (replacing_ == Replacing::kAllowed) {
        error = rename(temporary_.c_str(), path.c_str()) == 0 ? 0 : errno;
      } else {
        error = RenameWithoutReplacing(temporary_, path);
      }
      if (error == 0) ProcessTemporaryFiles().Drop(temporary_);
    }
    if (error != 0) last_error_ = error;
    if (error == 0) {
      listings_.Added(dir_, name_, EntryKind::kFile);
      return Naming::kNamed;
    }
    if (error != EEXIST) return Naming::kFailed;
    // Another program made the name: what this run knows of the directory
    // no longer holds.
    listings_.Forget(dir_);
    return Naming::kTaken;
  }

  void RemoveTemporary() override {
    const TemporaryFiles::Change change(ProcessTemporaryFiles());
    unlink(temporary_.c_str());
    ProcessTemporaryFiles().Drop(temporary_);
  }

 private:
  int fd_;
  std::string temporary_;
  std::string dir_;
  std::string name_;
  Replacing replacing_;
  DirectoryListings& listings_;
  std::atomic<int>& last_error_;  // the file system's, for FailureReason
};

#ifdef __linux__
// Whether one syncfs makes every file of the file system durable, data and
// names: so on the local file systems whose syncfs writes out and waits for
// all data, commits the journal or log and flushes the disk's cache. On
// others (network and user-space file systems among them) each file is
// flushed on its own.
bool SyncfsCoversEveryFile(int fd) {
  struct statfs info;
  if (fstatfs(fd, &info) != 0) return false;
  switch (static_cast<unsigned long>(info.f_type)) {
    case 0xEF53:      // ext2, ext3, ext4
    case 0x58465342:  // XFS
    case 0x9123683E:  // btrfs
    case 0xF2F52010:  // F2FS
    case 0x01021994:  // tmpfs: nothing to flush
      return true;
    default:
      return false;
  }
}
#endif

// Makes the sealed files durable, each settled with the outcome. On Linux
// one syncfs per file system writes out everything still in memory and
// flushes the disk's cache once; each file then asks, without another
// flush, whether its own write-out met an error. Elsewhere, and where that
// fails, each file is flushed on its own.
void MakeFilesDurable(std::span<PosixOutputFile* const> files) {
  std::vector<bool> durable(files.size(), false);
#ifdef __linux__
  std::vector<FlushCandidate> candidates(files.size());
  std::map<dev_t, bool> covered;  // by file system, asked once
  for (size_t i = 0; i < files.size(); ++i) {
    struct stat info;
    if (fstat(files[i]->fd(), &info) != 0) continue;
    const auto [known, added] = covered.try_emplace(info.st_dev, false);
    if (added) known->second = SyncfsCoversEveryFile(files[i]->fd());
    candidates[i] = {known->second, static_cast<std::uint64_t>(info.st_dev)};
  }
  const std::vector<size_t> flushed_by = SharedFlushes(candidates);
  std::vector<int> flushed(files.size(), -1);  // the flush's outcome, by the file that made it
  for (size_t i = 0; i < files.size(); ++i) {
    const size_t by = flushed_by[i];
    if (by == i && !candidates[i].shared) continue;
    if (flushed[by] < 0) flushed[by] = syncfs(files[by]->fd()) == 0;
    if (flushed[by] == 0) continue;
    constexpr unsigned kWaitForWriteOut =
        SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
    durable[i] = sync_file_range(files[i]->fd(), 0, 0, kWaitForWriteOut) == 0;
  }
#endif
  for (size_t i = 0; i < files.size(); ++i) {
    // A file system that keeps nothing to flush says EINVAL.
    if (!durable[i]) durable[i] = fdatasync(files[i]->fd()) == 0 || errno == EINVAL;
    files[i]->Settle(durable[i]);
  }
}

class HostFileSystemImpl final : public HostFileSystem {
 public:
  std::unique_ptr<InputFile> OpenForReading(std::string_view path) override {
    // Non-blocking, so that a FIFO in place of a file cannot hang the run;
    // only regular files are read, on which the flag changes nothing.
    constexpr int kFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
    const std::string host = HostPathFromText(path);
    int fd = open(host.c_str(), kFlags);
    int error = fd < 0 ? errno : 0;
    if (error == ENOENT) {
      const std::string found = Find(host).Path();
      if (found != host) {
        fd = open(found.c_str(), kFlags);
        error = fd < 0 ? errno : 0;
      }
    }
    last_error_ = error;
    if (fd < 0) return nullptr;
    struct stat info;
    const bool known = fstat(fd, &info) == 0;
    if (!known || !S_ISREG(info.st_mode)) {
      last_error_ = !known ? errno : S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
      close(fd);
      return nullptr;
    }
    return std::make_unique<HostInputFile>(fd, static_cast<std::uint64_t>(info.st_size));
  }

  // The name is kept as written, in its directory as found.
  std::unique_ptr<OutputFile> CreateForWriting(std::string_view path,
                                               Replacing replacing) override {
    const SplitPath split = SplitHostPath(HostPathFromText(path));
    const FoundEntry found = listings_.Find(split.dir, split.leaf);
    const bool replaces = replacing == Replacing::kAllowed;
    if (found.result == FoundEntry::kFound && found.name == split.leaf &&
        (!replaces || found.kind == EntryKind::kDirectory)) {
      last_error_ = found.kind == EntryKind::kDirectory ? EISDIR : EEXIST;
      return nullptr;
    }
    struct stat info;
    if (found.result == FoundEntry::kNoListing && lstat(found.Path().c_str(), &info) == 0 &&
        (!replaces || S_ISDIR(info.st_mode))) {
      last_error_ = S_ISDIR(info.st_mode) ? EISDIR : EEXIST;
      return nullptr;
    }
    // The temporary name is new to this process, but a process of the same
    // number may have left one behind when it was killed.
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string temporary = found.dir + NextTemporaryName();
      int fd = -1;
      int error = 0;
      {
        const TemporaryFiles::Change change(ProcessTemporaryFiles());
        fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        error = fd < 0 ? errno : 0;
        if (fd >= 0) ProcessTemporaryFiles().Add(temporary);
      }
      last_error_ = error;
      if (fd >= 0) {
        return std::make_unique<PosixOutputFile>(fd, std::move(temporary), found.dir, split.leaf,
                                                 replacing, listings_, last_error_);
      }
      if (error != EEXIST) break;
    }
    return nullptr;
  }

  void MakeDurable(std::span<OutputFile* const> sealed) override {
    std::vector<PosixOutputFile*> files;
    for (OutputFile* file : sealed) {
      auto* ours = dynamic_cast<PosixOutputFile*>(file);
      if (ours != nullptr && ours->IsSealed()) files.push_back(ours);
    }
    MakeFilesDurable(files);
  }

  bool FileExists(std::string_view path) override {
    const FoundEntry found = Find(HostPathFromText(path));
    switch (found.kind) {
      case EntryKind::kFile:
        return found.result == FoundEntry::kFound;
      case EntryKind::kDirectory:
        return false;
      case EntryKind::kOther:
        break;
    }
    if (found.result == FoundEntry::kNotFound) return false;
    struct stat info;
    return stat(found.Path().c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
  }

  RemoveResult Remove(std::string_view path) override {
    const std::string host = HostPathFromText(path);
    int error = unlink(host.c_str()) == 0 ? 0 : errno;
    if (error == 0) {
      const SplitPath split = SplitHostPath(host);
      listings_.Removed(split.dir, split.leaf);
    } else if (error == ENOENT) {
      const FoundEntry found = Find(host);
      if (found.Path() != host) {
        error = unlink(found.Path().c_str()) == 0 ? 0 : errno;
        if (error == 0) listings_.Removed(found.dir, found.name);
      }
    }
    last_error_ = error;
    if (error == 0) return RemoveResult::kRemoved;
    return error == ENOENT ? RemoveResult::kNotFound : RemoveResult::kFailed;
  }

  RenameResult RenameReplacing(std::string_view from, std::string_view to) override {
    const int error =
        Move(from, to, EntryKind::kFile, [this](const std::string& a, const std::string& b) {
          // A file of the name in another case goes first: the new one takes
          // the name as written, as it would where nothing was.
          const SplitPath target = SplitHostPath(b);
          const FoundEntry existing = listings_.Find(target.dir, target.leaf);
          if (existing.result == FoundEntry::kFound && existing.name != target.leaf &&
              existing.kind == EntryKind::kFile && access(a.c_str(), F_OK) == 0) {
            if (unlink(existing.Path().c_str()) != 0) return errno;
            listings_.Removed(existing.dir, existing.name);
          }
          return rename(a.c_str(), b.c_str()) == 0 ? 0 : errno;
        });
    if (error == 0) return RenameResult::kRenamed;
    return error == ENOENT ? RenameResult::kNotFound : RenameResult::kFailed;
  }

  RenameResult RenameNoReplace(std::string_view from, std::string_view to) override {
    const int error = Move(from, to, EntryKind::kFile, RenameWithoutReplacing);
    if (error == 0) return RenameResult::kRenamed;
    if (error == EEXIST) return RenameResult::kNameTaken;
    return error == ENOENT ? RenameResult::kNotFound : RenameResult::kFailed;
  }

  std::optional<std::string> DirectoryIdentity(std::string_view path) override {
    const std::string host = HostPathFromText(path);
    struct stat info;
    if (stat(host.empty() ? "." : host.c_str(), &info) != 0) {
      const std::string found = Find(host).Path();
      if (found == host || stat(found.c_str(), &info) != 0) return std::nullopt;
    }
    if (!S_ISDIR(info.st_mode)) return std::nullopt;
    return std::to_string(info.st_dev) + ':' + std::to_string(info.st_ino);
  }

  bool DirectoryExists(std::string_view path) override {
    const FoundEntry found = Find(HostPathFromText(path));
    if (found.result == FoundEntry::kNotFound) return false;
    if (found.result == FoundEntry::kFound && found.kind != EntryKind::kOther) {
      return found.kind == EntryKind::kDirectory;
    }
    struct stat info;
    return stat(found.Path().c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }

  std::optional<std::vector<std::string>> ListDirectory(std::string_view path) override {
    const std::string host = Find(HostPathFromText(path)).Path();
    DIR* stream = opendir(host.empty() ? "." : host.c_str());
    if (stream == nullptr) {
      last_error_ = errno;
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
    const FoundEntry found = Find(HostPathFromText(path));
    struct stat info;
    if (found.result == FoundEntry::kNotFound ||
        (found.result == FoundEntry::kNoListing && stat(found.Path().c_str(), &info) != 0)) {
      return std::nullopt;
    }
    return found.name;
  }

  // A name is made as written, in its directory as found.
  bool MakeDirectory(std::string_view path) override {
    const SplitPath split = SplitHostPath(HostPathFromText(path));
    std::string dir;
    const int error = MakeEntry(split, dir, [](const std::string& host) {
      return mkdir(host.c_str(), 0777) == 0 ? 0 : errno;
    });
    last_error_ = error;
    if (error == 0) listings_.Added(dir, split.leaf, EntryKind::kDirectory);
    return error == 0;
  }

  bool MakeTemporaryDirectory(std::string_view path) override {
    const SplitPath split = SplitHostPath(HostPathFromText(path));
    std::string dir;
    const int error = MakeEntry(split, dir, [](const std::string& host) {
      const TemporaryFiles::Change change(ProcessTemporaryFiles());
      if (mkdir(host.c_str(), 0777) != 0) return errno;
      ProcessTemporaryFiles().AddDirectory(host);
      return 0;
    });
    last_error_ = error;
    if (error == 0) listings_.Added(dir, split.leaf, EntryKind::kDirectory);
    return error == 0;
  }

  bool RemoveEmptyDirectory(std::string_view path) override {
    const FoundEntry found = Find(HostPathFromText(path));
    int error = 0;
    {
      const TemporaryFiles::Change change(ProcessTemporaryFiles());
      error = rmdir(found.Path().c_str()) == 0 ? 0 : errno;
      if (error == 0) ProcessTemporaryFiles().Drop(found.Path());
    }
    last_error_ = error;
    if (error != 0) return false;
    listings_.Removed(found.dir, found.name);
    listings_.Forget(found.Path() + "/");
    return true;
  }

  // Never onto anything, not even an empty directory.
  bool RenameDirectory(std::string_view from, std::string_view to) override {
    const FoundEntry source = Find(HostPathFromText(from));
    const int error =
        Move(from, to, EntryKind::kDirectory, [](const std::string& a, const std::string& b) {
          // A temporary directory that takes its name is no longer one.
          const TemporaryFiles::Change change(ProcessTemporaryFiles());
          const int moved = RenameWithoutReplacing(a, b);
          if (moved == 0) ProcessTemporaryFiles().Drop(a);
          return moved;
        });
    if (error == 0) listings_.Forget(source.Path() + "/");
    return error == 0;
  }

  bool SameFile(std::string_view a, std::string_view b) override {
    struct stat first;
    struct stat second;
    return stat(Find(HostPathFromText(a)).Path().c_str(), &first) == 0 &&
           stat(Find(HostPathFromText(b)).Path().c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  }

  std::string FailureReason() override {
    const int error = last_error_;
    return error == 0 ? "" : std::strerror(error);
  }

 private:
  // Where a host path's file or directory is, as far as the listings tell;
  // a path that names no entry ("/", ".", "..") stands as written.
  FoundEntry Find(const std::string& host) {
    const SplitPath split = SplitHostPath(host);
    if (split.leaf.empty() || split.leaf == "." || split.leaf == ".." || split.leaf == "/") {
      return {FoundEntry::kNoListing, "", host};
    }
    return listings_.Find(split.dir, split.leaf);
  }

  // Makes a new entry by `make` (given a host path, 0 or an errno) under its
  // name as written: in its directory as written, else as found. `dir` is
  // set to the directory it was made in.
  template <typename MakeAt>
  int MakeEntry(const SplitPath& split, std::string& dir, MakeAt make) {
    dir = split.dir;
    int error = make(dir + split.leaf);
    if (error != ENOENT) return error;
    std::string found = listings_.Find(split.dir, split.leaf).dir;
    if (found == split.dir) return error;
    dir = std::move(found);
    return make(dir + split.leaf);
  }

  // Moves the entry at `from` to `to` by `move` (which gives 0 or an
  // errno), as written first, then as found: the new name keeps its
  // spelling, in its directory as found.
  template <typename MoveEntry>
  int Move(std::string_view from, std::string_view to, EntryKind kind, MoveEntry move) {
    const std::string host_from = HostPathFromText(from);
    const SplitPath written = SplitHostPath(host_from);
    const SplitPath target = SplitHostPath(HostPathFromText(to));
    FoundEntry source{FoundEntry::kFound, written.dir, written.leaf};
    std::string target_dir = target.dir;
    int error = move(host_from, target_dir + target.leaf);
    if (error == ENOENT) {
      source = Find(host_from);
      target_dir = listings_.Find(target.dir, target.leaf).dir;
      if (source.Path() != host_from || target_dir != target.dir) {
        error = move(source.Path(), target_dir + target.leaf);
      }
    }
    last_error_ = error;
    if (error == 0) {
      listings_.Removed(source.dir, source.name);
      listings_.Added(target_dir, target.leaf, kind);
    } else if (error == EEXIST) {
      listings_.Forget(target_dir);
    } else if (error == ENOENT) {
      listings_.Forget(source.dir);
    }
    return error;
  }

  DirectoryListings listings_{ReadDirectory};

 private:
  // The error of this file system's latest failed operation, for FailureReason
  // alone: an operation decides by its own errors, never by this, which
  // other threads sharing the file system may set meanwhile. Only the
  // single-threaded importer and previewer ask for the reason.
  std::atomic<int> last_error_{0};
};

}  // namespace

std::unique_ptr<HostFileSystem> MakeHostFileSystem() {
  return std::make_unique<HostFileSystemImpl>();
}

}  // namespace torvane
