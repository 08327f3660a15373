// The committer's thread: it takes every commit waiting, makes all their
// scripts durable at once, then names each commit's scripts in turn.
#include "run/script_committer.h"

#include <system_error>

namespace torvane {

ScriptCommitter::ScriptCommitter(FileSystem& file_system) : file_system_(file_system) {
  try {
    thread_ = std::thread([this] { CommitWaiting(); });
  } catch (const std::system_error&) {
    // No thread to be had: each commit is made when it is handed over.
  }
}

ScriptCommitter::~ScriptCommitter() {
  if (!thread_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    ending_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void ScriptCommitter::Commit(ScriptCommit commit, std::function<void()> done) {
  if (!thread_.joinable()) {
    commit.Commit();
    done();
    return;
  }
  {
    const std::lock_guard lock(mutex_);
    waiting_.emplace_back(std::move(commit), std::move(done));
  }
  wake_.notify_one();
}

void ScriptCommitter::CommitWaiting() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return ending_ || !waiting_.empty(); });
    if (waiting_.empty()) return;
    std::vector<std::pair<ScriptCommit, std::function<void()>>> taken;
    taken.swap(waiting_);
    lock.unlock();
    std::vector<OutputFile*> files;
    for (const auto& [commit, done] : taken) {
      const std::vector<OutputFile*> own = commit.Files();
      files.insert(files.end(), own.begin(), own.end());
    }
    file_system_.MakeDurable(files);
    for (auto& [commit, done] : taken) {
      commit.TakeNames();
      done();
    }
    lock.lock();
  }
}

}  // namespace torvane
