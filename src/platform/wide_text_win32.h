// UTF-8 texts from the UTF-16 the Windows API gives: the host layer's
// programs and files speak UTF-8 everywhere else. Windows only.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace torvane {

// The UTF-8 text of a NUL-terminated wide text; empty for an empty one.
inline std::string Utf8FromWide(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string text(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
  text.pop_back();  // the terminating NUL
  return text;
}

}  // namespace torvane
