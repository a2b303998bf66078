#include "tools/dict_builder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <tuple>

#include "engine/cp1252.h"
#include "engine/data_file.h"
#include "test_util.h"
#include "tools/data_writer.h"
#include "tools/dictd_reader.h"

namespace tavro2 {
namespace {

using test::TempDir;

std::string gzip(std::string_view text) {
  const TempDir dir;
  gzFile out = gzopen(dir.file("t.gz").c_str(), "wb9");
  EXPECT_EQ(gzwrite(out, text.data(), static_cast<unsigned>(text.size())), int(text.size()));
  EXPECT_EQ(gzclose(out), Z_OK);
  return test::readFile(dir.file("t.gz"));
}

std::string dictdNumber(std::uint64_t v) {
  static const char* kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string s;
  do {
    s.insert(s.begin(), kDigits[v % 64]);
    v /= 64;
  } while (v);
  return s;
}

// A data file's texts; both blocks must be loaded and end with a line end.
DataFileContents readBack(const std::string& path) {
  DataFileContents c = readDataFile(path);
  EXPECT_EQ(c.outcome, DataOutcome::kLoaded) << path;
  EXPECT_TRUE(c.headwords.ends_with("\r\n") && c.translations.ends_with("\r\n")) << path;
  return c;
}

std::string translationOf(const DataFileContents& c, std::string_view word) {
  return test::translationOf(c.headwords, c.translations, word);
}

// The fixture below reads a real index and a gzip of one member; here the odd cases.
TEST(DictdIndexTest, BadIndexLinesNumbersAndGzipMembers) {
  const DictdIndex index =
      parseDictdIndex("house\tBA\tQ\r\nno tabs here\nbad\tA?\tB\n\na man is\tC\tD\tx\n");
  ASSERT_EQ(std::make_tuple(index.lines.size(), index.badLines), std::make_tuple(1u, 3u));
  EXPECT_EQ(std::tie(index.lines[0].key, index.lines[0].offset, index.lines[0].length),
            std::make_tuple("house", 64u, 16u));
  for (const char* junk : {"", "A-B", "//////////////"})  // the last: far beyond any file
    EXPECT_FALSE(decodeDictdNumber(junk)) << junk;
  std::string out, error;
  ASSERT_TRUE(inflateGzip(gzip("abc") + gzip("def"), out, error) && out == "abcdef") << error;
  const std::string whole = gzip(std::string(5000, 'x'));
  EXPECT_FALSE(inflateGzip(std::string_view(whole).substr(0, whole.size() / 2), out, error));
  EXPECT_FALSE(inflateGzip(whole, out, error, 4999));  // would exceed the cap
}

// An entry in one line: headword {pronunciations} <part of speech> | translations (gloss;
// gloss) | ...
std::string shape(const DictdEntry& e) {
  std::string out = e.headword;
  for (std::size_t i = 0; i < e.pronunciations.size(); ++i)
    out += (i ? "," : " {") + e.pronunciations[i] + (i + 1 == e.pronunciations.size() ? "}" : "");
  out += " <" + e.partOfSpeech + ">";
  for (const auto& sense : e.senses) {
    out += " | " + sense.translations;
    for (std::size_t i = 0; i < sense.glosses.size(); ++i)
      out += (i ? "; " : " (") + sense.glosses[i] + (i + 1 == sense.glosses.size() ? ")" : "");
  }
  return out;
}

TEST(DictdEntryTest, SplitsSensesAndGlossListsAndFindsTheEdition) {
  const std::pair<const char*, const char*> rows[] = {
      {"acid /ˈæs.ɪd/ <n>\r\nasam 2.\r\nin chemistry\r\n 3.\r\nLSD\r\n",
       "acid {/ˈæs.ɪd/} <n> | asam (in chemistry; LSD)"},
      // Several pronunciations, one or two slashes, phonetic ones in brackets.
      {"house //haʊs// //hʌʊs// /[hæʊs]/ <n>\nrumah\n",
       "house {//haʊs//,//hʌʊs//,/[hæʊs]/} <n> | rumah"},
      // A slash in the headword, a trailing number that is no gloss list, no part of speech.
      {"24/7 <adj>\nsetiap saat 2.\n", "24/7 <adj> | setiap saat 2."},
      {"at least /at lˈiːst/\nsetidaknya\n", "at least {/at lˈiːst/} <> | setidaknya"},
      // A line "2. ..." in an unnumbered entry is a gloss, not a sense.
      {"x <n>\ny\n2. not a sense\n", "x <n> | y (2. not a sense)"},
      {"", " <>"},
  };
  for (const auto& [text, want] : rows) EXPECT_EQ(shape(parseDictdEntry(text)), want) << text;
  const std::pair<const char*, std::tuple<int, int, int>> cases[] = {  // "Edition:": the fixture
      {"Publication date: 2019-02-03.\n", {2019, 2, 3}},
      {"Edition: 2022.13.01\nPublication date: 2022-12-01.", {2022, 12, 1}},  // bad month skipped
  };
  for (const auto& [text, date] : cases) {
    const auto d = findEditionDate(text);
    ASSERT_TRUE(d) << text;
    EXPECT_EQ(std::make_tuple(d->year, d->month, d->day), date) << text;
  }
  EXPECT_FALSE(findEditionDate("Edition: soon"));
}

TEST(PlainText1252Test, PlainLettersSortKeysAndSplitTranslations) {
  const std::pair<const char*, const char*> kept[] = {
      {"café", "caf\xE9"}, {"Chișinău", "Chisinau"}, {"uncaŋ", "uncang"}, {"Wrocław", "Wroclaw"},
      {"H₂O", "H2O"}, {"e\xCC\x81t\xC3\xA9", "et\xE9"}, {"“q” €", "\x93q\x94 \x80"},
      {"  a\tb\r\n c  ", "a b c"}, {"α-amino", "alpha-amino"}};
  for (const auto& [in, want] : kept)
    EXPECT_EQ(plainText1252(in), std::optional(std::string(want)));
  for (const char* refused : {"surname 劉", "◌-style", "bad \xC3", "\xC0\xAF", "\xED\xA0\x80"})
    EXPECT_FALSE(plainText1252(refused)) << refused;
  EXPECT_EQ(sortKey1252("\xC9\x62\xE9 Stra\xDF\x65 \xC6on"), "ebe strasse aeon");
  EXPECT_EQ(sortKey1252("k\xF7x"), "k\xF7x");  // not a letter: kept
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"abang, saudara, [[adik laki-laki]]", {"abang", "saudara", "adik laki-laki"}},
      {"[[kemudi|mengemudi(kan)]], mengendalikan", {"mengemudi(kan)", "mengendalikan"}},
      {"apa sandi WiFi[[-nya]]?", {"apa sandi WiFi-nya?"}},
      {"kependekan (dari, untuk), singkatan", {"kependekan (dari, untuk)", "singkatan"}},
      {" , ,[[ x ]] ,", {"x"}},
      {"[[unclosed, y]]", {"unclosed", "y"}},
  };
  for (const auto& [line, want] : cases) EXPECT_EQ(splitTranslations(line), want) << line;
}

