// Irregular English forms: the base forms that WordNet 3.0's exception lists
// give for an inflected word (went -> go, children -> child, better -> good,
// well). The table is compiled into the program from the repository's copy
// of the lists (data/irregular/), so nothing is read at run time. WordNet
// also reduces a noun ending in "men" to "man" by rule rather than by list
// (women, gentlemen), and so do we.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavro2 {

// The base forms of `word` (lower-case a-z, spaces, hyphens, apostrophes),
// in the lists' order: verb, noun, adjective, adverb; for a word ending in
// "men" that the lists do not hold, the "man" form. Never the word itself
// and no base twice; empty when neither applies.
std::vector<std::string> irregularBaseForms(std::string_view word);

// What `word` is of `base` by the list that pairs them: "plural", "past
// form", "present form", "-ing form", "comparative", "superlative"; empty
// when no list pairs them.
std::string_view irregularKind(std::string_view word, std::string_view base);

}  // namespace tavro2
