// Base symbols round a world, placed from its base code letter and its
// remark codes, and the legend that lists every kind of base met.
#include "draw/base_symbols.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <string_view>

#include "draw/map_text.h"
#include "platform/ascii_text.h"
#include "script/script_writer.h"

namespace torvane {

namespace {

constexpr int kMaxSymbols = 5;

// SymbolLayout[n - 1] holds the offsets from the world's centre for n
// symbols; entries beyond n are unused.
constexpr std::array<std::array<MapPoint, kMaxSymbols>, kMaxSymbols> SymbolLayout{{
    {{{-4.0, 0.0}}},
    {{{-3.5, -2.5}, {-3.5, 2.5}}},
    {{{-3.5, -2.5}, {-4.0, 0.0}, {-3.5, 2.5}}},
    {{{3.5, -2.5}, {3.5, 2.5}, {-3.5, -2.5}, {-3.5, 2.5}}},
    {{{3.5, -2.5}, {3.5, 2.5}, {-3.5, -2.5}, {-4.0, 0.0}, {-3.5, 2.5}}},
}};

// The most kinds that one base code gives.
constexpr int MostKindsOfOneCode() {
  int most = 0;
  for (const BaseCodeRow& row : BaseCodeTable) most = std::max(most, std::popcount(row.flags));
  return most;
}
// Every kind of a world's base code and remark codes has its entry in the
// layout: a world never has more symbols than the layout has room for.
static_assert(MostKindsOfOneCode() + static_cast<int>(RemarkCodes.size()) <= kMaxSymbols);

constexpr int kLegendEntryLimit = 11;
constexpr double kLegendStep = 4.1;

// 0 for a column outside the line.
char CharAt(std::string_view line, size_t length, std::int32_t column) {
  if (column < 0 || static_cast<size_t>(column) >= length) return 0;
  return line[static_cast<size_t>(column)];
}

BaseFlags RemarkFlags(const WorldLayout& layout, std::string_view line, size_t length) {
  const std::string_view text = RemarkCodeText(layout, line, length);
  BaseFlags flags = 0;
  for (const RemarkCode& remark : RemarkCodes) {
    if (text.find(remark.code) != std::string_view::npos) flags |= remark.flag;
  }
  return flags;
}

BaseFlags CodeFlags(const WorldLayout& layout, std::string_view line, size_t length) {
  const char code = CharAt(line, length, layout.baseColumn());
  if (code == 0 || code == ' ') return 0;
  const char letter = ToAsciiUpper(code);
  for (const BaseCodeRow& row : BaseCodeTable) {
    if (row.letter == letter) return row.flags;
  }
  return 0;
}

// Draws the kinds of `flags`, lowest bit first, at the entries of `offsets`
// from `top` down, one entry per kind. Every kind has a row
// (EveryCodeKindHasARow), and the caller leaves an entry for each.
void DrawSymbols(const ScriptTarget& target, BaseFlags flags,
                 const std::array<MapPoint, kMaxSymbols>& offsets, int top, MapPoint centre) {
  int entry = top;
  // Each step takes the lowest kind left and finds its row from its bit.
  for (BaseFlags rest = flags; rest != 0; rest &= rest - 1) {
    const BaseFlagRow& row = BaseFlagTable[static_cast<size_t>(std::countr_zero(rest))];
    const MapPoint offset = offsets[static_cast<size_t>(entry)];
    ScrSymbol(target, row.name, {centre.x + offset.x, centre.y + offset.y}, 1.0, 1.0, 0.0);
    --entry;
  }
}

}  // namespace

int CountBaseFlags(BaseFlags flags) {
  // One step per kind, as a world has few: std::popcount is a library call on
  // processors without a population count instruction.
  int count = 0;
  for (; flags != 0; flags &= flags - 1) ++count;
  return count;
}

void DrawBases(const WorldDrawing& drawing, std::string_view line, size_t length, MapPoint centre) {
  if (drawing.options.showBases == 0) return;
  const WorldLayout& layout = drawing.layout;
  const ScriptTarget& target = drawing.target;
  BaseFlags& legend_flags = drawing.legendFlags;
  const BaseFlags remark_kinds = RemarkFlags(layout, line, length);
  const int remark_count = CountBaseFlags(remark_kinds);
  const BaseFlags code_kinds = CodeFlags(layout, line, length);
  const int code_count = CountBaseFlags(code_kinds);
  // The code's kinds take the last entries of the layout, the remarks' the
  // first; the tables leave room for all of them.
  const int symbol_count = code_count + remark_count;
  if (symbol_count == 0) return;
  const std::array<MapPoint, kMaxSymbols>& offsets =
      SymbolLayout[static_cast<size_t>(symbol_count - 1)];
  if (code_count > 0) {
    legend_flags |= code_kinds;
    DrawSymbols(target, code_kinds, offsets, symbol_count - 1, centre);
  }
  if (remark_count > 0) {
    DrawSymbols(target, remark_kinds, offsets, remark_count - 1, centre);
    legend_flags |= remark_kinds;
  }
}

void DrawLegend(const ScriptTarget& target, BaseFlags legend_flags, MapKind map) {
  if (legend_flags == 0) return;
  ScrLayer(target, "MAP BORDER");
  const double text_x = map == MapKind::kSubsectorMap ? kSubsectorLegendX : kSectorLegendX;
  const double symbol_x = map == MapKind::kSubsectorMap ? -54.0 : 499.0;
  double y = map == MapKind::kSubsectorMap ? 56.5 : 404.5;
  int listed = 0;
  for (const BaseFlagRow& row : BaseFlagTable) {
    if (listed == kLegendEntryLimit) break;
    if ((legend_flags & row.flag) == 0) continue;
    ScrText(target, row.name, 0, {text_x, y}, kLegendStyle);
    ScrSymbol(target, row.name, {symbol_x, y}, 1.0, 1.0, 0.0);
    y -= kLegendStep;
    ++listed;
  }
  ScrRelease(target);
}

}  // namespace torvane
