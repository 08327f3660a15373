// The few file operations Torvane needs, behind one interface: the program
// uses the host's file system (Windows path texts mapped to host paths),
// tests use an in-memory double that can be told to fail.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
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

// How sealing a new file ended.
enum class SealResult {
  // Whole, its write-out started: it waits to be made durable and named.
  kSealed,
  // Its last bytes or the start of their write-out failed: removed.
  kFailed,
  // An earlier write failed (and was reported then): removed.
  kIncomplete,
};

// How naming a sealed file ended.
enum class NameResult {
  kNamed,
  // Not made durable, or the naming failed: removed.
  kFailed,
  // Another program made a file of its name meanwhile (where no file may be
  // replaced): it waits under its temporary name for TakeName again.
  kNameTaken,
};

// Whether a new file may take the place of a file already at its path.
enum class Replacing { kNever, kAllowed };

// A new file open for writing in text mode. Every "\n" written becomes CR
// LF. Each write succeeds or fails as a whole. Its bytes are assembled in
// the file's pending text, where a file may keep them until it has enough
// to hand over at once.
//
// A new file is written under a temporary name and goes through three
// steps, so that its name holds it whole or not at all, whatever stops the
// process: Seal once it is written, FileSystem::MakeDurable with the other
// files sealed meanwhile, then TakeName. A file destroyed before it took
// its name is removed.
class OutputFile {
 public:
  virtual ~OutputFile() = default;

  // False when the bytes could not be written (or buffered).
  bool Write(std::string_view text) {
    StartWrite().Append(text);
    return FinishWrite();
  }
  // The same without text mode: the bytes as they stand.
  bool WriteUnchanged(std::string_view bytes) {
    StartWrite().AppendUnchanged(bytes);
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

  // Hands over what is pending and starts writing the file out to disk,
  // without waiting for it; a file that cannot be whole is removed.
  virtual SealResult Seal() = 0;
  // Gives a sealed file that was made durable its name.
  virtual NameResult TakeName() = 0;

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

// What every program does with files: read them, and write new ones safely.
// Each program asks for the part below that it needs; a host implements
// them all (HostFileSystem).
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Nothing when the file does not exist, cannot be read or is a directory.
  virtual std::unique_ptr<InputFile> OpenForReading(std::string_view path) = 0;
  // True when a file (not a directory) is at the path, readable or not.
  virtual bool FileExists(std::string_view path) = 0;
  // A new file for the path, written under a temporary name in its
  // directory until it takes the path's name. Nothing when the file cannot
  // be created, or (with Replacing::kNever) something is at the path.
  virtual std::unique_ptr<OutputFile> CreateForWriting(std::string_view path,
                                                       Replacing replacing = Replacing::kNever) = 0;
  // Makes every sealed file on disk, whatever happens to the process or the
  // machine next, with as few flushes to the disk as the host allows. A
  // file that could not be made so fails to take its name.
  virtual void MakeDurable(std::span<OutputFile* const> sealed) = 0;
  virtual RemoveResult Remove(std::string_view path) = 0;
  // Why this file system's latest operation that failed did, in the words
  // of the C library's strerror; empty when the host gave no reason.
  virtual std::string FailureReason() = 0;
};

// The converter's part: scripts, and their backups.
class ScriptFileSystem : public virtual FileSystem {
 public:
  // Moves a file onto `to` in one step, replacing a file found there
  // (whatever the case of its name; it then takes the name as written):
  // at every moment one of the two files is at `to`. kNotFound when the
  // file is not at `from`.
  virtual RenameResult RenameReplacing(std::string_view from, std::string_view to) = 0;
  // Moves a file to a name where nothing is: kNameTaken when something is,
  // kNotFound when the file is not there.
  virtual RenameResult RenameNoReplace(std::string_view from, std::string_view to) = 0;
  // A key that is the same for every path naming one directory, however it is
  // spelt or linked to; nothing when no directory is found there.
  virtual std::optional<std::string> DirectoryIdentity(std::string_view path) = 0;
};

// The previewer's part: directories read, and files compared. Paths are
// found as by the operations above.
class DirectoryFileSystem : public virtual FileSystem {
 public:
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
  // True when both paths find one and the same existing file or directory.
  virtual bool SameFile(std::string_view a, std::string_view b) = 0;
};

// The importer's part: sector directories, built under a temporary name
// and moved into place whole.
class ImportFileSystem : public virtual DirectoryFileSystem {
 public:
  // Creates one directory, its parent existing; false when anything is at
  // the path already.
  virtual bool MakeDirectory(std::string_view path) = 0;
  // Creates a directory, its parent existing, that is removed with
  // everything in it when the process is interrupted, until it is moved to
  // its name by RenameDirectory. False when anything is at the path already.
  virtual bool MakeTemporaryDirectory(std::string_view path) = 0;
  // Removes an empty directory.
  virtual bool RemoveEmptyDirectory(std::string_view path) = 0;
  // Moves a directory to a path where nothing is yet.
  virtual bool RenameDirectory(std::string_view from, std::string_view to) = 0;
};

// Every part: what a host gives, for any of the three programs.
class HostFileSystem : public ScriptFileSystem, public ImportFileSystem {};

// Real sector files, their metadata and scripts are under 1 MiB: the
// importer and the previewer refuse a larger input rather than hold it all
// in memory (a 110 MB file took a gigabyte).
inline constexpr std::uint64_t kLargestWholeInput = 16 * 1024 * 1024;

// Makes the sealed files durable together, then names each in turn: what
// each naming gave, in their order.
std::vector<NameResult> CommitFiles(FileSystem& files, std::span<OutputFile* const> sealed);

// A new file and its bytes, written as they stand (no text mode).
struct NewFile {
  std::string path;
  std::string_view bytes;
};

// How writing a set of new files ended: done, or the step at which the
// file `failed` (an index) failed.
struct NewFilesWritten {
  enum class Step { kDone, kCreate, kWrite, kName } step = Step::kDone;
  size_t failed = 0;
};

// Writes each file under a temporary name and commits them together. When
// one cannot be created or written, none takes its name; when one cannot be
// named, those after it are not named either. Nothing of a file that did
// not take its name is left.
NewFilesWritten WriteNewFiles(FileSystem& files, std::span<const NewFile> new_files,
                              Replacing replacing);

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
std::unique_ptr<HostFileSystem> MakeHostFileSystem();

}  // namespace torvane
