// Indonesian affix rules: the roots an affixed Indonesian word may come from
// (keluarkan -> keluar, terhubung -> hubung, tampilan -> tampil, mematikan
// -> mati), for the forms that the Indonesian Hunspell dictionary does not
// analyse. A rough rule set: its candidates are only tried through the
// lookup, so a wrong one costs a lookup. The clitics and the full
// reduplication are exact, and the status line names them (rumahnya is
// rumah + -nya).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavro2 {

// At most this many candidates per word, the likeliest first, so that a
// miss stays a bounded number of lookups.
inline constexpr std::size_t kMaxAffixCandidates = 8;

// The root candidates of a lower-case a-z word: particles (-lah, -kah,
// -pun), possessives (-nya, -ku, -mu) and suffixes (-kan, -an, and -i after
// a verb's prefix) taken off, the longest stripping first, each then also
// without its prefix (di-, ke-, se-, ter-, ber-, be-, per-, and me-/pe- with
// their nasal forms, whose first root letter is restored: menulis -> tulis,
// memakai -> pakai, menyapu -> sapu, mengirim -> kirim, pengodean -> kode).
// Roots have three letters or more; never the word itself; no repeats.
// Empty for any other word.
std::vector<std::string> indonesianRootCandidates(std::string_view word);

// At most this many clitic candidates per word.
inline constexpr std::size_t kMaxCliticCandidates = 2;

// The roots of a lower-case word carrying a clitic, or a full reduplication:
// without the enclitic -nya, -ku or -mu, also once a particle -lah, -kah or
// -pun is off (rumahnya, rumahnyalah -> rumah), or without the proclitic ku-
// or kau- (kubilang -> bilang, kaulihat -> lihat); a reduplication gives its
// half (anak-anak -> anak), after the reduplication without its enclitic
// (teman-temannya -> teman-teman, teman). Roots have three letters or more;
// never the word itself. Empty for any other word.
std::vector<std::string> indonesianCliticRoots(std::string_view word);

// Whether `root`, found for `word` with `rootTranslation` (the root's entry
// after its headword), can be its root: false only for ku- or kau- before a
// root whose entry names no verb (kkt, kki), since the proclitics go with
// verbs and such words are mostly names (kutai is no ku- + tai).
bool indonesianRootFits(std::string_view word, std::string_view root,
                        std::string_view rootTranslation);

// What the status line adds when `word` was found as `root`: the clitics
// taken off with their meanings ("rumah + -nya (his, her, its; the)",
// "ku- (I) + bilang"), or the reduplication, whose meaning follows the first
// part-of-speech marker of `rootTranslation` (the root's entry after its
// headword): "benar, repeated (really, truly; or as an adverb)". Empty when
// `word` is not `root` with clitics or reduplicated.
std::string indonesianFormNote(std::string_view word, std::string_view root,
                               std::string_view rootTranslation);

}  // namespace tavro2
