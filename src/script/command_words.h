// The command words of the drawing application's script language that
// scripts use: the writer puts them and the previewer reads them from this
// one table.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace torvane {

enum class CommandKind {
  kEchoOff,      // ECOFF
  kEchoOn,       // ECON
  kLayer,        // LAYER name
  kColor,        // COLOR n
  kLineWidth,    // LWIDTH w
  kLineStyle,    // LSTYLE name
  kFillStyle,    // FSTYLE name
  kTextFont,     // TSPECF name
  kTextHeight,   // TSPECH h
  kTextAngle,    // TSPECA a
  kTextJustify,  // TSPECJ j
  kTextStyle,    // TSPECS s
  kText,         // TEXTM text / x,y
  kCircle,       // CIRR r;x,y;
  kArc,          // ARCS x,y;<start,r;end
  kLine,         // LINE REF x,y;<angle,d;REF x,y;<angle,d;
  kSymbol,       // INSSYM name / sx;sy;rotation;x,y;
};

// In the order of CommandKind.
inline constexpr std::array<std::string_view, 17> kCommandWords = {
    "ECOFF",  "ECON",   "LAYER",  "COLOR", "LWIDTH", "LSTYLE", "FSTYLE", "TSPECF", "TSPECH",
    "TSPECA", "TSPECJ", "TSPECS", "TEXTM", "CIRR",   "ARCS",   "LINE",   "INSSYM",
};
static_assert(kCommandWords.size() == static_cast<size_t>(CommandKind::kSymbol) + 1);

constexpr std::string_view CommandWord(CommandKind kind) {
  return kCommandWords[static_cast<size_t>(kind)];
}

// A script's first and last lines, each written as one piece.
inline constexpr std::string_view kScriptFirstLine = "ECOFF\n";
inline constexpr std::string_view kScriptLastLine = "ECON\n";
static_assert(kScriptFirstLine.substr(0, kScriptFirstLine.size() - 1) ==
              CommandWord(CommandKind::kEchoOff));
static_assert(kScriptLastLine.substr(0, kScriptLastLine.size() - 1) ==
              CommandWord(CommandKind::kEchoOn));

// The layer every script is drawn on unless it names another.
inline constexpr std::string_view kStandardLayer = "STANDARD";

}  // namespace torvane
