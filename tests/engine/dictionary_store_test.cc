#include "engine/dictionary_store.h"

#include <gtest/gtest.h>

#include "test_util.h"
#include "tools/data_writer.h"

namespace tavro2 {
namespace {

using test::writeDataFile;

class DictionaryStoreTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  DictionaryStore store_;
};

TEST_F(DictionaryStoreTest, FileNameSelectsTheFieldWhateverItsCase) {
  EXPECT_EQ(store_.state(DataKind::kEnglish), LoadState::kPending);
  EXPECT_EQ(store_.EnglishTranslations().line(0), "");  // empty before loading
  writeDataFile(dir_.file("dataen.dat"), {"apple", "bank"}, {"apel", "tepi"});
  writeDataFile(dir_.file("DataId.dat"), {"kata"}, {"word"});
  writeDataFile(dir_.file("datapr.dat"), {"apa kabar", "terima kasih", "selamat"},
                {"how are you", "thank you", "congratulations"});
  writeDataFile(dir_.file("other.dat"), {"x"}, {"y"});
  for (const char* name : {"DATAEN.DAT", "dataid.dat", "DataPr.dat", "other.dat"})  // last: dropped
    EXPECT_EQ(LoadDataFile(store_, dir_.file(name)), LoadState::kLoaded) << name;

  EXPECT_EQ(store_.EnglishCount(), 2);
  EXPECT_EQ(store_.EnglishHeadwords()[1], "bank");
  EXPECT_EQ(store_.EnglishTranslations()[1], "tepi");
  EXPECT_EQ(store_.IndonesianCount(), 1);
  EXPECT_EQ(store_.IndonesianTranslations()[0], "word");
  EXPECT_EQ(store_.PhraseCount(), 3);
  EXPECT_EQ(store_.PhraseTexts()[2], "selamat");
  EXPECT_EQ(store_.PhraseTranslations()[2], "congratulations");
  EXPECT_EQ(store_.PhraseTexts()[3], "");  // outside the list
}

TEST_F(DictionaryStoreTest, CountIsTheHeadwordLines) {
  // Block 1 ends in CR LF: no empty last headword. Block 2 is one line short
  // and its last line has no line end.
  ASSERT_TRUE(WriteDataFile(dir_.file("dataen.dat"), "a\r\nb\rc\r\n", "x\r\ny", 1.0));
  ASSERT_EQ(LoadDataFile(store_, dir_.file("dataen.dat")), LoadState::kLoaded);
  EXPECT_EQ(store_.EnglishCount(), 3);
  EXPECT_EQ(store_.EnglishHeadwords()[2], "c");
  EXPECT_EQ(store_.EnglishTranslations()[1], "y");
  EXPECT_EQ(store_.EnglishTranslations()[2], "");

  ASSERT_TRUE(WriteDataFile(dir_.file("dataid.dat"), "a\r\nb", "", 1.0));
  LoadDataFile(store_, dir_.file("dataid.dat"));
  EXPECT_EQ(store_.IndonesianCount(), 2);
}

TEST_F(DictionaryStoreTest, MissingDamagedAndCancelledLoads) {
  EXPECT_EQ(LoadDataFile(store_, dir_.file("dataen.dat")), LoadState::kMissing);
  EXPECT_EQ(store_.state(DataKind::kEnglish), LoadState::kMissing);
  EXPECT_EQ(store_.EnglishCount(), 0);

  // Block 2 announced past the end of the file: block 1 is kept.
  std::string image = BuildDataFile("kata\r\nrumah\r\n", "word\r\nhouse\r\n", 1.0);
  image[image.size() - 12] = '\x7F';  // high byte of SecondBlockSize
  test::writeFile(dir_.file("dataid.dat"), image);
  EXPECT_EQ(LoadDataFile(store_, dir_.file("dataid.dat")), LoadState::kDamaged);
  EXPECT_EQ(store_.state(DataKind::kIndonesian), LoadState::kDamaged);
  EXPECT_EQ(store_.IndonesianCount(), 2);
  EXPECT_EQ(store_.IndonesianHeadwords()[1], "rumah");

  // A cancelled load publishes nothing.
  writeDataFile(dir_.file("datapr.dat"), {"a"}, {"b"});
  const std::atomic<bool> cancel{true};
  EXPECT_EQ(LoadDataFile(store_, dir_.file("datapr.dat"), &cancel), LoadState::kPending);
  EXPECT_EQ(store_.state(DataKind::kPhrase), LoadState::kPending);
  EXPECT_EQ(store_.PhraseCount(), 0);
}

TEST_F(DictionaryStoreTest, PublishesEachFileOnce) {
  store_.publish(DataKind::kPhrase, SplitLines("a\r\nb\r\n"), SplitLines("x\r\n"),
                 LoadState::kLoaded);
  const std::string_view held = store_.PhraseTexts()[0];
  store_.publish(DataKind::kPhrase, SplitLines("z\r\n"), {}, LoadState::kDamaged);
  EXPECT_EQ(store_.PhraseCount(), 2);
  EXPECT_EQ(store_.state(DataKind::kPhrase), LoadState::kLoaded);
  EXPECT_EQ(held, "a");  // a reader's view stays valid
}

}  // namespace
}  // namespace tavro2
