// The list shown while the user types: the headwords that begin with the
// text typed so far, the commonest first.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/dictionary_store.h"
#include "engine/lookup_state.h"
#include "engine/word_ranks.h"

namespace tavro2 {

// At most this many: a screenful of the main word list.
inline constexpr std::size_t kTypingListSize = 20;

// The headwords of the sides `direction` searches (English first) that
// begin with `prefix` (A-Z folded, as typed after trimming): the word
// itself first, then by how common it is, shorter words before longer ones
// among the rest, then alphabetically; at most `most`. A word both sides
// hold is listed once, as the English side's. Empty for an empty prefix.
// Reads only the lists the store has published.
std::vector<HeadwordEntry> typingMatches(const DictionaryStore& store, std::string_view prefix,
                                       Direction direction, const WordRanks& ranks,
                                       std::size_t most = kTypingListSize);

}  // namespace tavro2
