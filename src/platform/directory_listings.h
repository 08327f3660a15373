// A run's own view of the directories it looks names up in, for the
// case-insensitive lookup that Windows names expect on a host whose file
// names keep their case. A directory is read once, the first time a name is
// looked up there; afterwards its listing changes only by what the run
// itself creates, renames and removes. What other programs do meanwhile is
// not watched for: the run's creates never replace a file, and a create that
// finds its name taken has the directory read again.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace torvane {

// What an entry is, as far as the listing knows: a symbolic link, or an
// entry whose kind the directory does not give, is kOther, and the caller
// asks the host when it needs more.
enum class EntryKind { kFile, kDirectory, kOther };

// The entries of one directory by name.
using DirectoryEntries = std::map<std::string, EntryKind>;

enum class ReadResult { kRead, kMissing, kUnreadable };

// What a lookup of a name finds.
struct FoundEntry {
  enum { kFound, kNotFound, kNoListing } result;
  // The directory as the host has it ("" for the working directory, else
  // ending in "/"), and the entry's name as the directory spells it, or the
  // name asked for when it was not found. For kNoListing both are as asked.
  std::string dir;
  std::string name;
  EntryKind kind = EntryKind::kOther;

  std::string Path() const { return dir + name; }
};

class DirectoryListings {
 public:
  // Reads the directory at a host path ("" for the working directory) into
  // `entries`: kMissing when nothing is there to read (no such directory, or
  // not a directory), kUnreadable for any other failure.
  using Reader = std::function<ReadResult(const std::string& dir, DirectoryEntries& entries)>;

  explicit DirectoryListings(Reader read) : read_(std::move(read)) {}

  // Finds `name` in the directory `dir` (a host path as written, "" or
  // ending in "/"): the entry of that very name, else the first in byte
  // order that equals it apart from ASCII case. A directory that is not
  // found as written is looked up the same way, component by component.
  // kNoListing when the directory exists as written but cannot be read.
  FoundEntry Find(const std::string& dir, std::string_view name);

  // The run's own changes, in a directory as found or as written. A
  // directory not read yet is left to be read when it is first needed.
  void Added(const std::string& dir, std::string_view name, EntryKind kind);
  void Removed(const std::string& dir, std::string_view name);
  // Another program changed `dir` (as Find gave it): it is read again at its
  // next lookup, and so is every directory below it.
  void Forget(const std::string& dir);

 private:
  struct Listing {
    // Names by their folded form, each form's names in byte order.
    std::map<std::string, DirectoryEntries> byFolded;
  };
  // Where a directory written one way was found, and its listing; no
  // listing when it could not be read.
  struct Directory {
    std::string host;
    std::shared_ptr<Listing> listing;
  };

  // The directory `dir` as written, found and read; nothing when it cannot
  // be found. Reads happen outside the lock.
  std::optional<Directory> Resolve(const std::string& dir);
  // The listing of a directory as found or as written; under the lock.
  Listing* ListingOf(const std::string& dir);
  std::optional<Directory> ReadAt(const std::string& host);
  static FoundEntry Search(const Directory& dir, std::string_view name);

  Reader read_;
  // Guards the two maps only; never held across a read.
  std::mutex mutex_;
  // By the directory as written.
  std::unordered_map<std::string, Directory> directories_;
  // The same listings by the directory as found, where changes arrive.
  std::unordered_map<std::string, std::shared_ptr<Listing>> byHost_;
};

}  // namespace torvane
