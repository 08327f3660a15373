// The few file operations Torvane needs, behind one interface: the program
// uses the host's file system (Windows path texts mapped to host paths),
// tests use an in-memory double that can be told to fail.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_mode.h"

namespace torvane {

// A file open for reading. Closed when destroyed.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // The size in bytes as the file system reports it; nothing when it cannot
  // be found out.
  virtual std::optional<std::uint64_t> Size() = 0;
  // Reads up to `limit` bytes from the start as they stand on disk; nothing
  // on a read error.
  virtual std::optional<std::string> ReadRaw(std::uint64_t limit) = 0;

  // Reads up to `limit` bytes in text mode (text_mode.h).
  std::optional<std::string> ReadText(std::uint64_t limit);
};

// How closing a new file ended.
enum class CloseResult {
  // Closed: with its name when it was written whole, removed otherwise.
  kClosed,
  // The last bytes, the flush to disk or the naming failed: removed.
  kFailed,
  // Written whole, but another program made a file of its name meanwhile;
  // it waits under its temporary name for Close to be called again.
  kNameTaken,
};

// A new file open for writing in text mode. Every "\n" written becomes CR
// LF. Each write succeeds or fails as a whole. Its bytes are assembled in
// the file's pending text, where a file may keep them until it has enough
// to hand over at once.
class OutputFile {
 public:
  virtual ~OutputFile() = default;

  // False when the bytes could not be written (or buffered).
  bool Write(std::string_view text) {
    StartWrite().Append(text);
    return FinishWrite();
  }
  // A write assembled in place: what is appended to the returned text until
  // FinishWrite is one write.
  EncodedText& StartWrite() { return pending_; }
  bool FinishWrite() {
    if (pending_.Size() < hand_over_at_ || HandOver()) return true;
    failed_ = true;
    return false;
  }
  // True once any write has failed: the file can never be whole.
  bool HasFailed() const { return failed_; }
  // Writes out what is pending, makes the file durable and closes it. A file
  // written whole then takes its name, which it never takes from another
  // file; one that is not is removed. A file destroyed before it took its
  // name is removed too.
  virtual CloseResult Close() = 0;

 protected:
  // The file is handed its pending bytes once they reach `hand_over_at`
  // bytes (0: after every write).
  explicit OutputFile(size_t hand_over_at) : hand_over_at_(hand_over_at) {}

  // Takes every pending byte (the latest write's last) and empties the
  // pending text; false when they could not be written.
  virtual bool HandOver() = 0;
  EncodedText& Pending() { return pending_; }

 private:
  EncodedText pending_;
  size_t hand_over_at_;
  bool failed_ = false;
};

enum class RemoveResult { kRemoved, kNotFound, kFailed };
enum class RenameResult { kRenamed, kNotFound, kNameTaken, kFailed };
enum class WriteResult { kWritten, kNotCreated, kNotWritten };

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Nothing when the file does not exist, cannot be read or is a directory.
  virtual std::unique_ptr<InputFile> OpenForReading(std::string_view path) = 0;
  // A new file for the path, written under a temporary name in its
  // directory until Close gives it the path's name: so it is complete or
  // absent, whatever ends the process. Nothing when the file cannot be
  // created, or something is at the path already.
  virtual std::unique_ptr<OutputFile> CreateForWriting(std::string_view path) = 0;
  // True when a file (not a directory) is at the path, readable or not.
  virtual bool FileExists(std::string_view path) = 0;
  virtual RemoveResult Remove(std::string_view path) = 0;
  // Moves a file, replacing what is at `to`.
  virtual bool Rename(std::string_view from, std::string_view to) = 0;
  // Moves a file to a name where nothing is: kNameTaken when something is,
  // kNotFound when the file is not there.
  virtual RenameResult RenameNoReplace(std::string_view from, std::string_view to) = 0;
  // A key that is the same for every path naming one directory, however it is
  // spelt or linked to; nothing when no directory is found there.
  virtual std::optional<std::string> DirectoryIdentity(std::string_view path) = 0;

  // Directories, and whole files written as they are, for the importer and
  // the previewer. Paths are found as by the operations above.

  // True when a directory is at the path.
  virtual bool DirectoryExists(std::string_view path) = 0;
  // The names in a directory, without "." and "..", in byte order; nothing
  // when it cannot be read.
  virtual std::optional<std::vector<std::string>> ListDirectory(std::string_view path) = 0;
  // The name, as its directory spells it, of the file or directory the path
  // finds: the last component as written when it exists so, else the first
  // in byte order that equals it apart from ASCII case. Nothing when there
  // is none.
  virtual std::optional<std::string> FoundName(std::string_view path) = 0;
  // Creates one directory, its parent existing; false when anything is at
  // the path already.
  virtual bool MakeDirectory(std::string_view path) = 0;
  // Removes an empty directory.
  virtual bool RemoveEmptyDirectory(std::string_view path) = 0;
  // Moves a directory to a path where nothing is yet.
  virtual bool RenameDirectory(std::string_view from, std::string_view to) = 0;
  // Creates or truncates a file and writes `bytes` into it unchanged (no
  // text mode). A file that was created but not wholly written stays.
  virtual WriteResult WriteWholeFile(std::string_view path, std::string_view bytes) = 0;
  // True when both paths find one and the same existing file or directory.
  virtual bool SameFile(std::string_view a, std::string_view b) = 0;
  // Why this file system's latest operation that failed did, in the words
  // of the C library's strerror; empty when the host gave no reason.
  virtual std::string FailureReason() = 0;
};

// Real sector files, their metadata and scripts are under 1 MiB: the
// importer and the previewer refuse a larger input rather than hold it all
// in memory (a 110 MB file took a gigabyte).
inline constexpr std::uint64_t kLargestWholeInput = 16 * 1024 * 1024;

// A whole file as it stands on disk, when it is no larger than `limit`.
struct WholeFile {
  enum class Result { kRead, kUnreadable, kTooLarge } result;
  std::string bytes{};     // kRead
  std::uint64_t size = 0;  // kRead and kTooLarge
};

// Reads a whole file; kUnreadable when it cannot be opened (a directory or
// anything but a regular file does not open) or read.
WholeFile ReadWholeFile(FileSystem& files, std::string_view path,
                        std::uint64_t limit = kLargestWholeInput);

// The host's file system. Path texts are Windows texts, "\" separating like
// "/". On Windows they are native paths; on POSIX hosts a drive is dropped,
// and a path that does not exist as written is looked up case-insensitively,
// one component at a time. Windows devices are never opened, created or
// found there. Each is a file system of its own, with its own directory
// listings (which trust that only it changes the directories it has read,
// and read a directory again when a name it was to create is taken), and
// may be used from several threads at once.
std::unique_ptr<FileSystem> MakeHostFileSystem();

}  // namespace torvane
