// The run's view of its directories, on a made-up tree: what is read when,
// which spelling a lookup finds, and how the run's own changes and another
// program's show.
#include "platform/directory_listings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace torvane {
namespace {

class DirectoryListingsTest : public ::testing::Test {
 protected:
  // Directories by host path, as a reader finds them.
  std::map<std::string, DirectoryEntries> tree_ = {
      {"", {{"Maps", EntryKind::kDirectory}, {"notes", EntryKind::kFile}}},
      {"Maps/",
       {{"Delta", EntryKind::kDirectory},
        {"EPSILON", EntryKind::kFile},
        {"beta", EntryKind::kOther}}},
      {"Maps/Delta/",
       {{"a.scr", EntryKind::kFile}, {"A.SCR", EntryKind::kFile}, {"B.scr", EntryKind::kFile}}},
      {"locked/", {}},
  };
  std::vector<std::string> reads_;
  DirectoryListings listings_{[this](const std::string& dir, DirectoryEntries& entries) {
    reads_.push_back(dir);
    if (dir == "locked/") return ReadResult::kUnreadable;
    const auto found = tree_.find(dir);
    if (found == tree_.end()) return ReadResult::kMissing;
    entries = found->second;
    return ReadResult::kRead;
  }};

  std::string Found(const std::string& dir, const std::string& name) {
    const FoundEntry found = listings_.Find(dir, name);
    return found.result == FoundEntry::kFound ? found.Path() : "none";
  }
};

TEST_F(DirectoryListingsTest, ExactNameWinsElseTheFirstInByteOrder) {
  EXPECT_EQ(Found("Maps/Delta/", "a.scr"), "Maps/Delta/a.scr");
  EXPECT_EQ(Found("Maps/Delta/", "A.SCR"), "Maps/Delta/A.SCR");
  EXPECT_EQ(Found("Maps/Delta/", "a.SCR"), "Maps/Delta/A.SCR");
  EXPECT_EQ(Found("Maps/Delta/", "b.SCR"), "Maps/Delta/B.scr");
  EXPECT_EQ(Found("Maps/Delta/", "c.scr"), "none");
  EXPECT_EQ(reads_, std::vector<std::string>{"Maps/Delta/"});
}

TEST_F(DirectoryListingsTest, DirectoriesWrittenInAnotherCaseAreFoundThroughTheirParents) {
  EXPECT_EQ(Found("MAPS/delta/", "b.scr"), "Maps/Delta/B.scr");
  EXPECT_EQ(listings_.Find("maps/DELTA/", "a.scr").dir, "Maps/Delta/");
  // A file is no directory to look in, nor is a link to nothing.
  EXPECT_EQ(Found("Maps/epsilon/", "x"), "none");
  EXPECT_EQ(Found("Maps/BETA/", "x"), "none");
  EXPECT_EQ(Found("none/Delta/", "a.scr"), "none");
  EXPECT_EQ(listings_.Find("locked/", "x").result, FoundEntry::kNoListing);
  // Each directory was read once, under the spelling that found it.
  EXPECT_EQ(Found("maps/delta/", "A.scr"), "Maps/Delta/A.SCR");
  EXPECT_EQ(std::count(reads_.begin(), reads_.end(), "Maps/Delta/"), 1);
  EXPECT_EQ(std::count(reads_.begin(), reads_.end(), ""), 1);
}

TEST_F(DirectoryListingsTest, OnlyTheRunsOwnChangesShowUntilADirectoryIsForgotten) {
  EXPECT_EQ(Found("Maps/Delta/", "c.scr"), "none");
  listings_.Added("Maps/Delta/", "c.scr", EntryKind::kFile);
  listings_.Removed("Maps/Delta/", "a.scr");
  // Changes made under one spelling show under every other.
  EXPECT_EQ(Found("MAPS/DELTA/", "C.SCR"), "Maps/Delta/c.scr");
  EXPECT_EQ(Found("Maps/Delta/", "a.scr"), "Maps/Delta/A.SCR");
  tree_["Maps/Delta/"].emplace("d.scr", EntryKind::kFile);  // another program
  EXPECT_EQ(Found("Maps/Delta/", "d.scr"), "none");
  listings_.Forget("Maps/");
  EXPECT_EQ(Found("MAPS/DELTA/", "d.scr"), "Maps/Delta/d.scr");
  EXPECT_EQ(Found("Maps/Delta/", "c.scr"), "none");
  EXPECT_EQ(std::count(reads_.begin(), reads_.end(), "Maps/Delta/"), 2);
}

}  // namespace
}  // namespace torvane
