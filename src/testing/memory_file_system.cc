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
    return fs_.files_[key_].size();
  }

  std::optional<std::string> ReadRaw(std::uint64_t limit) override {
    if (fs_.Attempt(FileOp::kRead, "read", key_)) return std::nullopt;
    const std::string& bytes = fs_.files_[key_];
    return bytes.substr(0, limit < bytes.size() ? limit : bytes.size());
  }

 private:
  MemoryFileSystem& fs_;
  std::string key_;
};

// A new file whose bytes are kept apart until Close gives it its name, as
// the host writes them under a temporary name.
class MemoryOutputFile final : public torvane::OutputFile {
 public:
  // Every write is one operation, handed over as soon as it is made.
  MemoryOutputFile(MemoryFileSystem& fs, std::string key)
      : OutputFile(0), fs_(fs), key_(std::move(key)) {
    ++fs_.open_files_;
  }
  ~MemoryOutputFile() override {
    if (!closed_) --fs_.open_files_;
    fs_.unnamed_.erase(key_);
  }

  torvane::CloseResult Close() override {
    if (!closed_) {
      closed_ = true;
      --fs_.open_files_;
      const bool failed = fs_.Attempt(FileOp::kClose, "close", key_);
      if (failed || HasFailed()) {
        fs_.unnamed_.erase(key_);
        return failed ? torvane::CloseResult::kFailed : torvane::CloseResult::kClosed;
      }
    }
    if (!fs_.unnamed_.contains(key_)) return torvane::CloseResult::kClosed;  // named already
    if (fs_.Entries().contains(key_)) return torvane::CloseResult::kNameTaken;
    fs_.files_[key_] = std::move(fs_.unnamed_[key_]);
    fs_.unnamed_.erase(key_);
    return torvane::CloseResult::kClosed;
  }

 protected:
  bool HandOver() override {
    const bool failed = fs_.Attempt(FileOp::kWrite, "write", key_);
    if (!failed) fs_.unnamed_[key_].append(Pending().Bytes());
    Pending().Clear();
    return !failed;
  }

 private:
  MemoryFileSystem& fs_;
  std::string key_;
  bool closed_ = false;
};

void MemoryFileSystem::AddFile(std::string_view path, std::string bytes) {
  files_[torvane::HostPathFromText(path)] = std::move(bytes);
}

void MemoryFileSystem::AddDirectory(std::string_view path) {
  directories_.insert(torvane::HostPathFromText(path));
}

void MemoryFileSystem::SetReportedSize(std::string_view path, std::uint64_t size) {
  reported_sizes_[torvane::HostPathFromText(path)] = size;
}

bool MemoryFileSystem::Exists(std::string_view path) const {
  return files_.contains(torvane::HostPathFromText(path));
}

std::optional<std::string> MemoryFileSystem::UnnamedBytes(std::string_view path) const {
  const auto found = unnamed_.find(torvane::HostPathFromText(path));
  if (found == unnamed_.end()) return std::nullopt;
  return found->second;
}

std::optional<std::string> MemoryFileSystem::FileBytes(std::string_view path) const {
  const auto found = files_.find(torvane::HostPathFromText(path));
  if (found == files_.end()) return std::nullopt;
  return found->second;
}

void MemoryFileSystem::FailOperation(FileOp kind, int nth, bool persist) {
  failures_.push_back({kind, nth - 1, persist});
}

void MemoryFileSystem::DoBefore(FileOp kind, int nth, std::function<void()> action) {
  actions_.push_back({kind, nth - 1, std::move(action)});
}

