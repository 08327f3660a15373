// Drawing a read script as an SVG picture: map units with y upward become
// SVG user units with y downward (SVG y is the negated map y), on a black
// background, one group per layer.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "preview/map_frame.h"
#include "preview/script_reader.h"
#include "preview/world_targets.h"

namespace torvane {

struct PreviewOptions {
  bool hex_grid = true;
  std::optional<MapKind> frame;     // none: decided from the script
  std::vector<WorldTarget> worlds;  // drawn above everything else
};

// The whole SVG document. `title` names the picture (the script's file
// name). Anything drawn with a stand-in (an unknown colour, font, symbol or
// justification) adds a warning, once per value.
std::string DrawPreview(const std::vector<ScriptCommand>& commands, const PreviewOptions& options,
                        std::string_view title, std::vector<std::string>& warnings);

}  // namespace torvane
