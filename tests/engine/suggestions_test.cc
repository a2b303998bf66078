#include "engine/suggestions.h"

#include "engine/stemmer.h"
#include "lookup_fixture.h"

namespace tavro2::test {
namespace {

std::string words(const std::vector<HeadwordEntry>& entries) {
  std::string out;
  for (const HeadwordEntry& e : entries)
    out += (out.empty() ? "" : ",") + e.word + (e.indonesian ? "/id" : "");
  return out;
}

TEST(EditDistanceTest, EachEditCountsOneAndTheLimitCutsTheCountShort) {
  struct Row {
    const char* a;
    const char* b;
    int limit;
    int distance;
  };
  for (const Row& r : std::vector<Row>{
           {"hous", "house", 2, 1},             // insertion
           {"housee", "house", 2, 1},           // deletion
           {"definately", "definitely", 2, 1},  // substitution
           {"recieve", "receive", 2, 1},        // two neighbours swapped
           {"terimakasih", "terima kasih", 2, 1},
           {"HOUSE", "house", 2, 0},    // A-Z folded
           {"ab", "ba", 0, 1},          // over the limit: limit + 1
           {"abcdef", "badcfe", 5, 3},  // three swaps
           {"kitten", "sitting", 5, 3},
           {"kitten", "sitting", 2, 3},  // cut short
           {"", "abc", 5, 3},
           {"a", "abcdef", 2, 3},  // the lengths alone settle it
       }) {
    EXPECT_EQ(editDistance(r.a, r.b, r.limit), r.distance) << r.a << " " << r.b;
    EXPECT_EQ(editDistance(r.b, r.a, r.limit), r.distance) << r.b << " " << r.a;
  }
  // Words longer than the table's rows on the stack.
  const std::string longWord(100, 'a');
  EXPECT_EQ(editDistance(longWord, longWord + "b", 2), 1);
}

// Nearest first; then the query's first letter; then the commonest; a word of
// both sides once; the direction's sides; the phrase collection on the
// Indonesian side; the cap; nothing for an empty or an overlong query.
TEST_F(LookupTest, SuggestionsAreTheNearestHeadwordsRankedByHowCommonTheyAre) {
  english({"hose", "hour", "house", "hover", "mouse", "nous", "recipe", "receive", "relieve"},
          {"kb selang", "kb jam", "kb rumah", "kki melayang", "kb tikus", "kb akal", "kb resep",
           "kkt menerima", "kkt meringankan"});
  indonesian({"akan", "house", "makan", "rumah", "ramah"},
             {"kk will", "kb house music", "kkt eat", "kb house", "ks friendly"});
  publish(DataKind::kPhrase, {"terima kasih"}, {"thank you"});
  const WordRanks ranks("hour\nhouse\nmouse\nhose\n", "", "akan\nrumah\nmakan\n");

  EXPECT_EQ(words(suggestHeadwords(store, "hous", Direction::kAutomatic, ranks, nullptr)),
            "hour,house,nous");  // one edit away (hose, mouse: two); h first; house once
  EXPECT_EQ(words(suggestHeadwords(store, "hous", Direction::kAutomatic, ranks, nullptr, 2)),
            "hour,house");
  EXPECT_EQ(words(suggestHeadwords(store, "recieve", Direction::kAutomatic, ranks, nullptr)),
            "receive,relieve,recipe");  // one swap, one change; three edits away is too far
  EXPECT_EQ(words(suggestHeadwords(store, "mkan", Direction::kIndonesianEnglish, ranks, nullptr)),
            "makan/id,akan/id");  // the first letter before the commoner word
  EXPECT_EQ(words(suggestHeadwords(store, "hous", Direction::kIndonesianEnglish, ranks, nullptr)),
            "house/id");
  EXPECT_EQ(words(suggestHeadwords(store, "terimakasih", Direction::kAutomatic, ranks, nullptr)),
            "terima kasih/id");
  EXPECT_EQ(
      words(suggestHeadwords(store, "terimakasih", Direction::kEnglishIndonesian, ranks, nullptr)),
      "");
  EXPECT_EQ(words(suggestHeadwords(store, "", Direction::kAutomatic, ranks, nullptr)), "");
  EXPECT_EQ(words(suggestHeadwords(store, std::string(kMaxSuggestionQuery + 1, 'h'),
                                   Direction::kAutomatic, ranks, nullptr)),
            "");
  EXPECT_EQ(suggestHeadwords(store, "rumha", Direction::kAutomatic, ranks, nullptr)[0].translation,
            "kb house");

  // The state offers them for the query it missed, and only for that.
  EXPECT_TRUE(state.searchFromBox(" Hous! "));
  EXPECT_EQ(state.missedQuery(), "hous");
  const std::vector<HeadwordEntry> offered = state.suggestions();
  EXPECT_EQ(words(offered).substr(0, 5), "house");  // the program's own ranks
  state.showSuggestions(offered);
  EXPECT_TRUE(state.suggestionsShown());
  EXPECT_EQ(state.translationText(), "");  // nothing until one is chosen
  state.showSelectedEntry(0);
  EXPECT_EQ(state.translationText(), "house kb rumah");
  EXPECT_EQ(state.statusText(), " not found");
  EXPECT_TRUE(state.searchFromBox("house"));
  EXPECT_EQ(state.missedQuery(), "");
  EXPECT_FALSE(state.suggestionsShown());
  EXPECT_TRUE(state.suggestions().empty());
}

// With nothing near, Hunspell's suggestions that are headwords (far ones too).
TEST_F(LookupTest, HunspellSuggestsWhenNoHeadwordIsNear) {
  if (!fileExists(std::string(Stemmer::kSystemDictionaryDir) + "en_US.dic"))
    GTEST_SKIP() << "no English Hunspell dictionary";
  english({"accommodate", "accommodation"}, {"kkt menampung", "kb akomodasi"});
  const WordRanks ranks("", "", "");
  Stemmer stemmer;
  EXPECT_EQ(
      words(suggestHeadwords(store, "acomodation", Direction::kEnglishIndonesian, ranks, &stemmer)),
      "accommodation");  // two edits: the distance search finds it
  EXPECT_EQ(
      words(suggestHeadwords(store, "acomodashun", Direction::kEnglishIndonesian, ranks, &stemmer)),
      "accommodation");  // four: only Hunspell does
  EXPECT_EQ(
      words(suggestHeadwords(store, "acomodashun", Direction::kEnglishIndonesian, ranks, nullptr)),
      "");
}

}  // namespace
}  // namespace tavro2::test
