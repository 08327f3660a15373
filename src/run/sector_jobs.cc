// Grouping the sectors of a run and converting the groups side by side.
#include "run/sector_jobs.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <numeric>
#include <optional>
#include <system_error>
#include <thread>

#include "platform/ascii_text.h"
#include "platform/path_text.h"
#include "platform/random_source.h"
#include "script/error_report.h"
#include "script/script_file.h"
#include "sector/run_context.h"
#include "sector/sector_conversion.h"

namespace torvane {

namespace {

// The directory a path text names a file in, as a path text of its own.
std::string DirectoryText(std::string_view file_path) {
  const WindowsPath parts = SplitWindowsPath(file_path);
  std::string dir = parts.drive + parts.dir;
  if (dir.ends_with(':')) dir += '.';  // the drive's current directory
  return dir;
}

// The names of a job's scripts without their extension, lower-cased: its
// backups take the same names. Nothing when a name could be the same file as
// names unlike it.
std::optional<std::vector<std::string>> ScriptStems(const SectorJob& job,
                                                    const SectorPaths& paths) {
  const auto doubtful = [](char c) { return static_cast<unsigned char>(c) >= 0x80 || c == '~'; };
  if (std::any_of(paths.name.begin(), paths.name.end(), doubtful)) return std::nullopt;
  const std::string name = LowerAscii(paths.name);
  std::vector<std::string> stems = {name};
  for (int subsector = 0; subsector < kSubsectorCount; ++subsector) {
    if (job.options.subsectors[subsector] != 0) {
      stems.push_back(name + static_cast<char>('a' + subsector));
    }
  }
  return stems;
}

class JobGroups {
 public:
  explicit JobGroups(size_t count) : parent_(count) {
    std::iota(parent_.begin(), parent_.end(), size_t{0});
  }
  size_t Find(size_t job) {
    while (parent_[job] != job) job = parent_[job] = parent_[parent_[job]];
    return job;
  }
  void Join(size_t a, size_t b) {
    a = Find(a);
    b = Find(b);
    if (a != b) parent_[std::max(a, b)] = std::min(a, b);
  }

 private:
  std::vector<size_t> parent_;
};

void ConvertJob(SectorJob& job, std::uint32_t stream, const RunSetup& setup,
                ScriptFileSystem& file_system, OrderedMessages& messages) {
  ErrorLog errors([&](std::string_view text) { messages.Write(job.slot, Channel::kErrors, text); });
  RunContext run{.options = job.options,
                 .errors = errors,
                 .fileSystem = file_system,
                 .random = RandomSource(StreamSeed(setup.seed, stream))};
  if (!ConvertSector(run, job.argument)) errors.CountError();
  job.errors = errors.ErrorCount();
  messages.Finish(job.slot);
}

}  // namespace

std::vector<std::vector<size_t>> GroupSectorJobs(std::span<const SectorJob> jobs,
                                                 ScriptFileSystem& file_system) {
  JobGroups groups(jobs.size());
  std::optional<size_t> doubtful;  // the first job that could meet any
  std::map<std::string, size_t> stem_owners;
  std::map<std::string, std::vector<size_t>> writers;  // by directory identity
  std::map<std::string, std::vector<size_t>> readers;
  for (size_t i = 0; i < jobs.size(); ++i) {
    const SectorPaths paths = BuildSectorPaths(jobs[i].argument);
    const std::optional<std::vector<std::string>> stems = ScriptStems(jobs[i], paths);
    if (!stems) {
      if (doubtful) groups.Join(*doubtful, i);
      doubtful = i;
    } else {
      for (const std::string& stem : *stems) {
        const auto [owner, added] = stem_owners.try_emplace(stem, i);
        if (!added) groups.Join(owner->second, i);
      }
    }
    const std::string output_dir = DirectoryText(
        FinalScriptPath(paths.sectorScript, jobs[i].options.outputDir.value_or(std::string())));
    if (auto id = file_system.DirectoryIdentity(output_dir)) writers[*id].push_back(i);
    if (auto id = file_system.DirectoryIdentity(paths.drive + paths.sectorDir + "map")) {
      readers[*id].push_back(i);
    }
  }
  if (doubtful) {
    for (size_t i = 0; i < jobs.size(); ++i) groups.Join(*doubtful, i);
  }
  for (const auto& [id, writing] : writers) {
    const auto reading = readers.find(id);
    if (reading == readers.end()) continue;
    for (size_t reader : reading->second) groups.Join(writing.front(), reader);
    for (size_t writer : writing) groups.Join(writing.front(), writer);
  }

  std::vector<std::vector<size_t>> grouped;
  std::map<size_t, size_t> group_of_root;
  for (size_t i = 0; i < jobs.size(); ++i) {
    const auto [found, added] = group_of_root.try_emplace(groups.Find(i), grouped.size());
    if (added) grouped.emplace_back();
    grouped[found->second].push_back(i);
  }
  return grouped;
}

void ConvertSectorJobs(std::span<SectorJob> jobs, const RunSetup& setup,
                       ScriptFileSystem& file_system, OrderedMessages& messages) {
  if (jobs.empty()) return;
  const bool side_by_side = setup.threads > 1 && jobs.size() > 1;
  std::vector<std::vector<size_t>> groups;
  if (side_by_side) {
    groups = GroupSectorJobs(jobs, file_system);
  } else {
    groups.emplace_back(jobs.size());
    std::iota(groups.front().begin(), groups.front().end(), size_t{0});
  }

  std::atomic<size_t> next_group = 0;
  const auto convert_groups = [&] {
    for (size_t group; (group = next_group++) < groups.size();) {
      for (size_t job : groups[group]) {
        ConvertJob(jobs[job], static_cast<std::uint32_t>(job), setup, file_system, messages);
      }
    }
  };
  // Joined on every way out, as std::jthread would be (not every library
  // has it yet).
  struct Helpers : std::vector<std::thread> {
    ~Helpers() {
      for (std::thread& helper : *this) helper.join();
    }
  } helpers;
  const size_t helper_count = std::min<size_t>(std::max(setup.threads, 1u), groups.size()) - 1;
  for (size_t i = 0; i < helper_count; ++i) {
    try {
      helpers.emplace_back(convert_groups);
    } catch (const std::system_error&) {
      break;  // no more threads to be had: those started and this one do it all
    }
  }
  convert_groups();
}

}  // namespace torvane
