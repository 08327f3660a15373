// torvane-syscall-floor: makes the system calls a conversion needs, with no
// formatting at all, to show how much of a conversion they are:
//   torvane-syscall-floor [--flush=sector|file|none] SCRIPTS_DIR CAMPAIGN_DIR OUT_DIR
// reads every file of CAMPAIGN_DIR/*/ and CAMPAIGN_DIR/*/map/ as the
// converter reads its inputs (open, fstat, pread, close), lists each
// directory it writes into once, and then for every script under
// SCRIPTS_DIR (in it, or in its sector directories) writes a file of the
// same size at the same place under OUT_DIR, as the converter writes a
// script: created under a temporary name, written 64 KiB at a time from a
// buffer that stays in cache, and renamed to its name without replacing
// anything once it is on disk. With --flush=sector (the default, as the
// converter does it) each file's write-out is started when it is written
// and a sector's files (a script "X.scr" and the "X<letter>.scr" after it)
// are flushed with one syncfs before they are named, on a thread of its own
// that takes every sector waiting at once; with --flush=file
// each is flushed with fdatasync before it is named; with --flush=none
// nothing is flushed. The scripts' bytes are not copied: only their sizes
// count. Exits 1 on any failure.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr size_t kChunk = 64 * 1024;

std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* stream = opendir(dir.c_str())) {
    while (const dirent* entry = readdir(stream)) {
      if (entry->d_name[0] != '.') names.emplace_back(entry->d_name);
    }
    closedir(stream);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool ReadInput(const std::string& path, std::string& buffer) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info;
  bool ok = fstat(fd, &info) == 0;
  if (ok && S_ISREG(info.st_mode)) {
    buffer.resize(static_cast<size_t>(info.st_size));
    ok = pread(fd, buffer.data(), buffer.size(), 0) >= 0;
  }
  return close(fd) == 0 && ok;
}

enum class Flush { kSector, kFile, kNone };

// A file written under a temporary name, waiting for its sector's flush.
struct Pending {
  int fd;
  std::string temporary;
  std::string path;
};

bool WriteScript(const std::string& dir, const std::string& name, off_t size,
                 const std::string& chunk, Flush flush, std::vector<Pending>& pending) {
  static unsigned next = 0;
  const std::string temporary = dir + "/.torvane-floor-" + std::to_string(next++) + ".tmp";
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = true;
  for (off_t left = size; ok && left > 0; left -= static_cast<off_t>(kChunk)) {
    const size_t part = std::min<size_t>(kChunk, static_cast<size_t>(left));
    ok = write(fd, chunk.data(), part) == static_cast<ssize_t>(part);
  }
  if (flush == Flush::kSector) ok = ok && sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE) == 0;
  if (flush == Flush::kFile) ok = ok && fdatasync(fd) == 0;
  pending.push_back({fd, temporary, dir + "/" + name});
  return ok;
}

// Flushes files once, when it is so, and names them.
bool Commit(Flush flush, const std::vector<Pending>& files) {
  bool ok = true;
  if (flush == Flush::kSector && !files.empty()) ok = syncfs(files.front().fd) == 0;
  for (const Pending& file : files) {
    if (close(file.fd) != 0) ok = false;
    ok = ok && syscall(SYS_renameat2, AT_FDCWD, file.temporary.c_str(), AT_FDCWD, file.path.c_str(),
                       RENAME_NOREPLACE) == 0;
  }
  return ok;
}

// Commits the sectors handed to it on a thread of its own, as the converter
// does: every sector waiting shares one flush.
class Committer {
 public:
  explicit Committer(Flush flush) : flush_(flush), thread_([this] { Run(); }) {}
  // False when any commit failed.
  bool Finish() {
    {
      const std::lock_guard lock(mutex_);
      ending_ = true;
    }
    wake_.notify_one();
    thread_.join();
    return ok_;
  }
  void Add(std::vector<Pending>& sector) {
    {
      const std::lock_guard lock(mutex_);
      waiting_.insert(waiting_.end(), sector.begin(), sector.end());
    }
    sector.clear();
    wake_.notify_one();
  }

 private:
  void Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return ending_ || !waiting_.empty(); });
      if (waiting_.empty()) return;
      std::vector<Pending> taken;
      taken.swap(waiting_);
      lock.unlock();
      const bool ok = Commit(flush_, taken);
      lock.lock();
      ok_ = ok_ && ok;
    }
  }

  Flush flush_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<Pending> waiting_;
  bool ending_ = false;
  bool ok_ = true;
  std::thread thread_;
};

struct Script {
  std::string dir;  // below SCRIPTS_DIR and OUT_DIR: "" or a sector's directory
  std::string name;
  off_t size;
};

void FindScripts(const std::string& root, const std::string& dir, std::vector<Script>& scripts) {
  const std::string here = dir.empty() ? root : root + "/" + dir;
  for (const std::string& name : Entries(here)) {
    struct stat info;
    if (stat((here + "/" + name).c_str(), &info) != 0) continue;
    if (S_ISDIR(info.st_mode)) {
      if (dir.empty()) FindScripts(root, name, scripts);
    } else if (name.ends_with(".scr")) {
      scripts.push_back({dir, name, info.st_size});
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  Flush flush = Flush::kSector;
  if (argc > 1 && std::strncmp(argv[1], "--flush=", 8) == 0) {
    const std::string how = argv[1] + 8;
    flush = how == "file" ? Flush::kFile : how == "none" ? Flush::kNone : Flush::kSector;
    --argc;
    ++argv;
  }
  if (argc != 4) {
    std::fprintf(stderr,
                 "usage: torvane-syscall-floor [--flush=sector|file|none] SCRIPTS_DIR "
                 "CAMPAIGN_DIR OUT_DIR\n");
    return 2;
  }
  const std::string scripts_dir = argv[1];
  const std::string campaign = argv[2];
  const std::string out = argv[3];
  std::vector<Script> scripts;
  FindScripts(scripts_dir, "", scripts);
  std::string buffer;
  for (const std::string& sector : Entries(campaign)) {
    const std::string dir = campaign + "/" + sector;
    for (const std::string& name : Entries(dir)) {
      if (name != "map" && !name.ends_with(".scr") && !ReadInput(dir + "/" + name, buffer)) {
        return 1;
      }
    }
    for (const std::string& name : Entries(dir + "/map")) {
      if (!ReadInput(dir + "/map/" + name, buffer)) return 1;
    }
  }
  const std::string chunk(kChunk, 'x');
  std::string listed = "none";
  std::string sector;  // the name of the sector script whose sector is pending
  std::vector<Pending> pending;
  Committer committer(flush);
  for (const Script& script : scripts) {
    const std::string dir = script.dir.empty() ? out : out + "/" + script.dir;
    const std::string stem = script.name.substr(0, script.name.size() - 4);
    const bool same_sector = !sector.empty() && stem.size() == sector.size() + 1 &&
                             stem.starts_with(sector) && dir == listed;
    if (!same_sector) {
      committer.Add(pending);
      sector = stem;
    }
    if (dir != listed) {
      Entries(dir);  // the listing of the case-insensitive lookup
      listed = dir;
    }
    if (!WriteScript(dir, script.name, script.size, chunk, flush, pending)) {
      committer.Finish();
      return 1;
    }
  }
  committer.Add(pending);
  return committer.Finish() ? 0 : 1;
}