bool MemoryFileSystem::Attempt(FileOp kind, const std::string& what, const std::string& path) {
  for (Action& action : actions_) {
    if (action.kind != kind && action.kind != FileOp::kAny) continue;
    if (action.remaining-- == 0) action.action();
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

std::set<std::string> MemoryFileSystem::Entries() const {
  std::set<std::string> entries(directories_);
  for (const auto& file : files_) entries.insert(file.first);
  for (const std::string& entry : std::set<std::string>(entries)) {
    for (size_t slash = entry.find('/', 1); slash != std::string::npos;
         slash = entry.find('/', slash + 1)) {
      entries.insert(entry.substr(0, slash));
    }
  }
  return entries;
}

bool MemoryFileSystem::IsDirectory(const std::string& key) const {
  return !files_.contains(key) && Entries().contains(key);
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
  if (!files_.contains(key)) return nullptr;
  return std::make_unique<MemoryInputFile>(*this, key);
}

std::unique_ptr<torvane::OutputFile> MemoryFileSystem::CreateForWriting(std::string_view path) {
  const std::string key = torvane::HostPathFromText(path);
  if (Attempt(FileOp::kCreate, "create", key)) return nullptr;
  if (Entries().contains(key) || unnamed_.contains(key)) {
    Refuse("exists");
    return nullptr;
  }
  unnamed_[key];
  return std::make_unique<MemoryOutputFile>(*this, key);
}

bool MemoryFileSystem::FileExists(std::string_view path) {
  const std::string key = torvane::HostPathFromText(path);
  if (Attempt(FileOp::kExists, "exists", key)) return false;
  return files_.contains(key);
}

torvane::RemoveResult MemoryFileSystem::Remove(std::string_view path) {
  const std::string key = torvane::HostPathFromText(path);
  if (Attempt(FileOp::kRemove, "remove", key)) return torvane::RemoveResult::kFailed;
  // As unlink() refuses a directory.
  if (IsDirectory(key)) {
    Refuse("is a directory");
    return torvane::RemoveResult::kFailed;
  }
  return files_.erase(key) != 0 ? torvane::RemoveResult::kRemoved
                                : torvane::RemoveResult::kNotFound;
}

bool MemoryFileSystem::Rename(std::string_view from, std::string_view to) {
  const std::string key_from = torvane::HostPathFromText(from);
  const std::string key_to = torvane::HostPathFromText(to);
  if (Attempt(FileOp::kRename, "rename", key_from + " " + key_to)) return false;
  const auto found = files_.find(key_from);
  if (found == files_.end()) return false;
  std::string bytes = std::move(found->second);
  files_.erase(found);
  files_[key_to] = std::move(bytes);
  return true;
}

torvane::RenameResult MemoryFileSystem::RenameNoReplace(std::string_view from,
                                                        std::string_view to) {
  const std::string key_from = torvane::HostPathFromText(from);
  const std::string key_to = torvane::HostPathFromText(to);
  if (Attempt(FileOp::kRename, "rename", key_from + " " + key_to))
    return torvane::RenameResult::kFailed;
  if (!files_.contains(key_from)) return torvane::RenameResult::kNotFound;
  if (Entries().contains(key_to)) return torvane::RenameResult::kNameTaken;
  files_[key_to] = std::move(files_[key_from]);
  files_.erase(key_from);
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
  directories_.insert(key);
  return true;
}

bool MemoryFileSystem::RemoveEmptyDirectory(std::string_view path) {
  const std::string key = Find(path);
  if (Attempt(FileOp::kRemoveDirectory, "rmdir", key)) return false;
  if (!IsDirectory(key)) return Refuse("not a directory");
  for (const std::string& entry : Entries()) {
    if (IsBelow(entry, key)) return Refuse("not empty");
  }
  directories_.erase(key);
  return true;
}

bool MemoryFileSystem::RenameDirectory(std::string_view from, std::string_view to) {
  const std::string key_from = Find(from);
  const std::string key_to = Key(to);
  if (Attempt(FileOp::kRename, "rename", key_from + " " + key_to)) return false;
  if (!IsDirectory(key_from)) return Refuse("not a directory");
  if (Entries().contains(Find(key_to))) return Refuse("exists");
  const auto moved = [&](const std::string& key) { return key_to + key.substr(key_from.size()); };
  std::map<std::string, std::string> files;
  for (auto& [key, bytes] : files_) files[IsBelow(key, key_from) ? moved(key) : key] = bytes;
  std::set<std::string> directories;
  for (const std::string& key : directories_) {
    directories.insert(key == key_from || IsBelow(key, key_from) ? moved(key) : key);
  }
  directories.insert(key_to);
  files_ = std::move(files);
  directories_ = std::move(directories);
  return true;
}

torvane::WriteResult MemoryFileSystem::WriteWholeFile(std::string_view path,
                                                      std::string_view bytes) {
  const std::string key = torvane::HostPathFromText(path);
  if (Attempt(FileOp::kCreate, "create", key)) return torvane::WriteResult::kNotCreated;
  if (IsDirectory(key) || (!ParentOf(key).empty() && !IsDirectory(ParentOf(key)))) {
    Refuse("cannot create");
    return torvane::WriteResult::kNotCreated;
  }
  files_[key].clear();
  if (Attempt(FileOp::kWrite, "write", key)) return torvane::WriteResult::kNotWritten;
  files_[key] = bytes;
  return torvane::WriteResult::kWritten;
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
