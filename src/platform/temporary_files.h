// The temporary files that new files are written under until they are
// whole, and the temporary directories that new directories are built in,
// kept for the whole process so that Ctrl-C can remove them: an interrupted
// run leaves every file complete or absent, and nothing temporary behind.
#pragma once

#include <mutex>
#include <set>
#include <shared_mutex>
#include <string>

namespace torvane {

// The name of the next temporary file in a directory: hidden on POSIX
// hosts, never a name that a script (".scr") or its backup (".$$$") has,
// and apart from those of every other process.
std::string NextTemporaryName();

class TemporaryFiles {
 public:
  // Held while a temporary file is created, renamed or removed, so that the
  // clean-up of an interruption finds each file either before that or after
  // it. Any number may be held at once. Once the clean-up has begun,
  // starting one waits for the process to end.
  class Change {
   public:
    explicit Change(TemporaryFiles& files);

   private:
    std::shared_lock<std::shared_mutex> lock_;
  };

  // With a Change held: the file or directory at this host path now
  // exists, or is gone (or no longer temporary).
  void Add(const std::string& path);
  void AddDirectory(const std::string& path);
  void Drop(const std::string& path);

  // Removes every temporary file there is (the host's `remove_file` on each
  // of their paths), then every temporary directory with what is in it
  // (`remove_tree`), and lets no Change start again: the process is ending.
  void RemoveAll(void (*remove_file)(const std::string& path),
                 void (*remove_tree)(const std::string& path));

 private:
  std::shared_mutex changes_;
  bool ending_ = false;  // set and read under `changes_`
  std::mutex pathsMutex_;
  std::set<std::string> paths_;
  std::set<std::string> directories_;
};

// The process's own. Never destroyed: an interruption may come while the
// process ends.
TemporaryFiles& ProcessTemporaryFiles();

// From now on Ctrl-C (SIGINT and SIGTERM on POSIX hosts; Ctrl-C, Ctrl-Break
// and closing the console on Windows) removes the process's temporary files
// and then ends the process as the interruption would have: the shell sees
// 130 for SIGINT, Windows the status of Ctrl-C. A signal that was ignored
// when the program started stays ignored. Call it once, before any thread
// is started.
void RemoveTemporaryFilesOnInterrupt();

}  // namespace torvane
