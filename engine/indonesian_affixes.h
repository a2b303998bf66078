// Indonesian affix rules: the roots an affixed Indonesian word may come from
// (keluarkan -> keluar, terhubung -> hubung, tampilan -> tampil, mematikan
// -> mati), for the forms that the Indonesian Hunspell dictionary does not
// analyse. A rough rule set: its candidates are only tried through the
// lookup, so a wrong one costs a lookup and is never shown.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavro2 {

// At most this many candidates per word, the likeliest first, so that a
// miss stays a bounded number of lookups.
inline constexpr std::size_t kMaxAffixCandidates = 8;

// The root candidates of a lower-case a-z word: particles (-lah, -kah,
// -pun), possessives (-nya, -ku, -mu) and suffixes (-kan, -an, -i) taken
// off, the longest stripping first, each then also without its prefix
// (di-, ke-, se-, ter-, ber-, be-, per-, and me-/pe- with their nasal
// forms, whose first root letter is restored: menulis -> tulis, memakai ->
// pakai, menyapu -> sapu, mengirim -> kirim). Roots have three letters or
// more; never the word itself; no repeats. Empty for any other word.
std::vector<std::string> indonesianRootCandidates(std::string_view word);

}  // namespace tavro2
