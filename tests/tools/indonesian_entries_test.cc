#include "tools/indonesian_entries.h"

#include <gtest/gtest.h>

#include <map>

namespace tavro2 {
namespace {

// Common English words by rank; every other word is rare.
const std::map<std::string, int> kRanks = {
    {"know", 1}, {"eat", 2},    {"take", 3},   {"see", 4},     {"look", 5},   {"house", 6},
    {"home", 7}, {"touch", 8},  {"feed", 9},   {"six", 10},    {"place", 11}, {"friend", 12},
    {"pal", 13}, {"buddy", 14}, {"screw", 15}, {"bed", 16},    {"tofu", 17},  {"march", 18},
    {"may", 19}, {"dine", 20},  {"meal", 21},  {"watch", 22},  {"aware", 23}, {"recognize", 24},
    {"have", 25}, {"has", 26},   {"having", 27}, {"own", 28}};

EnglishChoice choice() {
  return {[](std::string_view w) {
            std::string folded;
            for (char c : w) folded += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
            const auto it = kRanks.find(folded);
            return it == kRanks.end() ? kUncommon : it->second;
          },
          [](std::string_view w) { return w == "fuck" || w == "thou" || w == "bonk"; }};
}

IndonesianSense pair(std::string marker, std::string english, int strength, bool name = false) {
  IndonesianSense s;
  s.marker = std::move(marker);
  s.english = {std::move(english)};
  s.strength = strength;
  s.name = name;
  return s;
}

IndonesianSense wordnet(std::string marker, std::vector<std::pair<std::string, int>> lemmas,
                        std::string gloss, int count, int tags,
                        Membership membership = Membership::kCounted) {
  IndonesianSense s;
  s.source = IndonesianSource::kWordnet;
  s.marker = std::move(marker);
  for (auto& [w, n] : lemmas) {
    s.english.push_back(w);
    s.lemmaSenses.push_back(n);
  }
  s.gloss = std::move(gloss);
  s.count = count;
  s.tags = tags;
  s.sense = s.lemmaSenses.empty() ? 0 : s.lemmaSenses.front();
  s.membership = membership;
  return s;
}

IndonesianSense spoken(std::string marker, std::vector<std::string> english, std::string note) {
  IndonesianSense s;
  s.source = IndonesianSource::kSpoken;
  s.marker = std::move(marker);
  s.english = std::move(english);
  s.gloss = std::move(note);
  return s;
}

std::string entry(const std::vector<IndonesianSense>& senses, bool name = false,
                  const IndonesianLimits& limits = {}) {
  return indonesianEntryText("kata", senses, name, choice(), limits);
}

TEST(IndonesianEntriesTest, EnglishEntriesOpenWithTheirStrongPairsCommonestFirst) {
  // "thou" is excluded, "cognise" rare beside common words; "take" pairs
  // only in a late sense of its entry, so it waits while strong pairs exist.
  EXPECT_EQ(entry({pair("kkt", "take", kFairPair + 1), pair("kkt", "see", 1),
                   pair("kkt", "cognise", 0), pair("kkt", "know", 2), pair("", "thou", 0),
                   pair("kb", "tofu", 0)}),
            "kkt know, see; kb tofu");
  // A form beside its base says nothing more.
  EXPECT_EQ(entry({pair("kkt", "have", 0), pair("kkt", "has", 0), pair("kkt", "having", 1),
                   pair("kkt", "own", 2)}),
            "kkt have, own");
  // With nothing stronger, the weak pair and then the rare word are shown.
  EXPECT_EQ(entry({pair("kkt", "take", kFairPair + 1)}), "kkt take");
  EXPECT_EQ(entry({pair("kkt", "cognise", 0)}), "kkt cognise");
  // No word twice, whatever its case; the cap keeps the best five.
  EXPECT_EQ(entry({pair("kb", "house", 0), pair("kb", "House", 1), pair("kb", "home", 2)}),
            "kb house, home");
  IndonesianLimits two;
  two.entryWords = 2;
  EXPECT_EQ(entry({pair("kb", "place", 0), pair("kb", "house", 0), pair("kb", "home", 0)}, false,
                  two),
            "kb house, home");
}

TEST(IndonesianEntriesTest, SpokenSensesComeFirstWithTheirNotes) {
  EXPECT_EQ(entry({pair("kkt", "see", 0), pair("kkt", "look", 0),
                   spoken("kkt", {"look", "watch"}, "lihat!: look!"), spoken("", {"bonk"}, "")}),
            "kkt look, watch (lihat!: look!); see; bonk");
}

TEST(IndonesianEntriesTest, WordnetSensesTheWordReallyHasByCountThenTags) {
  const std::vector<IndonesianSense> senses = {
      // Counted more often: first, whatever the tags.
      wordnet("kkt", {{"dine", 1}}, "eat a meal", 2, 6),
      wordnet("kkt", {{"eat", 1}}, "take in solid food", 22, 61),
      // "touch" stands for its 14th sense only: no word for this sense.
      wordnet("kkt", {{"partake", 3}, {"touch", 14}}, "consume", 4, 0),
      // A tail member's sense, and one holding an excluded word, are out.
      wordnet("kkt", {{"take", 1}}, "get", 0, 90, Membership::kTail),
      wordnet("kkt", {{"bonk", 1}, {"screw", 1}, {"bed", 4}}, "have sex", 9, 9),
      wordnet("kkt", {{"feed", 2}}, "take in food", 1, 4)};
  EXPECT_EQ(entry(senses), "kkt eat (take in solid food); dine (eat a meal)");
  IndonesianLimits more;
  more.wordnetPerPart = 3;
  EXPECT_EQ(entry(senses, false, more),
            "kkt eat (take in solid food); dine (eat a meal); feed (take in food)");
  // Between senses counted alike, one that English spells as the word comes
  // first (genus: genus, then gender).
  EXPECT_EQ(indonesianEntryText("feed", {wordnet("kkt", {{"dine", 1}}, "eat a meal", 1, 6),
                                         wordnet("kkt", {{"feed", 1}}, "give food", 1, 0)},
                                false, choice()),
            "kkt feed (give food); dine (eat a meal)");
  // A sense whose commonest word the entry shows already is that sense again.
  EXPECT_EQ(entry({pair("kkt", "eat", 0), senses[1], senses[0]}), "kkt eat; dine (eat a meal)");
  // A verb used without an object is a group of its own, yet the same part
  // of speech for the cap: feed, the third verb sense, stays out.
  EXPECT_EQ(entry({wordnet("kki", {{"dine", 1}}, "eat a meal", 2, 6), senses[1], senses[5],
                   wordnet("kb", {{"meal", 1}}, "food", 1, 1)}),
            "kkt eat (take in solid food); kki dine (eat a meal); kb meal (food)");
}

TEST(IndonesianEntriesTest, NamesNumbersAndTheWordThatHasNothingElse) {
  // A lower-case word gets no English name from WordNet (lima: five, not the
  // city; aku: not Maine); a word written only as a name does.
  const IndonesianSense six = wordnet("ks", {{"six", 1}, {"6", 1}, {"vi", 1}, {"VI", 1}}, "", 3, 1);
  const IndonesianSense city = wordnet("kb", {{"Lima", 1}}, "capital of Peru", 1, 5);
  EXPECT_EQ(entry({six, city}), "ks six");
  EXPECT_EQ(entry({city}, true), "kb Lima (capital of Peru)");
  // The English entries' names are the word's own (March: maret).
  EXPECT_EQ(entry({pair("kb", "March", kFairPair)}), "kb March");
  // A word leading a sense Wordnet Bahasa never counts stands on its place:
  // only while the entry has little else.
  const IndonesianSense firstFew =
      wordnet("kb", {{"friend", 1}, {"pal", 1}}, "a person you know", 0, 3, Membership::kFirstFew);
  EXPECT_EQ(entry({firstFew}), "kb friend, pal (a person you know)");
  EXPECT_EQ(entry({pair("kb", "house", 0), pair("kb", "home", 0), firstFew}), "kb house, home");
  // Nothing common anywhere: the best sense still shows, so the word is found.
  EXPECT_EQ(entry({wordnet("ks", {{"abstruse", 1}, {"recondite", 1}, {"esoteric", 1}}, "hard", 0, 0,
                           Membership::kTail)}),
            "ks abstruse, recondite (hard)");
  EXPECT_EQ(entry({pair("", "thou", 0)}), "");
}

TEST(IndonesianEntriesTest, APhraseIsAFewWordsWithoutMarkersOrGlosses) {
  const std::vector<IndonesianSense> senses = {
      pair("kb", "house", 0), wordnet("kb", {{"home", 1}, {"place", 2}}, "where one lives", 3, 2),
      wordnet("kb", {{"friend", 1}, {"buddy", 1}, {"pal", 1}}, "a companion", 2, 1)};
  EXPECT_EQ(phraseEntryText("kata kata", senses, false, choice()), "house, home, place, friend");
  IndonesianLimits two;
  two.phraseWords = 2;
  EXPECT_EQ(phraseEntryText("kata kata", senses, false, choice(), two), "house, home");
}

}  // namespace
}  // namespace tavro2

