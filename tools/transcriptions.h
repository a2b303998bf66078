// The transcriptions of the English headwords: dataipa.dat.
//
// Every headword of dataen.dat gets FreeDict's transcription when FreeDict
// gives one ("house //haʊs// //hʌʊs// <n>": haʊs), and espeak-ng's (American
// English) otherwise, when the builder was made with libespeak-ng. The file
// has the data files' layout (see engine/dictionary_store.h): block 1 the
// headwords in UTF-8, sorted by their bytes; block 2 their transcriptions,
// IPA without slashes, line for line; CR LF after every line. A headword with
// neither source is left out.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "tools/dictd_reader.h"

namespace tavro2 {

// The transcriptions of a FreeDict entry, in its order: the phonemic ones
// ("/.../" or "//...//") without the slashes, or with `phonetic` the
// phonetic ones ("/[...]/") without slashes and brackets.
std::vector<std::string> freeDictTranscriptions(const std::vector<std::string>& pronunciations,
                                                bool phonetic = false);

// Of a headword's transcriptions, the one nearest `reference` (the fewest
// edits once stress marks, syllable dots, brackets and blanks are left
// out), the first of equals; the first when there is no reference. FreeDict
// lists a word's accents in no particular order ("the": ðeː ði ðə ...), and
// espeak-ng's American English picks the one a learner expects.
std::string nearestTranscription(const std::vector<std::string>& variants,
                                 std::string_view reference);

// espeak-ng's IPA of a text (its clauses joined by spaces) as a learner
// reads it: the stress marks stay, moved by placeStressMarks; pause marks
// ("_", "_:"), language switches ("(fr)"), hyphens and runs of blanks go.
std::string cleanEspeakIpa(std::string_view ipa);

// Each word's stress marks moved from before the stressed vowel, where
// espeak-ng writes them, to the start of the syllable, where dictionaries
// do (ɪɡzˈæmpəl -> ɪɡˈzæmpəl); a word of one syllable loses them (haʊs).
std::string placeStressMarks(std::string_view ipa);

// A headword (UTF-8) to its IPA, or the empty text.
using Transcriber = std::function<std::string(std::string_view utf8)>;

// espeak-ng's American English voice, cleaned by cleanEspeakIpa. An empty
// function when the builder was made without libespeak-ng or its data
// cannot be loaded.
Transcriber espeakTranscriber();

struct Transcriptions {
  std::string headwords;       // UTF-8, sorted by bytes, CR LF after each
  std::string transcriptions;  // line for line
  std::vector<bool> freeDict;  // line for line: FreeDict's (else fill's)
  std::size_t fromFreeDict = 0;
  std::size_t fromEspeak = 0;
  std::size_t count() const { return fromFreeDict + fromEspeak; }
};

// The transcriptions of the headwords of `englishHeadwords` (dataen.dat's
// block 1: Windows-1252, CR LF). FreeDict's entries are keyed as the
// builder keys them (A-Z folded, a suffix with its hyphen), and a headword
// takes, in this order:
//   - the phonemic transcriptions of its first entry that has some, the one
//     nearest `fill`'s (nearestTranscription); an entry written as a name
//     ("Nice", "Polish") counts only when no source writes the word in lower
//     case (`lowerCase`, folded 1252; FreeDict's own entries count too);
//   - `fill`'s, when set (espeakTranscriber);
//   - FreeDict's phonetic ones the same way (narrow: "ˈkʰʌɫpɹɪt", "m˦˩˦").
// A headword with none is left out.
Transcriptions buildTranscriptions(const std::vector<DictdEntry>& entries,
                                   std::string_view englishHeadwords,
                                   const std::unordered_set<std::string>& lowerCase,
                                   const Transcriber& fill);

// How many of the first `top` words of a frequency list (UTF-8, a word a
// line, the commonest first) that are English headwords have a
// transcription, and from which source; then the headwords without one.
std::string transcriptionReport(const Transcriptions& t, std::string_view englishHeadwords,
                                std::string_view frequencyList, std::size_t top);

// Writes dataipa.dat (through a temporary file and a rename).
bool writeTranscriptionFile(const std::string& path, const Transcriptions& t, double dataDate,
                            int level);

}  // namespace tavro2
