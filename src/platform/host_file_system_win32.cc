// The host's file system on Windows behind the file interface: path texts
// are native (the drive is real, "/" and "\" both separate, the file system
// itself ignores case), names go to the wide API as UTF-16, and only regular
// disk files are read or written, never a device.
#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/host_output_file.h"
#include "platform/path_text.h"

namespace torvane {

namespace {

// The wide host path of a path text; nothing for a text that names no file
// this layer may touch: a device, a text with a NUL byte (the API would stop
// there and name another file) or one that is not UTF-8.
std::optional<std::wstring> HostPathFromWindowsText(std::string_view text) {
  if (text.empty() || text.find('\0') != std::string_view::npos || NamesWindowsDevice(text)) {
    return std::nullopt;
  }
  if (text.size() > static_cast<size_t>(INT_MAX)) return std::nullopt;
  const int length = static_cast<int>(text.size());
  const int wide_length =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (wide_length <= 0) return std::nullopt;
  std::wstring host(static_cast<size_t>(wide_length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, host.data(), wide_length);
  for (wchar_t& c : host) {
    if (c == L'/') c = L'\\';
  }
  return host;
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

// Writes are gathered into the pending text and handed to the system about
// 64 KiB at a time. The bytes are written as they stand: the pending text
// already has its CR LF line ends.
class Win32OutputFile final : public HostOutputFile {
 public:
  explicit Win32OutputFile(HANDLE handle) : handle_(handle) {}
  ~Win32OutputFile() override {
    if (handle_ != INVALID_HANDLE_VALUE) Close();
  }

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

  bool CloseHostFile() override {
    const bool ok = CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE handle_;
};

bool IsDiskFile(HANDLE handle) { return GetFileType(handle) == FILE_TYPE_DISK; }

class HostFileSystemImpl final : public FileSystem {
 public:
  std::unique_ptr<InputFile> OpenForReading(std::string_view path) override {
    const std::optional<std::wstring> host = HostPathFromWindowsText(path);
    if (!host) return nullptr;
    // Others may go on reading and writing the file, as on POSIX hosts.
    const HANDLE handle =
        CreateFileW(host->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    BY_HANDLE_FILE_INFORMATION info;
    if (!IsDiskFile(handle) || !GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      CloseHandle(handle);
      return nullptr;
    }
    const std::uint64_t size =
        (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return std::make_unique<HostInputFile>(handle, size);
  }

  std::unique_ptr<OutputFile> CreateForWriting(std::string_view path) override {
    const std::optional<std::wstring> host = HostPathFromWindowsText(path);
    if (!host) return nullptr;
    const HANDLE handle = CreateFileW(host->c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    if (!IsDiskFile(handle)) {
      CloseHandle(handle);
      return nullptr;
    }
    return std::make_unique<Win32OutputFile>(handle);
  }

  bool FileExists(std::string_view path) override {
    const std::optional<std::wstring> host = HostPathFromWindowsText(path);
    if (!host) return false;
    const DWORD attributes = GetFileAttributesW(host->c_str());
    return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }

  RemoveResult Remove(std::string_view path) override {
    const std::optional<std::wstring> host = HostPathFromWindowsText(path);
    if (!host) return RemoveResult::kFailed;
    const auto remove = [&host] { return DeleteFileW(host->c_str()) != 0; };
    if (remove()) return RemoveResult::kRemoved;
    const DWORD error = GetLastError();
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
  bool Rename(std::string_view from, std::string_view to) override {
    const std::optional<std::wstring> host_from = HostPathFromWindowsText(from);
    const std::optional<std::wstring> host_to = HostPathFromWindowsText(to);
    if (!host_from || !host_to) return false;
    const auto rename = [&] {
      return MoveFileExW(host_from->c_str(), host_to->c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    };
    if (rename()) return true;
    return GetLastError() == ERROR_ACCESS_DENIED && RetryOnReadOnlyFile(*host_to, rename);
  }

  // The volume and file index of the directory, which links, short names and
  // any spelling of the path share.
  std::optional<std::string> DirectoryIdentity(std::string_view path) override {
    const std::optional<std::wstring> host = HostPathFromWindowsText(path.empty() ? "." : path);
    if (!host) return std::nullopt;
    const HANDLE handle = CreateFileW(host->c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
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
};

}  // namespace

std::unique_ptr<FileSystem> MakeHostFileSystem() { return std::make_unique<HostFileSystemImpl>(); }

}  // namespace torvane
