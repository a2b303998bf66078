// Query cleaning and the base-form candidates of an inflected English word.
//
// Texts are Windows-1252 bytes. The only case folding is A-Z to a-z, and
// "letter" means isLetter1252, so accented letters survive FilterLetters and
// keep their case through Lower.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavro2 {

// Removes leading and trailing bytes of code 32 or less (space and controls).
std::string trim(std::string_view text);
std::string_view trimView(std::string_view text);

// A-Z to a-z; every other byte unchanged.
std::string lower(std::string_view text);

// Keeps, in order, the spaces, the letters, and a hyphen or apostrophe
// standing between two letters (mother-in-law, laki-laki, don't; the 1252
// right single quote 0x92 is kept as '); drops everything else (digits,
// other punctuation, tabs, line breaks): "-can't!" gives "can't", "a--b"
// gives "ab". No trimming. Stops once more than `limit` bytes are kept.
std::string filterLetters(std::string_view text, std::size_t limit = std::string_view::npos);

// The base-form candidates of `word`, in the order FindBaseForm tries them:
// the ten ending rules in order, each rule's candidates in its own order.
// Several rules may apply to one word, so a candidate may repeat; an empty
// word gives none. Rule 4's doubled-letter test is false for words shorter
// than four characters, so it never looks before the start of the word.
std::vector<std::string> baseFormCandidates(std::string_view word);

}  // namespace tavro2
