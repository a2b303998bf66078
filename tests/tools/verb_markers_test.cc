// kkt and kki: which verb senses the builder marks as taking no object.
#include <gtest/gtest.h>

#include "test_util.h"
#include "tools/dict_builder.h"
#include "tools/extra_sources.h"

namespace tavro2 {
namespace {

TEST(VerbFramesTest, LettersBySenseNumberAndTheLinesThatDoNotFit) {
  VerbFrames frames;
  std::size_t bad = 0;
  frames.parse(
      "# comment\n"
      "go\tiit\r\n"
      "die\tii\n"
      "give up\tbi-\n"
      "run\n"          // no letters
      "walk\tixq\n"    // a letter that means nothing
      "\tii\n"         // no lemma
      "eat\t\n",       // no letters
      bad);
  EXPECT_EQ(bad, 4u);
  EXPECT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames.kind("go", 1), 'i');
  EXPECT_EQ(frames.kind("Go", 3), 't');  // looked up folded
  EXPECT_EQ(frames.kind("go", 4), 0);    // WordNet has no fourth sense
  EXPECT_EQ(frames.kind("go", 0), 0);
  EXPECT_EQ(frames.kind("give up", 1), 'b');
  EXPECT_EQ(frames.kind("give up", 3), 0);  // '-': not known
  EXPECT_EQ(frames.kind("run", 1), 0);
  EXPECT_TRUE(frames.onlyIntransitive("die"));
  EXPECT_FALSE(frames.onlyIntransitive("go"));
  EXPECT_FALSE(frames.onlyIntransitive("give up"));  // one sense unknown
  EXPECT_FALSE(frames.onlyIntransitive("run"));

  // A synset is used without an object only when each lemma WordNet knows says so.
  const auto synset = [](char pos, std::vector<WordnetLemma> english) {
    return WordnetSynset{pos, "", std::move(english), {}};
  };
  EXPECT_EQ(frames.synsetKind(synset('v', {{"go", 1, 0}, {"die", 2, 0}, {"perish", 1, 0}})), 'i');
  EXPECT_EQ(frames.synsetKind(synset('v', {{"go", 1, 0}, {"go", 3, 0}})), 0);
  EXPECT_EQ(frames.synsetKind(synset('v', {{"perish", 1, 0}})), 0);
  // A noun's sense numbers are its own.
  EXPECT_EQ(frames.synsetKind(synset('n', {{"go", 1, 0}})), 0);

  EXPECT_EQ(wordnetMarker('v', 'i'), "kki");
  EXPECT_EQ(wordnetMarker('v', 'b'), "kkt");
  EXPECT_EQ(wordnetMarker('v'), "kkt");
  EXPECT_EQ(wordnetMarker('n', 'i'), "kb");
  EXPECT_EQ(wordnetMarker('a'), "ks");
  EXPECT_EQ(wordnetMarker('r'), "kk");
}

std::string lineOf(const DataTexts& t, std::string_view word) {
  return test::translationOf(t.headwords, t.translations, word);
}

class VerbMarkerTest : public ::testing::Test {
 protected:
  static BuiltDictionary build(bool withFrames) {
    const std::vector<DictdEntry> freedict = {
        // FreeDict lists the transitive sense first; WordNet puts running first.
        {"run", "v", {{"menjalankan", {"to operate"}}, {"lari", {"to move fast"}}}},
        {"go", "v", {{"pergi", {"to move"}}}},
        // No WordNet sense shares a word: the headword as a whole decides.
        {"die", "v", {{"meninggal, mati", {"to stop living"}}}},
        {"swim", "v", {{"berenang", {}}}},
        {"eat", "v", {{"makan", {"to ingest"}}}},
        {"run", "n", {{"larian", {}}}},
    };
    ExtraSources extra;
    const auto synset = [](std::vector<WordnetLemma> english, std::string gloss,
                           std::vector<WordnetWord> indonesian) {
      return WordnetSynset{'v', std::move(gloss), std::move(english), std::move(indonesian)};
    };
    extra.wordnet = {
        synset({{"run", 1, 40}}, "move fast", {{"lari", 5}}),
        synset({{"run", 2, 20}, {"operate", 1, 30}}, "direct", {{"menjalankan", 4}}),
        synset({{"go", 1, 300}, {"travel", 1, 80}}, "change location", {{"pergi", 9}}),
        // "leave" takes an object in this synset, "go" none: as a sense of
        // "berangkat" it is kkt.
        synset({{"go", 2, 50}, {"leave", 1, 90}}, "move away", {{"berangkat", 3}}),
        synset({{"eat", 1, 60}}, "take in solid food", {{"makan", 7}}),
        synset({{"sleep", 1, 30}}, "be asleep", {{"tidur", 8}}),
        synset({{"open", 1, 30}}, "make open or become open", {{"membuka", 8}}),
        synset({{"zorb", 1, 1}}, "roll downhill in a ball", {{"menggelinding", 1}}),
    };
    if (withFrames) {
      std::size_t bad = 0;
      extra.verbFrames.parse(
          "run\tit\ngo\tii\ntravel\ti\nleave\tt\ndie\tiii\nswim\tbi\neat\tti\nsleep\ti\n"
          "open\tb\n",
          bad);
    }
    return buildDictionary(freedict, extra);
  }
};

TEST_F(VerbMarkerTest, IntransitiveSensesAreKkiAndEachMarkerIsOneGroup) {
  const BuiltDictionary built = build(true);
  const std::pair<const char*, const char*> english[] = {
      // One group per marker, the one whose first sense leads first.
      {"run", "kki lari (to move fast); kkt menjalankan (to operate); kb larian"},
      {"go", "kki pergi (to move)"},
      // Matched with no WordNet sense: kki for a verb WordNet never gives an
      // object, kkt for one it sometimes does.
      {"die", "kki meninggal, mati (to stop living)"},
      {"swim", "kkt berenang"},
      {"eat", "kkt makan (to ingest)"},
      // WordNet's own senses: used with and without an object is kkt, and
      // so is a verb WordNet's frames do not list.
      {"sleep", "kki tidur (be asleep)"},
      {"open", "kkt membuka (make open or become open)"},
      {"zorb", "kkt menggelinding (roll downhill in a ball)"},
      {"leave", "kkt berangkat (move away)"},
  };
  for (const auto& [word, want] : english) EXPECT_EQ(lineOf(built.english, word), want) << word;
  EXPECT_EQ(built.intransitiveEntries, 5u);  // run, go, die, sleep, travel
  const std::pair<const char*, const char*> indonesian[] = {
      {"lari", "kki run"},
      {"menjalankan", "kkt run"},
      {"meninggal", "kki die"},
      {"tidur", "kki sleep (be asleep)"},
      {"berangkat", "kkt go, leave (move away)"},
  };
  for (const auto& [word, want] : indonesian)
    EXPECT_EQ(lineOf(built.indonesian, word), want) << word;
}

TEST_F(VerbMarkerTest, WithoutTheFramesEveryVerbIsKkt) {
  const BuiltDictionary built = build(false);
  EXPECT_EQ(lineOf(built.english, "run"),
            "kkt lari (to move fast); menjalankan (to operate); kb larian");
  EXPECT_EQ(lineOf(built.english, "die"), "kkt meninggal, mati (to stop living)");
  EXPECT_EQ(lineOf(built.indonesian, "tidur"), "kkt sleep (be asleep)");
  EXPECT_EQ(built.intransitiveEntries, 0u);
}

}  // namespace
}  // namespace tavro2
