#include "engine/loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "test_util.h"
#include "tools/data_writer.h"

namespace tavro2 {
namespace {

class LoaderTest : public ::testing::Test {
 protected:
  void writeAll() {
    test::writeEntries(dir_.file("dataen.dat"), {"apple", "bank"}, {"apel", "tepi"});
    test::writeEntries(dir_.file("DataId.dat"), {"kata"}, {"word"});
    test::writeEntries(dir_.file("datapr.dat"), {"apa kabar"}, {"how are you"});
  }
  // onDone runs on the loader thread, so after join() the count is final.
  std::function<void()> countDone() {
    return [this] { ++doneCalls_; };
  }
  test::TempDir dir_;
  DictionaryStore store_;
  std::atomic<int> doneCalls_{0};
};

TEST_F(LoaderTest, IdleUntilStartedThenLoadsAllThree) {
  writeAll();
  {
    DictionaryLoader stopped(store_, dir_.path(), countDone());
    stopped.stop();  // before start: nothing is loaded, nothing reported
    stopped.start();
    stopped.join();
    EXPECT_EQ(stopped.outcome(DataKind::kEnglish), LoadState::kPending);
  }
  EXPECT_EQ(doneCalls_, 0);
  DictionaryLoader loader(store_, dir_.path(), countDone());
  EXPECT_EQ(std::tuple(loader.started(), store_.count(DataKind::kEnglish), loader.statusText()),
            std::tuple(false, 0, " Loading Data..."));

  loader.start();
  loader.start();  // loading happens once
  loader.join();
  EXPECT_EQ(std::tuple(doneCalls_.load(), store_.count(DataKind::kEnglish),
                       store_.count(DataKind::kIndonesian), store_.translations(DataKind::kPhrase)[0],
                       loader.statusText()),
            std::tuple(1, 2, 1, "how are you", " Data OK"));
}

TEST_F(LoaderTest, RecordsMissingAndDamagedFilesAndNamesThemAll) {
  writeAll();
  std::remove(dir_.file("DataId.dat").c_str());
  test::writeFile(dir_.file("datapr.dat"), "too short");
  DictionaryLoader loader(store_, dir_.path(), countDone());
  loader.start();
  loader.join();
  EXPECT_EQ(doneCalls_, 1);
  EXPECT_EQ(loader.outcomes(),
            (std::array{LoadState::kLoaded, LoadState::kMissing, LoadState::kDamaged}));
  EXPECT_EQ(store_.count(DataKind::kEnglish), 2);
  EXPECT_EQ(loader.statusText(), " Missing: dataid.dat; Damaged: datapr.dat");
  using S = LoadState;
  const std::pair<std::array<S, 3>, const char*> rows[] = {
      {{S::kLoaded, S::kLoaded, S::kLoaded}, " Data OK"},
      {{S::kMissing, S::kMissing, S::kMissing}, " Missing: dataen.dat, dataid.dat, datapr.dat"},
      {{S::kDamaged, S::kLoaded, S::kMissing}, " Missing: datapr.dat; Damaged: dataen.dat"},
      {{S::kLoaded, S::kPending, S::kPending}, " Loading Data..."},
  };
  for (const auto& [outcomes, text] : rows) EXPECT_EQ(loadStatusText(outcomes), text);
}

// Under TSan: a count is never seen before its lists, and files appear in order.
TEST_F(LoaderTest, ConcurrentReadersSeeWholeFilesInOrder) {
  std::vector<std::string> heads, trans;
  for (int i = 0; i < 20000; ++i) {
    heads.push_back("head" + std::to_string(i));
    trans.push_back("trans" + std::to_string(i));
  }
  for (const char* name : kDataFileNames)
    ASSERT_TRUE(
        writeDataFile(dir_.file(name), test::crlfJoin(heads), test::crlfJoin(trans), 1.0, 1));
  // The transcriptions come last, their headwords in byte order.
  std::vector<std::string> sorted = heads;
  std::sort(sorted.begin(), sorted.end());
  ASSERT_TRUE(writeDataFile(dir_.file(kTranscriptionFileName), test::crlfJoin(sorted),
                            test::crlfJoin(sorted), 1.0, 1));

  std::atomic<bool> done{false};
  DictionaryLoader loader(store_, dir_.path(), [&] { done.store(true); });
  auto reader = [&] {
    std::int32_t seen[3] = {0, 0, 0};
    for (bool last = false; !last;) {
      last = done.load();  // one more pass after the end
      for (int k = 0; k < 3; ++k) {
        const auto kind = static_cast<DataKind>(k);
        const std::int32_t n = store_.count(kind);
        ASSERT_TRUE(n == 0 || n == static_cast<std::int32_t>(heads.size()));
        ASSERT_GE(n, seen[k]);  // a count never changes once set
        seen[k] = n;
        if (n == 0) continue;
        ASSERT_EQ(store_.headwords(kind).line(static_cast<std::size_t>(n) - 1), heads.back());
        ASSERT_EQ(store_.translations(kind).line(static_cast<std::size_t>(n) - 1), trans.back());
        if (k > 0) {
          ASSERT_GT(store_.count(static_cast<DataKind>(k - 1)), 0);
        }
      }
      const std::string_view ipa = store_.ipaOf(heads.back());
      ASSERT_TRUE(ipa.empty() || (ipa == heads.back() && store_.count(DataKind::kPhrase) > 0));
      std::this_thread::yield();
    }
    for (int k = 0; k < 3; ++k) EXPECT_EQ(seen[k], static_cast<std::int32_t>(heads.size()));
  };
  std::thread r1(reader), r2(reader);
  loader.start();
  r1.join();
  r2.join();
  loader.join();
  EXPECT_EQ(std::tuple(loader.statusText(), store_.ipaOf(heads.back())),
            std::tuple(" Data OK", heads.back()));
}

}  // namespace
}  // namespace tavro2
