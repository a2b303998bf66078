// The text of an English entry of the default dictionary, from the senses
// that the sources give it. An entry reads as it is used:
//
//   - the function-word list's senses first (for "at", "can", "he" the
//     closed-class reading is the one looked up);
//   - then the parts of speech in the order of the headword's use in
//     WordNet's corpus (tag counts), parts without tags after in the order
//     the sources gave them; a verb used with an object and without one
//     (kkt and kki) has a group for each, the one whose first sense comes
//     first (by the order below) first;
//   - within a part of speech, the everyday-word list's senses, then
//     FreeDict's and WordNet's by WordNet's sense order (a FreeDict sense
//     takes the number of the WordNet sense it shares its rarest words
//     with; one that shares none stays behind the sense before it);
//   - within a sense, the common Indonesian words first; a WordNet sense
//     drops its rare words when it has a common one, and shows three at most;
//     it leaves out the words another source gives for other English words
//     only ("wah" is wow, not easily), and in a part of speech that FreeDict
//     or the word lists give, every word no other source pairs with one of
//     its English words (Wordnet Bahasa gives "tetapi" and "ya" for now; no
//     other source does);
//   - no Indonesian word twice: a later sense keeps only what the entry lacks
//     and is left out when nothing remains.
//
// An entry whose headword is an inflected form of another headword that is
// used more than it (minutes, holding, gone) opens by naming that base and
// the base's first translations: "form of minute: kb menit, saat; ...".
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavro2 {

enum class SenseSource : unsigned char { kFunctionWord, kEveryday, kFreeDict, kWordnet };

struct EnglishSense {
  SenseSource source = SenseSource::kFreeDict;
  std::string marker;              // "kb", "kkt", ... or empty
  std::vector<std::string> terms;  // Indonesian (1252), in the source's order
  std::string gloss;               // shown in brackets after the terms
  std::string display;             // the English headword as this source writes it
  int sense = 0;                   // WordNet: the lemma's sense number in its part of speech
  int tags = 0;                    // WordNet: how often the corpus tags the sense
  std::size_t synset = 0;          // WordNet: the synset's index in the join
};

// How common an Indonesian term is: lower is more common; kRareTerm for a
// word that neither the frequency list nor FreeDict's Indonesian side has.
inline constexpr int kRareTerm = 1 << 30;
using TermRank = std::function<int(std::string_view term)>;
// The key that tells two Indonesian terms apart (folded, bracketed parts out).
using TermKey = std::function<std::string(std::string_view term)>;
// What the other sources say of a WordNet sense's term: they pair it with
// one of the sense's English words (FreeDict gives "melihat" for see), they
// know it only for other words ("wah" for wow, not for easily), or nothing.
enum class Pairing : unsigned char { kConfirmed, kContradicted, kUnknown };
using TermConfirmed = std::function<Pairing(const EnglishSense& sense, std::string_view term)>;

// What the arrangement asks of the builder about Indonesian terms.
struct TermJudge {
  TermRank rank;
  TermKey key;
  TermConfirmed confirmed;
};

struct ShownSense {
  const EnglishSense* sense;
  std::vector<std::string> terms;   // what the entry shows of it
  std::vector<std::string> hidden;  // its other words that the entry lacks (rare, or over the cap)
};

struct ShownGroup {
  std::string marker;
  std::vector<ShownSense> senses;
};

struct ArrangedEntry {
  std::vector<ShownGroup> groups;
  // WordNet senses the entry leaves out for want of a confirmed word; their
  // words still belong on the Indonesian side.
  std::vector<ShownSense> unshown;
};

// The part of speech of a marker ('n', 'v', 'a', 'r'), or 0 for markers of
// closed classes and none.
char partOfMarker(std::string_view marker);

// FreeDict's verb senses take the marker (kkt or kki) of the WordNet verb
// sense they match, as arrangeEntry matches them; one that matches none is
// kki when `intransitive` (WordNet never gives the headword an object) and
// keeps its marker otherwise.
void markVerbSenses(std::vector<EnglishSense>& senses, bool intransitive, const TermKey& key);

// The senses of one entry as it shows them (see above). `tags` are the
// headword's tag counts in kTagParts order.
ArrangedEntry arrangeEntry(const std::vector<EnglishSense>& senses,
                           const std::array<int, 4>& tags, const TermJudge& judge);

// The entry's translation text: each group's marker, then its senses
// ("a, b (gloss)") separated by "; ", after `lead` when there is one.
std::string renderEntry(const std::vector<ShownGroup>& groups, std::string_view lead = {});

// The base forms `word` may be an inflection of, each with the part of
// speech of the inflection ('n' plural, 'v' verb form, 'a' comparison; 0
// when only the exception lists say so): WordNet's exception lists first,
// then its regular endings (minutes -> minute, holding -> hold, stopped ->
// stop). Candidates only: none is checked against a dictionary.
struct InflectionBase {
  std::string base;
  char part = 0;
};
std::vector<InflectionBase> inflectionBases(std::string_view word);

// The lead of an inflected headword's entry ("form of minute: kb menit,
// saat; "), or empty when it has none: the first base (by
// inflectionBases) that has an entry with a sense in the inflection's part
// of speech and that WordNet's corpus uses more than the headword itself,
// counting the base's tags over its forms. `groupsOf` gives a headword's
// arranged entry (null when it has none); `tagsOf` its tag counts.
std::string inflectionLead(
    std::string_view headword,
    const std::function<const std::vector<ShownGroup>*(const std::string&)>& groupsOf,
    const std::function<std::array<int, 4>(const std::string&)>& tagsOf);

}  // namespace tavro2
