// The in-memory file system of the tests.
#include "testing/memory_file_system.h"

#include "platform/path_text.h"

namespace torvane {

class MemoryInputFile final : public InputFile {
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

class MemoryOutputFile final : public OutputFile {
 public:
  // Every write is one operation, handed over as soon as it is made.
  MemoryOutputFile(MemoryFileSystem& fs, std::string key)
      : OutputFile(0), fs_(fs), key_(std::move(key)) {
    ++fs_.open_files_;
  }
  ~MemoryOutputFile() override {
    if (!closed_) --fs_.open_files_;
  }

  bool Close() override {
    if (closed_) return false;
    closed_ = true;
    --fs_.open_files_;
    return !fs_.Attempt(FileOp::kClose, "close", key_);
  }

 protected:
  bool HandOver() override {
    const bool failed = fs_.Attempt(FileOp::kWrite, "write", key_);
    if (!failed) fs_.files_[key_].append(Pending().Bytes());
    Pending().Clear();
    return !failed;
  }

 private:
  MemoryFileSystem& fs_;
  std::string key_;
  bool closed_ = false;
};

void MemoryFileSystem::AddFile(std::string_view path, std::string bytes) {
  files_[HostPathFromText(path)] = std::move(bytes);
}

void MemoryFileSystem::AddDirectory(std::string_view path) {
  directories_.insert(HostPathFromText(path));
}

void MemoryFileSystem::SetReportedSize(std::string_view path, std::uint64_t size) {
  reported_sizes_[HostPathFromText(path)] = size;
}

bool MemoryFileSystem::Exists(std::string_view path) const {
  return files_.contains(HostPathFromText(path));
}

std::optional<std::string> MemoryFileSystem::FileBytes(std::string_view path) const {
  const auto found = files_.find(HostPathFromText(path));
  if (found == files_.end()) return std::nullopt;
  return found->second;
}

void MemoryFileSystem::FailOperation(FileOp kind, int nth, bool persist) {
  failures_.push_back({kind, nth - 1, persist});
}

bool MemoryFileSystem::Attempt(FileOp kind, const std::string& what, const std::string& path) {
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
  return fail;
}

std::unique_ptr<InputFile> MemoryFileSystem::OpenForReading(std::string_view path) {
  const std::string key = HostPathFromText(path);
  if (Attempt(FileOp::kOpen, "open", key)) return nullptr;
  if (!files_.contains(key)) return nullptr;
  return std::make_unique<MemoryInputFile>(*this, key);
}

std::unique_ptr<OutputFile> MemoryFileSystem::CreateForWriting(std::string_view path) {
  const std::string key = HostPathFromText(path);
  if (Attempt(FileOp::kCreate, "create", key)) return nullptr;
  if (directories_.contains(key)) return nullptr;
  files_[key].clear();
  return std::make_unique<MemoryOutputFile>(*this, key);
}

bool MemoryFileSystem::FileExists(std::string_view path) {
  const std::string key = HostPathFromText(path);
  if (Attempt(FileOp::kExists, "exists", key)) return false;
  return files_.contains(key);
}

RemoveResult MemoryFileSystem::Remove(std::string_view path) {
  const std::string key = HostPathFromText(path);
  if (Attempt(FileOp::kRemove, "remove", key)) return RemoveResult::kFailed;
  return files_.erase(key) != 0 ? RemoveResult::kRemoved : RemoveResult::kNotFound;
}

bool MemoryFileSystem::Rename(std::string_view from, std::string_view to) {
  const std::string key_from = HostPathFromText(from);
  const std::string key_to = HostPathFromText(to);
  if (Attempt(FileOp::kRename, "rename", key_from + " " + key_to)) return false;
  const auto found = files_.find(key_from);
  if (found == files_.end()) return false;
  std::string bytes = std::move(found->second);
  files_.erase(found);
  files_[key_to] = std::move(bytes);
  return true;
}

}  // namespace torvane
