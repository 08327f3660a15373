// Windows path texts: split, join, host form and the names Windows keeps for
// devices.
#include "platform/path_text.h"

#include <algorithm>
#include <iterator>

#include "platform/ascii_text.h"

namespace torvane {

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool HasDrive(std::string_view text) { return text.size() >= 2 && text[1] == ':'; }

// Names that Windows opens as a device in any directory. COM and LPT take a
// port number: 1 to 9, or the superscripts 1 to 3 (in UTF-8), which Windows
// counts as digits too.
struct DeviceName {
  std::string_view name;
  bool numbered;
};
constexpr DeviceName kDeviceNames[] = {
    {"AUX", false}, {"CON", false}, {"CONIN$", false}, {"CONOUT$", false},
    {"NUL", false}, {"PRN", false}, {"COM", true},     {"LPT", true},
};
constexpr std::string_view kPortNumbers[] = {
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "\xC2\xB9", "\xC2\xB2", "\xC2\xB3",
};

// "\\.\", "\\?\" and "\??\" lead into the device namespace, where names
// are not files' names.
bool InDeviceNamespace(std::string_view text) {
  if (text.size() < 3 || !IsSeparator(text[0])) return false;
  const bool prefix = (IsSeparator(text[1]) && (text[2] == '.' || text[2] == '?')) ||
                      (text[1] == '?' && text[2] == '?');
  return prefix && (text.size() == 3 || IsSeparator(text[3]));
}

// The part of the last component that Windows compares with the device
// names: it ends at a ":" (one just before the extension aside), loses the
// extension from the first "." and then its trailing spaces.
std::string_view DeviceNameCandidate(std::string_view text) {
  while (!text.empty() && text.back() == ':') text.remove_suffix(1);
  size_t start = text.size();
  while (start > 0) {
    const char c = text[start - 1];
    if (IsSeparator(c) || (c == ':' && (start == text.size() || text[start] != '.'))) break;
    --start;
  }
  std::string_view name = text.substr(start);
  const size_t dot = name.find('.');
  if (dot != std::string_view::npos) {
    name = name.substr(0, dot);
    if (name.ends_with(':')) name.remove_suffix(1);
  }
  while (name.ends_with(' ')) name.remove_suffix(1);
  return name;
}

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

bool NamesWindowsDevice(std::string_view text) {
  if (InDeviceNamespace(text)) return true;
  const std::string_view name = DeviceNameCandidate(text);
  for (const DeviceName& device : kDeviceNames) {
    if (!EqualsIgnoringAsciiCase(name.substr(0, device.name.size()), device.name)) continue;
    const std::string_view number = name.substr(device.name.size());
    if (device.numbered ? std::find(std::begin(kPortNumbers), std::end(kPortNumbers), number) !=
                              std::end(kPortNumbers)
                        : number.empty()) {
      return true;
    }
  }
  return false;
}

}  // namespace torvane
