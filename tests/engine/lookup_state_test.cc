#include "engine/lookup_state.h"

#include <algorithm>

#include "lookup_fixture.h"

namespace tavro2::test {
namespace {

TEST_F(LookupTest, ExactAndRelatedAreCaseSensitive) {
  english({"Run", "rerun", "run", "runner"}, {"lari (kapital)", "lari lagi", "kb lari", "pelari"});
  EXPECT_TRUE(state.lookupWord("run"));
  EXPECT_EQ(shown(), "run|kb lari|rerun,runner|run kb lari| English word");
  EXPECT_EQ(lines(state.relatedTranslations()), (Lines{"lari lagi", "pelari"}));
  EXPECT_EQ(state.translationRuns(), (Runs{{0, 3, true, {}, {}}, {4, 2, true, 0x0000FF, {}}}));
  EXPECT_EQ(state.relatedTranslationText(), "rerun lari lagi");
  EXPECT_EQ(state.relatedTranslationRuns(), (Runs{{0, 5, true, {}, {}}}));
  EXPECT_FALSE(state.lookupWord(" run"));  // the query keeps its spaces
  EXPECT_EQ(shown(), "|||| ");
}

// The lists stay the English find's (the Indonesian side is not scanned); only in
// "Automatic" does the pane add the Indonesian entry, the user's list before the dictionary.
TEST_F(LookupTest, WordOfBothLanguagesAddsTheIndonesianEntryInAutomatic) {
  english({"air", "mata"}, {"kb udara", "kb eye"});
  indonesian({"air", "mata", "matahari"}, {"kb water", "eye", "sun"});
  userList("Tavro2id.dat", {"mata=kb from the user"});
  userList("Tavro2phrase.dat", {"x=mata air"});
  setSetting(state, &LookupSettings::ShowPhrase, true);
  const std::string both = "| English word, Indonesian word";
  const std::string mata = "mata|kb eye||mata kb eye\nmata kb from the user" + both;
  const struct {
    Direction dir;
    bool compact;
    const char* word;
    std::string shown;
  } rows[] = {
      {Direction::kAutomatic, false, "mata", mata + " (1 Phrase)"},
      {Direction::kAutomatic, true, "mata", mata},
      {Direction::kAutomatic, true, "air", "air|kb udara||air kb udara\nair kb water" + both},
      {Direction::kEnglishIndonesian, false, "mata",
       "mata|kb eye||mata kb eye| English word (1 Phrase)"},
      {Direction::kIndonesianEnglish, false, "mata",
       "mata,mata|kb from the user,eye|matahari|mata kb from the user| Indonesian word"},
      {Direction::kAutomatic, false, "matahari", "matahari|sun||matahari sun| Indonesian word"}};
  for (const auto& r : rows) {
    setSetting(state, &LookupSettings::direction, r.dir);
    setSetting(state, &LookupSettings::CompactMode, r.compact);
    EXPECT_TRUE(state.searchFromBox(r.word) && state.queryFound());
    EXPECT_EQ(shown(), r.shown);
    EXPECT_EQ(state.alsoIndonesian(), r.shown.find(both) != std::string::npos) << r.shown;
    EXPECT_EQ(state.foundInIndonesian(), r.shown.ends_with("| Indonesian word")) << r.shown;
  }
  // Each entry is rendered for its word with coloured markers; a history line holds both
  // on one line and shows them on two again, whatever side the last find was on.
  ASSERT_TRUE(state.lookupWord("air") && state.alsoIndonesian());
  const Runs runs{{0, 3, true, {}, {}},  {4, 2, true, 0x0000FF, {}},
                  {13, 3, true, {}, {}}, {17, 2, true, 0x0000FF, {}}};
  EXPECT_EQ(state.translationRuns(), runs);
  const std::string line = entriesOnOneLine(state.translationText());
  EXPECT_EQ(line, "air kb udara \xA6 air kb water");
  ASSERT_TRUE(state.lookupWord("matahari") && state.foundInIndonesian());
  state.showHistoryEntry("air", line);
  EXPECT_EQ(state.searchText() + "|" + state.translationText(), "air|air kb udara\nair kb water");
  EXPECT_EQ(state.translationRuns(), runs);
}

TEST_F(LookupTest, IndonesianSideWhenEnglishHasNoEntry) {
  english({"sunbeam"}, {"sinar"});
  indonesian({"matahari", "sun"}, {"sun", "matahari (en)"});
  userList("Tavro2id.dat", {"rumah=kb house"});
  EXPECT_TRUE(state.lookupWord("rumah"));  // in the user list
  EXPECT_EQ(shown(), "rumah|kb house||rumah kb house| Indonesian word");
  EXPECT_EQ(state.translationRuns(), (Runs{{0, 5, true, {}, {}}}));
  ASSERT_TRUE(state.lookupWord("sunbeam") && !state.foundInIndonesian());
  EXPECT_TRUE(state.lookupWord("sun") && state.foundInIndonesian());
  // English related entries stay; Indonesian entries get no marker colours.
  EXPECT_EQ(shown(), "sun|matahari (en)|sunbeam|sun matahari (en)| Indonesian word");
  EXPECT_EQ(state.translationRuns(), (Runs{{0, 3, true, {}, {}}}));

  // Not found: FoundInIndonesian stays as the last find left it.
  EXPECT_TRUE(!state.lookupWord("zzz") && state.foundInIndonesian());
  EXPECT_TRUE(shown() == "|||| " && state.translationRuns().empty());
  // A blank query empties everything but the status.
  ASSERT_TRUE(state.lookupWord("sun"));
  state.setStatusText(" Data OK");
  EXPECT_FALSE(state.lookupWord(" \t "));
  EXPECT_EQ(shown(), "|||| Data OK");
}

TEST_F(LookupTest, DirectionLimitsTheSides) {
  english({"makan malam"}, {"dinner"});
  indonesian({"makan"}, {"eat"});
  setSetting(state, &LookupSettings::direction, Direction::kEnglishIndonesian);
  EXPECT_FALSE(state.lookupWord("makan"));
  EXPECT_EQ(shown(), "||makan malam|| ");
  EXPECT_EQ(state.relatedTranslationText(), "makan malam dinner");
  setSetting(state, &LookupSettings::direction, Direction::kIndonesianEnglish);
  EXPECT_TRUE(state.lookupWord("makan"));
  EXPECT_EQ(shown(), "makan|eat||makan eat| Indonesian word");
}

TEST_F(LookupTest, NeighbourWindowIsClampedToTheListAtBothEnds) {
  english({"h0", "h1", "h2", "h3", "h4", "h5"}, {"t0", "t1", "t2", "t3", "t4", "t5"});
  const struct {
    std::uint16_t before, after;
    std::string word, words;
  } rows[] = {{2, 2, "h0", "h0,h1,h2"}, {2, 2, "h5", "h3,h4,h5"}, {0, 0, "h3", "h3"},
              {1, 100, "h4", "h3,h4,h5"}, {100, 100, "h2", "h0,h1,h2,h3,h4,h5"}};
  for (const auto& r : rows) {
    setSetting(state, &LookupSettings::WordsBefore, r.before);
    setSetting(state, &LookupSettings::WordsAfter, r.after);
    ASSERT_TRUE(state.lookupWord(r.word));
    std::string translations = r.words;
    std::replace(translations.begin(), translations.end(), 'h', 't');
    EXPECT_EQ(shown(), r.words + "|" + translations + "||" + r.word + " t" + r.word[1] +
                           "| English word");
  }
}

TEST_F(LookupTest, EveryMatchAddsItsWindowAndThePaneTakesTheFirstCaseInsensitiveLine) {
  english({"Bank", "bank", "x", "bank"}, {"tepi", "bank (uang)", "x", "bank 2"});
  setSetting(state, &LookupSettings::WordsBefore, 1);
  EXPECT_TRUE(state.lookupWord("bank"));
  // "Bank" is a neighbour, not a related text, and gives the pane nothing.
  EXPECT_EQ(shown(), "Bank,bank,x,bank|tepi,bank (uang),x,bank 2||bank tepi| English word");
}

TEST_F(LookupTest, CompactModeListsOnlyTheFirstDictionaryMatch) {
  Lines heads, trans;
  for (int i = 0; i < 30; ++i) {
    heads.push_back(i == 10 || i == 20 ? "kata" : i == 25 ? "katak" : "w" + std::to_string(i));
    trans.push_back("t" + std::to_string(i));
  }
  heads[5] = "kata2";
  english(heads, trans);
  userList("Tavro2en.dat", {"kata=user", "kata benda=noun", "kata=again"});
  userList("Tavro2phrase.dat", {"ada kata=the word kata"});
  setSetting(state, &LookupSettings::CompactMode, true);
  setSetting(state, &LookupSettings::ShowPhrase, true);
  ASSERT_TRUE(state.findPhrases("word"));
  EXPECT_TRUE(state.searchFromBox("kata"));
  // The dictionary scan ends at line 10 ("katak" not collected); no phrase search.
  EXPECT_EQ(shown(), "kata,kata,kata|user,user,t10|kata benda,kata2|kata user| English word");
  EXPECT_EQ(state.phrases(), (std::vector<PhrasePair>{{"the word kata", "ada kata"}}));

  setSetting(state, &LookupSettings::CompactMode, false);
  EXPECT_TRUE(state.searchFromBox("kata"));
  EXPECT_EQ(shown(),
            "kata,kata,kata,kata|user,user,t10,t20|kata benda,kata2,katak|kata user"
            "| English word (1 Phrase)");
}

// Only words holding the query count, not translations; one cap for every scan.
TEST_F(LookupTest, RelatedCapIsSharedByAllScansAndTheEntryIsFoundAfterIt) {
  userList("Tavro2en.dat", {"zz=ab", "ab1=u1", "ab2=u2", "ab3=u3", "ab4=u4", "ab5=u5"});
  english({"ab6", "ab7", "ab8", "ab9", "cat a", "cat b"}, {"d6", "d7", "d8", "d9", "a", "b"});
  Lines heads, trans(25, "t");
  for (int i = 0; i < 25; ++i) heads.push_back("cat" + std::to_string(i));
  heads.push_back("cat");
  trans.push_back("kucing");
  indonesian(heads, trans);
  setSetting(state, &LookupSettings::MaxContainTexts, 3);
  EXPECT_FALSE(state.lookupWord("ab"));
  EXPECT_EQ(shown(), "||ab1,ab2,ab3|| ");
  EXPECT_EQ(lines(state.relatedTranslations()), (Lines{"u1", "u2", "u3"}));
  setSetting(state, &LookupSettings::MaxContainTexts, 10);
  EXPECT_TRUE(state.lookupWord("cat"));
  EXPECT_EQ(shown(),
            "cat|kucing|cat a,cat b,cat0,cat1,cat2,cat3,cat4,cat5,cat6,cat7|cat kucing"
            "| Indonesian word");
}

TEST_F(LookupTest, UserExactMatchComesFirstWithoutNeighbours) {
  EXPECT_FALSE(state.lookupWord("apple"));  // the lists are read for every query
  userList("Tavro2en.dat", {"apple=apel (saya)", "pineapple=nanas"});
  english({"ant", "apple", "apricot"}, {"semut", "apel", "aprikot"});
  setSetting(state, &LookupSettings::WordsBefore, 1);
  setSetting(state, &LookupSettings::WordsAfter, 1);
  EXPECT_TRUE(state.lookupWord("apple"));
  EXPECT_EQ(shown(),
            "apple,ant,apple,apricot|apel (saya),semut,apel,aprikot|pineapple|apple apel (saya)"
            "| English word");
}

TEST_F(LookupTest, MissingTranslationsAndHitsAcrossLines) {
  // Fewer translation lines than headwords: the missing ones are empty.
  english({"one", "two", "three", "ab", "cd", "xab", "abx"}, {"satu"});
  setSetting(state, &LookupSettings::WordsBefore, 1);
  EXPECT_TRUE(state.lookupWord("three"));
  EXPECT_EQ(shown(), "two,three|,||three | English word");

  // In the buffer "ab\r\ncd" holds "b\r\nc"; a line-by-line test finds nothing.
  for (const char* query : {"b\r\nc", "bc"}) {
    EXPECT_FALSE(state.lookupWord(query));
    EXPECT_EQ(shown(), "|||| ");
  }
  EXPECT_FALSE(state.lookupWord("b"));
  EXPECT_EQ(shown(), "||ab,xab,abx|| ");
}

TEST_F(LookupTest, SelectionShowsTheChosenLineColouredAsTheLastFind) {
  english({"Run", "run", "runway", "ks"}, {"nama", "kki lari", "landasan", "kb x"});
  indonesian({"kata", "ks"}, {"kb word", "kb x"});
  setSetting(state, &LookupSettings::WordsBefore, 1);
  ASSERT_TRUE(state.lookupWord("run"));
  state.showSelectedEntry(0);
  EXPECT_EQ(state.translationText(), "Run nama");
  EXPECT_EQ(state.translationRuns(), (Runs{{0, 3, true, {}, {}}}));
  state.showSelectedRelated(0);
  EXPECT_EQ(state.relatedTranslationText(), "runway landasan");
  state.showSelectedEntry(7);  // no such line: nothing changes
  state.showSelectedRelated(1);
  EXPECT_EQ(state.translationText() + "|" + state.relatedTranslationText(),
            "Run nama|runway landasan");

  setSetting(state, &LookupSettings::WordsAfter, 1);
  ASSERT_TRUE(state.lookupWord("kata"));  // an Indonesian find: no marker colours
  state.showSelectedEntry(1);
  EXPECT_EQ(state.translationRuns(), (Runs{{0, 2, true, {}, {}}}));
}

TEST_F(LookupTest, FilteringDropsDigitsAndPunctuationElseTheTextIsOnlyTrimmedAndLowered) {
  userList("Tavro2en.dat",
           {"don't=jangan", "well-known=terkenal", "123=angka", "\xC9t\xE9=musim panas"});
  state.setStatusText(" Data OK");
  // Nothing left after trimming or filtering.
  for (const char* blank : {"  \t", "123 !?", " - ' "}) {
    EXPECT_FALSE(state.searchFromBox(blank));
    EXPECT_EQ(state.statusText(), " Data OK");
  }
  // Inner hyphens and apostrophes stay, the typographic apostrophe as '.
  EXPECT_TRUE(state.searchFromBox(" Don\x92t! ") && state.queryFound());
  EXPECT_EQ(state.translationText() + "|" + state.searchText(), "don't jangan| Don\x92t! ");
  EXPECT_TRUE(state.searchFromBox("-well-known-"));
  EXPECT_EQ(state.translationText(), "well-known terkenal");
  // A headword written without them is found as a base form.
  english({"cat", "email"}, {"kb kucing", "kb surel"});
  for (const auto& [word, pane] :
       {std::pair{"E-mail", "email kb surel"}, {"cat's", "cat kb kucing"}}) {
    EXPECT_TRUE(state.searchFromBox(word) && state.queryFound()) << word;
    EXPECT_EQ(state.translationText(), pane);
  }

  setSetting(state, &LookupSettings::AutoRemAlpha, false);
  state.setStatusText(" Data OK");
  EXPECT_FALSE(state.searchFromBox(" \t "));
  EXPECT_EQ(state.statusText(), " Data OK");
  EXPECT_TRUE(state.searchFromBox(" 123 "));
  EXPECT_EQ(state.translationText(), "123 angka");
  // Accented capitals keep their case, so the list's lower-case word is not found.
  EXPECT_TRUE(state.searchFromBox("\xC9T\xC9") && !state.queryFound());
  EXPECT_EQ(state.statusText(), " not found");
}

TEST_F(LookupTest, BaseFormsAreTriedInOrderUntilOneIsFound) {
  english({"run", "walk", "walke"}, {"kki lari", "jalan", "bukan"});
  EXPECT_TRUE(state.searchFromBox("Running") && state.queryFound());
  // The status line names the form and, where WordNet's lists tell it, its kind.
  EXPECT_EQ(state.translationText() + "|" + state.statusText(),
            "run kki lari| English word: running -> run (-ing form)");
  EXPECT_TRUE(state.searchFromBox("walks"));
  EXPECT_EQ(state.statusText(), " English word: walks -> walk");
  // A copied word found through its base form is the base's find, recorded as the base.
  EXPECT_TRUE(state.lookupCopiedWord("walk"));
  EXPECT_TRUE(state.lookupCopiedWord("running"));
  EXPECT_EQ(std::tuple(state.translationText(), state.searchText()),
            std::tuple("run kki lari", "run"));
  EXPECT_FALSE(state.lookupCopiedWord("runx"));
  EXPECT_EQ(std::tuple(state.searchText(), state.statusText()), std::tuple("runx", " not found"));
  EXPECT_TRUE(state.searchFromBox("walked"));
  EXPECT_EQ(state.translationText(), "walke bukan");  // rule 4 tries "walke" first
  userList("Tavro2en.dat", {"carry=bawa", "carri=no", "add=tambah", "ad=iklan", "call=panggil",
                            "cal=x", "stop=henti"});
  EXPECT_TRUE(state.searchFromBox("carries"));
  EXPECT_EQ(state.translationText(), "carry bawa");  // rule 7 before rule 9
  // With a doubled letter the whole stem wins over the shorter headword.
  for (const auto& [word, shownText] : {std::pair{"added", "add tambah"}, {"calling", "call panggil"},
                                        {"stopped", "stop henti"}}) {
    EXPECT_TRUE(state.searchFromBox(word) && state.queryFound()) << word;
    EXPECT_EQ(state.translationText(), shownText);
  }
  // Nothing found: offered to the history, " not found", the last try's related entries left.
  EXPECT_TRUE(state.searchFromBox("blobbed") && !state.queryFound());
  EXPECT_EQ(state.statusText(), " not found");
}

// Without the stemmer: the clitic stage alone finds these roots (the affix stage would
// find some of them too, but never names what it took off).
TEST_F(LookupTest, IndonesianCliticsAndReduplicationAreTakenOffAndNamed) {
  english({"house"}, {"kb rumah"});
  indonesian({"anak", "benar", "bilang", "lihat", "rumah", "tai", "teman"},
             {"kb child", "ks true; kkt be right", "kkt say", "kkt see", "kb house", "kb feces",
              "kb friend"});
  userList("Tavro2phrase.dat", {"rumahnya besar=his house is big"});
  const std::string nya = " + -nya (his, her, its; the)";
  const struct {
    Direction dir;
    const char* word;
    std::string pane, status;
  } rows[] = {
      {Direction::kAutomatic, "rumahnya", "rumah kb house", " Indonesian word: rumah" + nya},
      {Direction::kIndonesianEnglish, "Rumahku!", "rumah kb house",
       " Indonesian word: rumah + -ku (my; me)"},
      {Direction::kAutomatic, "rumahmu", "rumah kb house",
       " Indonesian word: rumah + -mu (your; you)"},
      {Direction::kAutomatic, "rumahnyalah", "rumah kb house",
       " Indonesian word: rumah" + nya + " + -lah (emphasis)"},
      {Direction::kAutomatic, "kubilang", "bilang kkt say", " Indonesian word: ku- (I) + bilang"},
      {Direction::kIndonesianEnglish, "kaulihat", "lihat kkt see",
       " Indonesian word: kau- (you) + lihat"},
      {Direction::kAutomatic, "teman-temannya", "teman kb friend",
       " Indonesian word: teman, repeated," + nya},
      {Direction::kAutomatic, "anak-anak", "anak kb child",
       " Indonesian word: anak, repeated (more than one, or all kinds of)"},
      {Direction::kIndonesianEnglish, "benar-benar", "benar ks true; kkt be right",
       " Indonesian word: benar, repeated (really, truly; or as an adverb)"},
      // The affix stage's finds name the form and the root.
      {Direction::kAutomatic, "berumah", "rumah kb house", " Indonesian word: berumah -> rumah"},
      // No such root; ku- before a noun is passed over (mostly a name); the English side
      // is not Indonesian and its words are no Indonesian roots.
      {Direction::kAutomatic, "bukunya", "", " not found"},
      {Direction::kAutomatic, "kutai", "", " not found"},
      {Direction::kEnglishIndonesian, "rumahnya", "", " not found"},
      {Direction::kEnglishIndonesian, "kubilang", "", " not found"},
      {Direction::kEnglishIndonesian, "anak-anak", "", " not found"},
      {Direction::kAutomatic, "housenya", "house kb rumah", " English word: housenya -> house"},
  };
  for (const auto& r : rows) {
    setSetting(state, &LookupSettings::direction, r.dir);
    EXPECT_TRUE(state.searchFromBox(r.word));
    EXPECT_EQ(state.queryFound(), !r.pane.empty()) << r.word;
    EXPECT_EQ(state.mainWords().count(), r.pane.empty() ? 0u : 1u) << r.word;
    EXPECT_EQ(state.translationText() + "|" + state.statusText(), r.pane + "|" + r.status)
        << r.word;
  }
  // The phrase count the lookup added stays after the note.
  setSetting(state, &LookupSettings::ShowPhrase, true);
  EXPECT_TRUE(state.searchFromBox("rumahnya"));
  EXPECT_EQ(state.statusText(), " Indonesian word: rumah" + nya + " (1 Phrase)");
  // A copied word takes the same path, and is the root's find.
  EXPECT_TRUE(state.lookupCopiedWord("kubilang"));
  EXPECT_EQ(std::tuple(state.statusText(), state.searchText()),
            std::tuple(" Indonesian word: ku- (I) + bilang", "bilang"));
}

}  // namespace
}  // namespace tavro2::test

