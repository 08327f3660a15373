// The flushes a set of files shares.
#include "platform/shared_flushes.h"

#include <map>

namespace torvane {

std::vector<size_t> SharedFlushes(std::span<const FlushCandidate> files) {
  std::map<std::uint64_t, size_t> last_on_volume;
  for (size_t i = 0; i < files.size(); ++i) {
    if (files[i].shared) last_on_volume[files[i].volume] = i;
  }
  std::vector<size_t> flushed_by(files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    flushed_by[i] = files[i].shared ? last_on_volume[files[i].volume] : i;
  }
  return flushed_by;
}

}  // namespace torvane
