#include "engine/query_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavro2 {
namespace {

TEST(QueryTextTest, TrimLowerFilterLettersAndBaseFormCandidatesInRuleOrder) {
  // Trim removes codes up to 32 at both ends only; no-break space is code 160.
  EXPECT_EQ(trim(" \t\r\n run fast \x01\x1F "), "run fast");
  EXPECT_EQ(trim("\xA0run\xA0"), "\xA0run\xA0");
  EXPECT_EQ(trim("   "), "");
  // Only A-Z fold: 0xC9 is E acute, 0x8A S caron.
  EXPECT_EQ(lower("RunNING Az@[`{ \xC9T\xC9 \x8A"), "running az@[`{ \xC9t\xC9 \x8A");

  // A hyphen or apostrophe stays only between two letters; 0x92 becomes '.
  EXPECT_EQ(filterLetters("don't well-known"), "don't well-known");
  EXPECT_EQ(filterLetters("-mother-in-law!'"), "mother-in-law");
  EXPECT_EQ(filterLetters("can\x92t \xE9-\xE9 a--b x-1 1-x a''b a' -b 'a"),
            "can't \xE9-\xE9 ab x x ab a b a");
  // Stops once the limit is passed: the length test of a long copied text.
  EXPECT_EQ(filterLetters("ab-cd e", 4), "ab-cd");
  EXPECT_EQ(filterLetters("a1b-2c", 2), "abc");
  EXPECT_EQ(filterLetters(" a1b2\tc\r\nd "), " abcd ");  // no trimming; tabs and breaks go
  EXPECT_EQ(filterLetters("123 !?."), " ");
  // Letters of the code page stay; the multiplication and division signs
  // (0xD7, 0xF7), 0xA0 and the euro sign do not.
  EXPECT_EQ(filterLetters("caf\xE9 \x8A\x9F\xAA\xB5\xBA\xFF \xD7\xF7\xA0\x80"),
            "caf\xE9 \x8A\x9F\xAA\xB5\xBA\xFF ");
  const std::pair<const char*, std::vector<std::string>> rows[] = {
      // The worked examples: the first candidate that is a headword wins.
      {"happily", {"happy", "happi"}}, {"quickly", {"quick"}}, {"making", {"make", "mak"}},
      // A doubled letter: the whole stem first (calling -> call), then one letter less.
      {"running", {"runn", "run", "runne"}}, {"calling", {"call", "cal", "calle"}},
      {"walking", {"walke", "walk"}}, {"stopped", {"stopp", "stop"}}, {"added", {"add", "ad"}},
      {"liked", {"like", "lik"}}, {"walked", {"walke", "walk"}}, {"happiest", {"happy"}},
      {"carries", {"carrie", "carry", "carri", "carrie"}}, {"boxes", {"boxe", "box", "boxe"}},
      // Rule 7, one row an ending.
      {"fancies", {"fancie", "fancy", "fanci", "fancie"}},
      {"parties", {"partie", "party", "parti", "partie"}},
      {"babies", {"babie", "baby", "babi", "babie"}},
      {"defies", {"defie", "defy", "defi", "defie"}},
      {"flies", {"flie", "fly", "fli", "flie"}},
      {"payment", {"pay"}}, {"happier", {"happy", "happi"}}, {"tried", {"try", "trie", "tri"}},
      // "ings": the "-ing" noun first, then S = build, no doubled letter.
      {"buildings", {"building", "builde", "build"}},
      {"runnings", {"running", "runn", "run", "runne"}},
      {"things", {"thing", "the", "th"}},  // never "the" before "thing"
      // Short words: the stem of "ing" is empty (no doubled-letter test), and
      // rule 4 never compares before the start of a word under four characters
      // ("aaed" has four: positions 1 and 2 are compared).
      {"ing", {"e", ""}}, {"eed", {"ee", "e"}}, {"ed", {"e", ""}}, {"d", {}}, {"s", {""}},
      {"aaed", {"aa", "a"}}, {"", {}}, {"run", {}}};
  for (const auto& [word, candidates] : rows)
    EXPECT_EQ(baseFormCandidates(word), candidates) << word;
}

}  // namespace
}  // namespace tavro2
