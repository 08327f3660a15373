// The tests' file system: the in-memory one, with every operation logged
// and any operation made to fail once or from then on. It also keeps what
// would be on a disk: the states a power cut could leave the files in.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/memory_file_system.h"

namespace torvane_test {

using torvane::FileOp;

// Files by key and their bytes, and the directories made, as a disk holds
// them.
struct DiskState {
  std::map<std::string, std::string> files;
  std::set<std::string> directories;
  auto operator<=>(const DiskState&) const = default;
};

class MemoryFileSystem final : public torvane::MemoryFileSystem {
 public:
  // Every write is one operation, handed over as soon as it is made.
  MemoryFileSystem() : torvane::MemoryFileSystem(0) {}
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

  // Raw bytes of a file; nothing when there is none.
  std::optional<std::string> FileBytes(std::string_view path) const;
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

  // One line per operation, such as "create out/a.scr" or "write a.scr".
  const std::vector<std::string>& Log() const { return log_; }

 private:
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
  bool Refused(FileOp kind, std::string_view verb, const std::string& path) override;
  // The disk may keep a change of names, after those before it.
  void NamesChanged() override {
    journal_.push_back(CurrentNames());
    ++disk_changes_;
  }
  void Flushed() override {
    durable_names_ = CurrentNames();
    journal_.clear();
    ++disk_changes_;
  }
  std::uint64_t ReportedSize(const std::string& path, std::uint64_t size) override;

  // Names as the disk holds them since the last flush, and each change of
  // names made since, in order.
  Names durable_names_;
  std::vector<Names> journal_;
  std::map<std::string, std::uint64_t> reported_sizes_;
  std::vector<Failure> failures_;
  std::vector<Action> actions_;
  std::function<void()> before_each_;
  std::uint64_t disk_changes_ = 0;
  std::vector<std::string> log_;
};

}  // namespace torvane_test
