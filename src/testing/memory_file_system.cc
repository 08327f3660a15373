// The in-memory file system of the tests.
#include "testing/memory_file_system.h"

#include "platform/ascii_text.h"
#include "platform/path_text.h"

namespace torvane_test {

namespace {

// The key of a path text, without a separator at its end.
std::string Key(std::string_view path) {
  std::string key = torvane::HostPathFromText(path);
  while (key.size() > 1 && key.back() == '/') key.pop_back();
  return key;
}

// The key's directory part without its final "/", and its name.
std::string ParentOf(const std::string& key) {
  const size_t slash = key.rfind('/');
  return slash == std::string::npos ? std::string() : key.substr(0, slash);
}
std::string NameOf(const std::string& key) { return key.substr(key.rfind('/') + 1); }

bool IsBelow(const std::string& key, const std::string& dir) {
  return key.size() > dir.size() + 1 && key.starts_with(dir) && key[dir.size()] == '/';
}

}  // namespace

class MemoryInputFile final : public torvane::InputFile {
 public:
  MemoryInputFile(MemoryFileSystem& fs, std::string key) : fs_(fs), key_(std::move(key)) {
    ++fs_.open_files_;
  }
  ~MemoryInputFile() override { --fs_.open_files_; }

  std::optional<std::uint64_t> Size() override {
    if (fs_.Attempt(FileOp::kSize, "size", key_)) return std::nullopt;
    const auto reported = fs_.reported_sizes_.find(key_);
    if (reported != fs_.reported_sizes_.end()) return reported->second;
    return fs_.BytesAt(key_).size();
  }

  std::optional<std::string> ReadRaw(std::uint64_t limit) override {
    if (fs_.Attempt(FileOp::kRead, "read", key_)) return std::nullopt;
    const std::string& bytes = fs_.BytesAt(key_);
    return bytes.substr(0, limit < bytes.size() ? limit : bytes.size());
  }

 private:
  MemoryFileSystem& fs_;
  std::string key_;
};

// A new file whose bytes are kept apart until it takes its name, as the
// host writes them under a temporary name.
class MemoryOutputFile final : public torvane::OutputFile {
 public:
  // Every write is one operation, handed over as soon as it is made.
  MemoryOutputFile(MemoryFileSystem& fs, std::string key, int inode, torvane::Replacing replacing)
      : OutputFile(0), fs_(fs), key_(std::move(key)), inode_(inode), replacing_(replacing) {
    ++fs_.open_files_;
  }
  ~MemoryOutputFile() override {
    if (state_ == State::kOpen) --fs_.open_files_;
    if (state_ != State::kNamed) Remove();
  }

  torvane::SealResult Seal() override {
    if (state_ != State::kOpen) return torvane::SealResult::kFailed;
    --fs_.open_files_;
    const bool failed = fs_.Attempt(FileOp::kSeal, "seal", key_);
    if (failed || HasFailed()) {
      Remove();
      return failed ? torvane::SealResult::kFailed : torvane::SealResult::kIncomplete;
    }
    state_ = State::kSealed;
    return torvane::SealResult::kSealed;
  }

  torvane::NameResult TakeName() override {
    if (state_ == State::kNamed) return torvane::NameResult::kNamed;
    if (state_ != State::kDurable || fs_.Attempt(FileOp::kName, "name", key_)) {
      Remove();
      return torvane::NameResult::kFailed;
    }
    if (fs_.Entries().contains(key_) &&
        (replacing_ == torvane::Replacing::kNever || fs_.IsDirectory(key_))) {
      if (replacing_ == torvane::Replacing::kNever) return torvane::NameResult::kNameTaken;
      Remove();
      return torvane::NameResult::kFailed;
    }
    fs_.names_.files[key_] = inode_;
    fs_.unnamed_.erase(key_);
    fs_.Changed();
    state_ = State::kNamed;
    return torvane::NameResult::kNamed;
  }

  // For MakeDurable: a sealed file is on disk now, or could not be made so.
  void Settle(bool durable) {
    if (state_ != State::kSealed) return;
    if (durable) fs_.inodes_[inode_].durable = fs_.inodes_[inode_].bytes.size();
    state_ = durable ? State::kDurable : State::kFailed;
  }

