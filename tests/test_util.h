// Shared test helpers: a scratch directory per test and fixture data files
// made with the data-file writer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/word_list.h"

namespace tavro2::test {

// A fresh directory under the system's temporary directory, removed (with
// its contents) when the object goes. path() ends with '/'.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(std::string_view name) const { return path_ + std::string(name); }

 private:
  std::string path_;
};

void writeFile(const std::string& path, std::string_view bytes);
std::string readFile(const std::string& path);  // empty when missing
bool fileExists(const std::string& path);

// Lines joined with CR LF after every line.
std::string crlfJoin(const std::vector<std::string>& lines);

// Writes a data file of the given entries (CR LF after every line) dated 1 January 2009.
void writeEntries(const std::string& path, const std::vector<std::string>& headwords,
                   const std::vector<std::string>& translations);

// The three data files of a dictionary, written into `dir` (ending '/') by
// writeEntries under their lower-case names.
struct DictionaryTexts {
  std::vector<std::string> english, englishTranslations;
  std::vector<std::string> indonesian, indonesianTranslations;
  std::vector<std::string> phrases, phraseTranslations;
};
void writeDictionary(const std::string& dir, const DictionaryTexts& texts);

// A list's lines; a text's lines by the program's own line rules (splitLines).
std::vector<std::string> lines(const WordList& list);
std::vector<std::string> linesOf(std::string text);

// The translation line beside `word` in parallel headword and translation
// texts; "<none>" when no headword line is `word`.
std::string translationOf(const std::string& headwords, const std::string& translations,
                          std::string_view word);

}  // namespace tavro2::test
