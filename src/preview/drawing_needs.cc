// The kinds of names a drawing must provide, by the commands that name them.
#include "preview/drawing_needs.h"

namespace torvane {

namespace {

struct NeedKind {
  std::string_view heading;
  std::array<CommandKind, 2> commands;  // the same twice for a kind of one command
};

constexpr std::array<NeedKind, 4> kNeedKinds{{
    {"Layers", {CommandKind::kLayer, CommandKind::kLayer}},
    {"Fonts", {CommandKind::kTextFont, CommandKind::kTextFont}},
    {"Line and fill styles", {CommandKind::kLineStyle, CommandKind::kFillStyle}},
    {"Symbols", {CommandKind::kSymbol, CommandKind::kSymbol}},
}};

}  // namespace

void DrawingNeeds::Add(const std::vector<ScriptCommand>& commands) {
  static_assert(kNeedKinds.size() == std::tuple_size_v<decltype(names_)>);
  for (const ScriptCommand& command : commands) {
    for (size_t kind = 0; kind < kNeedKinds.size(); ++kind) {
      const auto& named_by = kNeedKinds[kind].commands;
      if (command.kind == named_by[0] || command.kind == named_by[1]) {
        names_[kind].insert(command.name);
      }
    }
  }
}

std::string DrawingNeeds::Text() const {
  std::string text;
  for (size_t kind = 0; kind < kNeedKinds.size(); ++kind) {
    text += kNeedKinds[kind].heading;
    text += ':';
    const char* separator = " ";
    for (const std::string& name : names_[kind]) {
      text += separator + name;
      separator = ", ";
    }
    text += '\n';
  }
  return text;
}

}  // namespace torvane
