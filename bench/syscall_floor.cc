// torvane-syscall-floor: makes the system calls a conversion needs, with no
// formatting at all, to show how much of a conversion they are:
//   torvane-syscall-floor [--no-flush] SCRIPTS_DIR CAMPAIGN_DIR OUT_DIR
// reads every file of CAMPAIGN_DIR/*/ and CAMPAIGN_DIR/*/map/ as the
// converter reads its inputs (open, fstat, pread, close), lists each
// directory it writes into once, and then for every script under
// SCRIPTS_DIR (in it, or in its sector directories) writes a file of the
// same size at the same place under OUT_DIR, as the converter writes a
// script: created under a temporary name, written 64 KiB at a time from a
// buffer that stays in cache, flushed to disk (not with --no-flush), closed
// and renamed to its name without replacing anything. The scripts' bytes
// are not copied: only their sizes count. Exits 1 on any failure.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
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

bool WriteScript(const std::string& dir, const std::string& name, off_t size,
                 const std::string& chunk, bool flush) {
  static unsigned next = 0;
  const std::string temporary = dir + "/.torvane-floor-" + std::to_string(next++) + ".tmp";
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = true;
  for (off_t left = size; ok && left > 0; left -= static_cast<off_t>(kChunk)) {
    const size_t part = std::min<size_t>(kChunk, static_cast<size_t>(left));
    ok = write(fd, chunk.data(), part) == static_cast<ssize_t>(part);
  }
  if (flush && fdatasync(fd) != 0) ok = false;
  if (close(fd) != 0) ok = false;
  const std::string path = dir + "/" + name;
  return ok && syscall(SYS_renameat2, AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(),
                       RENAME_NOREPLACE) == 0;
}

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
  const bool flush = !(argc > 1 && std::strcmp(argv[1], "--no-flush") == 0);
  if (!flush) {
    --argc;
    ++argv;
  }
  if (argc != 4) {
    std::fprintf(stderr,
                 "usage: torvane-syscall-floor [--no-flush] SCRIPTS_DIR CAMPAIGN_DIR OUT_DIR\n");
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
  for (const Script& script : scripts) {
    const std::string dir = script.dir.empty() ? out : out + "/" + script.dir;
    if (dir != listed) {
      Entries(dir);  // the listing of the case-insensitive lookup
      listed = dir;
    }
    if (!WriteScript(dir, script.name, script.size, chunk, flush)) return 1;
  }
  return 0;
}
