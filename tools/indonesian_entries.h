// The text of an Indonesian entry (dataid.dat) or phrase (datapr.dat) of the
// default dictionary, from the senses that the sources give the word. An
// entry reads by sense, the everyday one first:
//
//   - the spoken-word list's senses first, as the list writes them, each with
//     its note in brackets ("nggak kk no, not (informal for tidak)");
//   - then the English headwords whose entries show the word (FreeDict's and
//     the English word lists'): those whose entry opens with it first, then
//     by how common the English word is; a weak pair (the word only in a late
//     sense of the English entry) only when there is no strong one;
//   - then the WordNet senses the word really has: the word must be one of
//     the sense's common Indonesian words (Wordnet Bahasa counts it there,
//     or, for a word it never counts, it is among the first the join lists),
//     ordered by that count, then a sense that English spells as the word
//     itself (genus, film), then by WordNet's tag counts; each sense shows at
//     most three English words, the common ones first, and a short gloss,
//     and a sense whose commonest English word the entry already shows is the
//     same sense again and is left out.
//
// Each marker is one group (a verb's kkt and kki two), the groups in the
// order of their first item. No English word twice; excluded English words
// (vulgar, archaic, slang) never; English names only when the Indonesian word
// is written as a name itself (Jerman: Germany, not aku: Maine); rare English
// words only where the entry has no common one. A phrase shows a few English
// words, without markers or glosses.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavro2 {

enum class IndonesianSource : unsigned char { kSpoken, kEnglishEntry, kWordnet };

// How a word belongs to a WordNet sense: Wordnet Bahasa counts it there;
// it never counts the word anywhere and the word is among the first few of
// the sense; or it is one of the sense's tail.
enum class Membership : unsigned char { kCounted, kFirstFew, kTail };

struct IndonesianSense {
  IndonesianSource source = IndonesianSource::kEnglishEntry;
  std::string marker;                // "kb", "kkt", ... or empty
  std::vector<std::string> english;  // 1252, in the source's order
  std::string gloss;                 // the list's note or WordNet's short gloss
  bool name = false;                 // the source writes the Indonesian word as a name
  // kEnglishEntry: where the English entry shows the word; 0 is the first
  // word of its first sense (see kStrongPair).
  int strength = 0;
  // kWordnet only:
  std::vector<int> lemmaSenses;  // each English word's sense number for this sense
  int count = 0;                 // Wordnet Bahasa's count of the word in this sense
  int tags = 0;                  // WordNet's corpus tags of the sense, most over its lemmas
  int sense = 0;                 // the lowest sense number of its lemmas
  Membership membership = Membership::kCounted;
};

// An English word stands for a WordNet sense when the sense is among its
// first few: "touch" is no translation of the sense "partake, touch" (its
// 14th), however common "touch" is.
inline constexpr int kCentralSense = 3;

// A pair whose strength is below this comes from the English entry's first
// sense; below kFairPair, from its first three.
inline constexpr int kStrongPair = 8;
inline constexpr int kFairPair = 24;

// What the arrangement asks of the builder about English words.
struct EnglishChoice {
  std::function<int(std::string_view word)> rank;  // lower is commoner; kUncommon: not common
  std::function<bool(std::string_view word)> excluded;
};
inline constexpr int kUncommon = 1 << 30;

struct IndonesianLimits {
  std::size_t entryWords = 5;      // English headwords from the English entries
  std::size_t wordnetSenses = 3;   // WordNet senses in all
  std::size_t wordnetPerPart = 2;  // WordNet senses in one part of speech
  std::size_t wordsPerSense = 3;   // English words of one WordNet sense
  std::size_t phraseWords = 4;     // English words of a phrase
};

// The translation text of a word's entry; empty when no sense has a word to
// show. `name`: no source writes the Indonesian word in lower case; for a
// word that some source does, the senses that write it as a name are left
// out (lima: five, not the capital of Peru) and so are English names.
std::string indonesianEntryText(std::string_view word, const std::vector<IndonesianSense>& senses,
                                bool name, const EnglishChoice& choice,
                                const IndonesianLimits& limits = {});

// The English side of a phrase: a few words, the best first, ", " between.
std::string phraseEntryText(std::string_view phrase, const std::vector<IndonesianSense>& senses,
                            bool name, const EnglishChoice& choice,
                            const IndonesianLimits& limits = {});

// An Indonesian word and its entry's translation text.
struct IndonesianText {
  std::string headword;
  std::string text;
};

// Entries for the roots that are no headword of `entries` but whose derived
// forms are: "tunggu" lists menunggu and ditunggu with their first
// translations ("root of menunggu: wait, await; ditunggu: awaited"). A root
// needs two derived headwords, one of them made without changing the root's
// letters (di-, ter-, ber-, ke-, se-, per- and -kan, -an, -i), and four
// letters or more. `rank` orders the forms (lower is commoner). The result
// is in no particular order.
std::vector<IndonesianText> rootEntries(const std::vector<IndonesianText>& entries,
                                        const std::function<int(std::string_view)>& rank);

}  // namespace tavro2
