#include "tools/extra_sources.h"

#include <gtest/gtest.h>

#include "test_util.h"
#include "tools/dict_builder.h"
#include "tools/english_entries.h"

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
        // FreeDict's alphabetical group; the frequency list puts rumah first.
        {"house", "n", {{"balai, rumah", {}}, {"tambahan, campuran", {"not alphabetical"}}}},
        // Parts of speech by use: go is a verb before a board game.
        {"go", "n", {{"igo", {"board game"}}}},
        // WordNet's sense order: "pergi" is go's first sense, "menjadi" its fifth.
        {"go", "v", {{"menjadi", {"to become"}}, {"pergi", {"to move"}}}},
        {"minutes", "n", {{"notulen", {}}}},
        {"goods", "n", {{"barang", {}}}},
        {"zoo", "n", {{"kebun binatang", {}}}},
        {"implement", "n", {{"alat", {}}}},
    };
    ExtraSources extra;
    extra.wordnet = {
        // dine, a word only WordNet gives: its words counted in the sense
        // first, then by their counts over the join. For eat, which the word
        // list knows, only "santap" is paired with one of the sense's words,
        // and the entry has it already.
        synset('v', {{"dine", 1, 60}, {"eat", 1, 60}}, "take in solid food (at a meal)",
               {{"dahar"}, {"santap", 2}, {"melahap"}, {"memakan"}, {"menyantap"}}),
        synset('v', {{"devour", 1, 0}}, "eat greedily", {{"melahap"}, {"memakan", 1}}),
        // Six noun senses: the cap keeps the first four by sense number.
        synset('n', {{"dine", 5, 1}}, "five", {{"e5"}}), synset('n', {{"dine", 3, 1}}, "three", {{"e3"}}),
        synset('n', {{"dine", 4, 1}}, "four", {{"e4"}}), synset('n', {{"dine", 2, 1}}, "two", {{"e2"}}),
        synset('n', {{"dine", 6, 1}}, "six", {{"e6"}}), synset('n', {{"dine", 1, 0}}, "one", {{"e1"}}),
        synset('v', {{"go", 1, 300}}, "travel", {{"pergi"}, {"berjalan"}}),
        synset('v', {{"go", 5, 20}}, "become", {{"menjadi"}}),
        synset('n', {{"minute", 1, 92}}, "sixty seconds", {{"menit"}}),
        // A part of speech FreeDict lacks needs no confirmation.
        synset('v', {{"implement", 1, 5}}, "apply", {{"menerapkan"}}),
        synset('n', {{"implement", 1, 3}}, "a tool", {{"perkakas"}}),
        synset('a', {{"good", 1, 400}}, "having desirable qualities", {{"baik"}}),
        synset('n', {{"good", 1, 40}}, "benefit", {{"kebaikan"}}),
        // A Malay word and one no list knows give way to a common word, yet
        // are still found on the Indonesian side.
        synset('n', {{"news", 1, 5}}, "reports", {{"akhbar", 3}, {"warta"}, {"berita"}}),
        // Names: a common word of either language is no name's headword;
        // nor does a name's Indonesian that only repeats it make one.
        synset('n', {{"helium", 1, 15}, {"He", 1, 0}}, "element", {{"helium"}}),
        synset('n', {{"Defense Intelligence Agency", 1, 0}, {"DIA", 1, 0}}, "agency", {{"DIA"}}),
        synset('n', {{"Goldsboro", 1, 0}}, "a town", {{"Goldsboro"}}),
        synset('n', {{"Brockhouse", 1, 0}}, "a physicist", {{"Bertram Brockhouse"}}),
        // A name the frequency lists hold is looked up as itself.
        synset('n', {{"Indiana", 1, 0}, {"Hoosier State", 1, 0}}, "a state", {{"Indiana"}}),
        synset('n', {{"More", 1, 0}}, "statesman", {{"Thomas More"}}),
        synset('a', {{"more", 1, 9}}, "greater", {{"lebih"}}),
        // A name that translates stays, and so does one the corpus often tags.
        synset('n', {{"Germany", 1, 0}}, "a country", {{"Jerman"}}),
        synset('n', {{"March", 1, 16}}, "the third month", {{"Maret"}}),
        synset('v', {{"march", 1, 0}}, "walk in step", {{"berbaris"}}),
        // A new headword of two words, a phrase, 1252 conversion and dropping.
        synset('a', {{"Ice cream", 1, 0}, {"ice cream", 1, 0}}, "a frozen dessert that goes on "
               "and on well beyond what anyone would read", {{"es krim"}, {"York, Inggris"}, {"caf\xC3\xA9"}, {"\xE5\x88\x98"}}),
    };
    // Fourteen senses of "ramai", none with a common English word: the entry
    // still shows the first, so the word is found.
    for (int k = 0; k < 14; ++k)
      extra.wordnet.push_back(synset('a', {{std::string(2, char('a' + k)), 14 - k, 0}}, "", {{"ramai"}}));
    extra.spokenWords = {{"nggak", "kk", {"not", "no"}, "informal for tidak"},
                         {"dia", "", {"he", "she"}, "third person"}};
    extra.functionWords = {{"he", "", {"dia", "ia"}, "third person"},
                           {"eat", "", {"makan", "santap"}, "x"}};
    extra.everydayWords = {{"go", "kkt", {"berangkat"}, "leave"}};
    extra.usage.setIndonesianRanks("rumah\nberita\nbalai\nmenit\ntambahan\ncampuran\n");
    extra.usage.setEnglishRanks("the\nmore\ngo\nmarch\nindiana\n", "");
    std::size_t bad = 0;
    extra.usage.setEnglishTags("go\t4\t598\t0\t0\nminute\t92\t0\t5\t0\ngood\t40\t0\t500\t0\n"
                               "more\t0\t0\t201\t408\nbad line\n",
                               bad);
    EXPECT_EQ(bad, 1u);
    extra.rareWords = {"akhbar"};
    extra.wrongSenses = {{"devour", "", {"memakan"}, "a reviewer's strike"}};
    built_ = buildDictionary(freedict, extra);
  }
  BuiltDictionary built_;
};

