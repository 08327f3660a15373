// Windows path texts: split, join and host form.
#include "platform/path_text.h"

namespace torvane {

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool HasDrive(std::string_view text) { return text.size() >= 2 && text[1] == ':'; }

}  // namespace

WindowsPath SplitWindowsPath(std::string_view text) {
  WindowsPath parts;
  if (HasDrive(text)) {
    parts.drive = text.substr(0, 2);
    text.remove_prefix(2);
  }
  const size_t last_separator = text.find_last_of("/\\");
  if (last_separator != std::string_view::npos) {
    parts.dir = text.substr(0, last_separator + 1);
    text.remove_prefix(last_separator + 1);
  }
  const size_t dot = text.find_last_of('.');
  if (dot != std::string_view::npos) {
    parts.ext = text.substr(dot);
    text = text.substr(0, dot);
  }
  parts.name = text;
  return parts;
}

std::string JoinWindowsPath(std::string_view drive, std::string_view dir, std::string_view name,
                            std::string_view ext) {
  std::string path;
  path.reserve(drive.size() + dir.size() + name.size() + ext.size() + 3);
  if (!drive.empty()) {
    path += drive[0];
    path += ':';
  }
  if (!dir.empty()) {
    path += dir;
    if (!IsSeparator(dir.back())) path += '\\';
  }
  path += name;
  if (!ext.empty()) {
    if (ext.front() != '.') path += '.';
    path += ext;
  }
  return path;
}

std::string HostPathFromText(std::string_view text) {
  if (HasDrive(text)) text.remove_prefix(2);
  std::string host(text);
  for (char& c : host) {
    if (c == '\\') c = '/';
  }
  return host;
}

}  // namespace torvane
