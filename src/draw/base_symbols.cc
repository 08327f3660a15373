// Base symbols round a world, placed from its base code letter and its
// remark codes, and the legend that lists every kind of base met.
#include "draw/base_symbols.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <string_view>

#include "platform/ascii_text.h"
#include "script/script_writer.h"

namespace torvane {

namespace {

struct BaseFlagRow {
  BaseFlags flag;
  std::string_view name;
};

constexpr BaseFlags Bit(int number) { return BaseFlags{1} << number; }

// The names are those of the drawing application's symbol catalogue.
constexpr std::array<BaseFlagRow, 27> BaseFlagTable{{
    {Bit(0), "Imperial Naval Base"},
    {Bit(1), "Imperial Scout Base"},
    {Bit(2), "Imperial Naval Depot"},
    {Bit(3), "Imperial Way Station"},
    {Bit(4), "Independent Naval Base"},
    {Bit(5), "Military Base"},
    {Bit(6), "Tlaukhu Base"},
    {Bit(7), "Aslan Clan Base"},
    {Bit(8), "Vargr Naval Base"},
    {Bit(9), "Vargr Corsair Base"},
    {Bit(10), "Droyne Naval Base"},
    {Bit(11), "Droyne Garrison"},
    {Bit(12), "Hiver Naval Base"},
    {Bit(13), "Hiver Embassy Centre"},
    {Bit(14), "Hiver Temporary Base"},
    {Bit(15), "Hiver Staging Base"},
    {Bit(16), "K'Kree Naval Base"},
    {Bit(17), "K'Kree Naval Outpost"},
    {Bit(18), "Interface World"},
    {Bit(19), "Terminus World"},
    {Bit(20), "Zhodani Base"},
    {Bit(21), "Zhodani Relay Station"},
    {Bit(22), "Zhodani Naval Depot"},
    {Bit(23), "Exile Camp"},
    {Bit(24), "Prison Camp"},
    {Bit(25), "Research Station"},
    {Bit(26), "Reserve"},
}};

// Row n holds the kind of bit n, so a kind's row is found from its bit.
constexpr bool RowsFollowBits() {
  for (size_t n = 0; n < BaseFlagTable.size(); ++n) {
    if (BaseFlagTable[n].flag != Bit(static_cast<int>(n))) return false;
  }
  return true;
}
static_assert(RowsFollowBits());

// Every kind that has a row.
constexpr BaseFlags kTableKinds = Bit(static_cast<int>(BaseFlagTable.size())) - 1;

struct BaseCodeRow {
  char letter;
  BaseFlags flags;
};

// The first matching row wins; V has no row.
constexpr std::array<BaseCodeRow, 25> BaseCodeTable{{
    {'A', Bit(0) | Bit(1)}, {'B', Bit(0) | Bit(3)}, {'C', Bit(9)},  {'D', Bit(2)},
    {'E', Bit(13)},         {'F', Bit(4) | Bit(5)}, {'G', Bit(8)},  {'H', Bit(8) | Bit(9)},
    {'I', Bit(18)},         {'J', Bit(4)},          {'K', Bit(16)}, {'L', Bit(12)},
    {'M', Bit(5)},          {'N', Bit(0)},          {'O', Bit(17)}, {'P', Bit(10)},
    {'Q', Bit(11)},         {'R', Bit(7)},          {'S', Bit(1)},  {'T', Bit(6)},
    {'U', Bit(6) | Bit(7)}, {'W', Bit(3)},          {'X', Bit(21)}, {'Y', Bit(22)},
    {'Z', Bit(20)},
}};

struct RemarkCode {
  std::string_view code;
  BaseFlags flag;
};

constexpr std::array<RemarkCode, 3> RemarkCodes{{
    {"Ex", Bit(23)},
    {"Pr", Bit(24)},
    {"Rs", Bit(25)},
}};

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

// Draws the kinds of `flags`, lowest bit first, at the entries from `top`
// down to `bottom` of `offsets`.
void DrawSymbols(const ScriptTarget& target, BaseFlags flags,
                 const std::array<MapPoint, kMaxSymbols>& offsets, int top, int bottom,
                 MapPoint centre) {
  int entry = top;
  // Each step takes the lowest kind left and finds its row from its bit.
  for (BaseFlags rest = flags & kTableKinds; rest != 0 && entry >= bottom; rest &= rest - 1) {
    const BaseFlagRow& row = BaseFlagTable[static_cast<size_t>(std::countr_zero(rest))];
    const MapPoint offset = offsets[static_cast<size_t>(entry)];
    ScrSymbol(target, row.name, {centre.x + offset.x, centre.y + offset.y}, 1.0, 1.0, 0.0);
    --entry;
  }
}

}  // namespace

std::string_view BaseFlagName(BaseFlags flag) {
  for (const BaseFlagRow& row : BaseFlagTable) {
    if ((row.flag & flag) != 0) return row.name;
  }
  return {};
}

int CountBaseFlags(BaseFlags flags) {
  // One step per kind, as a world has few: std::popcount is a library call on
  // processors without a population count instruction.
  int count = 0;
  for (; flags != 0; flags &= flags - 1) ++count;
  return count;
}

void DrawBases(const MapOptions& options, BaseFlags& legend_flags, const WorldLayout& layout,
               const ScriptTarget& target, std::string_view line, size_t length, MapPoint centre) {
  if (options.showBases == 0) return;
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
    DrawSymbols(target, code_kinds, offsets, symbol_count - 1, remark_count, centre);
  }
  if (remark_count > 0) {
    DrawSymbols(target, remark_kinds, offsets, remark_count - 1, 0, centre);
    legend_flags |= remark_kinds;
  }
}

void DrawLegend(const ScriptTarget& target, BaseFlags legend_flags, MapKind map) {
  if (legend_flags == 0) return;
  ScrLayer(target, "MAP BORDER");
  const double text_x = map == MapKind::kSubsectorMap ? -50.0 : 503.0;
  const double symbol_x = map == MapKind::kSubsectorMap ? -54.0 : 499.0;
  double y = map == MapKind::kSubsectorMap ? 56.5 : 404.5;
  int listed = 0;
  for (const BaseFlagRow& row : BaseFlagTable) {
    if (listed == kLegendEntryLimit) break;
    if ((legend_flags & row.flag) == 0) continue;
    ScrText(target, row.name, 0, {text_x, y}, 15, "Arial", 2.5, 0.0, 3, 16);
    ScrSymbol(target, row.name, {symbol_x, y}, 1.0, 1.0, 0.0);
    y -= kLegendStep;
    ++listed;
  }
  ScrRelease(target);
}

}  // namespace torvane
