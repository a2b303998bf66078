#include "engine/phrase_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/text_search.h"
#include "lookup_fixture.h"

namespace tavro2::test {
namespace {

using Pairs = std::vector<PhrasePair>;

class FindPhrasesTest : public LookupFixture {
 protected:
  void SetUp() override {
    publish(DataKind::kPhrase,
            {"kucing itu lari", "menangkap bola", "kucingku", "ada kucing, anjing."},
            {"the cat runs", "catch the ball", "my cat", "a cat. A dog"});
    userList("Tavro2phrase.dat", {"kucing saya=my own cat", "tanpa arti", "catatan=a cat-note"});
  }
};

TEST_F(FindPhrasesTest, EnglishSideSearchesTranslationsAndListsThemFirst) {
  EXPECT_TRUE(state.FindPhrases("cat"));
  // User phrases first in file order, then the dictionary's; "catch" and
  // "catatan" hold "cat" only inside a longer word; "cat." and "cat-" count.
  EXPECT_EQ(state.phrases, (Pairs{{"my own cat", "kucing saya"},
                                  {"a cat-note", "catatan"},
                                  {"the cat runs", "kucing itu lari"},
                                  {"my cat", "kucingku"},
                                  {"a cat. A dog", "ada kucing, anjing."}}));
  EXPECT_EQ(lines(state.UserWordList).size(), 3u);
}

TEST_F(FindPhrasesTest, IndonesianSideSearchesPhrasesAndListsThemFirst) {
  state.FoundInIndonesian = true;
  EXPECT_TRUE(state.FindPhrases("kucing"));
  EXPECT_EQ(state.phrases, (Pairs{{"kucing saya", "my own cat"},
                                  {"kucing itu lari", "the cat runs"},
                                  {"ada kucing, anjing.", "a cat. A dog"}}));
  // The direction choice alone also selects the Indonesian side.
  state.FoundInIndonesian = false;
  state.settings.direction = Direction::kIndonesianEnglish;
  EXPECT_TRUE(state.FindPhrases("bola"));
  EXPECT_EQ(state.phrases, (Pairs{{"menangkap bola", "catch the ball"}}));
}

TEST_F(FindPhrasesTest, LookupCountsPhrasesOfTheBoxTextOnlyForTwoCharacterQueries) {
  english({"cat", "a"}, {"kucing", "sebuah"});
  state.settings.ShowPhrase = true;
  state.searchText = "  cat ";
  EXPECT_TRUE(state.LookupWord("cat"));
  EXPECT_EQ(state.statusText, " English word (5 Phrase)");

  // The phrase query is the box text, not the lookup's query.
  state.searchText = "ball";
  EXPECT_TRUE(state.LookupWord("cat"));
  EXPECT_EQ(state.statusText, " English word (1 Phrase)");
  EXPECT_EQ(state.phrases, (Pairs{{"catch the ball", "menangkap bola"}}));

  // A one-character query runs no phrase search: the list stays.
  state.searchText = "a";
  EXPECT_TRUE(state.LookupWord("a"));
  EXPECT_EQ(state.statusText, " English word");
  EXPECT_EQ(state.phrases, (Pairs{{"catch the ball", "menangkap bola"}}));

  // Phrase button up: no search, the list stays.
  state.settings.ShowPhrase = false;
  state.searchText = "cat";
  EXPECT_TRUE(state.LookupWord("cat"));
  EXPECT_EQ(state.statusText, " English word");
  EXPECT_EQ(state.phrases.size(), 1u);

  // Not found still counts phrases: " " then " (1 Phrase)".
  state.settings.ShowPhrase = true;
  state.searchText = "dog";
  EXPECT_FALSE(state.LookupWord("dog"));
  EXPECT_EQ(state.statusText, "  (1 Phrase)");
}

TEST_F(FindPhrasesTest, RelatedDoubleClickLeavesTheStatusAndEmptiesOnNothingFound) {
  state.statusText = " English word";
  EXPECT_TRUE(state.FindPhrases("ball"));
  EXPECT_EQ(state.statusText, " English word");
  EXPECT_FALSE(state.FindPhrases("zebra"));
  EXPECT_TRUE(state.phrases.empty());
}

// The lines a scan visits, ending the scan once it has `stopAfter` of them.
std::vector<std::size_t> visited(bool whole, const WordList& list, std::size_t limit,
                                 const char* needle, std::size_t stopAfter = SIZE_MAX) {
  std::vector<std::size_t> out;
  const auto visit = [&](std::size_t i) {
    out.push_back(i);
    return out.size() < stopAfter;
  };
  if (whole) {
    ForEachLineWithWholeWord(list, limit, needle, visit);
  } else {
    ForEachLineContaining(list, limit, needle, visit);
  }
  return out;
}

// The buffer scans must give exactly what testing each line gives, also
// when the visitor ends the scan early.
void expectLineByLineRule(const WordList& l, std::initializer_list<const char*> needles) {
  for (const char* needle : needles) {
    for (std::size_t limit : {l.count(), l.count() - 1, std::size_t{3}}) {
      std::vector<std::size_t> contains, whole;
      for (std::size_t i = 0; i < limit; ++i) {
        if (l.line(i).find(needle) != std::string_view::npos) contains.push_back(i);
        if (PosWholeWord(needle, l.line(i)) > 0) whole.push_back(i);
      }
      EXPECT_EQ(visited(false, l, limit, needle), contains) << needle << " limit " << limit;
      EXPECT_EQ(visited(true, l, limit, needle), whole) << needle << " limit " << limit;
      for (std::size_t stopAfter : {std::size_t{1}, std::size_t{17}, contains.size() / 2 + 1}) {
        const auto part = visited(false, l, limit, needle, stopAfter);
        ASSERT_EQ(part.size(), std::min(stopAfter, contains.size())) << needle;
        EXPECT_TRUE(std::equal(part.begin(), part.end(), contains.begin())) << needle;
      }
    }
  }
}

TEST(LineScanTest, AgreesWithTheLineByLineRule) {
  // The last line has no line end.
  const WordList list = SplitLines(
      "\r\na\r\nab\r\nba\r\naba\r\na a\r\nxa\r\nax\r\na\nb\r\nab\nab\r\nb,a.\r\n\xE9"
      "a\r\naa\r\na");
  WordList appended;  // lines back to back, nothing between them
  for (std::size_t i = 0; i < list.count(); ++i) appended.append(list.line(i));
  for (const WordList* l : {&list, static_cast<const WordList*>(&appended)})
    expectLineByLineRule(*l, {"a", "ab", "ba", "a a", "b\r\na", "ab\nab", "aa", "\nb", "aba"});

  // Lines of very uneven length make the scan's line guess miss both ways;
  // dense and sparse stretches of "a" switch its two ways several times.
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> length(0, 40), longLine(0, 19), letter(0, 3), rare(0, 60);
  std::string text;
  for (int i = 0; i < 30000; ++i) {
    const bool isDense = (i / 5000) % 2 == 0;
    const int n = longLine(rng) == 0 ? 400 : length(rng);
    for (int k = 0; k < n; ++k)
      text += isDense ? "ab\n "[letter(rng)] : rare(rng) == 0 ? 'a' : "cbb "[letter(rng)];
    text += i % 7 == 0 ? "\r" : "\r\n";
  }
  expectLineByLineRule(SplitLines(text),
                       {"a", "ab", "aba", "bab", "a\nb", "abab", "aaaaa", "b b", "ba"});
}

TEST(LineScanTest, FindTextAgreesWithFindAcrossBlockEdges) {
  // Long enough for the vector loop, with hits at every offset near the
  // block edges and the end.
  std::string hay(100, 'x');
  for (std::size_t at : {0, 15, 16, 17, 31, 32, 33, 63, 95, 97}) {
    std::string h = hay;
    h.replace(at, 3, "abc");
    for (std::size_t from : {0, 1, 16, 40}) {
      for (const char* needle : {"abc", "ab", "bc", "xabcx", "c", "abcd", "xxxxxabc", "xxxxxxxabc"})
        EXPECT_EQ(FindText(h, needle, from), std::string_view(h).find(needle, from))
            << at << " " << from << " " << needle;
    }
  }
  EXPECT_EQ(FindText("abc", "abc", 1), std::string_view::npos);
  EXPECT_EQ(FindText("abc", "", 3), 3u);
  EXPECT_EQ(FindText("abc", "a", 4), std::string_view::npos);
}

}  // namespace
}  // namespace tavro2::test
