// UTF-8, and Windows-1252: the ANSI code page of Western Windows, in which
// Campaign Cartographer 2 shows a script's bytes and referees' own sector
// files are written.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace torvane {

// The length of the valid UTF-8 sequence at the start of `bytes` and its
// code point; length 0 when the first byte does not begin one (overlong
// forms, UTF-16 surrogates and values past Unicode do not).
size_t DecodeUtf8(std::string_view bytes, char32_t* code_point);

bool IsValidUtf8(std::string_view bytes);

void AppendUtf8(std::string& out, char32_t code_point);

// The character a Windows-1252 byte stands for; U+FFFD for the five bytes
// the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D).
char32_t Windows1252Character(unsigned char byte);

// The Windows-1252 byte of a character; nothing when the code page lacks it.
std::optional<unsigned char> Windows1252Byte(char32_t code_point);

// Windows-1252 text as UTF-8.
std::string Utf8FromWindows1252(std::string_view bytes);

}  // namespace torvane
