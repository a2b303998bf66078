#include "app/history_list.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "app/failing_rename.h"
#include "test_util.h"

namespace tavro2 {
namespace {

using test::crlfJoin;
using test::readFile;
using test::writeFile;
using Lines = std::vector<std::string>;
using Result = HistoryList::AddResult;

// The lines load() reads from a file holding `text`.
Lines loadedLines(const std::string& text) {
  test::TempDir dir;
  writeFile(dir.file("History.txt"), text);
  HistoryList history(dir.file("History.txt"));
  history.load();
  return history.lines();
}

class HistoryListTest : public ::testing::Test, public HistoryObserver {
 protected:
  HistoryListTest() { history_.setObserver(this); }
  void pushHistoryItem(std::string_view word) override {
    calls_.push_back("push " + std::string(word));
  }
  void highlightHistoryWord(std::string_view word) override {
    calls_.push_back("highlight " + std::string(word));
  }
  std::string path() const { return dir_.file("History.txt"); }

  test::TempDir dir_;
  HistoryList history_{dir_.file("History.txt")};
  Lines calls_;
};

// A line's word is its text before the first '='; a known word is highlighted, never appended.
TEST_F(HistoryListTest, KnownWordsIgnoreAsciiCaseOnly) {
  const std::string before =
      "Cat=kucing=hewan\r\ncat=second\r\n\xC9t\xE9=summer\r\ndog=\r\nfish\r\na=b=c\r\n";
  writeFile(path(), before);
  history_.load();
  EXPECT_EQ(history_.historyTranslation("cAT"), "kucing=hewan");
  EXPECT_EQ(history_.historyTranslation("\xC9t\xE9"), "summer");
  EXPECT_EQ(history_.historyTranslation("\xE9t\xE9"), "") << "only A-Z fold";
  EXPECT_EQ(history_.historyTranslation(" cat"), "");
  EXPECT_EQ(history_.historyTranslation("fish"), "");

  for (const char* word : {"cAT", "DOG", "fish", "a=b", "a"})
    EXPECT_EQ(history_.addToHistory(word, "x"), Result::kAlreadyPresent) << word;
  EXPECT_EQ(readFile(path()), before);
  EXPECT_EQ(calls_, (Lines{"highlight cAT", "highlight DOG", "highlight fish", "highlight a=b",
                           "highlight a"}));
  EXPECT_EQ(history_.addToHistory(" cat", "kucing"), Result::kAppended);
  EXPECT_EQ(history_.addToHistory("\xE9t\xE9", "musim panas"), Result::kAppended);
  EXPECT_EQ(calls_.back(), "push \xE9t\xE9");
  EXPECT_EQ(readFile(path()), before + " cat=kucing\r\n\xE9t\xE9=musim panas\r\n");
}

TEST_F(HistoryListTest, EmptyPaneOrNulRecordsNothingAndACrashLeavesTheOldFileWhole) {
  history_.load();  // no file: an empty list
  EXPECT_TRUE(history_.lines().empty());
  EXPECT_EQ(history_.addToHistory("cat", ""), Result::kIgnored);
  EXPECT_EQ(history_.addToHistory("cat", std::string("a\0b", 3)), Result::kIgnored);
  EXPECT_EQ(history_.addToHistory(std::string("c\0t", 3), "x"), Result::kIgnored);
  EXPECT_TRUE(history_.lines().empty() && !test::fileExists(path()));
  EXPECT_TRUE(calls_.empty());
  const std::string before = "cat=kucing\r\ndog=anjing\r\n";
  writeFile(path(), before);
  history_.load();
  {
    test::FailingRename crash;
    EXPECT_EQ(history_.addToHistory("bird", "burung"), Result::kAppended);
  }
  EXPECT_TRUE(history_.lastWriteFailed());
  EXPECT_EQ(readFile(path()), before);
  EXPECT_EQ(history_.lines().size(), 3u) << "the list keeps the word";

  EXPECT_EQ(history_.addToHistory("fish", "ikan"), Result::kAppended);
  EXPECT_FALSE(history_.lastWriteFailed());
  EXPECT_EQ(readFile(path()), before + "bird=burung\r\nfish=ikan\r\n");
}

TEST_F(HistoryListTest, SortByNameWritesOnNextAppendAndTwoWritersKeepEachOthersWords) {
  const std::string before =
      crlfJoin({"b=1", "\xE9t\xE9=6", "apple=7", "B=2", "cat=1", "Zeta=5", "a=3", "Cat=1", "_x=4"});
  writeFile(path(), before);
  history_.load();
  history_.sortByName();
  Lines sorted{"_x=4", "a=3", "apple=7", "b=1", "B=2", "Cat=1", "cat=1", "Zeta=5", "\xE9t\xE9=6"};
  EXPECT_EQ(history_.lines(), sorted);
  EXPECT_EQ(readFile(path()), before) << "sorting alone writes nothing";

  history_.addToHistory("ant", "semut");
  sorted.push_back("ant=semut");
  EXPECT_EQ(readFile(path()), crlfJoin(sorted));
  // Two windows on one file: each append keeps what the other recorded since.
  writeFile(path(), crlfJoin({"old=lama"}));
  history_.load();
  HistoryList other(path());
  other.load();

  history_.addToHistory("bank", "tepi");
  other.addToHistory("house", "rumah");
  EXPECT_EQ(readFile(path()), crlfJoin({"old=lama", "bank=tepi", "house=rumah"}));
  history_.addToHistory("tree", "pohon");
  EXPECT_EQ(readFile(path()), crlfJoin({"old=lama", "bank=tepi", "house=rumah", "tree=pohon"}));
  other.addToHistory("BANK", "tepi");  // known on disk only: appended once, not twice
  EXPECT_EQ(readFile(path()),
            crlfJoin({"old=lama", "house=rumah", "tree=pohon", "BANK=tepi"}));
  EXPECT_EQ(history_.lines(), (Lines{"old=lama", "bank=tepi", "tree=pohon"}));
}

// A FIFO reads as empty at once; past the read limit only the newest lines count.
TEST_F(HistoryListTest, LineRulesAndHostileFilesReadBoundedWithoutBlocking) {
  ASSERT_EQ(::mkfifo(path().c_str(), 0600), 0);
  history_.load();
  EXPECT_TRUE(history_.lines().empty());
  EXPECT_EQ(history_.addToHistory("bank", "bank"), Result::kAppended);
  EXPECT_TRUE(history_.lastWriteFailed());  // a FIFO is never replaced
  std::filesystem::remove(path());

  Lines newest;
  for (int i = 0; i < 60; ++i) newest.push_back("w" + std::to_string(i) + "=t");
  writeFile(path(), "cut=" + std::string(kMaxHistoryBytes, 'x') + "\r\n" +
                        std::string(1000000, '\r') + crlfJoin(newest));
  EXPECT_EQ(loadedLines(readFile(path())), Lines(newest.begin() + 10, newest.end()));

  writeFile(path(), "cut=" + std::string(kMaxHistoryBytes, 'x') + "\r\nlast=t\r\n");
  EXPECT_EQ(loadedLines(readFile(path())), Lines{"last=t"});  // the cut line is dropped
  const struct { std::string text; Lines lines; } rows[] = {
      {"", {}},
      {"a=1\r\nb=2", {"a=1", "b=2"}},
      {"a=1\rb=2\r", {"a=1", "b=2"}},
      {"a=1\nmore\r\nb=2\r\n", {"a=1\nmore", "b=2"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"\r\n\n", {"", "\n"}},
      {std::string("a=1\r\nb=\0x\r\nc=3\r\n", 16), {"a=1", "b="}},
      {std::string("\0a=1\r\n", 6), {}},
  };
  for (const auto& row : rows)
    EXPECT_EQ(loadedLines(row.text), row.lines) << testing::PrintToString(row.text);
}

}  // namespace
}  // namespace tavro2
