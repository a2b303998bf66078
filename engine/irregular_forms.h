// Irregular English forms: the base forms that WordNet 3.0's exception lists
// give for an inflected word (went -> go, children -> child, better -> good,
// well). The table is compiled into the program from the repository's copy
// of the lists (data/irregular/), so nothing is read at run time.
#pragma once

#include <string_view>
#include <vector>

namespace tavro2 {

// The base forms of `word` (lower-case a-z, spaces, hyphens, apostrophes),
// in the lists' order: verb, noun, adjective, adverb. Never the word itself
// and no base twice; empty for a word the lists do not hold.
std::vector<std::string_view> IrregularBaseForms(std::string_view word);

}  // namespace tavro2
