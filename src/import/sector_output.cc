// Writing a sector directory: a new one is built beside its final place and
// renamed into it; files that replace existing ones are each written to a
// temporary name first and renamed over the old file.
#include "import/sector_output.h"

#include <fstream>
#include <system_error>

#include "import/imported_sector.h"
#include "platform/ascii_text.h"
#include "platform/utf8_path.h"

namespace torvane_import {

namespace fs = std::filesystem;
using torvane::GenericUtf8FromPath;
using torvane::PathFromUtf8;
using torvane::Utf8FromPath;

namespace {

bool WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  return static_cast<bool>(out);
}

// The existing file in `directory` whose name matches `name` without regard
// to case; empty when there is none.
fs::path ExistingFile(const fs::path& directory, const fs::path& relative) {
  fs::path found = directory;
  for (const fs::path& part : relative) {
    std::error_code error;
    fs::path match;
    for (const fs::directory_entry& entry : fs::directory_iterator(found, error)) {
      if (torvane::EqualsIgnoringAsciiCase(Utf8FromPath(entry.path().filename()),
                                           Utf8FromPath(part))) {
        match = entry.path();
        break;
      }
    }
    if (match.empty()) return {};
    found = match;
  }
  return found;
}

std::string WriteNewDirectory(const fs::path& directory, const std::vector<OutputFile>& files) {
  std::error_code error;
  const fs::path parent = directory.has_parent_path() ? directory.parent_path() : fs::path(".");
  fs::create_directories(parent, error);
  if (error) return "cannot create " + Utf8FromPath(parent) + ": " + error.message();
  // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) when a literal
  // is prepended to a temporary string.
  std::string staging_name = ".";
  staging_name += Utf8FromPath(directory.filename());
  staging_name += ".torvane-import";
  const fs::path staging = parent / staging_name;
  fs::remove_all(staging, error);
  std::string failure;
  for (const OutputFile& file : files) {
    const fs::path path = staging / PathFromUtf8(file.path);
    fs::create_directories(path.parent_path(), error);
    if (error || !WriteFile(path, file.text)) {
      failure = "cannot write " + Utf8FromPath(directory / PathFromUtf8(file.path));
      break;
    }
  }
  if (failure.empty()) {
    fs::rename(staging, directory, error);
    if (error) failure = "cannot create " + Utf8FromPath(directory) + ": " + error.message();
  }
  if (!failure.empty()) fs::remove_all(staging, error);
  return failure;
}

}  // namespace

std::string WriteSectorDirectory(const fs::path& directory, const std::vector<OutputFile>& files,
                                 bool replace) {
  std::error_code error;
  if (!fs::exists(directory, error)) return WriteNewDirectory(directory, files);
  if (!fs::is_directory(directory, error)) {
    return Utf8FromPath(directory) + " exists and is not a directory";
  }
  std::vector<fs::path> targets;
  for (const OutputFile& file : files) {
    fs::path existing = ExistingFile(directory, PathFromUtf8(file.path));
    if (!existing.empty() && !replace) {
      return Utf8FromPath(directory) + " already holds " +
             GenericUtf8FromPath(existing.lexically_relative(directory)) +
             " (and perhaps hand edits): nothing written; --force replaces the files";
    }
    targets.push_back(existing.empty() ? directory / PathFromUtf8(file.path) : existing);
  }
  // Every new text is on disk under a temporary name before any old file is replaced.
  for (size_t i = 0; i < files.size(); ++i) {
    fs::create_directories(targets[i].parent_path(), error);
    fs::path temporary = targets[i];
    temporary += ".new";
    if (error || !WriteFile(temporary, files[i].text)) {
      for (size_t j = 0; j <= i; ++j) {
        fs::path written = targets[j];
        written += ".new";
        fs::remove(written, error);
      }
      return "cannot write " + Utf8FromPath(temporary) + ": nothing replaced";
    }
  }
  for (size_t i = 0; i < files.size(); ++i) {
    fs::path temporary = targets[i];
    temporary += ".new";
    fs::rename(temporary, targets[i], error);
    if (error) return "cannot replace " + Utf8FromPath(targets[i]) + ": " + error.message();
  }
  return {};
}

}  // namespace torvane_import
