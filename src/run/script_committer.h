// Commits sectors' scripts on a thread of their own, so that the flush that
// makes one sector's scripts durable overlaps the conversion of the next,
// and sectors whose scripts wait to be committed at the same moment share
// one flush.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "script/script_file.h"

namespace torvane {

class ScriptCommitter {
 public:
  // Commits on its own thread, or at once where no thread can be had.
  explicit ScriptCommitter(FileSystem& file_system);
  // Commits whatever is still waiting first.
  ~ScriptCommitter();
  ScriptCommitter(const ScriptCommitter&) = delete;
  ScriptCommitter& operator=(const ScriptCommitter&) = delete;

  // Commits the scripts, then calls `done`, on the committer's thread.
  void Commit(ScriptCommit commit, std::function<void()> done);

 private:
  void CommitWaiting();

  FileSystem& file_system_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<std::pair<ScriptCommit, std::function<void()>>> waiting_;
  bool ending_ = false;
  std::thread thread_;
};

}  // namespace torvane
