// torvane-syscall-floor: makes the system calls a conversion needs, with no
// formatting at all, to show how much of a conversion they are:
//   torvane-syscall-floor SCRIPTS_DIR CAMPAIGN_DIR OUT_DIR
// reads every file of CAMPAIGN_DIR/*/ and CAMPAIGN_DIR/*/map/ as the
// converter reads its inputs (open, fstat, pread, close), then for every
// script in SCRIPTS_DIR makes the four stats of the converter's backup and
// lookup checks and creates a file of the same size in OUT_DIR (which must
// exist), written 64 KiB at a time from a buffer that stays in cache, as the
// converter writes. The scripts' bytes are not copied: only their sizes
// count. Exits 1 on any failure.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
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
                 const std::string& chunk) {
  const std::string path = dir + "/" + name;
  struct stat info;
  stat(path.c_str(), &info);                 // the script as written
  stat(dir.c_str(), &info);                  // its directory's listing
  stat(dir.c_str(), &info);                  // the stamp before the create
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = stat(dir.c_str(), &info) == 0;  // the stamp after it
  for (off_t left = size; ok && left > 0; left -= static_cast<off_t>(kChunk)) {
    const size_t part = std::min<size_t>(kChunk, static_cast<size_t>(left));
    ok = write(fd, chunk.data(), part) == static_cast<ssize_t>(part);
  }
  return close(fd) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: torvane-syscall-floor SCRIPTS_DIR CAMPAIGN_DIR OUT_DIR\n");
    return 2;
  }
  const std::string scripts = argv[1];
  const std::string campaign = argv[2];
  const std::string out = argv[3];
  std::vector<std::pair<std::string, off_t>> sizes;
  for (const std::string& name : Entries(scripts)) {
    struct stat info;
    if (stat((scripts + "/" + name).c_str(), &info) != 0) return 1;
    sizes.emplace_back(name, info.st_size);
  }
  std::string buffer;
  for (const std::string& sector : Entries(campaign)) {
    const std::string dir = campaign + "/" + sector;
    for (const std::string& name : Entries(dir)) {
      if (name != "map" && !ReadInput(dir + "/" + name, buffer)) return 1;
    }
    for (const std::string& name : Entries(dir + "/map")) {
      if (!ReadInput(dir + "/map/" + name, buffer)) return 1;
    }
  }
  const std::string chunk(kChunk, 'x');
  for (const auto& [name, size] : sizes) {
    if (!WriteScript(out, name, size, chunk)) return 1;
  }
  return 0;
}
