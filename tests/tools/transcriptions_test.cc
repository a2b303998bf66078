#include "tools/transcriptions.h"

#include <gtest/gtest.h>

#include <map>

#include "test_util.h"

namespace tavro2::test {
namespace {

using Lines = std::vector<std::string>;

DictdEntry entry(const char* headword, const char* partOfSpeech, Lines pronunciations) {
  return {headword, partOfSpeech, {{"x", {}}}, std::move(pronunciations)};
}

// headword=ipa, a line each, in the file's order.
std::string rowsOf(const Transcriptions& t) {
  const Lines heads = linesOf(t.headwords), ipas = linesOf(t.transcriptions);
  std::string out;
  for (std::size_t i = 0; i < heads.size() && i < ipas.size(); ++i)
    out += heads[i] + "=" + ipas[i] + "\n";
  return out;
}

// FreeDict's first, the variant nearest espeak-ng's when it is there; espeak-ng fills the
// rest; a name's only for a word nobody writes in lower case; a narrow (phonetic) one last.
TEST(TranscriptionsTest, FreeDictFirstEspeakFillsTheRest) {
  const std::vector<DictdEntry> entries = {
      entry("the", "article", {"//ðeː//", "//ðə//", "/[ðɪ]/"}),
      entry("house", "n", {"//haʊs//", "//hʌʊs//"}),
      entry("house", "v", {"//haʊz//"}),      // the first entry with one gives it
      entry("Nice", "pn", {"//niːs//"}),      // nice is a word: not the town's
      entry("Britain", "pn", {"/ˈbɹɪtən/"}),  // only a name
      entry("culprit", "n", {"/[ˈkʰʌɫpɹɪt]/"}),
      entry("ation", "suffix", {"//ˈeɪʃən//"}),
      entry("caf\xC3\xA9", "n", {"/kæˈfeɪ/"}),
  };
  const std::string heads =
      crlfJoin({"the", "house", "nice", "britain", "culprit", "-ation", "caf\xE9", "cat", "zzz"});
  const std::map<std::string, std::string> espeak = {{"the", "ðə"},
                                                     {"house", "hˈaʊs"},
                                                     {"nice", "nˈaɪs"},
                                                     {"britain", "bɹˈɪʔn"},
                                                     {"culprit", "kˈʌlpɹɪt"},
                                                     {"-ation", "ˈeɪʃən"},
                                                     {"caf\xC3\xA9", "kæfˈeɪ"},
                                                     {"cat", "kˈæt"}};
  const Transcriber fill = [&](std::string_view w) {
    const auto it = espeak.find(std::string(w));
    return it == espeak.end() ? std::string() : it->second;
  };
  const std::unordered_set<std::string> lowerCase = {"nice", "cat"};

  const Transcriptions with = buildTranscriptions(entries, heads, lowerCase, fill);
  EXPECT_EQ(rowsOf(with),
            "-ation=ˈeɪʃən\nbritain=ˈbɹɪtən\ncaf\xC3\xA9=kæˈfeɪ\ncat=kˈæt\nculprit=kˈʌlpɹɪt\n"
            "house=haʊs\nnice=nˈaɪs\nthe=ðə\n");
  EXPECT_EQ(std::tuple(with.fromFreeDict, with.fromEspeak), std::tuple(5u, 3u));
  EXPECT_EQ(transcriptionReport(with, heads, "the\nhouse\n\ncat\nzzz\nis\n", 4),
            "of the 4 commonest words, 4 English headwords: 3 transcribed (75.0%), 2 by FreeDict "
            "(50.0%), 1 by espeak-ng (25.0%); none: zzz");
  // Without espeak-ng: FreeDict's alone, the first given.
  const Transcriptions without = buildTranscriptions(entries, heads, lowerCase, {});
  EXPECT_EQ(rowsOf(without),
            "-ation=ˈeɪʃən\nbritain=ˈbɹɪtən\ncaf\xC3\xA9=kæˈfeɪ\nculprit=ˈkʰʌɫpɹɪt\n"
            "house=haʊs\nthe=ðeː\n");
  EXPECT_EQ(std::tuple(without.fromFreeDict, without.fromEspeak), std::tuple(6u, 0u));
}

TEST(TranscriptionsTest, EspeakOutputIsCleanedForALearner) {
  const std::pair<const char*, const char*> rows[] = {
      {"hˈaʊs", "haʊs"},  // one syllable: no mark
      {" ˈaɪs   kɹˈiːm ", "aɪs kɹiːm"},
      {"hˈuː ɪz ɪt _: ðˈɛn_", "huː ɪz ɪt ðɛn"},
      {"(fr)kafˈe(en) ˈɔːlsoʊ", "kaˈfe ˈɔːlsoʊ"},
      {"wˈɛl-bˈiːɪŋ\n", "wɛl ˈbiːɪŋ"},
      {"_", ""},
      // The mark goes to the syllable's start, with the most consonants it can begin with.
      {"ɪɡzˈæmpəl", "ɪɡˈzæmpəl"},
      {"ʌndɚstˈænd", "ʌndɚˈstænd"},
      {"ɛkstɹˈiːm", "ɛkˈstɹiːm"},
      {"kəmpjˈuːɾɚ", "kəmˈpjuːɾɚ"},
      {"wˈɔːɾɚ", "ˈwɔːɾɚ"},
      {"ˌɪntɚnˈæʃənəl", "ˌɪntɚˈnæʃənəl"},
      {"kˈɪtʃən", "ˈkɪtʃən"},
      {"ɪntʃˈɑːnt", "ɪnˈtʃɑːnt"},
      {"sˈɪŋɚ", "ˈsɪŋɚ"},
      {"hˈæpi", "ˈhæpi"},
      {"bˈʌʔn̩", "ˈbʌʔn̩"},
  };
  for (const auto& [raw, clean] : rows) EXPECT_EQ(cleanEspeakIpa(raw), clean) << raw;
  const Transcriber espeak = espeakTranscriber();
  if (!espeak) GTEST_SKIP() << "built without libespeak-ng";
  EXPECT_EQ(espeak("house"), "haʊs");
  EXPECT_EQ(espeak("who is it, then"), "huː ɪz ɪt ðɛn");  // a clause each, joined
}

}  // namespace
}  // namespace tavro2::test