namespace tavro2::test {
namespace {

// A query that is a whole phrase of the collection is shown as its entry,
// on the side that has it, in the directions that search that side.
TEST_F(LookupTest, AnExactPhraseIsAnEntry) {
  english({"house", "thank"}, {"kb rumah", "kkt berterima kasih"});
  indonesian({"rumah", "terima"}, {"kb house", "kkt receive"});
  publish(DataKind::kPhrase, {"rumah sakit", "terima kasih"}, {"hospital", "thank you, thanks"});
  userList(kPhraseListName, {"selamat pagi=good morning"});
  const struct {
    Direction direction;
    const char* box;
    const char* shown;  // words|translations|related|pane|status
  } rows[] = {
      {Direction::kAutomatic, "Terima  Kasih", "terima kasih|thank you, thanks||terima kasih thank you, thanks| Indonesian phrase"},
      {Direction::kIndonesianEnglish, "selamat pagi", "selamat pagi|good morning||selamat pagi good morning| Indonesian phrase"},
      // The English side: one of the translation's items.
      {Direction::kAutomatic, "thanks", "thank|kkt berterima kasih||thank kkt berterima kasih| English word: thanks -> thank"},
      {Direction::kEnglishIndonesian, "thank you", "thank you|terima kasih||thank you terima kasih| English phrase"},
      // Not in a direction that does not search the side; not part of a phrase.
      {Direction::kEnglishIndonesian, "rumah sakit", "|||| not found"},
      {Direction::kIndonesianEnglish, "thank you", "|||| not found"},
      {Direction::kAutomatic, "rumah sak", "|||| not found"}};
  for (const auto& r : rows) {
    setSetting(state, &LookupSettings::direction, r.direction);
    EXPECT_TRUE(state.searchFromBox(r.box));
    EXPECT_EQ(shown(), r.shown) << r.box;
    EXPECT_EQ(state.queryFound(), std::string(r.shown).find("not found") == std::string::npos);
  }
  setSetting(state, &LookupSettings::direction, Direction::kAutomatic);
  EXPECT_TRUE(state.lookupCopiedWord("rumah sakit"));  // as good as a word found directly
  EXPECT_EQ(state.statusText(), " Indonesian phrase");
}

// Pronounce speaks the shown entry's headword in its language: a find's
// (the English one of two), a phrase's, a base form's; a history entry names
// no side, so its word's is looked for, English first, within the direction.
TEST_F(LookupTest, TheShownEntryNamesItsHeadwordAndSide) {
  english({"air", "house"}, {"kb udara", "kb rumah"});
  indonesian({"air", "rumah", "sate"}, {"kb water", "kb house", "kb satay"});
  publish(DataKind::kPhrase, {"rumah sakit"}, {"hospital"});
  userList(kEnglishListName, {"sate=satay (as the user writes it)"});
  auto side = [&] { return std::pair(state.shownHeadword(), state.shownIndonesian()); };
  using Side = std::pair<std::string, bool>;
  const std::pair<const char*, Side> finds[] = {{"Air", {"air", false}},
                                                {"rumah  sakit", {"rumah sakit", true}},
                                                {"rumahnya", {"rumah", true}},
                                                {"zzz", {"", false}}};
  for (const auto& [box, expected] : finds) {
    state.searchFromBox(box);
    EXPECT_EQ(side(), expected) << box;
  }
  const std::tuple<const char*, Direction, bool> history[] = {
      {"air", Direction::kAutomatic, false},         {"rumah", Direction::kAutomatic, true},
      {"sate", Direction::kAutomatic, false},        {"zzz", Direction::kAutomatic, false},
      {"air", Direction::kIndonesianEnglish, true}, {"rumah", Direction::kEnglishIndonesian, false}};
  for (const auto& [word, direction, indonesian] : history) {
    setSetting(state, &LookupSettings::direction, direction);
    state.showHistoryEntry(word, std::string(word) + " x");
    EXPECT_EQ(side(), Side(word, indonesian)) << word;
  }
  state.showHistoryEntry("air", "");
  EXPECT_EQ(state.shownHeadword(), "");
}

}  // namespace
// The pane's English entry has its headword's transcription (the base form's for a form
// found through it); an Indonesian entry, a list of suggestions and a word without one have
// none, and the pane's text never holds it.
TEST_F(LookupTest, TheEnglishEntryShownHasItsHeadwordsTranscription) {
  english({"go", "house", "jam", "walk"}, {"kki pergi", "kb rumah", "kb selai", "kki jalan"});
  indonesian({"jam", "rumah"}, {"kb clock", "kb house"});
  store.publishTranscriptions(splitLines("go\r\nhouse\r\njam\r\n"), splitLines("g\r\nh\r\nj\r\n"),
                              LoadState::kLoaded);
  const auto ipa = [&] { return state.shownHeadword() + "/" + state.ipa(); };
  const std::pair<const char*, const char*> finds[] = {
      {"went", "go/g"}, {"House", "house/h"}, {"jam", "jam/j"},
      {"rumah", "rumah/"}, {"walk", "walk/"}};
  for (const auto& [word, want] : finds) {
    ASSERT_TRUE(state.searchFromBox(word)) << word;
    EXPECT_EQ(ipa(), want);
  }
  setSetting(state, &LookupSettings::direction, Direction::kIndonesianEnglish);
  ASSERT_TRUE(state.searchFromBox("jam"));
  EXPECT_EQ(ipa(), "jam/");
  setSetting(state, &LookupSettings::direction, Direction::kAutomatic);
  ASSERT_TRUE(state.showTypingList("hou"));
  EXPECT_EQ(std::tuple(ipa(), state.translationText()), std::tuple("house/h", "house kb rumah"));
  state.showSuggestions({{"go", "kki pergi", false}});
  EXPECT_EQ(ipa(), "/");
  state.showSelectedEntry(0);
  EXPECT_EQ(ipa(), "go/g");
  state.showHistoryEntry("House", "house kb rumah");
  EXPECT_EQ(ipa(), "house/h");
}

}  // namespace tavro2::test
