#include "import/field_mapping.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

const SourceLine kSource{"t.tab", 7};

TEST(FieldMapping, ZonesMapToAmberRedOrNone) {
  struct Case {
    const char* zone;
    char expected;
  };
  const Case cases[] = {{"A", 'A'}, {"a", 'A'},   {"Amber", 'A'}, {"U", 'A'},
                        {"R", 'R'}, {"red", 'R'}, {"F", 'R'},     {"", ' '},
                        {"-", ' '}, {"G", ' '},   {" ", ' '},     {"B", ' '}};
  for (const Case& c : cases) {
    ImportLog log;
    EXPECT_EQ(MapZone(c.zone, kSource, log), c.expected) << c.zone;
  }
  ImportLog log;
  MapZone("B", kSource, log);
  ASSERT_EQ(log.notes.size(), 1u);
  EXPECT_EQ(log.notes[0], "t.tab:7: zone 'B' is not amber or red: no zone written");
}

TEST(FieldMapping, AllegiancesReduceToTwoLetters) {
  struct Case {
    const char* code;
    const char* expected;
  };
  const Case cases[] = {{"CsIm", "Cs"}, {"CsZh", "Cz"}, {"ImDd", "Im"}, {"ImAp", "Im"},
                        {"ZhCo", "Zh"}, {"ZhIN", "Zh"}, {"VDeG", "Va"}, {"VAsP", "Va"},
                        {"AsT0", "As"}, {"NaHu", "Na"}, {"NaXX", "Na"}, {"----", ""},
                        {"--", ""},     {"-", ""},      {"SwCf", "Sw"}, {"DaCf", "Da"},
                        {"HvFd", "Hv"}, {"Im", "Im"},   {"Zh", "Zh"},   {"", ""},
                        {"CsVa", "Cs"}, {"Vx", "Vx"}};
  for (const Case& c : cases) {
    ImportLog log;
    EXPECT_EQ(MapAllegiance(c.code, kSource, log), c.expected) << c.code;
  }
}

TEST(FieldMapping, NewerBaseCodesMapToOneLetter) {
  struct Case {
    const char* bases;
    const char* allegiance;
    char expected;
  };
  const Case cases[] = {
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
  };
  for (const Case& c : cases) {
    ImportLog log;
    EXPECT_EQ(MapBaseCode(c.bases, c.allegiance, kSource, log), c.expected)
        << c.bases << " " << c.allegiance;
  }
  ImportLog log;
  EXPECT_EQ(MapBaseCode("NSW", "ImDd", kSource, log), 'A');
  ASSERT_EQ(log.notes.size(), 1u);
  EXPECT_EQ(log.notes[0],
            "t.tab:7: bases 'NSW' written as 'A': no letter also draws Imperial Way Station");
}

TEST(FieldMapping, OlderBaseCodesKeepTheirLetters) {
  // Older files write one letter, with a two-letter allegiance; the letters
  // mean what they mean in the newer formats.
  struct Case {
    const char* bases;
    const char* allegiance;
    char expected;
  };
  const Case cases[] = {
      {"A", "Im", 'A'}, {"a", "Im", 'A'}, {"B", "Im", 'B'}, {"C", "Va", 'C'}, {"F", "Sw", 'F'},
      {"G", "Va", 'G'}, {"H", "Va", 'H'}, {"I", "Im", 'I'}, {"J", "Sw", 'J'}, {"K", "Kk", 'K'},
      {"K", "Va", 'G'}, {"K", "Sw", 'J'}, {"P", "Dr", 'P'}, {"Q", "Dr", 'Q'}, {"U", "As", 'U'},
      {"V", "Im", 'S'}, {"Y", "Zh", 'Y'}, {"2", "Im", ' '}, {"*", "Im", ' '}, {"NS", "Im", 'A'},
  };
  for (const Case& c : cases) {
    ImportLog log;
    EXPECT_EQ(MapBaseCode(c.bases, c.allegiance, kSource, log), c.expected)
        << c.bases << " " << c.allegiance;
  }
  ImportLog log;
  EXPECT_EQ(MapBaseCode("2", "Im", kSource, log), ' ');
  EXPECT_EQ(log.notes, std::vector<std::string>{"t.tab:7: base code '2' has no symbol: left out"});
  EXPECT_EQ(log.changes, 1);
}

TEST(FieldMapping, LegendDescriptionsNameNewerLetters) {
  EXPECT_EQ(BaseLettersFromDescription("Navy & Scout"), "NS");
  EXPECT_EQ(BaseLettersFromDescription("Naval and Way Station"), "NW");
  EXPECT_EQ(BaseLettersFromDescription("Zhodani Navy"), "Z");
  EXPECT_EQ(BaseLettersFromDescription("Zhodani Depot"), "Y");
  EXPECT_EQ(BaseLettersFromDescription("Zhodani Relay"), "X");
  EXPECT_EQ(BaseLettersFromDescription("None"), "");
}

