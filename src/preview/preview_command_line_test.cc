// The command line of torvane-preview inside the process: names are UTF-8
// texts from end to end, also where the host's own narrow encoding is
// something else.
#include "preview/preview_command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/utf8_path.h"

namespace torvane::preview {
namespace {

namespace fs = std::filesystem;

TEST(PreviewCommandLine, DefaultOutputPathKeepsNonAsciiNames) {
  const struct {
    const char* script;
    const char* picture;
  } cases[] = {
      {"\xC3\x86r\xC3\xB8.scr", "\xC3\x86r\xC3\xB8.svg"},  // Ærø
      {"\xCE\xB4/\xCE\xBB\xCF\x8D\xCF\x81\xCE\xB1",
       "\xCE\xB4/\xCE\xBB\xCF\x8D\xCF\x81\xCE\xB1.svg"},                     // δ/λύρα
      {"\xE5\x9C\xB0\xE5\x9B\xB3.SVG", "\xE5\x9C\xB0\xE5\x9B\xB3.SVG.svg"},  // 地図
  };
  for (const auto& c : cases) EXPECT_EQ(DefaultOutputPath(c.script), c.picture) << c.script;
}

TEST(PreviewCommandLine, ScriptWithANonAsciiNameIsDrawnBesideIt) {
  std::random_device seed;
  const fs::path dir = fs::temp_directory_path() / ("torvane-preview-" + std::to_string(seed()));
  fs::create_directories(dir);
  const std::string name = "\xC3\x86r\xC3\xB8 \xCE\xBB";  // Ærø λ
  std::ofstream(dir / PathFromUtf8(name + ".scr"), std::ios::binary) << "ECOFF\r\nECON\r\n";
  std::ostringstream out, err;
  EXPECT_EQ(RunPreview(*MakeHostFileSystem(), {Utf8FromPath(dir / PathFromUtf8(name + ".scr"))},
                       out, err),
            kPreviewDone)
      << err.str();
  EXPECT_TRUE(fs::exists(dir / PathFromUtf8(name + ".svg")));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace torvane::preview
