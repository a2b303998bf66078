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
// Every text is Windows-1252 (plainText1252); a term holding a character
// with no stand-in is left out. Headwords are lower case (A-Z only, as every
// query is), one line each, and never hold "=". Lines end in CR LF.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "tools/dictd_reader.h"
#include "tools/extra_sources.h"
#include "tools/text_1252.h"
#include "tools/word_usage.h"

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
  std::size_t droppedNameSenses = 0;     // WordNet name senses left out of common words
  std::size_t droppedNameHeadwords = 0;  // headwords left with no entry by that
  std::size_t rootEntries = 0;           // Indonesian roots made from their forms
  std::size_t intransitiveEntries = 0;   // English entries showing a kki group
  // Folded English headwords some source writes in lower case: words, not
  // only names (the transcriptions of "Nice" are not those of nice).
  std::unordered_set<std::string> lowerCaseEnglish;
};

// Marker of a FreeDict part of speech ("n" -> "kb"), or empty.
std::string_view markerOf(std::string_view partOfSpeech);

// The terms of a translation line: split at commas outside brackets, wiki
// links "[[target|shown]]" reduced to their shown text, empty terms dropped.
// "Washington, D.C." stays one term.
std::vector<std::string> splitTranslations(std::string_view line);

// Characters of a WordNet gloss at most.
inline constexpr std::size_t kGlossLength = 60;

struct ExtraSources {
  std::vector<WordnetSynset> wordnet;
  // Which verb senses take an object: a WordNet verb sense whose frames take
  // none is kki, and so is a FreeDict verb sense matched with one (or, not
  // matched, of a verb WordNet never gives an object); the others are kkt.
  VerbFrames verbFrames;
  std::vector<FunctionWord> functionWords;  // closed-class senses, shown first
  std::vector<FunctionWord> everydayWords;  // merged into their part of speech
  WordUsage usage;                          // how common words are
  // Folded Indonesian words that count as rare whatever the frequency list
  // says: Malay words that Indonesian uses otherwise or not at all.
  std::unordered_set<std::string> rareWords;
  // Translations a reviewer found wrong for one English word ("teach":
  // belajar is learn): senses of that headword from FreeDict and WordNet
  // drop them.
  std::vector<FunctionWord> wrongSenses;
  // Senses of Indonesian words (spoken forms, particles, function words),
  // "headword | marker | English words | note": each opens its entry.
  std::vector<FunctionWord> spokenWords;
  // Folded English words an Indonesian entry never shows (vulgar, archaic).
  std::unordered_set<std::string> excludedEnglish;
};

// Builds the three files' texts from FreeDict's entries in the source's
// order, merged with the other sources. Each English entry is arranged as
// tools/english_entries.h describes. A WordNet sense written as a name (a
// capital, or a single letter) that its corpus seldom tags is left out when
// its Indonesian only repeats the name or when the headword is a common word
// of either language; FreeDict's names lose the terms that repeat them.
// Headwords that only the other sources give are merged into FreeDict's
// order. Every Indonesian word an English entry shows is inverted into
// dataid.dat or, when it has several words, datapr.dat; of the English
// headwords WordNet adds to an Indonesian word, those whose most frequent
// senses hold it are kept.
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
