// Files on one volume share the flush of the last of them; a file that
// cannot share is flushed on its own.
#include "platform/shared_flushes.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

TEST(SharedFlushes, EachVolumeIsFlushedOnceByItsLastFile) {
  const FlushCandidate files[] = {{true, 7}, {true, 9}, {false, 7},
                                  {true, 7}, {true, 9}, {false, 9}};
  EXPECT_EQ(SharedFlushes(files), (std::vector<size_t>{3, 4, 2, 3, 4, 5}));
  EXPECT_EQ(SharedFlushes({}), std::vector<size_t>{});
}

}  // namespace
}  // namespace torvane
