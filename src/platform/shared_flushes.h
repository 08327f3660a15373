// Which flush makes each of a set of files durable, when files whose bytes
// are already on their way to the disk can share one full flush per volume
// (or file system): that of the last of them, whose changes came after all
// of theirs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace torvane {

struct FlushCandidate {
  // Whether another file's flush can make this one durable as well.
  bool shared = false;
  // The volume or file system the file is on.
  std::uint64_t volume = 0;
};

// For each file, the index of the file whose flush makes it durable: the
// last file that may share on the same volume, or the file itself.
std::vector<size_t> SharedFlushes(std::span<const FlushCandidate> files);

}  // namespace torvane
