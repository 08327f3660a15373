#include "import/remark_mapping.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

const SourceLine kSource{"t.tab", 7};

TEST(RemarkMapping, RemarksPutTheDrawnCodesFirstAndFitSixteenColumns) {
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

TEST(RemarkMapping, NewerRemarksAreTranslatedAndCodesHidingDrawnOnesDropped) {
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
