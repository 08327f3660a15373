// The file system held in memory.
#include "platform/memory_file_system.h"

#include <cerrno>
#include <cstring>

#include "platform/ascii_text.h"
#include "platform/path_text.h"

namespace torvane {

namespace {

// The key of a path text: its host form, without "./" before it or a
// separator after it; "" is the working directory.
std::string Key(std::string_view path) {
  std::string key = HostPathFromText(path);
  while (key.starts_with("./")) key.erase(0, 2);
  while (key.size() > 1 && key.back() == '/') key.pop_back();
  if (key == ".") key.clear();
  return key;
}

// A key's directory ("" for the working directory, "/" for the root) and
// its name.
struct SplitKey {
  std::string dir;
  std::string name;
};
SplitKey Split(const std::string& key) {
  const size_t slash = key.rfind('/');
  if (slash == std::string::npos) return {"", key};
  return {slash == 0 ? "/" : key.substr(0, slash), key.substr(slash + 1)};
}
std::string Join(const std::string& dir, std::string_view name) {
  if (dir.empty()) return std::string(name);
  return (dir == "/" ? dir : dir + "/") + std::string(name);
}
// What every key below the directory `dir` starts with.
std::string PrefixBelow(const std::string& dir) {
  return dir.empty() || dir == "/" ? dir : dir + "/";
}

std::string Reason(int error) { return std::strerror(error); }

}  // namespace

class MemoryInputFile final : public InputFile {
 public:
  MemoryInputFile(MemoryFileSystem& fs, std::string key,
                  std::shared_ptr<const MemoryFileSystem::Inode> inode)
      : fs_(fs), key_(std::move(key)), inode_(std::move(inode)) {
    ++fs_.open_files_;
  }
  ~MemoryInputFile() override { --fs_.open_files_; }

  std::optional<std::uint64_t> Size() override {
    if (fs_.Refused(FileOp::kSize, "size", key_)) return std::nullopt;
    return fs_.ReportedSize(key_, inode_->bytes.size());
  }

  std::optional<std::string> ReadRaw(std::uint64_t limit) override {
    if (fs_.Refused(FileOp::kRead, "read", key_)) return std::nullopt;
    return inode_->bytes.substr(0, limit < inode_->bytes.size() ? limit : inode_->bytes.size());
  }

 private:
  MemoryFileSystem& fs_;
  std::string key_;
  std::shared_ptr<const MemoryFileSystem::Inode> inode_;
};

// A new file whose bytes are kept apart until it takes its name, as the
// host writes them under a temporary name.
class MemoryOutputFile final : public OutputFile {
 public:
  static constexpr size_t kFirstBuffer = 256 * 1024;

  MemoryOutputFile(MemoryFileSystem& fs, std::string key,
                   std::shared_ptr<MemoryFileSystem::Inode> inode, Replacing replacing)
      : OutputFile(fs.hand_over_at_),
        fs_(fs),
        key_(std::move(key)),
        inode_(std::move(inode)),
        replacing_(replacing) {
    ++fs_.open_files_;
    // Most scripts fit: a buffer given back by the file before is taken
    // again, rather than one grown, page by fresh page, for each script.
    if (fs.hand_over_at_ > 0) Pending().ReserveTotal(kFirstBuffer);
  }
  ~MemoryOutputFile() override {
    if (state_ == State::kOpen) --fs_.open_files_;
    if (state_ != State::kNamed) Remove();
  }

  SealResult Seal() override {
    if (state_ != State::kOpen) return SealResult::kFailed;
    --fs_.open_files_;
    const bool failed =
        fs_.Refused(FileOp::kSeal, "seal", key_) || (Pending().Size() > 0 && !HandOver());
    Pending().Release();
    if (failed || HasFailed()) {
      Remove();
      return failed ? SealResult::kFailed : SealResult::kIncomplete;
    }
    state_ = State::kSealed;
    return SealResult::kSealed;
  }

  NameResult TakeName() override {
    if (state_ == State::kNamed) return NameResult::kNamed;
    if (state_ != State::kDurable || fs_.Refused(FileOp::kName, "name", key_)) {
      Remove();
      return NameResult::kFailed;
    }
    if (fs_.Has(key_) && (replacing_ == Replacing::kNever || fs_.IsDirectory(key_))) {
      if (replacing_ == Replacing::kNever) return NameResult::kNameTaken;
      fs_.Refuse(Reason(EISDIR));
      Remove();
      return NameResult::kFailed;
    }
    fs_.unnamed_.erase(key_);
    fs_.AddName(key_, inode_);
    fs_.Named(key_);
    state_ = State::kNamed;
    return NameResult::kNamed;
  }

  // For MakeDurable: a sealed file is on disk now, or could not be made so.
  void Settle(bool durable) {
    if (state_ != State::kSealed) return;
    if (durable) inode_->durable = inode_->bytes.size();
    state_ = durable ? State::kDurable : State::kFailed;
  }

