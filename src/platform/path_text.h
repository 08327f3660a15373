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

// The POSIX host form of a path text: a leading drive is dropped and every
// "\" becomes "/". No lookup is made.
std::string HostPathFromText(std::string_view text);

// True when Windows would take the text for a device rather than a file:
// its last component is a reserved name (CON, PRN, AUX, NUL, CONIN$,
// CONOUT$, COM1 to COM9, LPT1 to LPT9) in any case, with or without an
// extension or spaces before it, or the text lies in the device namespace
// ("\\.\", "\\?\", "\??\", with either separator).
bool NamesWindowsDevice(std::string_view text);

}  // namespace torvane
