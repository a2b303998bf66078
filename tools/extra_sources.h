// The two sources merged into the default dictionary after FreeDict:
//
//   WordNet join  data/wordnet/wordnet-ind.tsv.gz, made by
//                 tools/extract_wordnet.py: one synset a line,
//                 "synset<TAB>pos<TAB>lemma#sense#tags|...<TAB>gloss<TAB>kata[#count]|..."
//   function words  data/function_words.txt: one sense a line,
//                 "headword | marker | kata, kata | gloss" (marker and gloss
//                 may be empty); '#' starts a comment line.
//   verb frames   data/wordnet/verb-frames.tsv.gz, made by
//                 tools/extract_wordnet.py: one verb a line,
//                 "lemma<TAB>letters", a letter for each of its senses in
//                 sense-number order: 'i' WordNet's frames for it take no
//                 object, 't' they take one, 'b' some do.
//
// Texts stay UTF-8 here; the builder converts them to Windows-1252.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
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

// Whether a verb takes an object, by WordNet's verb frames.
class VerbFrames {
 public:
  // Adds the lines of the verb-frame file; lines that do not fit the layout
  // are counted in `badLines` and skipped.
  void parse(std::string_view text, std::size_t& badLines);
  // The letter of the lemma's sense (1 is its first), or 0 when unknown.
  // Lemmas are looked up A-Z folded.
  char kind(std::string_view lemma, int sense) const;
  // 'i' when every lemma of the synset whose sense is known is 'i' (and one
  // is), else 0: the synset is used without an object whichever word says it.
  char synsetKind(const WordnetSynset& synset) const;
  // Every sense of the lemma is 'i': WordNet never gives it an object.
  bool onlyIntransitive(std::string_view lemma) const;
  std::size_t size() const { return letters_.size(); }

 private:
  std::unordered_map<std::string, std::string> letters_;  // folded lemma -> letters
};

// The marker of a WordNet sense of part of speech `pos` (n, v, a, r): kb,
// ks, kk; a verb is kki when `verbKind` is 'i', else kkt.
std::string_view wordnetMarker(char pos, char verbKind = 0);

// Lines that do not fit the layout are counted in `badLines` and skipped.
std::vector<WordnetSynset> parseWordnetJoin(std::string_view text, std::size_t& badLines);
std::vector<FunctionWord> parseFunctionWords(std::string_view text, std::size_t& badLines);

// Read a file (a gzip'd one is inflated) and parse it; false with `error`
// set when the file cannot be read.
bool readWordnetJoin(const std::string& path, std::vector<WordnetSynset>& out,
                     std::size_t& badLines, std::string& error);
bool readFunctionWords(const std::string& path, std::vector<FunctionWord>& out,
                       std::size_t& badLines, std::string& error);
bool readVerbFrames(const std::string& path, VerbFrames& out, std::size_t& badLines,
                    std::string& error);

}  // namespace tavro2
