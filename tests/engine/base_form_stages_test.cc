#include "engine/base_form_stages.h"

#include <algorithm>
#include <filesystem>
#include <thread>

#include "engine/indonesian_affixes.h"
#include "engine/irregular_forms.h"
#include "engine/query_text.h"
#include "engine/stemmer.h"
#include "lookup_fixture.h"

namespace tavro2::test {
namespace {

bool systemDictionaries() {
  for (const char* f : {"en_US.aff", "en_US.dic", "id_ID.aff", "id_ID.dic"})
    if (!fileExists(std::string(Stemmer::kSystemDictionaryDir) + f)) return false;
  return true;
}

#define REQUIRE_SYSTEM_DICTIONARIES() \
  if (!systemDictionaries()) GTEST_SKIP() << "hunspell-en-us or hunspell-id not installed"

TEST(IrregularFormsTest, BasesInListOrderAndIndonesianRootsLikeliestFirst) {
  const struct { const char* word; Lines bases; } rows[] = {
      {"better", {"good", "well"}},  // adjective list before adverb list, "well" once
      {"acer", {}},                  // listed as its own base
      {"went", {"go"}}, {"children", {"child"}}, {"walked", {}}, {"", {}}, {"wenta", {}},
      {"aides-de-camp", {"aide-de-camp"}}, {"policemen", {"policeman"}}, {"men's", {}},
      {"women", {"woman"}},  // by rule, as WordNet does
      {"men", {"man"}},      // listed
  };
  for (const auto& r : rows) EXPECT_EQ(irregularBaseForms(r.word), r.bases) << r.word;
  const struct { const char* word; Lines candidates; } roots[] = {
      {"keluarkan", {"keluar", "luar", "keluark", "luark", "luarkan"}},
      {"memakai", {"pakai", "makai", "memaka", "paka", "maka"}},  // -i taken off last
      {"menulis", {"tulis", "nulis"}}, {"mengirim", {"irim", "kirim"}}, {"tampilan", {"tampil"}},
      {"menyapu", {"sapu"}}, {"membaca", {"baca"}}, {"melihat", {"lihat"}},
      {"apapun", {"apa"}}, {"makanannya", {"makan", "makanan"}}, {"berzakat", {"zakat"}},
      // After meng-/peng- a short vowel-initial root more often lost its k; after menge- the
      // e is the root's or follows a lost k, and a root of its own comes last.
      {"pengodean", {"pengode", "kode", "ode", "odean", "kodean"}},
      {"mengaint", {"kaint", "aint"}},  // one syllable: ai is one vowel
      {"mengekor", {"ekor", "kekor", "kor"}}, {"mengelola", {"elola", "kelola", "lola"}},
      {"mengecat", {"ecat", "kecat", "cat"}},
      // be- only before r and a vowel or a first syllable in er.
      {"berumah", {"umah", "rumah"}}, {"bekerja", {"kerja"}}, {"bekasi", {}},
      // -i without a verb's prefix is part of the word; ber- keeps a noun's -an first.
      {"praktisi", {}}, {"ditandai", {"tandai", "ditanda", "tanda"}},
      {"berbahan", {"bahan", "berbah", "bah"}},
      {"sepak", {"pak"}},  // a root of the shortest length after a prefix
      {"memakaikannyalah",  // at most eight
       {"memakai", "pakai", "makai", "memakaik", "pakaik", "makaik", "memakaikan", "pakaikan"}},
      {"makan", {"mak"}}, {"Makan", {}}, {"kata-kata", {}}, {"abcd", {}},
  };
  for (const auto& r : roots) EXPECT_EQ(indonesianRootCandidates(r.word), r.candidates) << r.word;
}

struct StemRow {
  StemLanguage language;
  std::string word;
  Lines stems;
};
void expectStems(Stemmer& stemmer, const std::vector<StemRow>& rows) {
  for (const auto& r : rows) EXPECT_EQ(stemmer.stems(r.language, r.word), r.stems) << r.word;
}

TEST(StemmerTest, StemsOfEitherLanguageIn1252AndAMissingDictionaryDisablesOnlyItsLanguage) {
  REQUIRE_SYSTEM_DICTIONARIES();
  Stemmer stemmer;
  expectStems(stemmer, {
      {StemLanguage::kIndonesian, "digunakan", {"guna"}},
      {StemLanguage::kIndonesian, "looked", {}},
      {StemLanguage::kEnglish, "looked", {"look"}},
      {StemLanguage::kEnglish, "digunakan", {}},
      {StemLanguage::kEnglish, "look", {}},          // never the word itself
      {StemLanguage::kEnglish, "r\xE9looked", {}},   // 1252 to UTF-8, then no stem
      {StemLanguage::kIndonesian, "makan\x80", {}},  // no Latin-1 form
      {StemLanguage::kEnglish, std::string(300, 'a'), {}},
  });
  TempDir dir;
  for (const char* f : {"id_ID.aff", "id_ID.dic", "en_US.aff"})  // en_US.dic missing
    std::filesystem::copy_file(std::string(Stemmer::kSystemDictionaryDir) + f, dir.file(f));
  Stemmer partial(dir.path());
  EXPECT_TRUE(partial.stems(StemLanguage::kEnglish, "looked").empty());
  EXPECT_EQ(partial.stems(StemLanguage::kIndonesian, "digunakan"), (Lines{"guna"}));
  EXPECT_TRUE(partial.knows(StemLanguage::kIndonesian, "makan"));
  EXPECT_FALSE(partial.knows(StemLanguage::kIndonesian, "looked"));
  EXPECT_FALSE(partial.knows(StemLanguage::kEnglish, "look"));
}

// Dictionaries of our own: one in UTF-8, one in Latin-1.
TEST(StemmerTest, WordsAndStemsGoThroughTheDictionaryEncoding) {
  TempDir dir;
  const std::string longest(99, 'a');  // its plural, 100 bytes, is the longest word stemmed
  writeFile(dir.file("en_US.aff"), "SET UTF-8\nSFX S Y 1\nSFX S 0 s .\nSFX T Y 1\nSFX T \xC5\x91 s \xC5\x91\n");
  writeFile(dir.file("en_US.dic"), "3\ncaf\xC3\xA9/S\nab\xC5\x91/T\n" + longest + "/S\n");
  writeFile(dir.file("id_ID.aff"),
            "SET ISO8859-1\nSFX S Y 1\nSFX S 0 s .\nSFX U Y 1\nSFX U 0 \x85 .\n");
  writeFile(dir.file("id_ID.dic"), "1\ncaf\xE9/SU\n");
  Stemmer stemmer(dir.path());
  expectStems(stemmer, {
      {StemLanguage::kEnglish, "caf\xE9s", {"caf\xE9"}},
      {StemLanguage::kIndonesian, "caf\xE9s", {"caf\xE9"}},
      {StemLanguage::kIndonesian, "caf\xE9\x85", {}},  // 1252's ellipsis is no Latin-1 byte
      {StemLanguage::kEnglish, "abs", {}},  // its stem has a letter 1252 lacks
      {StemLanguage::kEnglish, longest + "s", {longest}},
  });
  EXPECT_TRUE(stemmer.knows(StemLanguage::kEnglish, "abs"));  // a word, only its stem is dropped
}

// The window prepares both languages on its thread while a search for
// suggestions asks on another and a lookup on a third: one load per
// language, and every caller gets the loaded dictionary (run under TSan).
TEST(StemmerTest, ConcurrentCallersShareOneLoadPerLanguage) {
  REQUIRE_SYSTEM_DICTIONARIES();
  Stemmer stemmer;
  std::vector<std::vector<std::string>> answers(3);
  std::thread suggest([&] { answers[0] = stemmer.suggestions(StemLanguage::kEnglish, "hous"); });
  std::thread stem([&] { answers[1] = stemmer.stems(StemLanguage::kIndonesian, "digunakan"); });
  stemmer.prepare(StemLanguage::kEnglish);
  stemmer.prepare(StemLanguage::kIndonesian);
  answers[2] = stemmer.stems(StemLanguage::kEnglish, "looked");
  suggest.join();
  stem.join();
  EXPECT_NE(std::find(answers[0].begin(), answers[0].end(), "house"), answers[0].end());
  EXPECT_EQ(answers[1], (std::vector<std::string>{"guna"}));
  EXPECT_EQ(answers[2], (std::vector<std::string>{"look"}));
  Stemmer never;  // prepared by nobody: nothing to wait for when it goes
}

TEST(FurtherBaseFormsTest, StagesFollowTheDirection) {
  REQUIRE_SYSTEM_DICTIONARIES();
  Stemmer stemmer;
  const struct {
    const char* word;
    Direction direction;
    bool withStemmer;
    Lines candidates;
  } rows[] = {
      {"rebuilt", Direction::kEnglishIndonesian, true, {"rebuild", "built"}},  // irregular first
      {"rebuilt", Direction::kEnglishIndonesian, false, {"rebuild"}},
      {"rebuilt", Direction::kIndonesianEnglish, true, {}},
      {"digunakan", Direction::kEnglishIndonesian, true, {}},
      // Hunspell's stem, then the affix rules' other roots.
      {"digunakan", Direction::kIndonesianEnglish, true, {"guna", "diguna", "digunak", "gunak", "gunakan"}},
      {"digunakan", Direction::kIndonesianEnglish, false, {"diguna", "guna", "digunak", "gunak", "gunakan"}},
      // The clitics come off before Hunspell's stems; never for English - Indonesian.
      {"digunakannya", Direction::kIndonesianEnglish, true,
       {"digunakan", "guna", "diguna", "digunak", "gunak", "gunakan", "gunakannya"}},
      {"teman-temannya", Direction::kAutomatic, true,
       {"temantemannya", "teman-teman", "teman"}},
      {"kubilang", Direction::kAutomatic, true, {"bilang"}},
      {"kubilang", Direction::kEnglishIndonesian, true, {}},
      {"rumahnya", Direction::kEnglishIndonesian, true, {}},
      {"matikan", Direction::kAutomatic, true, {"mati", "matik"}},
      {"went", Direction::kAutomatic, true, {"go"}},
      // An English word without hyphens and apostrophes first.
      {"e-mail", Direction::kAutomatic, false, {"email"}},
      {"dog's", Direction::kEnglishIndonesian, false, {"dogs", "dog"}},
      {"anak-anak", Direction::kIndonesianEnglish, false, {"anak"}},
      {"running", Direction::kAutomatic, true, {}},  // "run" is an ending rule's candidate
      {"", Direction::kAutomatic, true, {}},
  };
  for (const auto& r : rows)
    EXPECT_EQ(furtherBaseFormCandidates(r.word, baseFormCandidates(r.word), r.direction,
                                        r.withStemmer ? &stemmer : nullptr),
              r.candidates)
        << r.word << " " << static_cast<int>(r.direction);
}

// The test that lets a likely miss start Hunspell's loading early: the
// frequency lists know a word as it is or by a plain base form.
TEST(FurtherBaseFormsTest, CommonUseIsAWordOfTheFrequencyListsOrItsBaseForm) {
  for (const char* word : {"house", "rumah", "walked", "happily", "went", "houses"})
    EXPECT_TRUE(inCommonUse(word)) << word;
  for (const char* word : {"hous", "recieve", "rumha", "", "the\nof", "xqzvbn"})
    EXPECT_FALSE(inCommonUse(word)) << word;
}

}  // namespace
}  // namespace tavro2::test
