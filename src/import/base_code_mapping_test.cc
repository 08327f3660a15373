#include "import/base_code_mapping.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace torvane {
namespace {

const SourceLine kSource{"t.tab", 7};

struct BaseCodeCase {
  const char* bases;
  const char* allegiance;
  char expected;
};

void ExpectLetters(std::initializer_list<BaseCodeCase> cases) {
  for (const BaseCodeCase& c : cases) {
    ImportLog log;
    EXPECT_EQ(MapBaseCode(c.bases, c.allegiance, kSource, log), c.expected)
        << c.bases << " " << c.allegiance;
  }
}

TEST(BaseCodeMapping, NewerBaseCodesMapToOneLetter) {
  ExpectLetters({
      {"N", "ImDd", 'N'},
      {"S", "ImDd", 'S'},
      {"NS", "ImDd", 'A'},
      {"SN", "ImDd", 'A'},
      {"NW", "ImDd", 'B'},
      {"W", "ImDd", 'W'},
      {"D", "ImDd", 'D'},
      {"M", "ImDd", 'M'},
      {"KM", "SwCf", 'F'},
      {"K", "SwCf", 'J'},
      {"K", "KkTw", 'K'},
      {"K", "VDeG", 'G'},
      {"CK", "VDeG", 'H'},
      {"C", "VDeG", 'C'},
      {"V", "ImDd", 'S'},
      {"NV", "ImDd", 'A'},
      {"Z", "ZhCo", 'Z'},
      {"X", "ZhCo", 'X'},
      {"E", "HvFd", 'E'},
      {"L", "HvFd", 'L'},
      {"O", "KkTw", 'O'},
      {"R", "AsT0", 'R'},
      {"T", "AsT0", 'T'},
      {"RT", "AsT0", 'U'},
      {"", "ImDd", ' '},
      {"-", "ImDd", ' '},
      {"n s", "ImDd", 'A'},
      // No letter draws all three: the first letter covering the most kinds.
      {"NSW", "ImDd", 'A'},
      {"DN", "ImDd", 'D'},
  });
  ImportLog log;
  EXPECT_EQ(MapBaseCode("NSW", "ImDd", kSource, log), 'A');
  ASSERT_EQ(log.notes.size(), 1u);
  EXPECT_EQ(log.notes[0],
            "t.tab:7: bases 'NSW' written as 'A': no letter also draws Imperial Way Station");
}

TEST(BaseCodeMapping, OlderBaseCodesKeepTheirLetters) {
  // Older files write one letter, with a two-letter allegiance; the letters
  // mean what they mean in the newer formats.
  ExpectLetters({
      {"A", "Im", 'A'}, {"a", "Im", 'A'}, {"B", "Im", 'B'}, {"C", "Va", 'C'}, {"F", "Sw", 'F'},
      {"G", "Va", 'G'}, {"H", "Va", 'H'}, {"I", "Im", 'I'}, {"J", "Sw", 'J'}, {"K", "Kk", 'K'},
      {"K", "Va", 'G'}, {"K", "Sw", 'J'}, {"P", "Dr", 'P'}, {"Q", "Dr", 'Q'}, {"U", "As", 'U'},
      {"V", "Im", 'S'}, {"Y", "Zh", 'Y'}, {"2", "Im", ' '}, {"*", "Im", ' '}, {"NS", "Im", 'A'},
  });
  ImportLog log;
  EXPECT_EQ(MapBaseCode("2", "Im", kSource, log), ' ');
  EXPECT_EQ(log.notes, std::vector<std::string>{"t.tab:7: base code '2' has no symbol: left out"});
  EXPECT_EQ(log.changes, 1);
}

TEST(BaseCodeMapping, LegendDescriptionsNameNewerLetters) {
  EXPECT_EQ(BaseLettersFromDescription("Navy & Scout"), "NS");
  EXPECT_EQ(BaseLettersFromDescription("Naval and Way Station"), "NW");
  EXPECT_EQ(BaseLettersFromDescription("Zhodani Navy"), "Z");
  EXPECT_EQ(BaseLettersFromDescription("Zhodani Depot"), "Y");
  EXPECT_EQ(BaseLettersFromDescription("Zhodani Relay"), "X");
  EXPECT_EQ(BaseLettersFromDescription("None"), "");
}

TEST(BaseCodeMapping, BaseLetterMeaningsComeFromTheBaseCodeTable) {
  EXPECT_EQ(BaseLetterMeaning('A'), "Imperial Naval Base, Imperial Scout Base");
  EXPECT_EQ(BaseLetterMeaning('F'), "Independent Naval Base, Military Base");
  EXPECT_EQ(BaseLetterMeaning('U'), "Tlaukhu Base, Aslan Clan Base");
  EXPECT_EQ(BaseLetterMeaning('Y'), "Zhodani Naval Depot");
  EXPECT_EQ(BaseLetterMeaning('V'), "");
}

}  // namespace
}  // namespace torvane
