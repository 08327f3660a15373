// An in-memory file system for tests: files are byte strings keyed by their
// host form, every operation is logged, open files are counted, and any
// operation can be made to fail once or from then on. It also keeps what
// would be on a disk: the states a power cut could leave the files in.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace torvane_test {

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

// Files by key and their bytes, and the directories made, as a disk holds
// them.
struct DiskState {
  std::map<std::string, std::string> files;
  std::set<std::string> directories;
  auto operator<=>(const DiskState&) const = default;
};

class MemoryFileSystem final : public torvane::HostFileSystem {
 public:
  MemoryFileSystem() = default;
  // Files and directories as a state holds them, all of them on disk.
  explicit MemoryFileSystem(const DiskState& state);

  // Stores raw bytes, as they would stand on disk (CR LF line ends and all).
  // Another program's file: on disk at once.
  void AddFile(std::string_view path, std::string bytes);
  // A directory at this path: it neither opens nor can be created over. The
  // directories above a file or directory are there without being added.
  void AddDirectory(std::string_view path);
  // The size query of this file reports `size` instead of its real size.
  void SetReportedSize(std::string_view path, std::uint64_t size);

  bool Exists(std::string_view path) const;
  // Raw bytes of a file; nothing when there is none.
  std::optional<std::string> FileBytes(std::string_view path) const;
  // The bytes written so far to a new file for this path that has not taken
  // its name yet; nothing when there is none.
  std::optional<std::string> UnnamedBytes(std::string_view path) const;
  // Every file and directory as it stands now.
  DiskState State() const;

  // Every state the files could be found in if the power failed now, on a
  // disk that keeps its changes to names in the order they were made (as a
  // journal does): any number of the names changed since the last flush may
  // be lost, the latest first, and bytes written since the last flush may be
  // lost, in part or in whole. New files that have not taken their names are
  // left out: nothing reads a temporary name.
  std::vector<DiskState> PowerCutStates() const;
  // Counts the changes that could alter PowerCutStates: of names, and
  // flushes.
  std::uint64_t DiskChanges() const { return disk_changes_; }

  // The `nth` operation of `kind` from now on (1 = the next one) fails; with
  // `persist`, every later one of that kind fails as well.
  void FailOperation(FileOp kind, int nth, bool persist = false);

  // Just before the `nth` operation of `kind` from now on, `action` runs:
  // another program changing the files behind the run's back.
  void DoBefore(FileOp kind, int nth, std::function<void()> action);
  // `action` runs just before every operation from now on.
  void DoBeforeEach(std::function<void()> action) { before_each_ = std::move(action); }

  // Files opened for reading or writing and not yet released.
  int OpenFiles() const { return open_files_; }
  // One line per operation, such as "create out\a.scr" or "write a.scr".
  const std::vector<std::string>& Log() const { return log_; }

  std::unique_ptr<torvane::InputFile> OpenForReading(std::string_view path) override;
  // The file appears, whole, when it takes its name.
  std::unique_ptr<torvane::OutputFile> CreateForWriting(
      std::string_view path, torvane::Replacing replacing = torvane::Replacing::kNever) override;
  // A full flush: every sealed file's bytes and every change of names so
  // far are on disk.
  void MakeDurable(std::span<torvane::OutputFile* const> sealed) override;
  bool FileExists(std::string_view path) override;
  torvane::RemoveResult Remove(std::string_view path) override;
  torvane::RenameResult RenameReplacing(std::string_view from, std::string_view to) override;
  torvane::RenameResult RenameNoReplace(std::string_view from, std::string_view to) override;
  std::optional<std::string> DirectoryIdentity(std::string_view path) override;
  // Only the directory operations look paths up without regard to case.
  bool DirectoryExists(std::string_view path) override;
  std::optional<std::vector<std::string>> ListDirectory(std::string_view path) override;
  std::optional<std::string> FoundName(std::string_view path) override;
  bool MakeDirectory(std::string_view path) override;
  bool MakeTemporaryDirectory(std::string_view path) override { return MakeDirectory(path); }
  bool RemoveEmptyDirectory(std::string_view path) override;
  bool RenameDirectory(std::string_view from, std::string_view to) override;
  bool SameFile(std::string_view a, std::string_view b) override;
  // "made to fail" after a failure the test asked for, else what was wrong.
  std::string FailureReason() override { return failure_reason_; }

 private:
  friend class MemoryInputFile;
  friend class MemoryOutputFile;

  // A file's bytes, of which the first `durable` are on disk.
  struct Inode {
    std::string bytes;
    size_t durable = 0;
  };
  // Which file each name holds, and the directories made.
  struct Names {
    std::map<std::string, int> files;
    std::set<std::string> directories;
  };

  struct Failure {
    FileOp kind;
    int remaining;  // operations of this kind still to pass before failing
    bool persist;
  };
  struct Action {
    FileOp kind;
    int remaining;  // operations of this kind still to pass before it runs
    std::function<void()> action;
  };

  // Logs the operation and tells whether it is to fail.
  bool Attempt(FileOp kind, const std::string& what, const std::string& path);
  // Sets the failure reason and returns false.
  bool Refuse(std::string reason);
  // After a change of names: the disk may keep it, after those before it.
  void Changed() {
    journal_.push_back(names_);
    ++disk_changes_;
  }
  const std::string& BytesAt(const std::string& key) const;
  // Every file and directory, those only implied by what lies below included.
  std::set<std::string> Entries() const;
  bool IsDirectory(const std::string& key) const;
  // The key of what a path text finds, as the host finds it: each
  // component as written when it is there, else the first in byte order
  // equal to it apart from ASCII case; as written below where none is.
  std::string Find(std::string_view path) const;

  std::map<int, Inode> inodes_;
  int next_inode_ = 0;
  Names names_;
  // Names as the disk holds them since the last flush, and each change of
  // names made since, in order.
  Names durable_names_;
  std::vector<Names> journal_;
  // New files by the name they will take, until they take it.
  std::map<std::string, int> unnamed_;
  std::map<std::string, std::uint64_t> reported_sizes_;
  std::vector<Failure> failures_;
  std::vector<Action> actions_;
  std::function<void()> before_each_;
  std::uint64_t disk_changes_ = 0;
  std::vector<std::string> log_;
  int open_files_ = 0;
  std::string failure_reason_;
};

}  // namespace torvane_test
