// The kinds of base and the codes that stand for them: a world line's base
// code letter and its remark codes. The importer writes the letters, the
// previewer draws the kinds' symbols, so all read these tables.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace torvane {

// A set of base kinds, one bit per kind (27 defined).
using BaseFlags = std::uint32_t;

constexpr BaseFlags Bit(int number) { return BaseFlags{1} << number; }

struct BaseFlagRow {
  BaseFlags flag;
  std::string_view name;
};

// The names are those of the drawing application's symbol catalogue.
inline constexpr std::array<BaseFlagRow, 27> BaseFlagTable{{
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

// Every kind that has a row.
inline constexpr BaseFlags kTableKinds = Bit(static_cast<int>(BaseFlagTable.size())) - 1;

struct BaseCodeRow {
  char letter;
  BaseFlags flags;
};

// The base code letter of a world line and the kinds it draws. The first
// matching row wins; V has no row.
inline constexpr std::array<BaseCodeRow, 25> BaseCodeTable{{
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

// Remark codes that draw a base symbol.
inline constexpr std::array<RemarkCode, 3> RemarkCodes{{
    {"Ex", Bit(23)},
    {"Pr", Bit(24)},
    {"Rs", Bit(25)},
}};

// Row n holds the kind of bit n, so a kind's row is found from its bit.
constexpr bool RowsFollowBits() {
  for (size_t n = 0; n < BaseFlagTable.size(); ++n) {
    if (BaseFlagTable[n].flag != Bit(static_cast<int>(n))) return false;
  }
  return true;
}
static_assert(RowsFollowBits());

// Every kind a base code or a remark code gives has a row, and so a name.
constexpr bool EveryCodeKindHasARow() {
  for (const BaseCodeRow& row : BaseCodeTable) {
    if ((row.flags & ~kTableKinds) != 0) return false;
  }
  for (const RemarkCode& remark : RemarkCodes) {
    if ((remark.flag & ~kTableKinds) != 0) return false;
  }
  return true;
}
static_assert(EveryCodeKindHasARow());

}  // namespace torvane