TEST_F(MergeTest, EntriesReadAsTheWordIsUsed) {
  const std::pair<const char*, const char*> rows[] = {
      // The function-word list's closed-class sense first; FreeDict's "makan"
      // is not repeated, so its sense goes, and so do WordNet's unpaired words.
      {"eat", "makan, santap (x)"},
      {"dine", "kkt santap, memakan, dahar (take in solid food); "
               "kb e1 (one); e2 (two); e3 (three); e4 (four)"},
      {"devour", "kkt melahap (eat greedily)"},
      {"house", "kb rumah, balai; tambahan, campuran (not alphabetical)"},
      // WordNet's first sense adds nothing: "berjalan" is rare by the lists.
      {"go", "kkt berangkat (leave); pergi (to move); menjadi (to become); kb igo (board game)"},
      // An inflected headword leads with its base, unless that reading is
      // the base's lesser use (good is an adjective first).
      {"minutes", "form of minute: kb menit; kb notulen"},
      {"goods", "kb barang"},
      {"implement", "kb alat; kkt menerapkan (apply)"},
      {"news", "kb berita (reports)"},
      {"he", "dia, ia (third person)"},
      {"more", "ks lebih (greater)"},
      {"germany", "kb Jerman (a country)"},
      {"march", "kb Maret (the third month); kkt berbaris (walk in step)"},
      {"helium", "kb helium (element)"},
      {"indiana", "kb Indiana (a state)"},
      {"ice cream", "ks es krim, caf\xE9 (a frozen dessert that goes on and on well beyond what...)"},
  };
  for (const auto& [word, want] : rows) EXPECT_EQ(lineOf(built_.english, word), want) << word;
  for (const char* gone : {"dia", "goldsboro", "defense intelligence agency", "brockhouse",
                           "hoosier state"})
    EXPECT_EQ(lineOf(built_.english, gone), "<none>") << gone;
  EXPECT_EQ(built_.droppedNameHeadwords, 5u);
  EXPECT_EQ(built_.droppedTerms, 1u);
  // The spoken-word list opens its entries; the English entries' "he" is
  // not repeated, and the agency never comes in.
  EXPECT_EQ(lineOf(built_.indonesian, "dia"), "he, she (third person)");
  EXPECT_EQ(lineOf(built_.indonesian, "nggak"), "kk not, no (informal for tidak)");
  EXPECT_EQ(lineOf(built_.english, "nggak"), "<none>");  // one way only
  EXPECT_EQ(lineOf(built_.indonesian, "warta"), "kb news (reports)");
  // Words an entry leaves out are still found on the Indonesian side.
  EXPECT_EQ(lineOf(built_.indonesian, "memakan"), "kkt dine, eat (take in solid food)");
  EXPECT_EQ(lineOf(built_.indonesian, "caf\xE9"),
            "ks Ice cream (a frozen dessert that goes on and on well beyond what...)");
  EXPECT_EQ(lineOf(built_.phrases, "es krim"), "Ice cream");
  EXPECT_EQ(lineOf(built_.indonesian, "ramai"), "ks nn");
}

TEST(EnglishEntriesTest, InflectionBasesWithTheirPartOfSpeech) {
  auto bases = [](std::string_view word) {
    std::string out;
    for (const InflectionBase& b : inflectionBases(word))
      out += b.base + (b.part ? std::string(1, b.part) : std::string("?")) + " ";
    return out;
  };
  EXPECT_EQ(bases("minutes"), "minuten minutev minutv ");
  EXPECT_EQ(bases("stopped"), "stop? stoppev stoppv stopv ");
  EXPECT_EQ(bases("holding"), "holdev holdv ");
  EXPECT_EQ(bases("fell"), "fall? ");
  EXPECT_EQ(bases("is"), "be? ");  // the lists only: never a base of one letter
}

}  // namespace
}  // namespace tavro2
