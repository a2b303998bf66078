#include "tools/extra_sources.h"

#include <gtest/gtest.h>

#include "test_util.h"
#include "tools/dict_builder.h"

namespace tavro2 {
namespace {

TEST(ExtraSourcesTest, ParsesGoodLinesAndCountsTheRest) {
  std::size_t bad = 0;
  const auto synsets = parseWordnetJoin(
      "# comment\n"
      "01-v\tv\tenjoy#1#52|bask#1#3\tderive pleasure\tmenikmati#12|seronok\r\n"
      "02-n\tx\tw#1#0\tg\tk\n"          // unknown part of speech
      "03-n\tn\tw#1\tg\tk\n"            // lemma without tag count
      "04-n\tn\tw#1#0\tg\tk#many\n"     // count not a number
      "05-n\tn\tw#1#0\tg\n",            // a field short
      bad);
  ASSERT_EQ(synsets.size(), 1u);
  EXPECT_EQ(bad, 4u);
  const WordnetSynset& s = synsets[0];
  EXPECT_EQ(s.pos, 'v');
  EXPECT_EQ(s.gloss, "derive pleasure");
  ASSERT_EQ(s.english.size(), 2u);
  EXPECT_EQ(std::make_tuple(s.english[1].lemma, s.english[1].sense, s.english[1].tags),
            std::make_tuple("bask", 1, 3));
  ASSERT_EQ(s.indonesian.size(), 2u);
  EXPECT_EQ(std::make_tuple(s.indonesian[0].word, s.indonesian[0].count, s.indonesian[1].count),
            std::make_tuple("menikmati", 12, 0));

  const auto words = parseFunctionWords(
      "# c\n\nat | kd | di,  pada , | place\nme | | aku | \nbad line\nx | k b | y | z\n", bad);
  ASSERT_EQ(words.size(), 2u);
  EXPECT_EQ(bad, 2u);
  EXPECT_EQ(words[0].terms, (std::vector<std::string>{"di", "pada"}));
  EXPECT_EQ(std::make_tuple(words[1].marker, words[1].gloss), std::make_tuple("", ""));
}

// A line of a built text by headword, or "<none>".
std::string lineOf(const DataTexts& t, std::string_view word) {
  return test::translationOf(t.headwords, t.translations, word);
}

WordnetSynset synset(char pos, std::vector<WordnetLemma> en, std::string gloss,
                     std::vector<WordnetWord> id) {
  return {pos, std::move(gloss), std::move(en), std::move(id)};
}

class MergeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::vector<DictdEntry> freedict = {
        {"eat", "v", {{"makan", {"to ingest"}}}},
        {"house", "n", {{"rumah", {}}}},
        {"zoo", "n", {{"kebun binatang", {}}}},
    };
    ExtraSources extra;
    extra.wordnet = {
        // eat: makan is FreeDict's; a sense left with nothing new is dropped.
        synset('v', {{"eat", 2, 1}}, "eat a meal", {{"makan", 9}}),
        // Words by count in the sense, then summed counts, then how many senses use them.
        synset('v', {{"eat", 1, 60}}, "take in solid food (at a meal)",
               {{"dahar"}, {"santap", 2}, {"melahap"}, {"memakan"}, {"menyantap"}}),
        synset('v', {{"devour", 1, 0}}, "eat greedily", {{"melahap"}, {"memakan", 1}}),
        // Five noun senses: the cap keeps the first four by sense number. For a
        // word FreeDict knows, a later sense that the corpus never tags is left out.
        synset('n', {{"eat", 5, 1}}, "five", {{"e5"}}), synset('n', {{"eat", 3, 1}}, "three", {{"e3"}}),
        synset('n', {{"eat", 4, 1}}, "four", {{"e4"}}), synset('n', {{"eat", 2, 1}}, "two", {{"e2"}}),
        synset('n', {{"eat", 6, 1}}, "six", {{"e6"}}), synset('n', {{"eat", 7, 0}}, "rare", {{"e7"}}),
        synset('n', {{"house", 2, 0}}, "rare", {{"wisma"}}),
        // A new headword of two words, a phrase, 1252 conversion and dropping.
        synset('a', {{"Ice cream", 1, 0}, {"ice cream", 1, 0}}, "a frozen dessert that goes on "
               "and on well beyond what anyone would read", {{"es krim"}, {"York, Inggris"}, {"caf\xC3\xA9"}, {"\xE5\x88\x98"}}),
        synset('r', {{"fast", 1, 0}}, "quickly", {{"cepat"}}),
    };
    // Fourteen headwords whose senses give "ramai": the twelve most frequent senses stay.
    for (int k = 0; k < 14; ++k)
      extra.wordnet.push_back(synset('a', {{std::string(1, char('a' + k)), 14 - k, 0}}, "", {{"ramai"}}));
    extra.functionWords = {{"at", "kd", {"di", "pada"}, "place"}, {"eat", "", {"makan", "santap"}, "x"}};
    built_ = buildDictionary(freedict, extra);
  }
  BuiltDictionary built_;
};

TEST_F(MergeTest, FreeDictThenTheOtherSourcesAndTheirInverse) {
  const std::pair<const char*, const char*> rows[] = {
      // Function words before WordNet, whose verbs come first (more tagged).
      {"eat",
       "kkt makan (to ingest); santap (x); kkt memakan, melahap, dahar (take in solid food); "
       "kb e2 (two); e3 (three); e4 (four); e5 (five)"},
      {"devour", "kkt memakan, melahap (eat greedily)"},
      {"ice cream", "ks es krim, caf\xE9 (a frozen dessert that goes on and on well beyond what...)"},
      {"fast", "kk cepat (quickly)"},
      {"at", "kd di, pada (place)"},
      {"house", "kb rumah"},
  };
  for (const auto& [word, want] : rows) EXPECT_EQ(lineOf(built_.english, word), want) << word;
  EXPECT_EQ(test::linesOf(built_.english.headwords),
            (std::vector<std::string>{"a", "at", "b", "c", "d", "devour", "e", "eat", "f", "fast",
                                      "g", "h", "house", "i", "ice cream", "j", "k", "l", "m", "n",
                                      "zoo"}));
  EXPECT_EQ(built_.droppedTerms, 1u);
  EXPECT_EQ(lineOf(built_.indonesian, "memakan"), "kkt eat, devour");  // by sense, then tags
  EXPECT_EQ(lineOf(built_.indonesian, "santap"), "eat");
  EXPECT_EQ(lineOf(built_.indonesian, "menyantap"), "<none>");  // cut by the cap, so not inverted
  EXPECT_EQ(lineOf(built_.indonesian, "caf\xE9"), "ks Ice cream");
  EXPECT_EQ(lineOf(built_.phrases, "es krim"), "Ice cream");
  EXPECT_EQ(lineOf(built_.indonesian, "ramai"), "ks n, m, l, k, j, i, h, g, f, e, d, c");
}

}  // namespace
}  // namespace tavro2
