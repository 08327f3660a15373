// The command table and the line reader of a drawing script.
#include "preview/script_reader.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>

#include "platform/ascii_text.h"
#include "platform/decimal_text.h"
#include "platform/text_lines.h"

namespace torvane {

namespace {

// What follows a command's keyword on its first line.
enum class Argument {
  kNone,     // nothing
  kName,     // a name of at least one character, blanks included
  kText,     // any text, also empty; leading blanks belong to it
  kInteger,  // one int
  kNumbers,  // numbers and separators as the pattern gives them
};

// In a pattern '#' stands for a number; every other character is literal.
// The rows are in the order of CommandKind, which gives each its word.
struct CommandFormat {
  CommandKind kind;
  Argument argument;
  std::string_view pattern;      // for kNumbers
  std::string_view second_line;  // pattern of a second line, if any
};

constexpr std::array<CommandFormat, 17> kCommandFormats{{
    {CommandKind::kEchoOff, Argument::kNone, "", ""},
    {CommandKind::kEchoOn, Argument::kNone, "", ""},
    {CommandKind::kLayer, Argument::kName, "", ""},
    {CommandKind::kColor, Argument::kInteger, "", ""},
    {CommandKind::kLineWidth, Argument::kNumbers, "#", ""},
    {CommandKind::kLineStyle, Argument::kName, "", ""},
    {CommandKind::kFillStyle, Argument::kName, "", ""},
    {CommandKind::kTextFont, Argument::kName, "", ""},
    {CommandKind::kTextHeight, Argument::kNumbers, "#", ""},
    {CommandKind::kTextAngle, Argument::kNumbers, "#", ""},
    {CommandKind::kTextJustify, Argument::kInteger, "", ""},
    {CommandKind::kTextStyle, Argument::kInteger, "", ""},
    {CommandKind::kText, Argument::kText, "", "#,#"},
    {CommandKind::kCircle, Argument::kNumbers, "#;#,#;", ""},
    {CommandKind::kArc, Argument::kNumbers, "#,#;<#,#;#", ""},
    {CommandKind::kLine, Argument::kNumbers, "REF #,#;<#,#;REF #,#;<#,#;", ""},
    {CommandKind::kSymbol, Argument::kName, "", "#;#;#;#,#;"},
}};
static_assert(kCommandFormats.size() == kCommandWords.size());

constexpr bool InWordOrder() {
  for (size_t i = 0; i < kCommandFormats.size(); ++i) {
    if (static_cast<size_t>(kCommandFormats[i].kind) != i) return false;
  }
  return true;
}
static_assert(InWordOrder(), "one format per command word, in the words' order");

std::string_view Keyword(std::string_view line) { return line.substr(0, line.find(' ')); }

// After the keyword and the one blank that ends it.
std::string_view Rest(std::string_view line) {
  const size_t blank = line.find(' ');
  return blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
}

const CommandFormat* FindFormat(std::string_view keyword) {
  for (const CommandFormat& format : kCommandFormats) {
    if (EqualsIgnoringAsciiCase(CommandWord(format.kind), keyword)) return &format;
  }
  return nullptr;
}

// Blanks that may follow a command's last value.
constexpr std::string_view kLineBlanks = " \t";

// Matches `text` against `pattern`, storing the numbers from values[first]
// on. Every number must be finite.
bool MatchNumbers(std::string_view text, std::string_view pattern, ScriptCommand& command,
                  size_t first) {
  text = TrimTrailing(text, kLineBlanks);
  size_t slot = first;
  for (const char want : pattern) {
    if (want != '#') {
      if (text.empty() || text.front() != want) return false;
      text.remove_prefix(1);
      continue;
    }
    double value = 0;
    const DecimalRead read = ReadDecimal(text.data(), text.data() + text.size(), value);
    if (!read.ok || !std::isfinite(value) || slot >= command.values.size()) return false;
    command.values[slot++] = value;
    text.remove_prefix(static_cast<size_t>(read.end - text.data()));
  }
  return text.empty();
}

size_t CountNumbers(std::string_view pattern) {
  size_t count = 0;
  for (const char c : pattern) count += c == '#';
  return count;
}

bool ReadArgument(const CommandFormat& format, std::string_view line, ScriptCommand& command) {
  const std::string_view rest = Rest(line);
  switch (format.argument) {
    case Argument::kNone:
      return TrimTrailing(rest, kLineBlanks).empty();
    case Argument::kName:
      command.name = rest;
      return !rest.empty();
    case Argument::kText:
      command.name = rest;
      return true;
    case Argument::kInteger: {
      const std::string_view digits = TrimTrailing(rest, kLineBlanks);
      const auto result =
          std::from_chars(digits.data(), digits.data() + digits.size(), command.number);
      return !digits.empty() && result.ec == std::errc() &&
             result.ptr == digits.data() + digits.size();
    }
    case Argument::kNumbers:
      return MatchNumbers(rest, format.pattern, command, 0);
  }
  return false;
}

// A keyword for a message: printable ASCII only, at most 24 characters.
std::string Printable(std::string_view text) {
  std::string shown;
  for (const char c : text.substr(0, 24)) shown += c >= 0x20 && c < 0x7F ? c : '?';
  if (text.size() > 24) shown += "...";
  return shown;
}

std::string At(size_t index) { return "line " + std::to_string(index + 1) + ": "; }

}  // namespace

ScriptReading ReadScript(std::string_view text) {
  ScriptReading reading;
  const std::vector<std::string_view> lines = SplitTextLines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (TrimTrailing(line, kLineBlanks).empty()) continue;
    const std::string_view keyword = Keyword(line);
    const CommandFormat* format = FindFormat(keyword);
    if (format == nullptr) {
      reading.warnings.push_back(At(i) + "unknown command \"" + Printable(keyword) + "\" skipped");
      continue;
    }
    ScriptCommand command;
    command.kind = format->kind;
    command.line = static_cast<int>(i + 1);
    if (!ReadArgument(*format, line, command)) {
      reading.warnings.push_back(At(i) + "malformed " + std::string(CommandWord(format->kind)) +
                                 " command skipped");
      continue;
    }
    if (!format->second_line.empty()) {
      const std::string what =
          std::string(CommandWord(format->kind)) + " of line " + std::to_string(i + 1);
      if (i + 1 == lines.size()) {
        reading.warnings.push_back(At(i) + std::string(CommandWord(format->kind)) +
                                   " without its second line skipped");
        continue;
      }
      if (!MatchNumbers(lines[i + 1], format->second_line, command,
                        CountNumbers(format->pattern))) {
        // A line that is itself a command is read as one; anything else was
        // meant as the placement and goes with the skipped command.
        if (FindFormat(Keyword(lines[i + 1])) != nullptr) {
          reading.warnings.push_back(At(i) + std::string(CommandWord(format->kind)) +
                                     " without its second line skipped");
        } else {
          reading.warnings.push_back(At(i + 1) + "malformed second line of " + what + " skipped");
          ++i;
        }
        continue;
      }
      ++i;
    }
    reading.commands.push_back(std::move(command));
  }
  if (reading.commands.empty() || reading.commands.front().kind != CommandKind::kEchoOff) {
    reading.warnings.push_back("line 1: the script does not begin with ECOFF");
  }
  if (reading.commands.empty() || reading.commands.back().kind != CommandKind::kEchoOn) {
    reading.warnings.push_back(At(lines.empty() ? 0 : lines.size() - 1) +
                               "the script does not end with ECON; it may be cut short");
  }
  return reading;
}

}  // namespace torvane
