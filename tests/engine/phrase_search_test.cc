#include "engine/phrase_search.h"

#include "lookup_fixture.h"

namespace tavro2::test {
namespace {

using Pairs = std::vector<PhrasePair>;

class FindPhrasesTest : public LookupTest {
 protected:
  void SetUp() override {
    publish(DataKind::kPhrase,
            {"kucing itu lari", "menangkap bola", "kucingku", "ada kucing, anjing."},
            {"the cat runs", "catch the ball", "my cat", "a cat. A dog"});
    userList("Tavro2phrase.dat", {"kucing saya=my own cat", "tanpa arti", "catatan=a cat-note"});
  }
};

TEST_F(FindPhrasesTest, EnglishSideSearchesTranslationsAndLeavesTheStatus) {
  EXPECT_TRUE(state.findPhrases("cat"));
  // User phrases first, then the dictionary's; "catch" is no whole word, "cat." and "cat-" are.
  EXPECT_EQ(state.phrases(), (Pairs{{"my own cat", "kucing saya"},
                                  {"a cat-note", "catatan"},
                                  {"the cat runs", "kucing itu lari"},
                                  {"my cat", "kucingku"},
                                  {"a cat. A dog", "ada kucing, anjing."}}));
  state.setStatusText(" English word");
  EXPECT_TRUE(state.findPhrases("ball"));
  EXPECT_EQ(state.statusText(), " English word");
  EXPECT_TRUE(!state.findPhrases("zebra") && state.phrases().empty());
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
  const struct { bool show; const char* box; const char* status; std::size_t phrases; } steps[] = {
      {true, "  cat ", " English word (5 Phrase)", 5},
      {true, "my", " English word (2 Phrase)", 2},
      {true, "cats", " English word: cats -> cat", 0},  // found as "cat"; the box text is searched
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

}  // namespace
}  // namespace tavro2::test
