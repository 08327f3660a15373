// The sectors of one command line as units of work: each converted with the
// options in effect where it was named, side by side on as many threads as
// the run may use, while sectors that could touch each other's files keep
// the command line's order.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "draw/map_options.h"
#include "platform/file_system.h"
#include "run/ordered_messages.h"

namespace torvane {

// How a run converts its sectors: the seed its sectors' random streams come
// from, how many threads it may use, and whether each sector's scripts are
// committed on a thread of their own while the next sectors are converted.
// More than one thread, or committing aside, needs a file system that may
// be used from several threads at once, as the host's may.
struct RunSetup {
  std::uint32_t seed = 0;
  unsigned threads = 1;
  bool commitAside = false;
};

struct SectorJob {
  std::string argument;
  MapOptions options;  // as the command line stood where the sector was named
  size_t slot = 0;     // where its messages stand among the run's
  int errors = 0;      // counted while converting it
};

// The jobs in groups, each in command-line order, the groups in the order of
// their first jobs. Two jobs share a group when they could meet: their
// scripts or backups could have one name (as the file system compares names,
// so a name outside ASCII or with "~" could meet any), or one writes into the
// directory the other reads its map files from.
std::vector<std::vector<size_t>> GroupSectorJobs(std::span<const SectorJob> jobs,
                                                 ScriptFileSystem& file_system);

// Converts every job, each sector's messages going to its slot, and counts
// each one's errors in it.
void ConvertSectorJobs(std::span<SectorJob> jobs, const RunSetup& setup,
                       ScriptFileSystem& file_system, OrderedMessages& messages);

}  // namespace torvane
