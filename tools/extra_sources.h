// The two sources merged into the default dictionary after FreeDict:
//
//   WordNet join  data/wordnet/wordnet-ind.tsv.gz, made by
//                 tools/extract_wordnet.py: one synset a line,
//                 "synset<TAB>pos<TAB>lemma#sense#tags|...<TAB>gloss<TAB>kata[#count]|..."
//   function words  data/function_words.txt: one sense a line,
//                 "headword | marker | kata, kata | gloss" (marker and gloss
//                 may be empty); '#' starts a comment line.
//
// Texts stay UTF-8 here; the builder converts them to Windows-1252.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavro2 {

struct WordnetLemma {
  std::string lemma;  // English, spaces between words, case as WordNet writes it
  int sense = 0;      // the lemma's sense number in this part of speech (1: most frequent)
  int tags = 0;       // how often this sense is tagged in WordNet's corpus
};

struct WordnetWord {
  std::string word;  // Indonesian
  int count = 0;     // Wordnet Bahasa's frequency of the word in this synset (0: none)
};

struct WordnetSynset {
  char pos = 'n';     // n, v, a or r
  std::string gloss;  // first definition
  std::vector<WordnetLemma> english;
  std::vector<WordnetWord> indonesian;
};

struct FunctionWord {
  std::string headword;
  std::string marker;  // "kd", "ksam", ... or empty
  std::vector<std::string> terms;
  std::string gloss;
};

// Lines that do not fit the layout are counted in `badLines` and skipped.
std::vector<WordnetSynset> parseWordnetJoin(std::string_view text, std::size_t& badLines);
std::vector<FunctionWord> parseFunctionWords(std::string_view text, std::size_t& badLines);

// Read a file (a gzip'd one is inflated) and parse it; false with `error`
// set when the file cannot be read.
bool readWordnetJoin(const std::string& path, std::vector<WordnetSynset>& out,
                     std::size_t& badLines, std::string& error);
bool readFunctionWords(const std::string& path, std::vector<FunctionWord>& out,
                       std::size_t& badLines, std::string& error);

}  // namespace tavro2
