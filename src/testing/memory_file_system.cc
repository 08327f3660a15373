// The tests' file system.
#include "testing/memory_file_system.h"

namespace torvane_test {

MemoryFileSystem::MemoryFileSystem(const DiskState& state) : torvane::MemoryFileSystem(0) {
  for (const auto& [key, bytes] : state.files) AddFile(key, bytes);
  for (const std::string& key : state.directories) AddDirectory(key);
}

// Another program's files are on disk already: in every state a power cut
// could leave.
void MemoryFileSystem::AddFile(std::string_view path, std::string bytes) {
  torvane::MemoryFileSystem::AddFile(path, std::move(bytes));
  const std::string key = KeyOf(path);
  const std::shared_ptr<const Inode> file = FileAt(key);
  durable_names_.files[key] = file;
  for (Names& names : journal_) names.files[key] = file;
}

void MemoryFileSystem::AddDirectory(std::string_view path) {
  torvane::MemoryFileSystem::AddDirectory(path);
  const std::string key = KeyOf(path);
  durable_names_.directories.insert(key);
  for (Names& names : journal_) names.directories.insert(key);
}

void MemoryFileSystem::SetReportedSize(std::string_view path, std::uint64_t size) {
  reported_sizes_[KeyOf(path)] = size;
}

std::uint64_t MemoryFileSystem::ReportedSize(const std::string& path, std::uint64_t size) {
  const auto reported = reported_sizes_.find(path);
  return reported == reported_sizes_.end() ? size : reported->second;
}

std::optional<std::string> MemoryFileSystem::FileBytes(std::string_view path) const {
  const std::string* bytes = torvane::MemoryFileSystem::FileBytes(path);
  if (bytes == nullptr) return std::nullopt;
  return *bytes;
}

DiskState MemoryFileSystem::State() const {
  const Names names = CurrentNames();
  DiskState state{.files = {}, .directories = names.directories};
  for (const auto& [key, file] : names.files) state.files[key] = file->bytes;
  return state;
}

std::vector<DiskState> MemoryFileSystem::PowerCutStates() const {
  // How much of the bytes written since the last flush the disk kept.
  enum class Kept { kNone, kHalf, kAll };
  std::set<DiskState> states;
  std::vector<const Names*> kept_names = {&durable_names_};
  for (const Names& names : journal_) kept_names.push_back(&names);
  for (const Names* names : kept_names) {
    for (const Kept kept : {Kept::kNone, Kept::kHalf, Kept::kAll}) {
      DiskState state{.files = {}, .directories = names->directories};
      for (const auto& [key, inode] : names->files) {
        const size_t fresh = inode->bytes.size() - inode->durable;
        const size_t size = kept == Kept::kAll    ? inode->bytes.size()
                            : kept == Kept::kHalf ? inode->durable + fresh / 2
                                                  : inode->durable;
        state.files[key] = inode->bytes.substr(0, size);
      }
      states.insert(std::move(state));
    }
  }
  return {states.begin(), states.end()};
}

void MemoryFileSystem::FailOperation(FileOp kind, int nth, bool persist) {
  failures_.push_back({kind, nth - 1, persist});
}

void MemoryFileSystem::DoBefore(FileOp kind, int nth, std::function<void()> action) {
  actions_.push_back({kind, nth - 1, std::move(action)});
}

bool MemoryFileSystem::Refused(FileOp kind, std::string_view verb, const std::string& path) {
  if (before_each_) before_each_();
  for (size_t i = 0; i < actions_.size(); ++i) {
    Action& action = actions_[i];
    if (action.kind != kind && action.kind != FileOp::kAny) continue;
    // The action may add actions of its own.
    if (action.remaining-- == 0) std::function<void()>(action.action)();
  }
  log_.push_back(std::string(verb) + " " + path);
  bool fail = false;
  for (Failure& failure : failures_) {
    if (failure.kind != kind && failure.kind != FileOp::kAny) continue;
    if (failure.remaining > 0) {
      --failure.remaining;
    } else if (failure.remaining == 0) {
      fail = true;
      if (!failure.persist) failure.remaining = -1;
    }
  }
  if (fail) failure_reason_ = "made to fail";
  return fail;
}

}  // namespace torvane_test
