// A file system held in memory by the program itself: the web page's host,
// where the page hands the input files in and takes the files written out,
// and the core of the tests' file system, which adds its fault hooks.
// Paths are found as the POSIX host finds them: as written, else one
// component at a time without regard to ASCII case; a new name is made as
// written, in its directory as found. One thread at a time.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/file_system.h"

namespace torvane {

// The operations a subclass may watch, and refuse.
enum class FileOp {
  kAny,
  kOpen,
  kSize,
  kRead,
  kCreate,
  kWrite,
  kSeal,
  kFlush,
  kName,
  kExists,
  kRemove,
  kRename,
  kList,
  kMakeDirectory,
  kRemoveDirectory,
};

class MemoryFileSystem : public HostFileSystem {
 public:
  MemoryFileSystem() = default;
  // A new file is handed its bytes whenever `hand_over_at` of them are
  // pending (0: at every write).
  explicit MemoryFileSystem(size_t hand_over_at) : hand_over_at_(hand_over_at) {}
  MemoryFileSystem(const MemoryFileSystem&) = delete;
  MemoryFileSystem& operator=(const MemoryFileSystem&) = delete;
  ~MemoryFileSystem() override = default;

  // A file that is there before the run (raw bytes, as they stand on disk),
  // replacing one of its path. The directories above it are there too.
  void AddFile(std::string_view path, std::string bytes);
  // A directory, and those above it.
  void AddDirectory(std::string_view path);

  // Whether a file is at the path as written.
  bool Exists(std::string_view path) const;
  // The bytes of the file at the path as written; nothing when there is none.
  const std::string* FileBytes(std::string_view path) const;
  // The bytes written so far to a new file for this path that has not taken
  // its name yet; nothing when there is none.
  std::optional<std::string> UnnamedBytes(std::string_view path) const;
  // The files the programs gave a name to (by writing or moving them) that
  // are still there, by path in byte order.
  std::vector<std::string> NamedByPrograms() const;
  // The path as it finds a file or directory (see Find), "/" between its
  // names: as written from the first name not found.
  std::string FoundPath(std::string_view path) const { return Find(path); }
  // Files opened for reading or writing and not yet released.
  int OpenFiles() const { return open_files_; }
  // Calls `opened` with the path of each file opened for reading, as found.
  void WatchOpens(std::function<void(const std::string&)> opened) { opened_ = std::move(opened); }

  std::unique_ptr<InputFile> OpenForReading(std::string_view path) override;
  // The file appears, whole, when it takes its name.
  std::unique_ptr<OutputFile> CreateForWriting(std::string_view path,
                                               Replacing replacing = Replacing::kNever) override;
  // Every sealed file's bytes and every change of names so far are durable.
  void MakeDurable(std::span<OutputFile* const> sealed) override;
  bool FileExists(std::string_view path) override;
  RemoveResult Remove(std::string_view path) override;
  RenameResult RenameReplacing(std::string_view from, std::string_view to) override;
  RenameResult RenameNoReplace(std::string_view from, std::string_view to) override;
  std::optional<std::string> DirectoryIdentity(std::string_view path) override;
  bool DirectoryExists(std::string_view path) override;
  std::optional<std::vector<std::string>> ListDirectory(std::string_view path) override;
  std::optional<std::string> FoundName(std::string_view path) override;
  bool MakeDirectory(std::string_view path) override;
  bool MakeTemporaryDirectory(std::string_view path) override { return MakeDirectory(path); }
  bool RemoveEmptyDirectory(std::string_view path) override;
  bool RenameDirectory(std::string_view from, std::string_view to) override;
  bool SameFile(std::string_view a, std::string_view b) override;
  std::string FailureReason() override { return failure_reason_; }

 protected:
  // A file's bytes, of which the first `durable` are on disk.
  struct Inode {
    std::string bytes;
    size_t durable = 0;
  };
  // Which file each name holds, and the directories made, as a disk keeps
  // them.
  struct Names {
    std::map<std::string, std::shared_ptr<const Inode>> files;
    std::set<std::string> directories;
  };

  // Before each operation, with its kind, its verb and its path: true
  // refuses it (the subclass then sets the failure reason).
  virtual bool Refused(FileOp /*kind*/, std::string_view /*verb*/, const std::string& /*path*/) {
    return false;
  }
  // After each change of names a disk would record, and after each flush.
  virtual void NamesChanged() {}
  virtual void Flushed() {}
  // The size an opened file reports; by default its own.
  virtual std::uint64_t ReportedSize(const std::string& /*path*/, std::uint64_t size) {
    return size;
  }

  Names CurrentNames() const;
  // The key a path is kept under, as written.
  static std::string KeyOf(std::string_view path);
  // The file at a key; nothing when there is none.
  std::shared_ptr<const Inode> FileAt(const std::string& key) const;
  std::string failure_reason_;

 private:
  friend class MemoryInputFile;
  friend class MemoryOutputFile;

  // What is at a path: a file, a directory made, and how many names (files
  // and directories made) lie below it. An entry with none of these is not
  // kept; one with names below is a directory.
  struct Entry {
    std::shared_ptr<Inode> file;
    bool made = false;
    int below = 0;
    bool IsDirectory() const { return file == nullptr; }
  };

  bool Refuse(std::string reason);
  bool Has(const std::string& key) const { return entries_.contains(key); }
  bool IsDirectory(const std::string& key) const;
  bool IsFile(const std::string& key) const;
  // The key of what a path finds: each component as written when it is
  // there, else the first in byte order equal to it apart from ASCII case;
  // as written from the first that is not found.
  std::string Find(std::string_view path) const;
  // The key a new name at `path` takes: its directory as found, its name as
  // written.
  std::string NewKey(std::string_view path) const;
  // The names directly in the directory `dir`, in byte order.
  std::vector<std::string> Children(const std::string& dir) const;

  // An entry made or dropped, with its folded key.
  Entry& MakeEntry(const std::string& key);
  void DropEntry(std::map<std::string, Entry>::iterator entry);
  void AddName(const std::string& key, std::shared_ptr<Inode> file);
  void RemoveName(const std::string& key);
  void Named(const std::string& key);

  std::map<std::string, Entry> entries_;
  // Every key of entries_ by its ASCII lower case, for lookups that
  // disregard case.
  std::set<std::pair<std::string, std::string>> by_folded_;
  // New files by the name they will take, until they take it.
  std::map<std::string, std::shared_ptr<Inode>> unnamed_;
  std::set<std::string> named_by_programs_;
  std::function<void(const std::string&)> opened_;
  int open_files_ = 0;
  // As the host's files, so that a script's bytes are copied a few times,
  // not once per command.
  size_t hand_over_at_ = 4 * 1024 * 1024;
};

}  // namespace torvane
