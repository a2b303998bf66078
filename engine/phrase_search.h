// Phrase search: the phrases in which a query occurs as a whole word.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/dictionary_store.h"
#include "engine/user_list.h"
#include "engine/word_list.h"

namespace tavro2 {

// One item pair of the phrase list: the phrase in the query's language first,
// then its translation.
using PhrasePair = std::pair<std::string, std::string>;

// Appends to `out` the user phrases (file order) and then the dictionary
// phrases (store order) in which `query` occurs as a whole word
// (PosWholeWord > 0). On the Indonesian side the Indonesian text is searched
// and comes first in a pair; on the English side the English translation is
// searched and comes first. A user line's Indonesian text is its word
// (EntryWord) and its English text FindTranslation of that word. Returns
// true when anything was appended. Callers pass a non-empty query (the
// lookup asks from two characters on, a related text is never empty); an
// empty one appends nothing.
bool collectPhrases(std::string_view query, bool indonesianSide, const UserList& userPhrases,
                    const DictionaryStore& store, std::vector<PhrasePair>& out);

}  // namespace tavro2
