#include "import/folder_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "import/import_run.h"
#include "testing/memory_file_system.h"

namespace torvane {
namespace {

using torvane_test::MemoryFileSystem;

const char kTabFile[] = "Hex\tName\tUWP\tPBG\n0101\tAlpha\tA788899-C\t123\n0x02\tBroken\tX\t1\n";
const char kColumnFile[] =
    "Hex  Name          UWP       PBG\n"
    "---- ------------- --------- ---\n"
    "0102 Beta          A788899-C 123\n";
const char kMetadata[] = "<Sector><Name>Far Reach</Name></Sector>";

struct ImportResult {
  int status;
  std::string out, err;
};

ImportResult Import(MemoryFileSystem& disk, const std::vector<std::string>& arguments) {
  std::ostringstream out, err;
  const int status = RunImport(disk, arguments, out, err);
  return {status, out.str(), err.str()};
}

// `text` with each "/" as the host joins a folder and a name in it: on
// Windows the paths of the files found in a folder read "pub\Reach.tab".
std::string Joined(std::string text) {
  std::replace(text.begin(), text.end(), '/',
               static_cast<char>(std::filesystem::path::preferred_separator));
  return text;
}

// The files under `directory`, by their paths inside it.
std::map<std::string, std::string> FilesUnder(const MemoryFileSystem& disk,
                                              const std::string& directory) {
  std::map<std::string, std::string> files;
  for (const auto& [path, bytes] : disk.State().files) {
    if (path.starts_with(directory + "/")) files[path.substr(directory.size())] = bytes;
  }
  return files;
}

TEST(FolderImport, EachSectorIsWrittenAsItsSingleImportWouldBe) {
  MemoryFileSystem disk;
  disk.AddFile("pub/Reach.tab", kTabFile);
  disk.AddFile("pub/reach.XML", kMetadata);
  disk.AddFile("pub/Spin.sec", kColumnFile);
  disk.AddFile("pub/Spin.txt", kTabFile);  // the richer format of the same sector
  disk.AddFile("pub/README.md", "# Sectors\nDownloaded in 1105.\n");
  disk.AddFile("pub/Lone.xml", kMetadata);
  disk.AddDirectory("pub/old");
  int most_open = 0;
  disk.DoBeforeEach([&] { most_open = std::max(most_open, disk.OpenFiles()); });
  const ImportResult run = Import(disk, {"pub", "out"});
  EXPECT_EQ(most_open, 1);
  EXPECT_EQ(run.status, kImportWritten) << run.err;
  EXPECT_EQ(run.err,
            Joined("torvane-import: pub/Lone.xml is metadata without a sector file: left out\n"
                   "torvane-import: pub/README.md is not a sector file: left out\n"
                   "pub/Reach.tab:3: hex '0x02' is not a hex of the sector (0101 to 3240)\n"
                   "torvane-import: pub/Spin.sec left out: pub/Spin.txt holds the same sector "
                   "in tab-delimited rather than column format\n"
                   "pub/Spin.txt:3: hex '0x02' is not a hex of the sector (0101 to 3240)\n"));
  EXPECT_NE(run.out.find(Joined("Wrote out/Spin from tab-delimited file pub/Spin.txt: ")),
            std::string::npos);
  EXPECT_TRUE(
      run.out.ends_with("2 sectors written, 0 refused, 3 files left out; in all 2 worlds "
                        "written unchanged, 0 written changed, 2 skipped.\n"))
      << run.out;
  for (const auto& [sector, metadata] : {std::pair{"Reach.tab", "reach.XML"}, {"Spin.txt", ""}}) {
    std::vector<std::string> single = {std::string("pub/") + sector, "alone/x"};
    if (*metadata) single.insert(single.begin() + 1, std::string("pub/") + metadata);
    const std::string name = std::string(sector).substr(0, std::string(sector).find('.'));
    single.back() = "alone/" + name;
    EXPECT_EQ(Import(disk, single).status, kImportWritten);
    EXPECT_EQ(FilesUnder(disk, "out/" + name), FilesUnder(disk, "alone/" + name)) << sector;
    EXPECT_EQ(FilesUnder(disk, "out/" + name).size(), 17u);
  }
  EXPECT_EQ(FilesUnder(disk, "out").size(), 34u);
}

TEST(FolderImport, RefusalsWriteNothingOverAnything) {
  MemoryFileSystem disk;
  disk.AddFile("a/Reach.tab", kTabFile);
  disk.AddFile("b/reach.tab", kTabFile);
  disk.AddFile("a/Spin.tab", kTabFile);
  disk.AddFile("b/Spin.sec", kColumnFile);
  disk.AddFile("out/Spin/Spin.dat", "hand edits");
  const ImportResult run = Import(disk, {"a", "b", "out"});
  EXPECT_EQ(run.status, kImportFailed);
  EXPECT_NE(run.err.find(Joined("torvane-import: a/Reach.tab and b/reach.tab would both make "
                                "out/Reach: neither is imported\n")),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find(Joined("torvane-import: out/Spin already holds Spin.dat (and perhaps "
                                "hand edits): nothing written; --force replaces the files\n")),
            std::string::npos)
      << run.err;
  EXPECT_TRUE(
      run.out.ends_with("0 sectors written, 3 refused, 1 file left out; in all 0 worlds "
                        "written unchanged, 0 written changed, 0 skipped.\n"))
      << run.out;
  EXPECT_FALSE(disk.Exists("out/Reach"));
  EXPECT_EQ(disk.FileBytes("out/Spin/Spin.dat"), "hand edits");
  EXPECT_EQ(Import(disk, {"--force", "a/Spin.tab", "b/Spin.sec", "out"}).status, kImportWritten);
  EXPECT_NE(disk.FileBytes("out/Spin/Spin.dat"), "hand edits");
}

TEST(FolderImport, CommandLineAsksForManySectorsByFoldersAndNames) {
  const struct {
    std::vector<std::string> arguments;
    std::string written;  // a data file that the run writes
  } cases[] = {
      {{"pub"}, "pub/Reach/Reach.dat"},
      {{"pub/Reach.tab", "pub/Spin.sec", "out"}, "out/Spin/Spin.dat"},
      {{"pub/Reach.tab", "pub/Reach.xml", "out/Mine"}, "out/Mine/Mine.dat"},
  };
  for (const auto& c : cases) {
    MemoryFileSystem disk;
    disk.AddFile("pub/Reach.tab", kTabFile);
    disk.AddFile("pub/Reach.xml", kMetadata);
    disk.AddFile("pub/Spin.sec", kColumnFile);
    EXPECT_EQ(Import(disk, c.arguments).status, kImportWritten) << c.arguments.front();
    EXPECT_TRUE(disk.Exists(c.written)) << c.written;
  }
  MemoryFileSystem disk;
  disk.AddFile("pub/Spin.sec", kColumnFile);
  const ImportResult run = Import(disk, {"pub", "pub/Spin.sec"});
  EXPECT_EQ(run.status, kImportUsage);
  EXPECT_EQ(run.err,
            "torvane-import: pub/Spin.sec is a file: the last argument is the folder the sector "
            "directories are written into\n");
}

}  // namespace
}  // namespace torvane