TEST(FieldMapping, BaseLetterMeaningsComeFromTheBaseCodeTable) {
  EXPECT_EQ(BaseLetterMeaning('A'), "Imperial Naval Base, Imperial Scout Base");
  EXPECT_EQ(BaseLetterMeaning('F'), "Independent Naval Base, Military Base");
  EXPECT_EQ(BaseLetterMeaning('U'), "Tlaukhu Base, Aslan Clan Base");
  EXPECT_EQ(BaseLetterMeaning('Y'), "Zhodani Naval Depot");
  EXPECT_EQ(BaseLetterMeaning('V'), "");
}

TEST(FieldMapping, RouteColourCodesComeFromTypeThenAllegiance) {
  struct Case {
    const char* type;
    const char* allegiance;
    int expected;
  };
  const Case cases[] = {{"Trade", "", 2}, {"trade", "ZhCo", 2}, {"Xboat", "", 3}, {"X-Boat", "", 3},
                        {"", "", 3},      {"Comm", "", 3},      {"", "ImDd", 3},  {"", "ZhCo", 13},
                        {"", "SwCf", 15}, {"Comm", "DaCf", 15}};
  for (const Case& c : cases) {
    EXPECT_EQ(RouteColorCode(c.type, c.allegiance), c.expected) << c.type << "/" << c.allegiance;
  }
}

TEST(FieldMapping, NamesAreCutToFourteenColumnsAndKeptOffCommentMarks) {
  ImportLog log;
  EXPECT_EQ(FitName("  Regina  ", kSource, log), "Regina");
  EXPECT_EQ(FitName("Fourteen Chars", kSource, log), "Fourteen Chars");
  EXPECT_TRUE(log.notes.empty());
  EXPECT_EQ(FitName("A Rather Long Name", kSource, log), "A Rather Long ");
  EXPECT_EQ(FitName("#9 Station", kSource, log), " #9 Station");
  EXPECT_EQ(FitName("$Money", kSource, log), " $Money");
  EXPECT_EQ(FitName("@Home", kSource, log), " @Home");
  EXPECT_EQ(FitName("Tab\tName", kSource, log), "Tab Name");
  // 13 ASCII bytes then a two-byte character: the character is not split.
  EXPECT_EQ(FitName("Thirteen char\xC3\xA9", kSource, log), "Thirteen char");
  EXPECT_EQ(FitName("Twelve chars\xC3\xA9", kSource, log), "Twelve chars\xC3\xA9");
  EXPECT_EQ(log.notes.front(), "t.tab:7: name 'A Rather Long Name' cut to 'A Rather Long '");
  EXPECT_EQ(log.notes.size(), 5u);
}

TEST(FieldMapping, RemarksPutTheDrawnCodesFirstAndFitSixteenColumns) {
  ImportLog log;
  EXPECT_EQ(FitRemarks("Ag Ni Hi In Po Ri Cp", CodeStyle::kOlder, kSource, log), "Cp Ag Ni Hi In");
  EXPECT_EQ(log.notes.back(), "t.tab:7: remark 'Ri' left out: the remarks hold 16 columns");
  EXPECT_EQ(FitRemarks("Rs Pr Ex Cp Ag", CodeStyle::kOlder, kSource, log), "Cp Ex Pr Rs Ag");
  EXPECT_EQ(FitRemarks("", CodeStyle::kOlder, kSource, log), "");
  // A longer code that would not fit is passed over for a shorter one after it.
  EXPECT_EQ(FitRemarks("Ag Ni Hi In (Aslan) Lo", CodeStyle::kOlder, kSource, log),
            "Ag Ni Hi In Lo");
  // A code in braces or parentheses is one code, blanks and all.
  EXPECT_EQ(FitRemarks("Ni {Twin Suns} Ag", CodeStyle::kOlder, kSource, log), "Ni {Twin Suns}");
  EXPECT_EQ(log.notes.back(), "t.tab:7: remark 'Ag' left out: the remarks hold 16 columns");
  EXPECT_EQ(FitRemarks("{Far Too Long For Us} Lo", CodeStyle::kOlder, kSource, log), "Lo");
  EXPECT_EQ(FitRemarks("{Open Ag", CodeStyle::kOlder, kSource, log), "{Open Ag");
}

TEST(FieldMapping, NewerRemarksAreTranslatedAndCodesHidingDrawnOnesDropped) {
  ImportLog log;
  EXPECT_EQ(FitRemarks("Pr Ag", CodeStyle::kNewer, kSource, log), "Ag");
  EXPECT_EQ(FitRemarks("Px Ag", CodeStyle::kNewer, kSource, log), "Pr Ag");
  EXPECT_EQ(FitRemarks("RsG Ni", CodeStyle::kNewer, kSource, log), "Rs Ni");
  EXPECT_EQ(FitRemarks("Ni (Exxilii) [Cpq]", CodeStyle::kNewer, kSource, log), "Ni");
  EXPECT_EQ(FitRemarks("Pr Ag", CodeStyle::kOlder, kSource, log), "Pr Ag");
  EXPECT_EQ(log.notes[0], "t.tab:7: remark 'Pr' left out (torvane would draw it as a prison camp)");
  EXPECT_EQ(log.notes[1], "t.tab:7: remark 'Px' written as 'Pr'");
  EXPECT_EQ(log.notes[3],
            "t.tab:7: remark '(Exxilii)' left out (torvane would draw the 'Ex' inside it)");
}

}  // namespace
}  // namespace torvane
