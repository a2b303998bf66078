// How common words are, for ordering and pruning the default dictionary:
//
//   frequency lists  data/frequency/: one word a line, most frequent first
//                    (id-wikipedia.txt, en-web-10000.txt, en-wikipedia.txt)
//   English tags     data/wordnet/english-tags.tsv.gz, made by
//                    tools/extract_wordnet.py: "lemma<TAB>n<TAB>v<TAB>a<TAB>r",
//                    how often WordNet's corpus uses a lower-case lemma as a
//                    noun, verb, adjective and adverb
//
// Words are looked up A-Z folded; the lists are UTF-8 and the builder's
// words Windows-1252, which agree on the plain letters the lists hold.
#pragma once

#include <array>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/cp1252.h"

namespace tavro2 {

// The parts of speech in the order of the tag fields.
inline constexpr std::string_view kTagParts = "nvar";

class WordUsage {
 public:
  static constexpr int kUnranked = std::numeric_limits<int>::max();

  // Ranks from 0 (most frequent); a word keeps its first rank. Markup words
  // at the head of the Wikipedia lists (doc, url, wiki...) are left out.
  void setIndonesianRanks(std::string_view oneWordALine);
  // The web list ranks first; the Wikipedia list's first `wikipediaCommon`
  // words follow it (that list lacks many of the commonest words).
  void setEnglishRanks(std::string_view webList, std::string_view wikipediaList,
                       std::size_t wikipediaCommon = 20000);
  // Lines that do not fit the layout are counted in `badLines`.
  void setEnglishTags(std::string_view text, std::size_t& badLines);

  // kUnranked for a word the list lacks. A text of several words ranks as
  // its rarest word, a little behind it.
  int indonesianRank(std::string_view word) const;
  // An English word's rank among the common ones (a text of several words
  // as its rarest word, a little behind it), or kUnranked.
  int englishRank(std::string_view word) const;
  bool commonEnglish(std::string_view word) const {
    return englishRanks_.contains(foldAscii(word));
  }
  // Tag counts in kTagParts order; zeros for a word WordNet never tags.
  std::array<int, 4> englishTags(std::string_view lemma) const;
  bool hasIndonesianRanks() const { return !indonesianRanks_.empty(); }

 private:
  std::unordered_map<std::string, int> indonesianRanks_;
  std::unordered_map<std::string, int> englishRanks_;
  std::unordered_map<std::string, std::array<int, 4>> englishTags_;
};

// A word list, one word a line, '#' starting a comment; words folded.
std::unordered_set<std::string> parseWordSet(std::string_view text);

// Reads data/frequency/ (the three lists) into `usage`; false with `error`
// when a list cannot be read.
bool readFrequencyLists(const std::string& dir, WordUsage& usage, std::string& error);
// Reads the English tag file (gzip'd or plain) into `usage`.
bool readEnglishTags(const std::string& path, WordUsage& usage, std::size_t& badLines,
                     std::string& error);

}  // namespace tavro2
