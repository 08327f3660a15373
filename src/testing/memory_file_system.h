// An in-memory file system for tests: files are byte strings keyed by their
// host form, every operation is logged, open files are counted, and any
// operation can be made to fail once or from then on.
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
  kClose,
  kExists,
  kRemove,
  kRename,
  kList,
  kMakeDirectory,
  kRemoveDirectory,
};

class MemoryFileSystem final : public torvane::FileSystem {
 public:
  // Stores raw bytes, as they would stand on disk (CR LF line ends and all).
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

  // The `nth` operation of `kind` from now on (1 = the next one) fails; with
  // `persist`, every later one of that kind fails as well.
  void FailOperation(FileOp kind, int nth, bool persist = false);

  // Just before the `nth` operation of `kind` from now on, `action` runs:
  // another program changing the files behind the run's back.
  void DoBefore(FileOp kind, int nth, std::function<void()> action);

  // Files opened for reading or writing and not yet released.
  int OpenFiles() const { return open_files_; }
  // One line per operation, such as "create out\a.scr" or "write a.scr".
  const std::vector<std::string>& Log() const { return log_; }

  std::unique_ptr<torvane::InputFile> OpenForReading(std::string_view path) override;
  // The file appears, whole, when it is closed.
  std::unique_ptr<torvane::OutputFile> CreateForWriting(std::string_view path) override;
  bool FileExists(std::string_view path) override;
  torvane::RemoveResult Remove(std::string_view path) override;
  bool Rename(std::string_view from, std::string_view to) override;
  torvane::RenameResult RenameNoReplace(std::string_view from, std::string_view to) override;
  std::optional<std::string> DirectoryIdentity(std::string_view path) override;
  // Only the directory operations look paths up without regard to case.
  bool DirectoryExists(std::string_view path) override;
  std::optional<std::vector<std::string>> ListDirectory(std::string_view path) override;
  std::optional<std::string> FoundName(std::string_view path) override;
  bool MakeDirectory(std::string_view path) override;
  bool RemoveEmptyDirectory(std::string_view path) override;
  bool RenameDirectory(std::string_view from, std::string_view to) override;
  // A create and a write.
  torvane::WriteResult WriteWholeFile(std::string_view path, std::string_view bytes) override;
  bool SameFile(std::string_view a, std::string_view b) override;
  // "made to fail" after a failure the test asked for, else what was wrong.
  std::string FailureReason() override { return failure_reason_; }

 private:
  friend class MemoryInputFile;
  friend class MemoryOutputFile;

  struct Failure {
    FileOp kind;
    int remaining;  // operations of this kind still to pass before failing
    bool persist;
  };

  // Logs the operation and tells whether it is to fail.
  bool Attempt(FileOp kind, const std::string& what, const std::string& path);
  // Sets the failure reason and returns false.
  bool Refuse(std::string reason);
  // Every file and directory, those only implied by what lies below included.
  std::set<std::string> Entries() const;
  bool IsDirectory(const std::string& key) const;
  // The key of what a path text finds, as the host finds it: each
  // component as written when it is there, else the first in byte order
  // equal to it apart from ASCII case; as written below where none is.
  std::string Find(std::string_view path) const;

  std::map<std::string, std::string> files_;
  // New files by the name they will take when closed.
  std::map<std::string, std::string> unnamed_;
  std::map<std::string, std::uint64_t> reported_sizes_;
  std::set<std::string> directories_;
  std::vector<Failure> failures_;
  struct Action {
    FileOp kind;
    int remaining;  // operations of this kind still to pass before it runs
    std::function<void()> action;
  };
  std::vector<Action> actions_;
  std::vector<std::string> log_;
  int open_files_ = 0;
  std::string failure_reason_;
};

}  // namespace torvane_test
