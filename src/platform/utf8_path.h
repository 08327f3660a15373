// std::filesystem paths made from UTF-8 texts and turned back into them.
// Every name inside the programs is UTF-8; a path made from a plain
// std::string is read in the host's narrow encoding instead, which on
// Windows is not UTF-8 and cannot hold every name.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace torvane {

inline std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// The same with "/" between the parts on every host, for a name inside a
// directory that a message gives the same way everywhere.
inline std::string GenericUtf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace torvane
