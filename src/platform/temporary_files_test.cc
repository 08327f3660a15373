// The process's temporary files: an interruption removes those still there
// and only those, and their names are never a script's or a backup's.
#include "platform/temporary_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace torvane {
namespace {

std::vector<std::string> removed;

// The files first, then the directories with what the files were named in
// them.
TEST(TemporaryFiles, InterruptionRemovesTheFilesAndDirectoriesStillThere) {
  TemporaryFiles files;
  {
    const TemporaryFiles::Change change(files);
    files.Add("out/.torvane-1-0.tmp");
    files.AddDirectory("out/.a.torvane-import");
    files.Add("out/.a.torvane-import/.torvane-1-1.tmp");
    files.AddDirectory("out/.b.torvane-import");
  }
  {
    const TemporaryFiles::Change change(files);
    files.Drop("out/.torvane-1-0.tmp");   // named, or removed
    files.Drop("out/.b.torvane-import");  // moved to its name
  }
  removed.clear();
  files.RemoveAll([](const std::string& path) { removed.push_back("file " + path); },
                  [](const std::string& path) { removed.push_back("tree " + path); });
  EXPECT_EQ(removed, (std::vector<std::string>{"file out/.a.torvane-import/.torvane-1-1.tmp",
                                               "tree out/.a.torvane-import"}));
}

TEST(TemporaryFiles, NamesAreHiddenNewAndNoScriptsName) {
  const std::string first = NextTemporaryName();
  const std::string second = NextTemporaryName();
  EXPECT_NE(first, second);
  for (const std::string& name : {first, second}) {
    EXPECT_TRUE(name.starts_with(".torvane-")) << name;
    EXPECT_TRUE(name.ends_with(".tmp")) << name;
  }
}

}  // namespace
}  // namespace torvane
