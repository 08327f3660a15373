// Path texts in the Windows form that sector arguments, index lines and the
// output directory use: splitting into drive, directory, name and extension,
// joining them again, and turning a text into a path on this host.
#pragma once

#include <string>
#include <string_view>

namespace torvane {

// The four parts of a Windows path text. `drive` is "X:" or empty; `dir`
// keeps its final separator; `ext` keeps its leading ".".
struct WindowsPath {
  std::string drive;
  std::string dir;
  std::string name;
  std::string ext;
};

// Splits by the Windows rules: "/" and "\" both separate directories, the
// name ends at its last ".", a drive is a leading letter followed by ":".
WindowsPath SplitWindowsPath(std::string_view text);

// Joins by the Windows rules: ":" after the drive letter, "\" after a
// directory that lacks a final separator, "." before an extension that
// lacks one.
std::string JoinWindowsPath(std::string_view drive, std::string_view dir, std::string_view name,
                            std::string_view ext);

// The host form of a path text: a leading drive is dropped and every "\"
// becomes "/". No lookup is made.
std::string HostPathFromText(std::string_view text);

}  // namespace torvane
