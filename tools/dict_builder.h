// Builds the three dictionary data files from a dictd English-Indonesian
// dictionary (FreeDict's eng-ind is the default content of Tavro2).
//
//   dataen.dat  one entry per English headword, in the source's order; the
//               text leads each part of speech with its marker and gives each
//               sense's translations, then its English glosses in brackets:
//                 kkt menjalankan (to be in charge of; to make a machine
//                 operate); berlari (to move quickly); kb ...
//   dataid.dat  every one-word Indonesian translation, alphabetical, with the
//               English headwords it translates grouped under their markers:
//                 kb house, home; kkt dwell
//   datapr.dat  every Indonesian translation of several words, alphabetical,
//               with the English headwords it translates: hari ini -> today
//
// Every text is Windows-1252. A character that 1252 lacks becomes its
// closest plain letters (č -> c, ŋ -> ng, ₂ -> 2); a term holding one with no
// such stand-in is left out. Headwords are lower case (A-Z only, as every
// query is), one line each, and never hold "=". Lines end in CR LF.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/dictd_reader.h"
#include "tools/extra_sources.h"

namespace tavro2 {

// NRV2E level of the default build. The best level compresses the packaged
// source in under two seconds (level 5 takes a quarter of that for files 3%
// larger), and decoding speed does not depend on the level.
inline constexpr int kDictionaryLevel = 10;

// Two parallel texts, CR LF after every line, and their line count.
struct DataTexts {
  std::string headwords;
  std::string translations;
  std::size_t count = 0;
};

struct BuiltDictionary {
  DataTexts english;     // dataen.dat
  DataTexts indonesian;  // dataid.dat
  DataTexts phrases;     // datapr.dat
  std::size_t droppedTerms = 0;    // terms or glosses with no 1252 form
  std::size_t skippedEntries = 0;  // source entries left without a headword or translation
};

// UTF-8 to Windows-1252 with the stand-ins described above; runs of white
// space (control characters included) become one space, and the ends are
// trimmed. Nothing when a character has no stand-in or the UTF-8 is bad.
std::optional<std::string> plainText1252(std::string_view utf8);

// Marker of a FreeDict part of speech ("n" -> "kb"), or empty.
std::string_view markerOf(std::string_view partOfSpeech);

// The terms of a translation line: split at commas outside brackets, wiki
// links "[[target|shown]]" reduced to their shown text, empty terms dropped.
// "Washington, D.C." stays one term.
std::vector<std::string> splitTranslations(std::string_view line);

// The key by which dataid.dat and datapr.dat are sorted: A-Z folded and
// accented 1252 letters read as their plain letter; ties go by bytes.
std::string sortKey1252(std::string_view text);

// What the WordNet join adds to one entry at most: senses per part of
// speech, Indonesian words per sense, characters of a gloss.
inline constexpr std::size_t kWordnetSensesPerPart = 4;
inline constexpr std::size_t kWordnetWordsPerSense = 3;
inline constexpr std::size_t kGlossLength = 60;
// English headwords that the WordNet join adds to one Indonesian word at most.
inline constexpr std::size_t kWordnetEnglishPerWord = 12;

struct ExtraSources {
  std::vector<WordnetSynset> wordnet;
  std::vector<FunctionWord> functionWords;
};

// Builds the three files' texts from FreeDict's entries in the source's
// order, merged with the other sources. An English entry gives FreeDict's
// senses first, then the function-word list's (for these words WordNet
// knows mostly rare readings: "at" astatine, "may" the month), then
// WordNet's (most frequent first, grouped by part of speech, the parts in
// the order of their most frequent sense); a function-word or WordNet sense
// keeps only the Indonesian words the entry lacks and is left out when none
// remain. Each source's text follows the text of those before it whole, its
// senses grouped by part of speech, so a marker may recur.
// Headwords that only the other sources give are merged into FreeDict's
// order. Every Indonesian word of an entry is inverted into dataid.dat or,
// when it has several words, datapr.dat; of the English headwords WordNet
// adds to an Indonesian word, those whose most frequent senses hold it are
// kept.
BuiltDictionary buildDictionary(const std::vector<DictdEntry>& entries,
                                const ExtraSources& extra = {});

struct DictdSource {
  std::vector<DictdEntry> entries;      // in index order, header entries excluded
  std::optional<EditionDate> edition;   // from the header entries
  std::size_t badIndexLines = 0;        // unreadable or pointing outside the .dict
};

// Reads a dictd .index and its .dict or .dict.dz.
bool readDictdSource(const std::string& indexPath, const std::string& dictPath,
                     DictdSource& source, std::string& error);

// Writes dataen.dat, dataid.dat and datapr.dat into `dir` (each through a
// temporary file and a rename).
bool writeDictionaryFiles(const std::string& dir, const BuiltDictionary& dict, double dataDate,
                          int level, std::string& error);

}  // namespace tavro2
