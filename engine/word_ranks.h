// How common words are, from the frequency lists compiled into the program
// (data/frequency/: English web and Wikipedia counts, Indonesian Wikipedia
// counts). The list shown while typing puts the commonest words first.
#pragma once

#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tavro2 {

// The Wikipedia lists' markup words (doc, url, wiki...), which rank high
// without being words.
bool isFrequencyMarkup(std::string_view word);

class WordRanks {
 public:
  static constexpr int kUnranked = std::numeric_limits<int>::max();

  // The compiled-in lists, read on first use (any thread).
  static const WordRanks& shared();
  // From lists of one word a line, most frequent first, which must outlive
  // the ranks: the English web list ranks before the Wikipedia one.
  WordRanks(std::string_view englishWeb, std::string_view englishWikipedia,
            std::string_view indonesian);

  // Ranks from 0 (most frequent) of an A-Z folded word, or kUnranked.
  int english(std::string_view word) const { return rankIn(english_, word); }
  int indonesian(std::string_view word) const { return rankIn(indonesian_, word); }

 private:
  static int rankIn(const std::unordered_map<std::string_view, int>& ranks,
                    std::string_view word);
  std::unordered_map<std::string_view, int> english_;
  std::unordered_map<std::string_view, int> indonesian_;
};

}  // namespace tavro2
