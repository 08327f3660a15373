// torvane-gensector: writes a made-up sector directory for the benchmark, the
// same bytes for the same seed and density on every machine. It draws from a
// generator of its own, since the standard distributions differ between
// library versions.
#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "draw/base_kinds.h"
#include "draw/hex_geometry.h"
#include "draw/route_line.h"
#include "draw/world_layout.h"
#include "sector/index_line.h"

namespace {

using torvane::kSectorColumns;
using torvane::kSectorRows;
using torvane::kSubsectorColumns;
using torvane::kSubsectorCount;
using torvane::kSubsectorNameLimit;
using torvane::kSubsectorRows;

// The columns of a world line, as torvane reads them.
constexpr torvane::WorldColumns kColumns = torvane::kStandardWorldColumns;
constexpr size_t kNameWidth = kColumns.nameWidth;
constexpr size_t kRemarksWidth = kColumns.remarksWidth;

// splitmix64: small, fast and defined only by integer arithmetic.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  // 0 to bound - 1; the slight bias of the modulo does not matter here.
  int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint64_t>(bound)); }
  int Between(int low, int high) { return low + Below(high - low + 1); }
  bool Percent(int chance) { return Below(100) < chance; }
  char Pick(std::string_view choices) {
    return choices[static_cast<size_t>(Below(static_cast<int>(choices.size())))];
  }
  template <typename T, size_t N>
  const T& Pick(const std::array<T, N>& choices) {
    return choices[static_cast<size_t>(Below(static_cast<int>(N)))];
  }

 private:
  std::uint64_t state_;
};

constexpr std::string_view kHexDigits = "0123456789ABCDEFGHJ";

// Starports A to E and X, and the spaceports F, G, H and Y.
constexpr std::string_view kStarports = "AAABBBBCCCCCDDDDEEEXXFGHY";
// Every letter of the base code table.
constexpr std::array<char, torvane::BaseCodeTable.size()> kBaseCodeLetters = [] {
  std::array<char, torvane::BaseCodeTable.size()> letters{};
  for (size_t i = 0; i < letters.size(); ++i) letters[i] = torvane::BaseCodeTable[i].letter;
  return letters;
}();
constexpr std::string_view kBaseCodes(kBaseCodeLetters.data(), kBaseCodeLetters.size());
constexpr std::array<std::string_view, 24> kOrdinaryRemarks{
    "Ag", "Na", "Ni", "In", "Hi", "Lo", "Ri", "Po", "De", "Fl", "Ic", "Va",
    "As", "Ba", "Wa", "Ga", "Ht", "Lt", "He", "Oc", "Pi", "Ph", "Pa", "Mr"};
// The remarks that draw a symbol or colour the name.
constexpr std::array<std::string_view, 4> kSpecialRemarks{"Cp", "Ex", "Pr", "Rs"};
static_assert(kSpecialRemarks[0] == torvane::kCapitalRemark &&
              kSpecialRemarks[1] == torvane::RemarkCodes[0].code &&
              kSpecialRemarks[2] == torvane::RemarkCodes[1].code &&
              kSpecialRemarks[3] == torvane::RemarkCodes[2].code &&
              torvane::RemarkCodes.size() == 3);
constexpr std::array<std::string_view, 12> kAllegiances{"Im", "Zh", "Sw", "Da", "Na", "Cs",
                                                        "Va", "As", "Dr", "Hv", "Kk", "Cz"};
constexpr std::array<std::string_view, 20> kSyllables{"ra",  "ven", "tor", "al", "is", "mor", "ka",
                                                      "zel", "un",  "dra", "ce", "lo", "thi", "gar",
                                                      "ny",  "os",  "bre", "qu", "ix", "el"};
constexpr std::string_view kSpectralClasses = "OBAFGKM";
constexpr std::array<std::string_view, 5> kLuminosities{"Ia", "II", "III", "IV", "V"};

// A name of exactly `length` characters: syllables, now and then a blank, a
// hyphen or an apostrophe, the first letter of each word in capitals.
std::string MakeName(Random& random, size_t length) {
  std::string name;
  while (name.size() < length) {
    const bool after_letter = !name.empty() && name.back() >= 'a' && name.back() <= 'z';
    if (after_letter && name.size() + 2 < length && random.Percent(12)) {
      name += random.Pick(std::string_view(" -'"));
      continue;
    }
    name += random.Pick(kSyllables);
  }
  name.resize(length);
  if (name.back() == ' ') name.back() = 'e';
  for (size_t i = 0; i < name.size(); ++i) {
    if ((i == 0 || name[i - 1] == ' ') && name[i] >= 'a' && name[i] <= 'z') {
      name[i] = static_cast<char>(name[i] - 'a' + 'A');
    }
  }
  return name;
}