 protected:
  bool HandOver() override {
    const bool failed = fs_.Refused(FileOp::kWrite, "write", key_);
    if (!failed) inode_->bytes.append(Pending().Bytes());
    Pending().Clear();
    return !failed;
  }

 private:
  void Remove() {
    if (state_ == State::kRemoved) return;
    fs_.unnamed_.erase(key_);
    state_ = State::kRemoved;
  }

  MemoryFileSystem& fs_;
  std::string key_;
  std::shared_ptr<MemoryFileSystem::Inode> inode_;
  Replacing replacing_;
  enum class State { kOpen, kSealed, kDurable, kFailed, kNamed, kRemoved } state_ = State::kOpen;
};

void MemoryFileSystem::AddFile(std::string_view path, std::string bytes) {
  auto inode = std::make_shared<Inode>();
  inode->bytes = std::move(bytes);
  inode->durable = inode->bytes.size();
  AddName(Key(path), std::move(inode));
}

void MemoryFileSystem::AddDirectory(std::string_view path) {
  const std::string key = Key(path);
  if (!key.empty() && key != "/") AddName(key, nullptr);
}

bool MemoryFileSystem::Exists(std::string_view path) const { return IsFile(Key(path)); }

const std::string* MemoryFileSystem::FileBytes(std::string_view path) const {
  const auto found = entries_.find(Key(path));
  if (found == entries_.end() || found->second.file == nullptr) return nullptr;
  return &found->second.file->bytes;
}

std::optional<std::string> MemoryFileSystem::UnnamedBytes(std::string_view path) const {
  const auto found = unnamed_.find(Key(path));
  if (found == unnamed_.end()) return std::nullopt;
  return found->second->bytes;
}

std::vector<std::string> MemoryFileSystem::NamedByPrograms() const {
  std::vector<std::string> paths;
  for (const std::string& key : named_by_programs_) {
    if (IsFile(key)) paths.push_back(key);
  }
  return paths;
}

std::string MemoryFileSystem::KeyOf(std::string_view path) { return Key(path); }

std::shared_ptr<const MemoryFileSystem::Inode> MemoryFileSystem::FileAt(
    const std::string& key) const {
  const auto found = entries_.find(key);
  return found == entries_.end() ? nullptr : found->second.file;
}

MemoryFileSystem::Names MemoryFileSystem::CurrentNames() const {
  Names names;
  for (const auto& [key, entry] : entries_) {
    if (entry.file != nullptr) names.files.emplace(key, entry.file);
    if (entry.made) names.directories.insert(key);
  }
  return names;
}

bool MemoryFileSystem::Refuse(std::string reason) {
  failure_reason_ = std::move(reason);
  return false;
}

bool MemoryFileSystem::IsDirectory(const std::string& key) const {
  if (key.empty() || key == "/") return true;
  const auto found = entries_.find(key);
  return found != entries_.end() && found->second.IsDirectory();
}

bool MemoryFileSystem::IsFile(const std::string& key) const {
  const auto found = entries_.find(key);
  return found != entries_.end() && !found->second.IsDirectory();
}

std::vector<std::string> MemoryFileSystem::Children(const std::string& dir) const {
  const std::string prefix = PrefixBelow(dir);
  std::vector<std::string> names;
  auto it = entries_.lower_bound(prefix);
  while (it != entries_.end() && it->first.starts_with(prefix)) {
    const std::string_view rest = std::string_view(it->first).substr(prefix.size());
    const size_t slash = rest.find('/');
    if (slash == std::string_view::npos) {
      names.emplace_back(rest);
      ++it;
    } else {
      // Past everything below this child: "/" sorts just before "0".
      it = entries_.lower_bound(prefix + std::string(rest.substr(0, slash)) + '0');
    }
  }
  return names;
}

std::string MemoryFileSystem::Find(std::string_view path) const {
  const std::string key = Key(path);
  if (key.empty() || Has(key)) return key;
  // One component at a time, as the host looks names up.
  std::string found = key.starts_with('/') ? "/" : "";
  bool lookup = true;
  for (size_t start = found.size();;) {
    const size_t slash = key.find('/', start);
    const std::string part = key.substr(start, slash - start);
    std::string candidate = Join(found, part);
    if (lookup && !Has(candidate)) {
      lookup = false;
      // Names equal apart from case fold to one text, in byte order.
      const std::string folded = LowerAscii(candidate);
      for (auto it = by_folded_.lower_bound({folded, ""});
           it != by_folded_.end() && it->first == folded; ++it) {
        if (Split(it->second).dir == found) {
          candidate = it->second;
          lookup = true;
          break;
        }
      }
    }
    if (slash == std::string::npos) return candidate;
    found = std::move(candidate);
    start = slash + 1;
  }
}

std::string MemoryFileSystem::NewKey(std::string_view path) const {
  const SplitKey split = Split(Key(path));
  return Join(split.dir.empty() || split.dir == "/" ? split.dir : Find(split.dir), split.name);
}

MemoryFileSystem::Entry& MemoryFileSystem::MakeEntry(const std::string& key) {
  const auto [entry, made] = entries_.try_emplace(key);
  if (made) by_folded_.emplace(LowerAscii(key), key);
  return entry->second;
}

void MemoryFileSystem::DropEntry(std::map<std::string, Entry>::iterator entry) {
  by_folded_.erase({LowerAscii(entry->first), entry->first});
  entries_.erase(entry);
}

void MemoryFileSystem::AddName(const std::string& key, std::shared_ptr<Inode> file) {
  Entry& entry = MakeEntry(key);
  const bool had_name = entry.file != nullptr || entry.made;
  if (file != nullptr) {
    entry.file = std::move(file);
  } else {
    entry.made = true;
  }
  if (had_name) return;
  for (size_t slash = key.find('/', 1); slash != std::string::npos;
       slash = key.find('/', slash + 1)) {
    ++MakeEntry(key.substr(0, slash)).below;
  }
}

void MemoryFileSystem::RemoveName(const std::string& key) {
  const auto found = entries_.find(key);
  if (found == entries_.end() || (found->second.file == nullptr && !found->second.made)) return;
  found->second.file = nullptr;
  found->second.made = false;
  if (found->second.below == 0) DropEntry(found);
  for (size_t slash = key.find('/', 1); slash != std::string::npos;
       slash = key.find('/', slash + 1)) {
    const auto above = entries_.find(key.substr(0, slash));
    if (--above->second.below == 0 && !above->second.made) DropEntry(above);
  }
}

void MemoryFileSystem::Named(const std::string& key) {
  named_by_programs_.insert(key);
  NamesChanged();
}

std::unique_ptr<InputFile> MemoryFileSystem::OpenForReading(std::string_view path) {
  if (Refused(FileOp::kOpen, "open", Key(path))) return nullptr;
  const std::string key = Find(path);
  const auto found = entries_.find(key);
  if (found == entries_.end() || found->second.file == nullptr) {
    Refuse(Reason(IsDirectory(key) ? EISDIR : ENOENT));
    return nullptr;
  }
  if (opened_) opened_(key);
  return std::make_unique<MemoryInputFile>(*this, key, found->second.file);
}

std::unique_ptr<OutputFile> MemoryFileSystem::CreateForWriting(std::string_view path,
                                                               Replacing replacing) {
  const std::string key = NewKey(path);
  if (Refused(FileOp::kCreate, "create", key)) return nullptr;
  if (!IsDirectory(Split(key).dir)) {
    Refuse(Reason(ENOENT));
    return nullptr;
  }
  if (unnamed_.contains(key) || IsDirectory(key) || (replacing == Replacing::kNever && Has(key))) {
    Refuse(Reason(IsDirectory(key) ? EISDIR : EEXIST));
    return nullptr;
  }
  auto inode = std::make_shared<Inode>();
  unnamed_[key] = inode;
  return std::make_unique<MemoryOutputFile>(*this, key, std::move(inode), replacing);
}

void MemoryFileSystem::MakeDurable(std::span<OutputFile* const> sealed) {
  const bool failed = Refused(FileOp::kFlush, "flush", "");
  for (OutputFile* file : sealed) {
    if (auto* ours = dynamic_cast<MemoryOutputFile*>(file)) ours->Settle(!failed);
  }
  if (!failed) Flushed();
}

bool MemoryFileSystem::FileExists(std::string_view path) {
  if (Refused(FileOp::kExists, "exists", Key(path))) return false;
  return IsFile(Find(path));
}

RemoveResult MemoryFileSystem::Remove(std::string_view path) {
  if (Refused(FileOp::kRemove, "remove", Key(path))) return RemoveResult::kFailed;
  const std::string key = Find(path);
  // As unlink() refuses a directory.
  if (IsDirectory(key)) {
    Refuse(Reason(EISDIR));
    return RemoveResult::kFailed;
  }
  if (!Has(key)) return RemoveResult::kNotFound;
  RemoveName(key);
  NamesChanged();
  return RemoveResult::kRemoved;
}

RenameResult MemoryFileSystem::RenameReplacing(std::string_view from, std::string_view to) {
  if (Refused(FileOp::kRename, "rename", Key(from) + " " + Key(to))) return RenameResult::kFailed;
  const std::string key_from = Find(from);
  if (!IsFile(key_from)) return RenameResult::kNotFound;
  const std::string key_to = NewKey(to);
  const std::string existing = Find(key_to);
  if (IsDirectory(existing)) {
    Refuse(Reason(EISDIR));
    return RenameResult::kFailed;
  }
  // A file of the name in another case goes: the moved one takes the name
  // as written.
  std::shared_ptr<Inode> inode = entries_.at(key_from).file;
  RemoveName(key_from);
  if (existing != key_to && IsFile(existing)) RemoveName(existing);
  AddName(key_to, std::move(inode));
  Named(key_to);
  return RenameResult::kRenamed;
}

RenameResult MemoryFileSystem::RenameNoReplace(std::string_view from, std::string_view to) {
  if (Refused(FileOp::kRename, "rename", Key(from) + " " + Key(to))) return RenameResult::kFailed;
  const std::string key_from = Find(from);
  if (!IsFile(key_from)) return RenameResult::kNotFound;
  const std::string key_to = NewKey(to);
  if (Has(key_to)) return RenameResult::kNameTaken;
  std::shared_ptr<Inode> inode = entries_.at(key_from).file;
  RemoveName(key_from);
  AddName(key_to, std::move(inode));
  Named(key_to);
  return RenameResult::kRenamed;
}

// A directory's identity is the key its path finds.
std::optional<std::string> MemoryFileSystem::DirectoryIdentity(std::string_view path) {
  const std::string key = Find(path);
  if (!IsDirectory(key)) return std::nullopt;
  return key;
}

bool MemoryFileSystem::DirectoryExists(std::string_view path) {
  if (Refused(FileOp::kExists, "exists", Key(path))) return false;
  return IsDirectory(Find(path));
}

std::optional<std::vector<std::string>> MemoryFileSystem::ListDirectory(std::string_view path) {
  if (Refused(FileOp::kList, "list", Key(path))) return std::nullopt;
  const std::string dir = Find(path);
  if (!IsDirectory(dir)) {
    Refuse(Reason(ENOTDIR));
    return std::nullopt;
  }
  return Children(dir);
}

std::optional<std::string> MemoryFileSystem::FoundName(std::string_view path) {
  if (Refused(FileOp::kExists, "find", Key(path))) return std::nullopt;
  const std::string key = Find(path);
  if (!Has(key)) return std::nullopt;
  return Split(key).name;
}

bool MemoryFileSystem::MakeDirectory(std::string_view path) {
  const std::string key = NewKey(path);
  if (Refused(FileOp::kMakeDirectory, "mkdir", key)) return false;
  if (Has(key) || key.empty() || key == "/") return Refuse(Reason(EEXIST));
  if (!IsDirectory(Split(key).dir)) return Refuse(Reason(ENOENT));
  AddName(key, nullptr);
  NamesChanged();
  return true;
}

bool MemoryFileSystem::RemoveEmptyDirectory(std::string_view path) {
  if (Refused(FileOp::kRemoveDirectory, "rmdir", Key(path))) return false;
  const std::string key = Find(path);
  if (!Has(key) || !IsDirectory(key)) return Refuse(Reason(ENOTDIR));
  if (entries_.at(key).below > 0) return Refuse(Reason(ENOTEMPTY));
  RemoveName(key);
  NamesChanged();
  return true;
}

bool MemoryFileSystem::RenameDirectory(std::string_view from, std::string_view to) {
  if (Refused(FileOp::kRename, "rename", Key(from) + " " + Key(to))) return false;
  const std::string key_from = Find(from);
  if (!Has(key_from) || !IsDirectory(key_from)) return Refuse(Reason(ENOTDIR));
  const std::string key_to = NewKey(to);
  if (Has(key_to)) return Refuse(Reason(EEXIST));
  if (!IsDirectory(Split(key_to).dir)) return Refuse(Reason(ENOENT));
  // Every name at or below the directory moves.
  std::vector<std::pair<std::string, std::shared_ptr<Inode>>> moved;
  const std::string prefix = PrefixBelow(key_from);
  for (auto it = entries_.lower_bound(key_from); it != entries_.end(); ++it) {
    if (it->first != key_from && !it->first.starts_with(prefix)) {
      if (it->first > prefix) break;
      continue;
    }
    if (it->second.file != nullptr || it->second.made)
      moved.emplace_back(it->first, it->second.file);
  }
  for (const auto& [key, file] : moved) RemoveName(key);
  AddName(key_to, nullptr);
  for (auto& [key, file] : moved) {
    const std::string new_key = key_to + key.substr(key_from.size());
    if (file != nullptr) named_by_programs_.insert(new_key);
    AddName(new_key, std::move(file));
  }
  NamesChanged();
  return true;
}

bool MemoryFileSystem::SameFile(std::string_view a, std::string_view b) {
  if (Refused(FileOp::kExists, "same", Key(a) + " " + Key(b))) return false;
  const std::string key_a = Find(a);
  return key_a == Find(b) && (Has(key_a) || IsDirectory(key_a));
}

}  // namespace torvane
