// How common words are, from the frequency lists compiled into the program
// (data/frequency/: English web and Wikipedia counts, Indonesian Wikipedia
// counts). The list shown while typing puts the commonest words first.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace tavro2 {

// The Wikipedia lists' markup words (doc, url, wiki...), which rank high
// without being words.
bool isFrequencyMarkup(std::string_view word);

class WordRanks {
 public:
  static constexpr int kUnranked = std::numeric_limits<int>::max();

  // The compiled-in lists, read on first use (any thread).
  static const WordRanks& shared();
  // Whether a compiled-in list holds the A-Z folded word; searches the
  // lists' text, so it costs well under a millisecond and builds nothing.
  static bool listed(std::string_view word);
  // From lists of one word a line, most frequent first, which must outlive
  // the ranks: the English web list ranks before the Wikipedia one.
  WordRanks(std::string_view englishWeb, std::string_view englishWikipedia,
            std::string_view indonesian);

  // Ranks from 0 (most frequent) of an A-Z folded word, or kUnranked.
  int english(std::string_view word) const { return english_.find(word); }
  int indonesian(std::string_view word) const { return indonesian_.find(word); }

 private:
  // Words to ranks in one open-addressed table: no allocation per word, so
  // the lists are read in a millisecond or two.
  class Table {
   public:
    // Adds `word` with the next rank unless it is there; the view must
    // outlive the table.
    void add(std::string_view word);
    int find(std::string_view word) const;
    // Room for `words` more without growing.
    void reserve(std::size_t words);

   private:
    struct Slot {
      const char* data = nullptr;  // null: empty
      std::uint32_t size = 0;
      std::int32_t rank = 0;
    };
    std::size_t slotOf(std::string_view word) const;
    void grow();
    std::vector<Slot> slots_;
    std::size_t count_ = 0;
  };
  void addList(Table& table, std::string_view list, bool skipMarkup);
  Table english_;
  Table indonesian_;
};

}  // namespace tavro2