std::string TwoDigits(int value) {
  return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

std::string HexNumber(int column, int row) { return TwoDigits(column) + TwoDigits(row); }

int FloorDiv(int value, int divisor) {
  return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

struct World {
  int column;
  int row;
};

// Remark codes separated by blanks, at most the width of the field.
std::string MakeRemarks(Random& random) {
  std::string remarks;
  const int count = random.Between(0, 5);
  for (int i = 0; i < count; ++i) {
    const std::string_view code =
        random.Percent(10) ? random.Pick(kSpecialRemarks) : random.Pick(kOrdinaryRemarks);
    if (remarks.size() + (remarks.empty() ? 2 : 3) > kRemarksWidth) break;
    if (!remarks.empty()) remarks += ' ';
    remarks += code;
  }
  return remarks;
}

std::string MakeStellar(Random& random) {
  std::string stellar;
  const int stars = random.Percent(30) ? random.Between(2, 3) : 1;
  for (int i = 0; i < stars; ++i) {
    if (i > 0) stellar += ' ';
    stellar += random.Pick(kSpectralClasses);
    stellar += static_cast<char>('0' + random.Below(10));
    stellar += ' ';
    stellar += random.Percent(85) ? std::string_view("V") : random.Pick(kLuminosities);
  }
  return stellar;
}

// One world line in the fixed columns of a map file, trailing blanks cut.
std::string MakeWorldLine(Random& random, const World& world, std::string_view allegiance) {
  std::string line(80, ' ');
  auto put = [&line](size_t column, std::string_view text) {
    line.replace(column, text.size(), text);
  };

  put(kColumns.name,
      MakeName(random, static_cast<size_t>(random.Between(1, static_cast<int>(kNameWidth)))));
  put(kColumns.hex, HexNumber(world.column, world.row));
  const bool belt = random.Percent(8);
  const int population = random.Below(12);  // 9 to B write the name in capitals
  std::string profile;
  profile += random.Pick(kStarports);
  profile += belt ? '0' : kHexDigits[static_cast<size_t>(random.Between(1, 10))];
  profile += belt ? '0' : kHexDigits[static_cast<size_t>(random.Below(16))];
  profile += belt ? '0' : kHexDigits[static_cast<size_t>(random.Below(11))];
  profile += kHexDigits[static_cast<size_t>(population)];
  profile += kHexDigits[static_cast<size_t>(random.Below(16))];
  profile += kHexDigits[static_cast<size_t>(random.Below(19))];
  profile += '-';
  profile += kHexDigits[static_cast<size_t>(random.Below(17))];
  put(kColumns.starport, profile);
  if (random.Percent(25)) line[kColumns.base] = random.Pick(kBaseCodes);
  put(kColumns.remarks, MakeRemarks(random));
  if (random.Percent(15)) line[kColumns.zone] = random.Percent(70) ? 'A' : 'R';
  const std::string pbg{static_cast<char>('0' + random.Below(10)),
                        static_cast<char>('0' + random.Below(belt ? 3 : 4)),
                        static_cast<char>('0' + (random.Percent(35) ? 0 : random.Between(1, 4)))};
  put(kColumns.pbg, pbg);
  // A few lines end after the gas giants, as when allegiance and stars are unknown.
  if (!random.Percent(4)) {
    put(kColumns.allegiance,
        random.Percent(85) ? allegiance : random.Pick(kAllegiances));
    line.resize(kColumns.stars);
    line += MakeStellar(random);
  }
  line.erase(line.find_last_not_of(' ') + 1);
  return line;
}

// "$SSSS EEEE dx dy K": the end lies a few hexes away, in this subsector, a
// neighbouring one or the neighbouring sector, numbered in the sector that
// holds it; dx and dy count subsectors from the start's.
std::string MakeRouteLine(Random& random, const World& start) {
  int end_column = start.column;
  int end_row = start.row;
  while (end_column == start.column && end_row == start.row) {
    end_column = start.column + random.Between(-4, 4);
    end_row = start.row + random.Between(-4, 4);
  }
  const int dx =
      FloorDiv(end_column - 1, kSubsectorColumns) - (start.column - 1) / kSubsectorColumns;
  const int dy = FloorDiv(end_row - 1, kSubsectorRows) - (start.row - 1) / kSubsectorRows;
  const int numbered_column =
      end_column - kSectorColumns * FloorDiv(end_column - 1, kSectorColumns);
  const int numbered_row = end_row - kSectorRows * FloorDiv(end_row - 1, kSectorRows);
  constexpr std::array<int, 8> kColourCodes{2, 3, 3, 3, 10, 13, 15, 0};
  static_assert(*std::max_element(kColourCodes.begin(), kColourCodes.end()) <
                static_cast<int>(torvane::RouteColorTable.size()));
  // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) when a
  // literal is prepended to a temporary string.
  std::string line = "$";
  line += HexNumber(start.column, start.row);
  line += ' ';
  line += HexNumber(numbered_column, numbered_row);
  line += ' ';
  line += std::to_string(dx);
  line += ' ';
  line += std::to_string(dy);
  line += ' ';
  line += std::to_string(random.Pick(kColourCodes));
  return line;
}

bool WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  out.close();
  if (!out) {
    std::fprintf(stderr, "torvane-gensector: cannot write %s\n", path.string().c_str());
    return false;
  }
  return true;
}

bool ParseInt(std::string_view text, std::uint64_t& value) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t seed = 0;
  std::uint64_t density = 0;
  if (argc != 4 || !ParseInt(argv[1], seed) || !ParseInt(argv[2], density) || density > 100) {
    std::fprintf(stderr,
                 "usage: torvane-gensector SEED DENSITY OUTDIR/NAME\n"
                 "  writes the sector directory OUTDIR/NAME (NAME.dat and map/SUBA.DAT...);\n"
                 "  DENSITY is the percentage of hexes that hold a world (0 to 100)\n");
    return 2;
  }
  const std::filesystem::path dir = argv[3];
  const std::string name = dir.filename().string();
  std::error_code error;
  std::filesystem::create_directories(dir / "map", error);
  if (error || name.empty()) {
    std::fprintf(stderr, "torvane-gensector: cannot create %s\n", (dir / "map").string().c_str());
    return 1;
  }

  Random random(seed * 0x2545f4914f6cdd1dULL + 1);
  const std::string title = MakeName(random, static_cast<size_t>(random.Between(4, 24)));
  std::array<std::string, kSubsectorCount> subsector_names;
  std::array<std::string_view, kSubsectorCount> allegiances;
  std::array<std::vector<World>, kSubsectorCount> worlds;
  for (int s = 0; s < kSubsectorCount; ++s) {
    // Every length from 1 up to the full index field.
    subsector_names[s] =
        MakeName(random, static_cast<size_t>(random.Between(1, kSubsectorNameLimit)));
    allegiances[s] = random.Pick(kAllegiances);
  }
  // Worlds in hex order (column, then row), each in its own subsector's file.
  for (int column = 1; column <= kSectorColumns; ++column) {
    for (int row = 1; row <= kSectorRows; ++row) {
      if (random.Below(100) < static_cast<int>(density)) {
        worlds[torvane::SubsectorOfHex(column, row)].push_back({column, row});
      }
    }
  }

  std::string data = title + "\n\n";
  for (int s = 0; s < kSubsectorCount; ++s) {
    const char letter = static_cast<char>('A' + s);
    std::string padded = subsector_names[s];
    padded.resize(kSubsectorNameLimit, ' ');
    data += std::string{letter} + ": " + padded + "SUB" + letter + ".DAT\n";
  }
  data += "\nBases:\nA = Naval and Scout\nN = Naval\nS = Scout\nW = Way Station\n  = None\n\n";
  data += "Allegiance:\n";
  for (size_t i = 0; i < kAllegiances.size(); ++i) {
    data += TwoDigits(static_cast<int>(i + 1)) + " " + std::string(kAllegiances[i]) + "\n";
  }
  data += "\nData: made up by torvane-gensector\n";
  if (!WriteFile(dir / (name + ".dat"), data)) return 1;

  for (int s = 0; s < kSubsectorCount; ++s) {
    const char letter = static_cast<char>('A' + s);
    std::string map = "@SUB-SECTOR: " + subsector_names[s] + " SECTOR: " + title + "\n#\n";
    if (!worlds[s].empty()) {
      const int routes = random.Between(2, 4 + static_cast<int>(worlds[s].size()) / 5);
      for (int i = 0; i < routes; ++i) {
        map +=
            MakeRouteLine(
                random,
                worlds[s][static_cast<size_t>(random.Below(static_cast<int>(worlds[s].size())))]) +
            "\n";
      }
    }
    map +=
        "#--------1---------2---------3---------4---------5---------6---\n"
        "#PlanetName   Loc. UPP Code   B   Notes         Z  PBG Al LRX *\n"
        "#----------   ---- ---------  - --------------- -  --- -- --- -\n";
    for (const World& world : worlds[s]) map += MakeWorldLine(random, world, allegiances[s]) + "\n";
    if (!WriteFile(dir / "map" / (std::string("SUB") + letter + ".DAT"), map)) return 1;
  }
  return 0;
}
