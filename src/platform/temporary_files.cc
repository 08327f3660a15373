// The process's temporary files, and their removal when it is interrupted.
#include "platform/temporary_files.h"

#include <chrono>
#include <thread>

namespace torvane {

TemporaryFiles::Change::Change(TemporaryFiles& files) : lock_(files.changes_) {
  if (!files.ending_) return;
  // The clean-up has run and the process is about to end: a file made now
  // would outlive it.
  lock_.unlock();
  for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}

void TemporaryFiles::Add(const std::string& path) {
  const std::lock_guard lock(pathsMutex_);
  paths_.insert(path);
}

void TemporaryFiles::AddDirectory(const std::string& path) {
  const std::lock_guard lock(pathsMutex_);
  directories_.insert(path);
}

void TemporaryFiles::Drop(const std::string& path) {
  const std::lock_guard lock(pathsMutex_);
  paths_.erase(path);
  directories_.erase(path);
}

void TemporaryFiles::RemoveAll(void (*remove_file)(const std::string& path),
                               void (*remove_tree)(const std::string& path)) {
  const std::unique_lock lock(changes_);
  ending_ = true;
  const std::lock_guard paths_lock(pathsMutex_);
  for (const std::string& path : paths_) remove_file(path);
  for (const std::string& path : directories_) remove_tree(path);
  paths_.clear();
  directories_.clear();
}

TemporaryFiles& ProcessTemporaryFiles() {
  static TemporaryFiles& files = *new TemporaryFiles;
  return files;
}

}  // namespace torvane
