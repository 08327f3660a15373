// Grouping the sectors of a run and converting the groups side by side.
#include "run/sector_jobs.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <numeric>
#include <optional>
#include <system_error>
#include <thread>

#include "platform/ascii_text.h"
#include "platform/path_text.h"
#include "platform/random_source.h"
#include "run/script_committer.h"
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

// Whether each job's scripts have taken their names: a job that could meet
// an earlier one starts only once the earlier one's have.
class CommittedJobs {
 public:
  explicit CommittedJobs(size_t count) : committed_(count, false) {}
  void Done(size_t job) {
    {
      const std::lock_guard lock(mutex_);
      committed_[job] = true;
    }
    changed_.notify_all();
  }
  void WaitFor(size_t job) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return committed_[job]; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<bool> committed_;
};

// Converts the job's sector, then commits its scripts (on the committer's
// thread where there is one); its messages end and its errors are counted
// once they have taken their names.
void ConvertJob(SectorJob& job, size_t index, const RunSetup& setup, ScriptFileSystem& file_system,
                OrderedMessages& messages, ScriptCommitter* committer, CommittedJobs& committed) {
  // Kept until the commit is done, wherever that is.
  auto errors = std::make_shared<ErrorLog>([&messages, &job](std::string_view text) {
    messages.Write(job.slot, Channel::kErrors, text);
  });
  RunContext run{.options = job.options,
                 .errors = *errors,
                 .fileSystem = file_system,
                 .random = RandomSource(StreamSeed(setup.seed, static_cast<std::uint32_t>(index)))};
  ScriptCommit commit;
  if (!ConvertSector(run, job.argument, commit)) errors->CountError();
  auto done = [&job, errors, &messages, &committed, index] {
    job.errors = errors->ErrorCount();
    messages.Finish(job.slot);
    committed.Done(index);
  };
  if (committer != nullptr) {
    committer->Commit(std::move(commit), std::move(done));
  } else {
    commit.Commit();
    done();
  }
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
  const bool side_by_side = (setup.threads > 1 || setup.commitAside) && jobs.size() > 1;
  std::vector<std::vector<size_t>> groups;
  if (side_by_side) {
    groups = GroupSectorJobs(jobs, file_system);
  } else {
    groups.emplace_back(jobs.size());
    std::iota(groups.front().begin(), groups.front().end(), size_t{0});
  }

  CommittedJobs committed(jobs.size());
  // Outlives the threads that convert, and commits what they left waiting
  // before the run ends (and before `committed` goes).
  std::optional<ScriptCommitter> committer;
  if (setup.commitAside) committer.emplace(file_system);
  std::atomic<size_t> next_group = 0;
  const auto convert_groups = [&] {
    for (size_t group; (group = next_group++) < groups.size();) {
      const std::vector<size_t>& members = groups[group];
      for (size_t i = 0; i < members.size(); ++i) {
        if (i > 0) committed.WaitFor(members[i - 1]);
        ConvertJob(jobs[members[i]], members[i], setup, file_system, messages,
                   committer ? &*committer : nullptr, committed);
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