namespace tavro2 {
namespace {

TEST(IndonesianEntriesTest, RootsTheSourcesLackAreMadeFromTwoOfTheirForms) {
  const std::vector<IndonesianText> entries = {
      {"menunggu", "kkt wait, await, expect (stay)"}, {"ditunggu", "kkt awaited"},
      {"tunggakan", "kb arrears"},
      // Explained by a root the entries have: no evidence for "dama".
      {"damai", "ks peaceful"}, {"berdamai", "kkt make peace"}, {"pendamai", "kb peacemaker"},
      // Two forms, but only through a nasal prefix that changes the root.
      {"menyapu", "kkt sweep"}, {"penyapu", "kb sweeper"},
      // Not shaped like a root: one syllable.
      {"berkhit", "x"}, {"dikhit", "y"},
      // Each form's first words, without their marker.
      {"berlari", "kki run, race (move fast)"}, {"pelari", "kb runner"}};
  const auto rank = [](std::string_view w) { return w == "ditunggu" ? 0 : 100; };
  std::vector<IndonesianText> roots = rootEntries(entries, rank);
  ASSERT_EQ(roots.size(), 2u);
  if (roots[0].headword != "tunggu") std::swap(roots[0], roots[1]);
  EXPECT_EQ(roots[0].headword, "tunggu");
  EXPECT_EQ(roots[0].text, "root of ditunggu: awaited; menunggu: wait, await");
  EXPECT_EQ(roots[1].headword, "lari");
  EXPECT_EQ(roots[1].text, "root of berlari: run, race; pelari: runner");
}

}  // namespace
}  // namespace tavro2
