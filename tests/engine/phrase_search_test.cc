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
  EXPECT_TRUE(state.findPhrases("cat"));
  // User phrases first, then the dictionary's; "catch" is no whole word, "cat." and "cat-" are.
  EXPECT_EQ(state.phrases(), (Pairs{{"my own cat", "kucing saya"},
                                  {"a cat-note", "catatan"},
                                  {"the cat runs", "kucing itu lari"},
                                  {"my cat", "kucingku"},
                                  {"a cat. A dog", "ada kucing, anjing."}}));
}

TEST_F(FindPhrasesTest, IndonesianSideSearchesPhrasesAndListsThemFirst) {
  english({"dog"}, {"anjing"});
  indonesian({"kucing"}, {"cat"});
  ASSERT_TRUE(state.lookupWord("kucing"));  // an Indonesian find selects that side
  EXPECT_TRUE(state.findPhrases("kucing"));
  EXPECT_EQ(state.phrases(), (Pairs{{"kucing saya", "my own cat"},
                                  {"kucing itu lari", "the cat runs"},
                                  {"ada kucing, anjing.", "a cat. A dog"}}));
  ASSERT_TRUE(state.lookupWord("dog"));  // after an English find the direction alone selects it
  setSetting(state, &LookupSettings::direction, Direction::kIndonesianEnglish);
  EXPECT_TRUE(state.findPhrases("bola"));
  EXPECT_EQ(state.phrases(), (Pairs{{"menangkap bola", "catch the ball"}}));
}

TEST_F(FindPhrasesTest, LookupCountsPhrasesOfTheBoxTextFromTwoCharactersOn) {
  english({"a", "cat", "my"}, {"sebuah", "kucing", "saya"});
  const Pairs ball = {{"catch the ball", "menangkap bola"}};
  const struct {
    bool show;
    const char* box;
    const char* status;
    std::size_t phrases;
  } steps[] = {
      {true, "  cat ", " English word (5 Phrase)", 5},
      {true, "my", " English word (2 Phrase)", 2},
      {true, "cats", " English word", 0},  // found as "cat", but the box text is searched
      {true, "ball", " not found", 1},     // not found: the phrases stay listed
      {true, "a", " English word", 1},     // one character: the list stays
      {false, "cat", " English word", 1},  // button up: the list stays
  };
  for (const auto& s : steps) {
    setSetting(state, &LookupSettings::ShowPhrase, s.show);
    EXPECT_TRUE(state.searchFromBox(s.box)) << s.box;
    EXPECT_EQ(state.statusText(), s.status) << s.box;
    EXPECT_EQ(state.phrases().size(), s.phrases) << s.box;
    EXPECT_TRUE(s.phrases != 1 || state.phrases() == ball) << s.box;
  }
  // A word not found still counts the box text's phrases.
  setSetting(state, &LookupSettings::ShowPhrase, true);
  EXPECT_FALSE(state.lookupWord("dog"));
  EXPECT_EQ(state.statusText(), "  (5 Phrase)");
}

TEST_F(FindPhrasesTest, RelatedDoubleClickLeavesTheStatusAndEmptiesOnNothingFound) {
  state.setStatusText(" English word");
  EXPECT_TRUE(state.findPhrases("ball"));
  EXPECT_EQ(state.statusText(), " English word");
  EXPECT_FALSE(state.findPhrases("zebra"));
  EXPECT_TRUE(state.phrases().empty());
}

// The lines a scan visits, ending the scan once it has `stopAfter` of them.
std::vector<std::size_t> visited(bool whole, const WordList& list, std::size_t limit,
                                 const char* needle, std::size_t stopAfter = SIZE_MAX) {
  std::vector<std::size_t> out;
  const auto visit = [&](std::size_t i) { return out.push_back(i), out.size() < stopAfter; };
  if (whole)
    forEachLineWithWholeWord(list, limit, needle, visit);
  else
    forEachLineContaining(list, limit, needle, visit);
  return out;
}

// The buffer scans give exactly what testing each line gives, also when stopped early.
void expectLineByLineRule(const WordList& l, std::initializer_list<const char*> needles) {
  for (const char* needle : needles) {
    for (std::size_t limit : {l.count(), l.count() - 1, std::size_t{3}}) {
      std::vector<std::size_t> contains, whole;
      for (std::size_t i = 0; i < limit; ++i) {
        if (l.line(i).find(needle) != std::string_view::npos) contains.push_back(i);
        if (posWholeWord(needle, l.line(i)) > 0) whole.push_back(i);
      }
      EXPECT_EQ(visited(false, l, limit, needle), contains) << needle << " limit " << limit;
      EXPECT_EQ(visited(true, l, limit, needle), whole) << needle << " limit " << limit;
      for (std::size_t stop : {std::size_t{1}, contains.size() / 2 + 1})
        EXPECT_EQ(visited(false, l, limit, needle, stop),
                  std::vector(contains.begin(), contains.begin() + std::min(stop, contains.size())))
            << needle;
    }
  }
}

TEST(LineScanTest, AgreesWithTheLineByLineRule) {
  // The last line has no line end.
  const WordList list = splitLines(
      "\r\na\r\nab\r\nba\r\naba\r\na a\r\nxa\r\nax\r\na\nb\r\nab\nab\r\nb,a.\r\n\xE9"
      "a\r\naa\r\na");
  WordList appended;  // lines back to back, nothing between them
  for (std::size_t i = 0; i < list.count(); ++i) appended.append(list.line(i));
  for (const WordList* l : {&list, static_cast<const WordList*>(&appended)})
    expectLineByLineRule(*l, {"a", "ab", "ba", "a a", "b\r\na", "ab\nab", "aa", "\nb", "aba"});

  // Uneven line lengths and alternating dense and sparse stretches of "a".
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
  expectLineByLineRule(splitLines(text),
                       {"a", "ab", "aba", "bab", "a\nb", "abab", "aaaaa", "b b", "ba"});
}

TEST(LineScanTest, FindTextAgreesWithFindAcrossBlockEdges) {
  // Hits at offsets near the vector loop's block edges and the end.
  std::string hay(100, 'x');
  for (std::size_t at : {0, 15, 16, 17, 31, 32, 33, 63, 95, 97}) {
    std::string h = hay;
    h.replace(at, 3, "abc");
    for (std::size_t from : {0, 1, 16, 40}) {
      for (const char* needle : {"abc", "ab", "bc", "xabcx", "c", "abcd", "xxxxxabc", "xxxxxxxabc"})
        EXPECT_EQ(findText(h, needle, from), std::string_view(h).find(needle, from))
            << at << " " << from << " " << needle;
    }
  }
  EXPECT_EQ(findText("abc", "", 3), 3u);
  EXPECT_EQ(findText("abc", "a", 4), std::string_view::npos);
}

}  // namespace
}  // namespace tavro2::test