// Index order is the source's order: key "ation" sorts after "and"; the headword is "-ation".
const std::vector<std::pair<std::string, std::string>> kFixture = {
    {"00databaseinfo", "00-database-info\nA test dictionary\n\nEdition: 2021.03.04\n"},
    {"abraham", "Abraham //ˈeɪ.bɹə.hæm// <pn>\nIbrahim\nprophet\n"},
    {"and", "and //ænd// <conjunction>\ndan\n"},
    {"ation", "ation //ˈeɪʃən// <suffix>\nasi\n"},
    {"brown", "brown //bɹaʊn// <adj>\ncoklat\nhaving a brown colour\n"},
    {"brown", "brown //bɹaʊn// <n>\ncokelat\ncolour\n"},
    {"café", "café /kæˈfeɪ/ <n>\nkafe, Kafé\nsmall restaurant\n"},
    {"crosswalk", "crosswalk <n>\n(tempat) penyeberangan pejalan kaki\n"},
    {"hello", "hello /həˈləʊ/ <interjection>\nhalo!\ngreeting\n"},
    {"home", "home /həʊm/ <n>\nrumah, [[rumah tinggal|tempat tinggal]]\nplace where one lives\n"},
    {"house", "house //haʊs// <n>\n1. rumah\nhuman abode\n2. wangsa\ndynasty\n"},
    {"liu", "Liu /ljuː/ <pn>\nLiu, 刘\nsurname 劉/刘\n"},
    {"quickly", "quickly /ˈkwɪkli/ <adv>\ncepat\n"},
    {"road", "road /ɹəʊd/ <n>\njalan\n"},
    {"run",
     "run //ɹʌn// <v>\n1. menjalankan 2.\nto be in charge of\n 3.\nto make a machine operate\n"
     "2. lari, jalan\nto move quickly on two feet\n"},
    {"today", "today /təˈdeɪ/ <adv>\nhari ini\non the current day\n"},
    {"under", "under /ˈʌndə/ <preposition>\ndi bawah\n"},
    {"刘", "刘 <pn>\nLiu\n"},
};

class DictBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The .dict holds the entries in reverse, so only the index gives the order.
    std::string dict, index;
    std::vector<std::pair<std::size_t, std::size_t>> at(kFixture.size());
    for (std::size_t i = kFixture.size(); i-- > 0;) {
      at[i] = {dict.size(), kFixture[i].second.size()};
      dict += kFixture[i].second;
    }
    for (std::size_t i = 0; i < kFixture.size(); ++i)
      index += kFixture[i].first + "\t" + dictdNumber(at[i].first) + "\t" +
               dictdNumber(at[i].second) + "\n";
    index += "beyond\t" + dictdNumber(dict.size()) + "\tB\n";  // points past the end
    test::writeFile(dir_.file("t.index"), index);
    test::writeFile(dir_.file("t.dict.dz"), gzip(dict));
    std::string error;
    ASSERT_TRUE(readDictdSource(dir_.file("t.index"), dir_.file("t.dict.dz"), source_, error))
        << error;
    ASSERT_TRUE(source_.edition);
    built_ = buildDictionary(source_.entries);
    const EditionDate& d = *source_.edition;
    ASSERT_TRUE(
        writeDictionaryFiles(dir_.path(), built_, dataDateOf(d.year, d.month, d.day), 10, error))
        << error;
    en_ = readBack(dir_.file("dataen.dat"));
    id_ = readBack(dir_.file("dataid.dat"));
    pr_ = readBack(dir_.file("datapr.dat"));
  }

  TempDir dir_;
  DictdSource source_;
  BuiltDictionary built_;
  DataFileContents en_, id_, pr_;
};

TEST_F(DictBuilderTest, EnglishKeepsSourceOrderIndonesianAndPhrasesInvertIt) {
  EXPECT_EQ(std::make_tuple(source_.entries.size(), source_.badIndexLines),
            std::make_tuple(kFixture.size() - 1, std::size_t{1}));
  EXPECT_EQ(en_.dataDate, dataDateOf(2021, 3, 4));  // the source's edition
  DictdSource none;
  std::string error;
  EXPECT_FALSE(readDictdSource(dir_.file("missing.index"), dir_.file("t.dict.dz"), none, error));
  EXPECT_NE(error.find("missing.index"), std::string::npos);
  // Liu is gone: a name whose only translation repeats it.
  const std::vector<std::string> order = {"abraham",   "and",   "-ation", "brown", "caf\xE9",
                                          "crosswalk", "hello", "home",   "house", "quickly",
                                          "road",      "run",   "today",  "under"};
  EXPECT_EQ(test::linesOf(en_.headwords), order);
  EXPECT_EQ(built_.skippedEntries, 2u);  // that name and the headword with no 1252 form
  const std::pair<const char*, const char*> cases[] = {
      {"abraham", "kb Ibrahim (prophet)"},
      {"and", "ksam dan"},
      {"brown", "ks coklat (having a brown colour); kb cokelat (colour)"},
      {"hello", "halo! (greeting)"},
      {"home", "kb rumah, tempat tinggal (place where one lives)"},
      {"house", "kb rumah (human abode); wangsa (dynasty)"},
      {"-ation", "-asi"},  // an affix translates into an affix
      {"quickly", "kk cepat"},
      {"under", "kd di bawah"},
      {"run",
       "kkt menjalankan (to be in charge of; to make a machine operate); lari, jalan (to "
       "move quickly on two feet)"}};
  for (const auto& [word, want] : cases) EXPECT_EQ(translationOf(en_, word), want) << word;
  EXPECT_EQ(built_.droppedTerms, 2u);  // 刘 as a term and as a headword
  const std::vector<std::string> want = {"-asi", "cepat",   "cokelat", "coklat",      "dan",
                                         "halo", "ibrahim", "jalan",   "kafe",        "kaf\xE9",
                                         "lari", "menjalankan", "rumah", "wangsa"};
  EXPECT_EQ(test::linesOf(id_.headwords), want);
  const std::pair<const char*, const char*> inverse[] = {
      {"rumah", "kb home, house"},    // two English headwords, one marker
      {"jalan", "kb road; kkt run"},  // grouped by marker, in source order
      {"ibrahim", "kb Abraham"},      // headword lowered, English case kept
      {"halo", "hello"},              // no marker, "!" dropped
      {"kaf\xE9", "kb caf\xE9"}};
  for (const auto& [word, want] : inverse) EXPECT_EQ(translationOf(id_, word), want) << word;
  EXPECT_EQ(pr_.headwords, test::crlfJoin({"di bawah", "hari ini", "penyeberangan pejalan kaki",
                                           "tempat tinggal"}));
  EXPECT_EQ(pr_.translations, test::crlfJoin({"under", "today", "crosswalk", "home"}));
}

}  // namespace
}  // namespace tavro2
