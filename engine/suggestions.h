// "Did you mean": the headwords nearest a query that was not found
// (hous -> house, recieve -> receive, rumha -> rumah, terimakasih -> terima
// kasih).
//
// The search reads the headword lists as they are, with no index: a pass
// over the 74,000 headwords of both sides costs a few milliseconds, since
// most fail on their length or within the first rows of the distance table.
// Hunspell's suggestions are asked only when no headword is near enough, as
// they take 5-30 ms a word. Every function here is safe from any thread
// while the store is loaded or loading (it reads only published lists).
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "engine/dictionary_store.h"
#include "engine/lookup_state.h"
#include "engine/typing_list.h"
#include "engine/word_ranks.h"

namespace tavro2 {

class Stemmer;

// At most this many suggestions.
inline constexpr std::size_t kMaxSuggestions = 8;
// A longer query is no misspelt word: it gets no suggestions.
inline constexpr std::size_t kMaxSuggestionQuery = 40;

// The optimal string alignment distance of `a` and `b` with A-Z folded:
// an insertion, a deletion, a substitution or a swap of two neighbouring
// bytes each count 1. Returns limit + 1 as soon as the distance is known to
// be over `limit`.
int editDistance(std::string_view a, std::string_view b, int limit);

// The most edits a suggestion may be from a query of `length` bytes: 1 up
// to four letters (more would make anything of them), 2 from five on.
int suggestionDistance(std::size_t length);

// The dictionary's headwords of the sides `direction` searches (on the
// Indonesian side the phrase collection's too) within suggestionDistance of
// `query` (cleaned and lowered): nearest first, then those that begin with
// the query's first letter, then the commonest (`ranks`), then nearest in
// length, then alphabetically; at most `most`, a word both sides hold once
// (the English side's). When none is that near, Hunspell's suggestions
// (from `stemmer`, when not null) that are headwords, ranked the same way.
// Empty for an empty query or one longer than kMaxSuggestionQuery.
std::vector<HeadwordEntry> suggestHeadwords(const DictionaryStore& store, std::string_view query,
                                            Direction direction, const WordRanks& ranks,
                                            Stemmer* stemmer, std::size_t most = kMaxSuggestions);

}  // namespace tavro2