 protected:
  bool HandOver() override {
    const bool failed = fs_.Attempt(FileOp::kWrite, "write", key_);
    if (!failed) fs_.inodes_[inode_].bytes.append(Pending().Bytes());
    Pending().Clear();
    return !failed;
  }

 private:
  void Remove() {
    if (state_ == State::kRemoved) return;
    fs_.unnamed_.erase(key_);
    fs_.inodes_.erase(inode_);
    state_ = State::kRemoved;
  }

  MemoryFileSystem& fs_;
  std::string key_;
  int inode_;
  torvane::Replacing replacing_;
  enum class State { kOpen, kSealed, kDurable, kFailed, kNamed, kRemoved } state_ = State::kOpen;
};

MemoryFileSystem::MemoryFileSystem(const DiskState& state) {
  for (const auto& [key, bytes] : state.files) AddFile(key, bytes);
  for (const std::string& key : state.directories) AddDirectory(key);
}

void MemoryFileSystem::AddFile(std::string_view path, std::string bytes) {
  const std::string key = torvane::HostPathFromText(path);
  const int inode = next_inode_++;
  inodes_[inode] = {std::move(bytes), 0};
  inodes_[inode].durable = inodes_[inode].bytes.size();
  names_.files[key] = inode;
  durable_names_.files[key] = inode;
  for (Names& names : journal_) names.files[key] = inode;
}

void MemoryFileSystem::AddDirectory(std::string_view path) {
  const std::string key = torvane::HostPathFromText(path);
  names_.directories.insert(key);
  durable_names_.directories.insert(key);
  for (Names& names : journal_) names.directories.insert(key);
}

void MemoryFileSystem::SetReportedSize(std::string_view path, std::uint64_t size) {
  reported_sizes_[torvane::HostPathFromText(path)] = size;
}

bool MemoryFileSystem::Exists(std::string_view path) const {
  return names_.files.contains(torvane::HostPathFromText(path));
}

std::optional<std::string> MemoryFileSystem::UnnamedBytes(std::string_view path) const {
  const auto found = unnamed_.find(torvane::HostPathFromText(path));
  if (found == unnamed_.end()) return std::nullopt;
  return inodes_.at(found->second).bytes;
}

std::optional<std::string> MemoryFileSystem::FileBytes(std::string_view path) const {
  const auto found = names_.files.find(torvane::HostPathFromText(path));
  if (found == names_.files.end()) return std::nullopt;
  return inodes_.at(found->second).bytes;
}

DiskState MemoryFileSystem::State() const {
  DiskState state{.files = {}, .directories = names_.directories};
  for (const auto& [key, inode] : names_.files) state.files[key] = inodes_.at(inode).bytes;
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
      for (const auto& [key, number] : names->files) {
        const Inode& inode = inodes_.at(number);
        const size_t fresh = inode.bytes.size() - inode.durable;
        const size_t size = kept == Kept::kAll    ? inode.bytes.size()
                            : kept == Kept::kHalf ? inode.durable + fresh / 2
                                                  : inode.durable;
        state.files[key] = inode.bytes.substr(0, size);
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

bool MemoryFileSystem::Attempt(FileOp kind, const std::string& what, const std::string& path) {
  if (before_each_) before_each_();
  for (size_t i = 0; i < actions_.size(); ++i) {
    Action& action = actions_[i];
    if (action.kind != kind && action.kind != FileOp::kAny) continue;
    // The action may add actions of its own.
    if (action.remaining-- == 0) std::function<void()>(action.action)();
  }
  log_.push_back(what + " " + path);
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

bool MemoryFileSystem::Refuse(std::string reason) {
  failure_reason_ = std::move(reason);
  return false;
}

const std::string& MemoryFileSystem::BytesAt(const std::string& key) const {
  return inodes_.at(names_.files.at(key)).bytes;
}

std::set<std::string> MemoryFileSystem::Entries() const {
  std::set<std::string> entries(names_.directories);
  for (const auto& file : names_.files) entries.insert(file.first);
  for (const std::string& entry : std::set<std::string>(entries)) {
    for (size_t slash = entry.find('/', 1); slash != std::string::npos;
         slash = entry.find('/', slash + 1)) {
      entries.insert(entry.substr(0, slash));
    }
  }
  return entries;
}

bool MemoryFileSystem::IsDirectory(const std::string& key) const {
  return !names_.files.contains(key) && Entries().contains(key);
}

std::string MemoryFileSystem::Find(std::string_view path) const {
  const std::string key = Key(path);
  const std::set<std::string> entries = Entries();
  if (entries.contains(key)) return key;
  // One component at a time, as the host looks names up.
  std::string found = key.starts_with('/') ? "/" : "";
  bool lookup = true;
  for (size_t start = found.size();;) {
    const size_t slash = key.find('/', start);
    const std::string part = key.substr(start, slash - start);
    std::string candidate = found + part;
    if (lookup && !entries.contains(candidate)) {
      lookup = false;
      for (const std::string& entry : entries) {
        if (entry.size() == candidate.size() && entry.starts_with(found) &&
            torvane::EqualsIgnoringAsciiCase(std::string_view(entry).substr(found.size()), part)) {
          candidate = entry;
          lookup = true;
          break;
        }
      }
    }
    if (slash == std::string::npos) return candidate;
    found = candidate + "/";
    start = slash + 1;
  }
}

std::unique_ptr<torvane::InputFile> MemoryFileSystem::OpenForReading(std::string_view path) {
  const std::string key = torvane::HostPathFromText(path);
  if (Attempt(FileOp::kOpen, "open", key)) return nullptr;
  if (!names_.files.contains(key)) return nullptr;
  return std::make_unique<MemoryInputFile>(*this, key);
}

std::unique_ptr<torvane::OutputFile> MemoryFileSystem::CreateForWriting(
    std::string_view path, torvane::Replacing replacing) {
  const std::string key = torvane::HostPathFromText(path);
  if (Attempt(FileOp::kCreate, "create", key)) return nullptr;
  if (unnamed_.contains(key) || IsDirectory(key) ||
      (replacing == torvane::Replacing::kNever && Entries().contains(key))) {
    Refuse("exists");
    return nullptr;
  }
  const int inode = next_inode_++;
  inodes_[inode];
  unnamed_[key] = inode;
  return std::make_unique<MemoryOutputFile>(*this, key, inode, replacing);
}

void MemoryFileSystem::MakeDurable(std::span<torvane::OutputFile* const> sealed) {
  const bool failed = Attempt(FileOp::kFlush, "flush", "");
  for (torvane::OutputFile* file : sealed) {
    if (auto* ours = dynamic_cast<MemoryOutputFile*>(file)) ours->Settle(!failed);
  }
  if (failed) return;
  durable_names_ = names_;
  journal_.clear();
  ++disk_changes_;
}

bool MemoryFileSystem::FileExists(std::string_view path) {
  const std::string key = torvane::HostPathFromText(path);
  if (Attempt(FileOp::kExists, "exists", key)) return false;
  return names_.files.contains(key);
}

torvane::RemoveResult MemoryFileSystem::Remove(std::string_view path) {
  const std::string key = torvane::HostPathFromText(path);
  if (Attempt(FileOp::kRemove, "remove", key)) return torvane::RemoveResult::kFailed;
  // As unlink() refuses a directory.
  if (IsDirectory(key)) {
    Refuse("is a directory");
    return torvane::RemoveResult::kFailed;
  }
  if (names_.files.erase(key) == 0) return torvane::RemoveResult::kNotFound;
  Changed();
  return torvane::RemoveResult::kRemoved;
}

torvane::RenameResult MemoryFileSystem::RenameReplacing(std::string_view from,
                                                        std::string_view to) {
  const std::string key_from = torvane::HostPathFromText(from);
  const std::string key_to = torvane::HostPathFromText(to);
  if (Attempt(FileOp::kRename, "rename", key_from + " " + key_to)) {
    return torvane::RenameResult::kFailed;
  }
  const auto found = names_.files.find(key_from);
  if (found == names_.files.end()) return torvane::RenameResult::kNotFound;
  if (IsDirectory(key_to)) {
    Refuse("is a directory");
    return torvane::RenameResult::kFailed;
  }
  const int inode = found->second;
  names_.files.erase(found);
  names_.files[key_to] = inode;
  Changed();
  return torvane::RenameResult::kRenamed;
}

torvane::RenameResult MemoryFileSystem::RenameNoReplace(std::string_view from,
                                                        std::string_view to) {
  const std::string key_from = torvane::HostPathFromText(from);
  const std::string key_to = torvane::HostPathFromText(to);
  if (Attempt(FileOp::kRename, "rename", key_from + " " + key_to)) {
    return torvane::RenameResult::kFailed;
  }
  if (!names_.files.contains(key_from)) return torvane::RenameResult::kNotFound;
  if (Entries().contains(key_to)) return torvane::RenameResult::kNameTaken;
  names_.files[key_to] = names_.files[key_from];
  names_.files.erase(key_from);
  Changed();
  return torvane::RenameResult::kRenamed;
}

bool MemoryFileSystem::DirectoryExists(std::string_view path) {
  const std::string key = Find(path);
  if (Attempt(FileOp::kExists, "exists", key)) return false;
  return IsDirectory(key);
}

std::optional<std::vector<std::string>> MemoryFileSystem::ListDirectory(std::string_view path) {
  const std::string dir = Find(path);
  if (Attempt(FileOp::kList, "list", dir)) return std::nullopt;
  if (!IsDirectory(dir)) {
    Refuse("not a directory");
    return std::nullopt;
  }
  std::vector<std::string> names;
  for (const std::string& entry : Entries()) {
    if (IsBelow(entry, dir) && entry.find('/', dir.size() + 1) == std::string::npos) {
      names.push_back(NameOf(entry));
    }
  }
  return names;
}

std::optional<std::string> MemoryFileSystem::FoundName(std::string_view path) {
  const std::string key = Find(path);
  if (Attempt(FileOp::kExists, "find", key)) return std::nullopt;
  if (!Entries().contains(key)) return std::nullopt;
  return NameOf(key);
}

bool MemoryFileSystem::MakeDirectory(std::string_view path) {
  const std::string written = Key(path);
  const std::string parent = ParentOf(written).empty() ? "" : Find(ParentOf(written));
  const std::string key = parent.empty() ? written : parent + "/" + NameOf(written);
  if (Attempt(FileOp::kMakeDirectory, "mkdir", key)) return false;
  if (Entries().contains(Find(key))) return Refuse("exists");
  if (!parent.empty() && !IsDirectory(parent)) return Refuse("no such directory");
  names_.directories.insert(key);
  Changed();
  return true;
}

bool MemoryFileSystem::RemoveEmptyDirectory(std::string_view path) {
  const std::string key = Find(path);
  if (Attempt(FileOp::kRemoveDirectory, "rmdir", key)) return false;
  if (!IsDirectory(key)) return Refuse("not a directory");
  for (const std::string& entry : Entries()) {
    if (IsBelow(entry, key)) return Refuse("not empty");
  }
  names_.directories.erase(key);
  Changed();
  return true;
}

bool MemoryFileSystem::RenameDirectory(std::string_view from, std::string_view to) {
  const std::string key_from = Find(from);
  const std::string key_to = Key(to);
  if (Attempt(FileOp::kRename, "rename", key_from + " " + key_to)) return false;
  if (!IsDirectory(key_from)) return Refuse("not a directory");
  if (Entries().contains(Find(key_to))) return Refuse("exists");
  const auto moved = [&](const std::string& key) { return key_to + key.substr(key_from.size()); };
  Names names;
  for (const auto& [key, inode] : names_.files) {
    names.files[IsBelow(key, key_from) ? moved(key) : key] = inode;
  }
  for (const std::string& key : names_.directories) {
    names.directories.insert(key == key_from || IsBelow(key, key_from) ? moved(key) : key);
  }
  names.directories.insert(key_to);
  names_ = std::move(names);
  Changed();
  return true;
}

bool MemoryFileSystem::SameFile(std::string_view a, std::string_view b) {
  const std::string key_a = Find(a);
  const std::string key_b = Find(b);
  if (Attempt(FileOp::kExists, "same", key_a + " " + key_b)) return false;
  return key_a == key_b && Entries().contains(key_a);
}

// A directory's identity is the key its path finds.
std::optional<std::string> MemoryFileSystem::DirectoryIdentity(std::string_view path) {
  const std::string key = Find(path);
  if (!IsDirectory(key)) return std::nullopt;
  return key;
}

}  // namespace torvane_test
