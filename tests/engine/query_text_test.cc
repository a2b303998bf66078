#include "engine/query_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavro2 {
namespace {

TEST(QueryTextTest, TrimRemovesCodesUpTo32AtBothEndsOnly) {
  EXPECT_EQ(Trim(" \t\r\n run fast \x01\x1F "), "run fast");
  EXPECT_EQ(Trim("\xA0run\xA0"), "\xA0run\xA0");  // no-break space is code 160
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
}

TEST(QueryTextTest, LowerFoldsOnlyAToZ) {
  EXPECT_EQ(Lower("RunNING Az@[`{"), "running az@[`{");
  // Accented capitals keep their case: 0xC9 is E acute, 0x8A S caron.
  EXPECT_EQ(Lower("\xC9T\xC9 \x8A"), "\xC9t\xC9 \x8A");
}

TEST(QueryTextTest, FilterLettersKeepsSpacesAndWindows1252Letters) {
  EXPECT_EQ(FilterLetters("don't"), "dont");
  EXPECT_EQ(FilterLetters("well-known"), "wellknown");
  EXPECT_EQ(FilterLetters(" a1b2\tc\r\nd "), " abcd ");  // no trimming; tabs and breaks go
  EXPECT_EQ(FilterLetters("123 !?."), " ");
  // Letters of the code page stay (caf\xE9, \x8A, \x9F, \xAA, \xB5, \xBA, \xFF);
  // the multiplication and division signs (0xD7, 0xF7) and 0xA0 do not.
  EXPECT_EQ(FilterLetters("caf\xE9 \x8A\x9F\xAA\xB5\xBA\xFF \xD7\xF7\xA0\x80"),
            "caf\xE9 \x8A\x9F\xAA\xB5\xBA\xFF ");
}

struct BaseFormCase {
  const char* word;
  std::vector<std::string> candidates;
};

class BaseFormTest : public ::testing::TestWithParam<BaseFormCase> {};

TEST_P(BaseFormTest, CandidatesInRuleOrder) {
  EXPECT_EQ(BaseFormCandidates(GetParam().word), GetParam().candidates) << GetParam().word;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, BaseFormTest,
    ::testing::Values(
        // The worked examples: the first candidate that is a headword wins.
        BaseFormCase{"happily", {"happy", "happi"}}, BaseFormCase{"quickly", {"quick"}},
        BaseFormCase{"running", {"run", "runne", "runn"}}, BaseFormCase{"making", {"make", "mak"}},
        BaseFormCase{"walking", {"walke", "walk"}}, BaseFormCase{"stopped", {"stop"}},
        BaseFormCase{"liked", {"like", "lik"}}, BaseFormCase{"walked", {"walke", "walk"}},
        BaseFormCase{"carries", {"carrie", "carry", "carri", "carrie"}},
        BaseFormCase{"boxes", {"boxe", "box", "boxe"}}, BaseFormCase{"happiest", {"happy"}},
        BaseFormCase{"payment", {"pay"}},
        // Rule 4 with a doubled letter tries only W minus 3.
        BaseFormCase{"added", {"ad"}},
        // "ings": S = build, no doubled letter; then rule 5.
        BaseFormCase{"buildings", {"builde", "build", "building"}},
        BaseFormCase{"runnings", {"run", "runne", "runn", "running"}},
        BaseFormCase{"happier", {"happy", "happi"}}, BaseFormCase{"tried", {"try", "trie", "tri"}},
        // Short words: the stem of "ing" is empty (no doubled-letter test),
        // and rule 4 never compares before the start of a word under four
        // characters.
        BaseFormCase{"ing", {"e", ""}}, BaseFormCase{"eed", {"ee", "e"}},
        BaseFormCase{"ed", {"e", ""}}, BaseFormCase{"d", {}}, BaseFormCase{"s", {""}},
        BaseFormCase{"aaed", {"a"}},  // four characters: positions 1 and 2 compared
        BaseFormCase{"", {}}, BaseFormCase{"run", {}}));

TEST(BaseFormLimitTest, NoWordHasMoreThanFourteenCandidates) {
  // Every ending the rules know, on a stem with and without a doubled letter.
  const std::vector<std::string> endings = {
      "ier",  "ied",  "ily",  "ly",   "ing", "ings", "ed",   "s",     "iest", "ries", "cies",
      "ties", "bies", "fies", "lies", "er",  "es",   "ment", "ments", "iers", "ieds", "ers"};
  for (const std::string stem : {"", "x", "bb", "abb", "ab"})
    for (const std::string& e : endings)
      EXPECT_LE(BaseFormCandidates(stem + e).size(), 14u) << stem + e;
}

}  // namespace
}  // namespace tavro2
