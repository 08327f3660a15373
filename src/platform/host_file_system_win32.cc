// The host's file system on Windows behind the file interface: path texts
// are native (the drive is real, "/" and "\" both separate, the file system
// itself ignores case), names go to the wide API as UTF-16, and only regular
// disk files are read or written, never a device.
#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/host_output_file.h"
#include "platform/path_text.h"
#include "platform/shared_flushes.h"
#include "platform/temporary_files.h"
#include "platform/wide_text_win32.h"

namespace torvane {

namespace {

// The wide host path of a path text; nothing for a text that names no file
// this layer may touch: a device, a text with a NUL byte (the API would stop
// there and name another file) or one that is not UTF-8.
std::optional<std::wstring> HostPathFromWindowsText(std::string_view text) {
  if (text.empty() || text.find('\0') != std::string_view::npos || NamesWindowsDevice(text)) {
    return std::nullopt;
  }
  std::optional<std::wstring> host = WideFromUtf8(text);
  if (!host) return std::nullopt;
  for (wchar_t& c : *host) {
    if (c == L'/') c = L'\\';
  }
  return host;
}

// The directory part of a path text, up to its last separator or drive.
std::string_view DirectoryPart(std::string_view text) {
  const size_t end = text.find_last_of("\\/:");
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

bool IsReadOnlyFile(DWORD attributes) {
  return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
         (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// Tries `change` once more on a read-only file at `host` made writable for
// it, as POSIX hosts remove and replace such files (only the directory's
// permission counts there). The file keeps its attribute when the change
// fails again.
template <typename Change>
bool RetryOnReadOnlyFile(const std::wstring& host, Change change) {
  const DWORD attributes = GetFileAttributesW(host.c_str());
  if (!IsReadOnlyFile(attributes)) return false;
  const DWORD writable = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  if (!SetFileAttributesW(host.c_str(), writable == 0 ? FILE_ATTRIBUTE_NORMAL : writable)) {
    return false;
  }
  if (change()) return true;
  SetFileAttributesW(host.c_str(), attributes);
  return false;
}

// A regular disk file: its size is known from when it was opened, and it is
// read from the start each time.
class HostInputFile final : public InputFile {
 public:
  HostInputFile(HANDLE handle, std::uint64_t size) : handle_(handle), size_(size) {}
  ~HostInputFile() override { CloseHandle(handle_); }

  std::optional<std::uint64_t> Size() override { return size_; }

  std::optional<std::string> ReadRaw(std::uint64_t limit) override {
    // One ReadFile moves at most a DWORD's worth of bytes.
    constexpr std::uint64_t kLargestRead = 1u << 30;
    std::string bytes;
    bytes.resize(limit);
    std::uint64_t filled = 0;
    while (filled < limit) {
      OVERLAPPED at = {};
      at.Offset = static_cast<DWORD>(filled);
      at.OffsetHigh = static_cast<DWORD>(filled >> 32);
      const DWORD wanted = static_cast<DWORD>(std::min(limit - filled, kLargestRead));
      DWORD got = 0;
      if (!ReadFile(handle_, bytes.data() + filled, wanted, &got, &at)) {
        if (GetLastError() == ERROR_HANDLE_EOF) break;
        return std::nullopt;
      }
      if (got == 0) break;
      filled += got;
    }
    bytes.resize(filled);
    return bytes;
  }

 private:
  HANDLE handle_;
  std::uint64_t size_;
};

// Starts writing a file's data and metadata out to the disk without the
// flush of the disk's own cache, which one full flush of a file on the same
// volume later gives them all. It is the system's NtFlushBuffersFileEx with
// FLUSH_FLAGS_NO_SYNC (Windows 8 and later); false where there is none, or
// it fails, and the file must then be flushed on its own.
bool StartWriteOutWithoutFlush(HANDLE handle) {
  struct IoStatus {
    void* status;
    ULONG_PTR information;
  };
  using FlushEx = LONG(WINAPI*)(HANDLE, ULONG, void*, ULONG, IoStatus*);
  static const FlushEx flush_ex = [] {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll == nullptr ? nullptr
                            : reinterpret_cast<FlushEx>(reinterpret_cast<void (*)()>(
                                  GetProcAddress(ntdll, "NtFlushBuffersFileEx")));
  }();
  constexpr ULONG kFlushNoSync = 0x2;  // FLUSH_FLAGS_NO_SYNC
  IoStatus status{};
  return flush_ex != nullptr && flush_ex(handle, kFlushNoSync, nullptr, 0, &status) >= 0;
}

// A new file written under a temporary name, which takes its own name once
// it is whole and on disk. The bytes are written as they stand: the pending
// text already has its CR LF line ends.
class Win32OutputFile final : public HostOutputFile {
 public:
  Win32OutputFile(HANDLE handle, std::wstring temporary, std::string temporary_text,
                  std::wstring path, Replacing replacing, std::atomic<DWORD>& last_error)
      : handle_(handle),
        temporary_(std::move(temporary)),
        temporary_text_(std::move(temporary_text)),
        path_(std::move(path)),
        replacing_(replacing),
        last_error_(last_error) {}
  ~Win32OutputFile() override { Abandon(); }

  HANDLE handle() const { return handle_; }
  // True once its write-out began without the cache flush.
  bool WrittenOut() const { return written_out_; }

 protected:
  bool WriteAll(std::string_view bytes) override {
    constexpr size_t kLargestWrite = 1u << 30;
    while (!bytes.empty()) {
      DWORD put = 0;
      const DWORD count = static_cast<DWORD>(std::min(bytes.size(), kLargestWrite));
      if (!WriteFile(handle_, bytes.data(), count, &put, nullptr) || put == 0) return false;
      bytes.remove_prefix(put);
    }
    return true;
  }

  // A file whose write-out could not start is flushed in full later, which
  // reports any error of its bytes.
  bool StartWriteOut() override {
    written_out_ = StartWriteOutWithoutFlush(handle_);
    return true;
  }

  bool CloseHostFile() override {
    if (handle_ == INVALID_HANDLE_VALUE) return true;
    const bool ok = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return ok;
  }

  // Without MOVEFILE_REPLACE_EXISTING the move fails where anything is.
  Naming Name() override {
    const DWORD flags = replacing_ == Replacing::kAllowed ? MOVEFILE_REPLACE_EXISTING : 0;
    const TemporaryFiles::Change change(ProcessTemporaryFiles());
    if (MoveFileExW(temporary_.c_str(), path_.c_str(), flags)) {
      ProcessTemporaryFiles().Drop(temporary_text_);
      return Naming::kNamed;
    }
    const DWORD error = GetLastError();
    last_error_ = error;
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? Naming::kTaken
                                                                       : Naming::kFailed;
  }

  void RemoveTemporary() override {
    const TemporaryFiles::Change change(ProcessTemporaryFiles());
    DeleteFileW(temporary_.c_str());
    ProcessTemporaryFiles().Drop(temporary_text_);
  }

 private:
  HANDLE handle_;
  std::wstring temporary_;
  std::string temporary_text_;  // as the process's temporary files keep it
  std::wstring path_;
  Replacing replacing_;
  std::atomic<DWORD>& last_error_;  // the file system's, for FailureReason
  bool written_out_ = false;
};

// Makes the sealed files durable, each settled with the outcome: those
// whose write-out began share one full flush per volume, of the file
// sealed last (its metadata was logged after theirs); the others, and all
// of a volume whose flush fails, are flushed one by one.
void MakeFilesDurable(std::span<Win32OutputFile* const> files) {
  std::vector<FlushCandidate> candidates(files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    BY_HANDLE_FILE_INFORMATION info;
    candidates[i].shared =
        files[i]->WrittenOut() && GetFileInformationByHandle(files[i]->handle(), &info);
    candidates[i].volume = candidates[i].shared ? info.dwVolumeSerialNumber : 0;
  }
  const std::vector<size_t> flushed_by = SharedFlushes(candidates);
  std::vector<int> flushed(files.size(), -1);  // the flush's outcome, by the file that made it
  for (size_t i = files.size(); i-- > 0;) {
    const size_t by = flushed_by[i];
    if (flushed[by] < 0) flushed[by] = FlushFileBuffers(files[by]->handle()) != 0;
    bool durable = flushed[by] == 1;
    if (!durable && by != i) durable = FlushFileBuffers(files[i]->handle()) != 0;
    files[i]->Settle(durable);
  }
}

bool IsDiskFile(HANDLE handle) { return GetFileType(handle) == FILE_TYPE_DISK; }

// The C library's error number for a system error, as its own file
// functions would have set it, so that messages read as on POSIX hosts.
int ErrnoOfSystemError(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
    case ERROR_CURRENT_DIRECTORY:
      return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_DIR_NOT_EMPTY:
      return ENOTEMPTY;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_NOT_SAME_DEVICE:
      return EXDEV;
    case ERROR_TOO_MANY_OPEN_FILES:
      return EMFILE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    case ERROR_DIRECTORY:
      return ENOTDIR;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
      return ENOENT;
    default:
      return EINVAL;
  }
}

// Information on the file or directory at `host`, which may be either;
// nothing when it cannot be opened.
std::optional<BY_HANDLE_FILE_INFORMATION> InformationOf(const std::wstring& host) {
  // Asking for no access opens what even a reader could not; a directory
  // opens only with backup semantics.
  const HANDLE handle =
      CreateFileW(host.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  const bool ok = GetFileInformationByHandle(handle, &info) != 0;
  CloseHandle(handle);
  if (!ok) return std::nullopt;
  return info;
}

class HostFileSystemImpl final : public HostFileSystem {
 public:
  std::unique_ptr<InputFile> OpenForReading(std::string_view path) override {
    const std::optional<std::wstring> host = HostPathFromWindowsText(path);
    if (!host) return Refused(nullptr);
    // Others may go on reading and writing the file, as on POSIX hosts.
    const HANDLE handle =
        CreateFileW(host->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return Failed(nullptr);
    BY_HANDLE_FILE_INFORMATION info;
    if (!IsDiskFile(handle) || !GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      CloseHandle(handle);
      last_error_ = ERROR_INVALID_NAME;
      return nullptr;
    }
    const std::uint64_t size =
        (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return std::make_unique<HostInputFile>(handle, size);
  }

  std::unique_ptr<OutputFile> CreateForWriting(std::string_view path,
                                               Replacing replacing) override {
    const std::optional<std::wstring> host = HostPathFromWindowsText(path);
    if (!host) return Refused(nullptr);
    const DWORD attributes = GetFileAttributesW(host->c_str());
    if (attributes != kNoAttributes &&
        (replacing == Replacing::kNever || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)) {
      last_error_ = ERROR_FILE_EXISTS;
      return nullptr;
    }
    // The temporary name is new to this process, but a process of the same
    // number may have left one behind when it was killed.
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string text = std::string(DirectoryPart(path)) + NextTemporaryName();
      const std::optional<std::wstring> temporary = HostPathFromWindowsText(text);
      if (!temporary) return Refused(nullptr);
      HANDLE handle = INVALID_HANDLE_VALUE;
      {
        const TemporaryFiles::Change change(ProcessTemporaryFiles());
        // Shared for deletion, so that Ctrl-C can remove it while it is
        // written.
        handle = CreateFileW(temporary->c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                             nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) ProcessTemporaryFiles().Add(text);
      }
      if (handle != INVALID_HANDLE_VALUE) {
        return std::make_unique<Win32OutputFile>(handle, *temporary, std::move(text), *host,
                                                 replacing, last_error_);
      }
      const DWORD error = GetLastError();
      last_error_ = error;
      if (error != ERROR_FILE_EXISTS) break;
    }
    return nullptr;
  }

  void MakeDurable(std::span<OutputFile* const> sealed) override {
    std::vector<Win32OutputFile*> files;
    for (OutputFile* file : sealed) {
      auto* ours = dynamic_cast<Win32OutputFile*>(file);
      if (ours != nullptr && ours->IsSealed()) files.push_back(ours);
    }
    MakeFilesDurable(files);
  }

  bool FileExists(std::string_view path) override {
    const std::optional<std::wstring> host = HostPathFromWindowsText(path);
    if (!host) return false;
    const DWORD attributes = GetFileAttributesW(host->c_str());
    return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }

  RemoveResult Remove(std::string_view path) override {
    const std::optional<std::wstring> host = HostPathFromWindowsText(path);
    if (!host) return Refused(RemoveResult::kFailed);
    const auto remove = [&host] { return DeleteFileW(host->c_str()) != 0; };
    if (remove()) return RemoveResult::kRemoved;
    const DWORD error = GetLastError();
    last_error_ = error;
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      return RemoveResult::kNotFound;
    }
    if (error == ERROR_ACCESS_DENIED && RetryOnReadOnlyFile(*host, remove)) {
      return RemoveResult::kRemoved;
    }
    return RemoveResult::kFailed;
  }

  // The source is only ever moved, never copied and deleted: a failed
  // rename leaves it where it was.
  RenameResult RenameReplacing(std::string_view from, std::string_view to) override {
    const std::optional<std::wstring> host_from = HostPathFromWindowsText(from);
    const std::optional<std::wstring> host_to = HostPathFromWindowsText(to);
    if (!host_from || !host_to) return Refused(RenameResult::kFailed);
    const auto rename = [&] {
      return MoveFileExW(host_from->c_str(), host_to->c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    };
    if (rename()) return RenameResult::kRenamed;
    const DWORD error = GetLastError();
    last_error_ = error;
    if (error == ERROR_ACCESS_DENIED && RetryOnReadOnlyFile(*host_to, rename)) {
      return RenameResult::kRenamed;
    }
    return error == ERROR_FILE_NOT_FOUND ? RenameResult::kNotFound : RenameResult::kFailed;
  }

  RenameResult RenameNoReplace(std::string_view from, std::string_view to) override {
    const std::optional<std::wstring> host_from = HostPathFromWindowsText(from);
    const std::optional<std::wstring> host_to = HostPathFromWindowsText(to);
    if (!host_from || !host_to) return Refused(RenameResult::kFailed);
    if (MoveFileExW(host_from->c_str(), host_to->c_str(), 0)) return RenameResult::kRenamed;
    const DWORD error = GetLastError();
    last_error_ = error;
    switch (error) {
      case ERROR_ALREADY_EXISTS:
      case ERROR_FILE_EXISTS:
        return RenameResult::kNameTaken;
      case ERROR_FILE_NOT_FOUND:
        return RenameResult::kNotFound;
      default:
        return RenameResult::kFailed;
    }
  }

  bool DirectoryExists(std::string_view path) override {
    const std::optional<std::wstring> host = HostPathFromWindowsText(path);
    if (!host) return false;
    const DWORD attributes = GetFileAttributesW(host->c_str());
    return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }

  std::optional<std::vector<std::string>> ListDirectory(std::string_view path) override {
    std::optional<std::wstring> host = HostPathFromWindowsText(path);
    if (!host) return Refused(std::nullopt);
    if (!host->empty() && host->back() != L'\\' && host->back() != L':') *host += L'\\';
    *host += L'*';
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(host->c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      last_error_ = error;
      // A drive's root holds neither "." nor "..", so it may have no entry at all.
      if (error == ERROR_FILE_NOT_FOUND) return std::vector<std::string>();
      return std::nullopt;
    }
    std::vector<std::string> names;
    do {
      std::string name = Utf8FromWide(entry.cFileName);
      if (!name.empty() && name != "." && name != "..") names.push_back(std::move(name));
    } while (FindNextFileW(search, &entry));
    const DWORD error = GetLastError();
    FindClose(search);
    if (error != ERROR_NO_MORE_FILES) {
      last_error_ = error;
      return std::nullopt;
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  // The file system ignores case itself, and the search gives the name as
  // the directory holds it.
  std::optional<std::string> FoundName(std::string_view path) override {
    const std::optional<std::wstring> host = HostPathFromWindowsText(path);
    // Wildcards would match other names.
    if (!host || host->find_first_of(L"*?") != std::wstring::npos) return std::nullopt;
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(host->c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return Failed(std::nullopt);
    FindClose(search);
    return Utf8FromWide(entry.cFileName);
  }

  bool MakeDirectory(std::string_view path) override {
    const std::optional<std::wstring> host = HostPathFromWindowsText(path);
    if (!host) return Refused(false);
    if (CreateDirectoryW(host->c_str(), nullptr)) return true;
    return Failed(false);
  }

  bool MakeTemporaryDirectory(std::string_view path) override {
    const std::optional<std::wstring> host = HostPathFromWindowsText(path);
    if (!host) return Refused(false);
    const TemporaryFiles::Change change(ProcessTemporaryFiles());
    if (!CreateDirectoryW(host->c_str(), nullptr)) return Failed(false);
    ProcessTemporaryFiles().AddDirectory(std::string(path));
    return true;
  }

  bool RemoveEmptyDirectory(std::string_view path) override {
    const std::optional<std::wstring> host = HostPathFromWindowsText(path);
    if (!host) return Refused(false);
    const TemporaryFiles::Change change(ProcessTemporaryFiles());
    if (!RemoveDirectoryW(host->c_str())) return Failed(false);
    ProcessTemporaryFiles().Drop(std::string(path));
    return true;
  }

  // Without MOVEFILE_REPLACE_EXISTING the move fails where anything is at
  // the target.
  bool RenameDirectory(std::string_view from, std::string_view to) override {
    const std::optional<std::wstring> host_from = HostPathFromWindowsText(from);
    const std::optional<std::wstring> host_to = HostPathFromWindowsText(to);
    if (!host_from || !host_to) return Refused(false);
    // A temporary directory that takes its name is no longer one.
    const TemporaryFiles::Change change(ProcessTemporaryFiles());
    if (!MoveFileExW(host_from->c_str(), host_to->c_str(), 0)) return Failed(false);
    ProcessTemporaryFiles().Drop(std::string(from));
    return true;
  }

  bool SameFile(std::string_view a, std::string_view b) override {
    const std::optional<std::wstring> host_a = HostPathFromWindowsText(a);
    const std::optional<std::wstring> host_b = HostPathFromWindowsText(b);
    if (!host_a || !host_b) return false;
    const std::optional<BY_HANDLE_FILE_INFORMATION> first = InformationOf(*host_a);
    const std::optional<BY_HANDLE_FILE_INFORMATION> second = InformationOf(*host_b);
    return first && second && first->dwVolumeSerialNumber == second->dwVolumeSerialNumber &&
           first->nFileIndexHigh == second->nFileIndexHigh &&
           first->nFileIndexLow == second->nFileIndexLow;
  }

  std::string FailureReason() override {
    const DWORD error = last_error_;
    return error == ERROR_SUCCESS ? "" : std::strerror(ErrnoOfSystemError(error));
  }

 private:
  // Keeps the system's reason for a failure, and returns `result`.
  template <typename Result>
  Result Failed(Result result) {
    last_error_ = GetLastError();
    return result;
  }
  // The same for a path text that names no file this layer may touch.
  template <typename Result>
  Result Refused(Result result) {
    last_error_ = ERROR_INVALID_NAME;
    return result;
  }

  // The volume and file index of the directory, which links, short names and
  // any spelling of the path share.
  std::optional<std::string> DirectoryIdentity(std::string_view path) override {
    const std::optional<std::wstring> host = HostPathFromWindowsText(path.empty() ? "." : path);
    if (!host) return std::nullopt;
    const HANDLE handle =
        CreateFileW(host->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    const bool found = GetFileInformationByHandle(handle, &info) != 0 &&
                       (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    CloseHandle(handle);
    if (!found) return std::nullopt;
    return std::to_string(info.dwVolumeSerialNumber) + ':' +
           std::to_string((static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) |
                          info.nFileIndexLow);
  }

 private:
  // The error of this file system's latest failed operation, for
  // FailureReason alone: an operation decides by its own error, never by
  // this, which other threads sharing the file system may set meanwhile.
  // Only the single-threaded importer and previewer ask for the reason.
  std::atomic<DWORD> last_error_{ERROR_SUCCESS};
};

}  // namespace

std::unique_ptr<HostFileSystem> MakeHostFileSystem() {
  return std::make_unique<HostFileSystemImpl>();
}

}  // namespace torvane
