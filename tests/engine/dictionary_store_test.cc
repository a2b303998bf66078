#include "engine/dictionary_store.h"

#include "lookup_fixture.h"
#include "tools/data_writer.h"

namespace tavro2 {
namespace {

using test::writeEntries;

class DictionaryStoreTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  DictionaryStore store_;
};

TEST_F(DictionaryStoreTest, FileNameSelectsTheFieldWhateverItsCase) {
  EXPECT_EQ(store_.state(DataKind::kEnglish), LoadState::kPending);
  EXPECT_EQ(store_.translations(DataKind::kEnglish).line(0), "");  // empty before loading
  writeEntries(dir_.file("dataen.dat"), {"apple", "bank"}, {"apel", "tepi"});
  writeEntries(dir_.file("DataId.dat"), {"kata"}, {"word"});
  writeEntries(dir_.file("other.dat"), {"x"}, {"y"});
  for (const char* name : {"DATAEN.DAT", "dataid.dat", "other.dat"})  // the last is dropped
    EXPECT_EQ(loadDataFile(store_, dir_.file(name)), LoadState::kLoaded) << name;
  EXPECT_EQ(test::lines(store_.translations(DataKind::kEnglish)), (test::Lines{"apel", "tepi"}));
  EXPECT_EQ(test::lines(store_.translations(DataKind::kIndonesian)), (test::Lines{"word"}));
  EXPECT_EQ(store_.count(DataKind::kPhrase), 0);
}

TEST_F(DictionaryStoreTest, CountIsTheHeadwordLinesAndEachFileIsPublishedOnce) {
  // Block 1 ends in CR LF: no empty last headword. Block 2 is one line short
  // and its last line has no line end.
  ASSERT_TRUE(writeDataFile(dir_.file("dataen.dat"), "a\r\nb\rc\r\n", "x\r\ny", 1.0));
  ASSERT_EQ(loadDataFile(store_, dir_.file("dataen.dat")), LoadState::kLoaded);
  const DataKind en = DataKind::kEnglish;
  EXPECT_EQ(std::tuple(store_.count(en), store_.headwords(en)[2], store_.translations(en)[1],
                       store_.translations(en)[2]),
            std::tuple(3, "c", "y", ""));
  ASSERT_TRUE(writeDataFile(dir_.file("dataid.dat"), "a\r\nb", "", 1.0));
  loadDataFile(store_, dir_.file("dataid.dat"));
  EXPECT_EQ(store_.count(DataKind::kIndonesian), 2);

  // Each file is published once.
  store_.publish(DataKind::kPhrase, splitLines("a\r\nb\r\n"), splitLines("x\r\n"),
                 LoadState::kLoaded);
  const std::string_view held = store_.headwords(DataKind::kPhrase)[0];
  store_.publish(DataKind::kPhrase, splitLines("z\r\n"), {}, LoadState::kDamaged);
  EXPECT_EQ(std::tuple(store_.count(DataKind::kPhrase), store_.state(DataKind::kPhrase), held),
            std::tuple(2, LoadState::kLoaded, "a"));  // a reader's view stays valid
}

TEST_F(DictionaryStoreTest, MissingDamagedAndCancelledLoads) {
  EXPECT_EQ(loadDataFile(store_, dir_.file("dataen.dat")), LoadState::kMissing);
  EXPECT_EQ(std::tuple(store_.state(DataKind::kEnglish), store_.count(DataKind::kEnglish)),
            std::tuple(LoadState::kMissing, 0));
  // Block 2 announced past the end of the file: block 1 is kept.
  std::string image = buildDataFile("kata\r\nrumah\r\n", "word\r\nhouse\r\n", 1.0);
  image[image.size() - 12] = '\x7F';  // high byte of SecondBlockSize
  test::writeFile(dir_.file("dataid.dat"), image);
  const DataKind id = DataKind::kIndonesian;
  EXPECT_EQ(loadDataFile(store_, dir_.file("dataid.dat")), LoadState::kDamaged);
  EXPECT_EQ(std::tuple(store_.state(id), store_.count(id), store_.headwords(id)[1]),
            std::tuple(LoadState::kDamaged, 2, "rumah"));
  // A cancelled load publishes nothing.
  writeEntries(dir_.file("datapr.dat"), {"a"}, {"b"});
  const std::atomic<bool> cancel{true};
  EXPECT_EQ(loadDataFile(store_, dir_.file("datapr.dat"), &cancel), LoadState::kPending);
  EXPECT_EQ(std::tuple(store_.state(DataKind::kPhrase), store_.count(DataKind::kPhrase)),
            std::tuple(LoadState::kPending, 0));
}

// dataipa.dat is optional: missing, damaged or out of order, no word has a
// transcription and nothing else changes.
TEST_F(DictionaryStoreTest, TranscriptionsAreFoundByTheirHeadwordAndOptional) {
  EXPECT_EQ(store_.ipaOf("house"), "");  // before loading
  EXPECT_EQ(loadTranscriptionFile(store_, dir_.file("dataipa.dat")), LoadState::kMissing);
  EXPECT_EQ(std::tuple(store_.transcriptionState(), store_.transcriptionCount(),
                       store_.ipaOf("house")),
            std::tuple(LoadState::kMissing, 0, ""));

  // UTF-8 headwords in byte order; the store is asked in 1252 ("caf\xE9"). A
  // headword past the last transcription has none.
  DictionaryStore good;
  writeEntries(dir_.file("dataipa.dat"), {"café", "house", "ice cream", "zzz"},
               {"kæfˈeɪ", "haʊs", "aɪs kɹiːm"});
  EXPECT_EQ(loadTranscriptionFile(good, dir_.file("dataipa.dat")), LoadState::kLoaded);
  EXPECT_EQ(std::tuple(good.ipaOf("house"), good.ipaOf("caf\xE9"), good.ipaOf("ice cream"),
                       good.ipaOf("hous"), good.ipaOf("House"), good.ipaOf("zzz"),
                       good.transcriptionCount()),
            std::tuple("haʊs", "kæfˈeɪ", "aɪs kɹiːm", "", "", "", 3));

  // Damaged (the data file reader's cases), or headwords out of order.
  test::writeFile(dir_.file("dataipa.dat"), "too short");
  DictionaryStore damaged;
  EXPECT_EQ(loadTranscriptionFile(damaged, dir_.file("dataipa.dat")), LoadState::kDamaged);
  EXPECT_EQ(std::tuple(damaged.transcriptionState(), damaged.ipaOf("a")),
            std::tuple(LoadState::kDamaged, ""));
  writeEntries(dir_.file("dataipa.dat"), {"b", "a"}, {"y", "x"});
  DictionaryStore unsorted;
  EXPECT_EQ(loadTranscriptionFile(unsorted, dir_.file("dataipa.dat")), LoadState::kDamaged);
  EXPECT_EQ(std::tuple(unsorted.transcriptionCount(), unsorted.ipaOf("b")), std::tuple(0, ""));
}

}  // namespace
}  // namespace tavro2
