// A small tmpfs mounted for one test, so that the disk under a script can be
// made to fill up while it is written. Mounting needs root (CAP_SYS_ADMIN);
// the mount is taken down when the object goes, however the test ended.
// Windows has no such mount: there the object is never mounted, and the
// tests that need it skip.
#pragma once

#ifdef _WIN32

#include <cstdint>
#include <filesystem>
#include <string>

namespace torvane_test {

class TmpfsMount {
 public:
  TmpfsMount(const std::filesystem::path&, const std::string&) {}
  TmpfsMount(const TmpfsMount&) = delete;
  TmpfsMount& operator=(const TmpfsMount&) = delete;

  bool mounted() const { return false; }
  std::string failure() const {
    return "no tmpfs on Windows: the disk under a script cannot be made to fill up";
  }
  std::uint64_t BlockSize() const { return 0; }
  std::uint64_t FreeBytes() const { return 0; }
  std::uint64_t Blocks(std::uint64_t bytes) const { return bytes; }
  void LeaveFree(std::uint64_t) const {}
};

}  // namespace torvane_test

#else

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

namespace torvane_test {

class TmpfsMount {
 public:
  // Mounts a tmpfs at `dir` (created when missing) with mount options such as
  // "size=2m" or "size=2m,nr_inodes=2". Check mounted() before using it.
  TmpfsMount(std::filesystem::path dir, const std::string& options) : dir_(std::move(dir)) {
    // In a mount namespace of the test process's own, a mount that a killed
    // test never took down goes with the process. Where none can be had, the
    // mount is made where the process stands.
    static const bool own_namespace [[maybe_unused]] =
        unshare(CLONE_NEWNS) == 0 &&
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    std::filesystem::create_directories(dir_);
    if (mount("tmpfs", dir_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0) {
      mounted_ = true;
    } else {
      failure_ = "cannot mount a tmpfs at " + dir_.string() + " (" + std::strerror(errno) +
                 "): these tests need root or CAP_SYS_ADMIN and a mount namespace that allows it";
    }
  }

  ~TmpfsMount() {
    if (!mounted_) return;
    // A lazy unmount still takes the file system away when something holds it open.
    if (umount(dir_.c_str()) != 0) umount2(dir_.c_str(), MNT_DETACH);
  }

  TmpfsMount(const TmpfsMount&) = delete;
  TmpfsMount& operator=(const TmpfsMount&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& failure() const { return failure_; }

  std::uint64_t BlockSize() const { return Stats().f_frsize; }
  std::uint64_t FreeBytes() const {
    const struct statvfs stats = Stats();
    return std::uint64_t{stats.f_bavail} * stats.f_frsize;
  }
  // `bytes` rounded up to whole blocks: what a file of that size takes.
  std::uint64_t Blocks(std::uint64_t bytes) const {
    const std::uint64_t block = BlockSize();
    return (bytes + block - 1) / block * block;
  }

  // Fills the file system with the file "filler" until only `keep` bytes
  // (rounded up to whole blocks) stay free.
  void LeaveFree(std::uint64_t keep) const {
    const std::uint64_t free = FreeBytes();
    keep = Blocks(keep);
    if (free <= keep) return;
    const int fd = open((dir_ / "filler").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    const std::string zeros(BlockSize(), '\0');
    for (std::uint64_t left = free - keep; left > 0; left -= zeros.size()) {
      if (write(fd, zeros.data(), zeros.size()) != static_cast<ssize_t>(zeros.size())) break;
    }
    close(fd);
  }

 private:
  struct statvfs Stats() const {
    struct statvfs stats {};
    statvfs(dir_.c_str(), &stats);
    return stats;
  }

  std::filesystem::path dir_;
  bool mounted_ = false;
  std::string failure_;
};

}  // namespace torvane_test

#endif  // _WIN32
