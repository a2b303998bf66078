// The base-form stages that follow the ending rules of FindBaseForm: an
// English word with hyphens or apostrophes without them (and the ending
// rules' forms of that), WordNet's irregular English forms, then Hunspell's
// English stems, then the Indonesian clitics and reduplication (rumahnya ->
// rumah, kubilang -> bilang, anak-anak -> anak), then Hunspell's Indonesian
// stems, then the Indonesian affix rules (for the many affixed forms the
// Indonesian Hunspell dictionary does not analyse). They are tried only for
// a word that the lookup and every ending rule left unfound. The Indonesian
// stages give at most kMaxCliticCandidates + kMaxAffixCandidates candidates
// besides Hunspell's, so a miss stays a bounded number of lookups.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/lookup_state.h"

namespace tavro2 {

class Stemmer;

// The candidates of the further stages for `word`, in the order to try
// them: English stages only for "English - Indonesian", Indonesian only for
// "Indonesian - English", both (English first) for "Automatic". Leaves out
// the word itself, `tried` (the ending rules' candidates, baseFormCandidates)
// and repeats. A null stemmer leaves out the Hunspell stages.
std::vector<std::string> furtherBaseFormCandidates(std::string_view word,
                                                   const std::vector<std::string>& tried,
                                                   Direction direction, Stemmer* stemmer);

// Whether a frequency list compiled into the program holds `word` (A-Z
// folded) or a base form the ending rules or WordNet's irregular forms give:
// such a word is nearly always in the data, where a word in no list is the
// likely miss. Reads the lists as they are, building nothing.
bool inCommonUse(std::string_view word);

}  // namespace tavro2
