#include "engine/typing_list.h"

#include "lookup_fixture.h"

namespace tavro2::test {
namespace {

std::string words(const std::vector<HeadwordEntry>& matches) {
  std::string out;
  for (const HeadwordEntry& m : matches) out += (out.empty() ? "" : ",") + m.word + (m.indonesian ? "/id" : "");
  return out;
}

// The words that begin with what was typed: the word itself first, then the
// commonest, shorter before longer, then alphabetically; the sides the
// direction searches, a word of both once; a cap.
TEST_F(LookupTest, TypingListsTheCommonestHeadwordsThatBeginWithTheText) {
  english({"hot", "hour", "house", "household", "housing", "hovel", "how"},
          {"ks panas", "kb jam", "kb rumah", "kb rumah tangga", "kb perumahan", "kb gubuk",
           "kk bagaimana"});
  indonesian({"hotel", "hous", "house", "rumah"}, {"kb hotel", "x", "kb house music", "kb house"});
  const WordRanks ranks("how\nhouse\nhour\n", "housing\nhot\n", "hotel\nrumah\n");
  EXPECT_EQ(words(typingMatches(store, "hou", Direction::kAutomatic, ranks)),
            "house,hour,housing,hous/id,household");
  EXPECT_EQ(words(typingMatches(store, "hous", Direction::kAutomatic, ranks)),
            "hous/id,house,housing,household");  // the word itself first
  EXPECT_EQ(words(typingMatches(store, "ho", Direction::kIndonesianEnglish, ranks)),
            "hotel/id,hous/id,house/id");  // the Indonesian side alone: its own house
  EXPECT_EQ(words(typingMatches(store, "HO", Direction::kEnglishIndonesian, ranks, 3)),
            "how,house,hour");
  EXPECT_EQ(words(typingMatches(store, "x", Direction::kAutomatic, ranks)), "");
  EXPECT_EQ(words(typingMatches(store, "", Direction::kAutomatic, ranks)), "");

  // The state: the list and the first entry, nothing else touched.
  state.setStatusText(" Data OK");
  EXPECT_TRUE(state.showTypingList("  Hou"));
  EXPECT_TRUE(state.typingListShown());
  EXPECT_EQ(std::tuple(state.mainWords().count(), state.translationText(), state.statusText()),
            std::tuple(std::size_t{5}, "house kb rumah", " Data OK"));
  std::size_t hous = 0;  // the program's own ranks order the state's list
  while (hous < state.mainWords().count() && state.mainWords().line(hous) != "hous") ++hous;
  state.showSelectedEntry(hous);
  EXPECT_EQ(state.translationText(), "hous x");
  EXPECT_FALSE(state.showTypingList("zzz"));
  EXPECT_EQ(state.mainWords().count(), 5u);  // nothing matched: nothing changed
  EXPECT_TRUE(state.searchFromBox("house"));
  EXPECT_FALSE(state.typingListShown());
}

}  // namespace
}  // namespace tavro2::test
