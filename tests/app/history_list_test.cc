#include "app/history_list.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/failing_rename.h"
#include "test_util.h"

namespace tavro2 {
namespace {

using test::crlfJoin;
using test::fileExists;
using test::readFile;
using test::TempDir;
using test::writeFile;
using Lines = std::vector<std::string>;
using Result = HistoryList::AddResult;

TEST(HistoryFileTest, LineRules) {
  const struct {
    std::string text;
    Lines lines;
  } rows[] = {
      {"", {}},
      {"a=1\r\nb=2\r\n", {"a=1", "b=2"}},
      {"a=1\r\nb=2", {"a=1", "b=2"}},
      {"a=1\rb=2\r", {"a=1", "b=2"}},
      {"a=1\nmore\r\nb=2\r\n", {"a=1\nmore", "b=2"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"\n", {"\n"}},
      {"\r\n\n", {"", "\n"}},
      {std::string("a=1\r\nb=\0x\r\nc=3\r\n", 16), {"a=1", "b="}},
      {std::string("\0a=1\r\n", 6), {}},
  };
  for (const auto& row : rows)
    EXPECT_EQ(HistoryList::SplitHistoryText(row.text), row.lines)
        << testing::PrintToString(row.text);
}

class RecordingObserver : public HistoryObserver {
 public:
  void PushHistoryItem(std::string_view word) override {
    calls.push_back("push " + std::string(word));
  }
  void HighlightHistoryWord(std::string_view word) override {
    calls.push_back("highlight " + std::string(word));
  }
  Lines calls;
};

class HistoryListTest : public ::testing::Test {
 protected:
  HistoryListTest() { history_.setObserver(&observer_); }
  std::string path() const { return dir_.file("History.txt"); }

  TempDir dir_;
  HistoryList history_{dir_.file("History.txt")};
  RecordingObserver observer_;
};

TEST_F(HistoryListTest, MissingFileStartsEmpty) {
  history_.load();
  EXPECT_TRUE(history_.lines().empty());
  EXPECT_EQ(history_.HistoryTranslation("cat"), "");
}

TEST_F(HistoryListTest, LongFileKeepsTheNewestFiftyAndGrowsToFiftyOne) {
  Lines sixty;
  for (int i = 0; i < 60; ++i) sixty.push_back("w" + std::to_string(i) + "=t" + std::to_string(i));
  writeFile(path(), crlfJoin(sixty));
  history_.load();
  const Lines newest(sixty.begin() + 10, sixty.end());
  EXPECT_EQ(history_.lines(), newest);

  EXPECT_EQ(history_.AddToHistory("cat", "kucing"), Result::kAppended);
  Lines expected = newest;
  expected.push_back("cat=kucing");
  EXPECT_EQ(readFile(path()), crlfJoin(expected));
  EXPECT_EQ(observer_.calls, Lines{"push cat"});

  HistoryList again(path());
  again.load();
  EXPECT_EQ(again.lines().back(), "cat=kucing") << "the word of this run survives the next start";
}

TEST_F(HistoryListTest, TranslationLookupIgnoresAsciiCaseOnly) {
  writeFile(path(), "Cat=kucing=hewan\r\ncat=second\r\n\xC9t\xE9=summer\r\ndog\r\n");
  history_.load();
  EXPECT_EQ(history_.HistoryTranslation("cAT"), "kucing=hewan");
  EXPECT_EQ(history_.HistoryTranslation("\xC9t\xE9"), "summer");
  EXPECT_EQ(history_.HistoryTranslation("\xE9t\xE9"), "") << "only A-Z fold";
  EXPECT_EQ(history_.HistoryTranslation(" cat"), "");
  EXPECT_EQ(history_.HistoryTranslation("dog"), "");
  EXPECT_EQ(HistoryList::wordOf("a=b=c"), "a");
  EXPECT_EQ(HistoryList::wordOf("dog"), "dog");
}

TEST_F(HistoryListTest, KnownWordAddsNothingAndHighlightsAsTyped) {
  writeFile(path(), "Cat=kucing\r\n");
  history_.load();
  EXPECT_EQ(history_.AddToHistory("cAT", "kucing lain"), Result::kAlreadyPresent);
  EXPECT_EQ(history_.AddToHistory("Cat", "kucing"), Result::kAlreadyPresent);
  EXPECT_EQ(history_.lines(), Lines{"Cat=kucing"});
  EXPECT_EQ(readFile(path()), "Cat=kucing\r\n");
  EXPECT_EQ(observer_.calls, (Lines{"highlight cAT", "highlight Cat"}));
}

TEST_F(HistoryListTest, EmptyPaneOrNulRecordsNothing) {
  EXPECT_EQ(history_.AddToHistory("cat", ""), Result::kIgnored);
  EXPECT_EQ(history_.AddToHistory("cat", std::string("a\0b", 3)), Result::kIgnored);
  EXPECT_EQ(history_.AddToHistory(std::string("c\0t", 3), "x"), Result::kIgnored);
  EXPECT_TRUE(history_.lines().empty());
  EXPECT_FALSE(fileExists(path()));
  EXPECT_TRUE(observer_.calls.empty());
}

TEST_F(HistoryListTest, WordIsKeptUntrimmedAndRecordedOnce) {
  EXPECT_EQ(history_.AddToHistory(" cat", "kucing"), Result::kAppended);
  EXPECT_EQ(history_.AddToHistory("cat", "kucing"), Result::kAppended);
  // A line with an empty translation and a word holding '=' are recognised
  // too, so neither is appended again on every lookup.
  writeFile(path(), "dog=\r\na=b=c\r\n");
  history_.load();
  EXPECT_EQ(history_.AddToHistory("DOG", "anjing"), Result::kAlreadyPresent);
  EXPECT_EQ(history_.AddToHistory("a=b", "c"), Result::kAlreadyPresent);
  EXPECT_EQ(history_.AddToHistory("a", "x"), Result::kAlreadyPresent);
}

TEST_F(HistoryListTest, MultiLineTranslationRoundTrips) {
  ASSERT_EQ(history_.AddToHistory("run", "lari\nberlari"), Result::kAppended);
  ASSERT_EQ(history_.AddToHistory("go", "pergi"), Result::kAppended);
  EXPECT_EQ(readFile(path()), "run=lari\nberlari\r\ngo=pergi\r\n");
  HistoryList again(path());
  again.load();
  EXPECT_EQ(again.HistoryTranslation("run"), "lari\nberlari");
}

TEST_F(HistoryListTest, CrashDuringWriteLeavesOldFileWhole) {
  const std::string before = "cat=kucing\r\ndog=anjing\r\n";
  writeFile(path(), before);
  history_.load();
  {
    test::FailingRename crash;
    EXPECT_EQ(history_.AddToHistory("bird", "burung"), Result::kAppended);
  }
  EXPECT_TRUE(history_.lastWriteFailed());
  EXPECT_EQ(readFile(path()), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()),
                          std::filesystem::directory_iterator()),
            1)
      << "no temporary file left behind";
  EXPECT_EQ(history_.lines().size(), 3u) << "the list keeps the word";

  EXPECT_EQ(history_.AddToHistory("fish", "ikan"), Result::kAppended);
  EXPECT_FALSE(history_.lastWriteFailed());
  EXPECT_EQ(readFile(path()), before + "bird=burung\r\nfish=ikan\r\n");
}

TEST_F(HistoryListTest, ShortByNameFoldsThenComparesBytesAndWritesOnNextAppend) {
  const std::string before =
      crlfJoin({"b=1", "\xE9t\xE9=6", "apple=7", "B=2", "cat=1", "Zeta=5", "a=3", "Cat=1", "_x=4"});
  writeFile(path(), before);
  history_.load();
  history_.SortByName();
  const Lines sorted{"_x=4",  "a=3",   "apple=7", "b=1",        "B=2",
                     "Cat=1", "cat=1", "Zeta=5",  "\xE9t\xE9=6"};
  EXPECT_EQ(history_.lines(), sorted);
  EXPECT_EQ(readFile(path()), before) << "sorting alone writes nothing";

  history_.AddToHistory("ant", "semut");
  Lines expected = sorted;
  expected.push_back("ant=semut");
  EXPECT_EQ(readFile(path()), crlfJoin(expected));
}

}  // namespace
}  // namespace tavro2
