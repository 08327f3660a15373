// The run's view of its directories: read once, kept in step with the run's
// own changes.
#include "platform/directory_listings.h"

#include "platform/ascii_text.h"

namespace torvane {

FoundEntry DirectoryListings::Find(const std::string& dir, std::string_view name) {
  {
    const std::lock_guard lock(mutex_);
    const auto known = directories_.find(dir);
    if (known != directories_.end()) return Search(known->second, name);
  }
  std::optional<Directory> found = Resolve(dir);
  if (!found) return {FoundEntry::kNotFound, dir, std::string(name)};
  const std::lock_guard lock(mutex_);
  // Another thread may have read the directory meanwhile, under this
  // spelling or another: its listing may already hold changes, so it wins.
  auto [known, added] = directories_.try_emplace(dir, *found);
  if (added && found->listing != nullptr) {
    auto [shared, first] = byHost_.try_emplace(found->host, found->listing);
    if (!first) known->second.listing = shared->second;
  }
  return Search(known->second, name);
}

void DirectoryListings::Added(const std::string& dir, std::string_view name, EntryKind kind) {
  const std::lock_guard lock(mutex_);
  Listing* listing = ListingOf(dir);
  if (listing == nullptr) return;
  listing->byFolded[LowerAscii(name)].insert_or_assign(std::string(name), kind);
}

void DirectoryListings::Removed(const std::string& dir, std::string_view name) {
  const std::lock_guard lock(mutex_);
  Listing* listing = ListingOf(dir);
  if (listing == nullptr) return;
  auto& by_folded = listing->byFolded;
  const auto same = by_folded.find(LowerAscii(name));
  if (same == by_folded.end()) return;
  same->second.erase(std::string(name));
  if (same->second.empty()) by_folded.erase(same);
}

void DirectoryListings::Forget(const std::string& dir) {
  const std::lock_guard lock(mutex_);
  std::erase_if(byHost_, [&dir](const auto& entry) { return entry.first.starts_with(dir); });
  std::erase_if(directories_,
                [&dir](const auto& entry) { return entry.second.host.starts_with(dir); });
}

DirectoryListings::Listing* DirectoryListings::ListingOf(const std::string& dir) {
  if (const auto found = byHost_.find(dir); found != byHost_.end()) return found->second.get();
  const auto written = directories_.find(dir);
  return written == directories_.end() ? nullptr : written->second.listing.get();
}

std::optional<DirectoryListings::Directory> DirectoryListings::ReadAt(const std::string& host) {
  {
    // Read already under another spelling.
    const std::lock_guard lock(mutex_);
    if (const auto known = byHost_.find(host); known != byHost_.end()) {
      return Directory{host, known->second};
    }
  }
  auto listing = std::make_shared<Listing>();
  DirectoryEntries entries;
  switch (read_(host, entries)) {
    case ReadResult::kRead:
      for (auto& [name, kind] : entries) listing->byFolded[LowerAscii(name)].emplace(name, kind);
      return Directory{host, std::move(listing)};
    case ReadResult::kUnreadable:
      return Directory{host, nullptr};
    case ReadResult::kMissing:
      break;
  }
  return std::nullopt;
}

std::optional<DirectoryListings::Directory> DirectoryListings::Resolve(const std::string& dir) {
  if (std::optional<Directory> as_written = ReadAt(dir)) return as_written;
  // Not there as written: find the last component in its parent, which is
  // itself found the same way.
  std::string_view path = dir;
  if (path.ends_with('/')) path.remove_suffix(1);
  const size_t slash = path.rfind('/');
  const std::string parent(slash == std::string_view::npos ? "" : path.substr(0, slash + 1));
  const std::string_view leaf = path.substr(parent.size());
  if (leaf.empty() || leaf == "." || leaf == "..") return std::nullopt;
  const FoundEntry found = Find(parent, leaf);
  if (found.result != FoundEntry::kFound || found.kind == EntryKind::kFile) return std::nullopt;
  return ReadAt(found.Path() + "/");
}

FoundEntry DirectoryListings::Search(const Directory& dir, std::string_view name) {
  if (dir.listing == nullptr) return {FoundEntry::kNoListing, dir.host, std::string(name)};
  const auto& by_folded = dir.listing->byFolded;
  const auto same = by_folded.find(LowerAscii(name));
  if (same == by_folded.end()) return {FoundEntry::kNotFound, dir.host, std::string(name)};
  auto entry = same->second.find(std::string(name));
  if (entry == same->second.end()) entry = same->second.begin();
  return {FoundEntry::kFound, dir.host, entry->first, entry->second};
}

}  // namespace torvane
