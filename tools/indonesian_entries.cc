#include "tools/indonesian_entries.h"

#include <algorithm>
#include <tuple>
#include <unordered_map>

#include "engine/cp1252.h"
#include "engine/indonesian_affixes.h"
#include "tools/english_entries.h"
#include "tools/text_1252.h"

namespace tavro2 {
namespace {

bool hasCapital(std::string_view word) {
  return std::any_of(word.begin(), word.end(),
                     [](char c) { return isCapital1252(static_cast<unsigned char>(c)); });
}

bool allDigits(std::string_view word) {
  return !word.empty() &&
         std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "vi", "xii": a lower-case Roman numeral, which WordNet lists beside the
// number word ("six, 6, vi").
bool romanNumeral(std::string_view word) {
  return !word.empty() && word.size() <= 5 &&
         std::all_of(word.begin(), word.end(), [](char c) {
           return std::string_view("ivxlcIVXLC").find(c) != std::string_view::npos;
         });
}

// A piece of the entry: one sense (or the English entries' run of words)
// under a marker.
struct Piece {
  std::string marker;
  std::vector<std::string> words;
  std::string gloss;
};

class Arranger {
 public:
  Arranger(bool name, const EnglishChoice& choice) : name_(name), choice_(choice) {}

  // A word the entry may show: not excluded, no name for a common word, not
  // shown already. A number sense keeps its word, not its figures.
  bool usable(const std::string& word, bool numberSense) const {
    if (word.empty() || choice_.excluded(word)) return false;
    if (hasCapital(word) && !name_) return false;
    if (numberSense && (allDigits(word) || romanNumeral(word))) return false;
    return std::find(used_.begin(), used_.end(), foldAscii(word)) == used_.end();
  }
  bool common(const std::string& word) const { return choice_.rank(word) < kUncommon; }
  bool shown(const std::string& word) const {
    return std::find(used_.begin(), used_.end(), foldAscii(word)) != used_.end();
  }
  void use(const std::string& word) { used_.push_back(foldAscii(word)); }
  int rank(const std::string& word) const { return choice_.rank(word); }

 private:
  bool name_;
  const EnglishChoice& choice_;
  std::vector<std::string> used_;  // folded
};

// WordNet writes a number's figures among its words ("six, 6, vi").
bool numberSense(const IndonesianSense& s) {
  return std::any_of(s.english.begin(), s.english.end(),
                     [](const std::string& w) { return allDigits(w); });
}

// The words of a sense that the entry may show, commonest first (the
// source's order among equals).
std::vector<std::string> usableWords(const IndonesianSense& s, const Arranger& a) {
  std::vector<std::string> words;
  const bool number = numberSense(s);
  for (const std::string& w : s.english)
    if (a.usable(w, number) && std::none_of(words.begin(), words.end(), [&](const std::string& x) {
          return equalsFolded(x, w);
        }))
      words.push_back(w);
  std::stable_sort(words.begin(), words.end(), [&](const std::string& x, const std::string& y) {
    return a.rank(x) < a.rank(y);
  });
  return words;
}

struct Arranged {
  std::vector<Piece> pieces;  // in the order to show
};

Arranged arrange(std::string_view word, const std::vector<IndonesianSense>& senses, bool name,
                 const EnglishChoice& choice, const IndonesianLimits& limits, bool phrase) {
  Arranger a(name, choice);
  Arranged out;

  // The list's senses, as written.
  for (const IndonesianSense& s : senses) {
    if (s.source != IndonesianSource::kSpoken || (s.name && !name)) continue;
    Piece p{s.marker, {}, phrase ? std::string() : s.gloss};
    for (const std::string& w : s.english)
      if (!w.empty() && !a.shown(w)) {
        p.words.push_back(w);
        a.use(w);
      }
    if (!p.words.empty()) out.pieces.push_back(std::move(p));
  }
  const bool curated = !out.pieces.empty();

  // The English entries' words: strong pairs first, then by how common.
  std::vector<const IndonesianSense*> pairs;
  for (const IndonesianSense& s : senses)
    if (s.source == IndonesianSource::kEnglishEntry) pairs.push_back(&s);
  const auto bucket = [](int strength) {
    return strength < kStrongPair ? 0 : strength < kFairPair ? 1 : 2;
  };
  const auto key = [&](const IndonesianSense* s) {
    const int r = s->english.empty() ? kUncommon : a.rank(s->english.front());
    return std::make_tuple(bucket(s->strength), r, s->strength);
  };
  std::stable_sort(pairs.begin(), pairs.end(),
                   [&](const auto* x, const auto* y) { return key(x) < key(y); });
  struct Word {
    const IndonesianSense* sense;
    std::string word;
  };
  std::vector<Word> words;
  // The English entries name what they translate: a name there (March:
  // maret, Turkey: Turki) is one, however the sources write the word.
  for (const IndonesianSense* s : pairs)
    for (const std::string& w : s->english)
      if ((a.usable(w, false) || (!a.shown(w) && !choice.excluded(w))) &&
          std::none_of(words.begin(), words.end(),
                       [&](const Word& x) { return equalsFolded(x.word, w); }))
        words.push_back({s, w});
  // A weak pair only where there is no better one; a rare word only where
  // there is no common one.
  const bool strong = std::any_of(words.begin(), words.end(),
                                  [&](const Word& x) { return bucket(x.sense->strength) < 2; });
  const bool anyCommon =
      curated || std::any_of(words.begin(), words.end(), [&](const Word& x) {
        return a.common(x.word) && (!strong || bucket(x.sense->strength) < 2);
      });
  std::erase_if(words, [&](const Word& x) {
    return (strong && bucket(x.sense->strength) == 2) || (anyCommon && !a.common(x.word));
  });
  // An inflected form beside its base says nothing more (have: has, had).
  std::erase_if(words, [&](const Word& x) {
    for (const InflectionBase& b : inflectionBases(foldAscii(x.word)))
      if (a.shown(b.base) || std::any_of(words.begin(), words.end(), [&](const Word& y) {
            return equalsFolded(y.word, b.base);
          }))
        return true;
    return false;
  });
  const std::size_t most = phrase ? limits.phraseWords : limits.entryWords;
  if (words.size() > most) words.resize(most);
  // The words of one marker make one piece, at the place of the first.
  const std::size_t firstPiece = out.pieces.size();
  for (const Word& w : words) {
    a.use(w.word);
    auto p = std::find_if(out.pieces.begin() + static_cast<std::ptrdiff_t>(firstPiece),
                          out.pieces.end(), [&](const Piece& x) { return x.marker == w.sense->marker; });
    if (p == out.pieces.end()) p = out.pieces.insert(out.pieces.end(), {w.sense->marker, {}, {}});
    p->words.push_back(w.word);
  }

  // WordNet's senses that the word really has.
  std::vector<const IndonesianSense*> wordnet;
  for (const IndonesianSense& s : senses)
    if (s.source == IndonesianSource::kWordnet && (name || !s.name)) wordnet.push_back(&s);
  const auto spelt = [&](const IndonesianSense* s) {
    return std::none_of(s->english.begin(), s->english.end(),
                        [&](const std::string& w) { return equalsFolded(w, word); });
  };
  std::stable_sort(wordnet.begin(), wordnet.end(), [&](const auto* x, const auto* y) {
    return std::make_tuple(-x->count, spelt(x), -x->tags, x->sense) <
           std::make_tuple(-y->count, spelt(y), -y->tags, y->sense);
  });
  std::size_t taken = 0;
  std::vector<std::pair<std::string, std::size_t>> perPart;
  const IndonesianSense* fallback = nullptr;
  std::size_t shownWords = 0;
  for (const Piece& p : out.pieces) shownWords += p.words.size();
  for (const IndonesianSense* s : wordnet) {
    if (taken == limits.wordnetSenses) break;
    if (phrase && shownWords >= limits.phraseWords) break;
    // A sense that holds a vulgar or archaic word is that word's sense.
    if (std::any_of(s->english.begin(), s->english.end(),
                    [&](const std::string& w) { return choice.excluded(w); }))
      continue;
    // The words that stand for the sense, commonest first; the sense is one
    // the entry shows already when the commonest of them is shown.
    const bool number = numberSense(*s);
    std::vector<std::string> central;
    for (std::size_t k = 0; k < s->english.size(); ++k) {
      const std::string& w = s->english[k];
      const int n = k < s->lemmaSenses.size() ? s->lemmaSenses[k] : 0;
      if (!w.empty() && n <= kCentralSense && (name || !hasCapital(w)) &&
          !(number && (allDigits(w) || romanNumeral(w))) && a.common(w) &&
          std::none_of(central.begin(), central.end(),
                       [&](const std::string& x) { return equalsFolded(x, w); }))
        central.push_back(w);
    }
    std::stable_sort(central.begin(), central.end(),
                     [&](const auto& x, const auto& y) { return a.rank(x) < a.rank(y); });
    // The fallback: the first sense with a word to show, a counted or
    // leading member before a tail one.
    if ((!fallback || (fallback->membership == Membership::kTail &&
                       s->membership != Membership::kTail)) &&
        !usableWords(*s, a).empty())
      fallback = s;
    if (central.empty() || a.shown(central.front())) continue;
    // A sense of a word Wordnet Bahasa never counts stands on its place in
    // the sense alone: only for an entry that has little else.
    if (s->membership == Membership::kTail ||
        (s->membership == Membership::kFirstFew && shownWords >= 2))
      continue;
    std::erase_if(central, [&](const std::string& w) { return !a.usable(w, number); });
    // kkt and kki are one part of speech.
    const std::string partKey = partOfMarker(s->marker) ? std::string(1, partOfMarker(s->marker))
                                                        : s->marker;
    auto part = std::find_if(perPart.begin(), perPart.end(),
                             [&](const auto& x) { return x.first == partKey; });
    if (part == perPart.end()) part = perPart.insert(perPart.end(), {partKey, 0});
    if (part->second == limits.wordnetPerPart) continue;
    ++part->second;
    ++taken;
    const std::size_t most = phrase ? std::min(limits.wordsPerSense, limits.phraseWords - shownWords)
                                    : limits.wordsPerSense;
    if (central.size() > most) central.resize(most);
    for (const std::string& w : central) a.use(w);
    shownWords += central.size();
    out.pieces.push_back({s->marker, std::move(central), phrase ? std::string() : s->gloss});
  }
  // An entry with nothing else shows the best sense it has, rare words and
  // all: a word of the sources is still found.
  if (out.pieces.empty() && fallback) {
    std::vector<std::string> chosen = usableWords(*fallback, a);
    if (chosen.size() > 2) chosen.resize(2);
    out.pieces.push_back({fallback->marker, std::move(chosen), phrase ? std::string() : fallback->gloss});
  }
  return out;
}

}  // namespace

std::string indonesianEntryText(std::string_view word, const std::vector<IndonesianSense>& senses,
                                bool name, const EnglishChoice& choice,
                                const IndonesianLimits& limits) {
  const Arranged arranged = arrange(word, senses, name, choice, limits, false);
  // Pieces of one marker gather in one group, at the place of its first.
  std::vector<std::pair<std::string, std::vector<std::string>>> groups;
  for (const Piece& p : arranged.pieces) {
    auto g = std::find_if(groups.begin(), groups.end(),
                          [&](const auto& x) { return x.first == p.marker; });
    if (g == groups.end()) g = groups.insert(groups.end(), {p.marker, {}});
    std::string text = join(p.words, ", ");
    if (!p.gloss.empty()) text += " (" + p.gloss + ")";
    g->second.push_back(std::move(text));
  }
  std::vector<std::string> parts;
  for (const auto& [marker, texts] : groups) {
    const std::string body = join(texts, "; ");
    parts.push_back(marker.empty() ? body : marker + " " + body);
  }
  return join(parts, "; ");
}

std::string phraseEntryText(std::string_view phrase, const std::vector<IndonesianSense>& senses,
                            bool name, const EnglishChoice& choice,
                            const IndonesianLimits& limits) {
  std::vector<std::string> words;
  for (const Piece& p : arrange(phrase, senses, name, choice, limits, true).pieces)
    for (const std::string& w : p.words) {
      if (words.size() == limits.phraseWords) break;
      words.push_back(w);
    }
  return join(words, ", ");
}

namespace {

// `form` is `root` with a prefix or suffix that leaves the root's letters as
// they are (ditunggu, bertemu, jualan).
bool plainDerivation(std::string_view form, std::string_view root) {
  static constexpr std::string_view kPrefixes[] = {"", "di", "ter", "ber", "ke", "se", "per", "diper"};
  static constexpr std::string_view kSuffixes[] = {"", "kan", "an", "i", "nya", "kannya", "annya"};
  for (std::string_view p : kPrefixes)
    for (std::string_view x : kSuffixes)
      if ((!p.empty() || !x.empty()) && form.size() == p.size() + root.size() + x.size() &&
          form.starts_with(p) && form.ends_with(x) && form.substr(p.size(), root.size()) == root)
        return true;
  return false;
}

bool isVowel(char c) { return std::string_view("aeiou").find(c) != std::string_view::npos; }

// Shaped like an Indonesian root: two syllables or more, no cluster at the
// end but "ng", none at the start but the common ones ("rnyit", "ramb" and
// "khit" are pieces of words, not roots).
bool rootShaped(std::string_view root) {
  int syllables = 0;
  for (std::size_t i = 0; i < root.size(); ++i)
    if (isVowel(root[i]) && (i == 0 || !isVowel(root[i - 1]))) ++syllables;
  if (syllables < 2) return false;
  const std::string_view end = root.substr(root.size() - 2);
  if (!isVowel(end[0]) && !isVowel(end[1]) && end != "ng") return false;
  const std::string_view start = root.substr(0, 2);
  static constexpr std::string_view kClusters[] = {"ng", "ny", "kh", "sy", "tr", "pr", "kr", "gr",
                                                   "br", "dr", "bl", "kl", "pl", "fl", "sl", "st",
                                                   "sp", "sk", "sw"};
  return isVowel(start[0]) || isVowel(start[1]) ||
         std::find(std::begin(kClusters), std::end(kClusters), start) != std::end(kClusters);
}

// The first one or two items of an entry's text: "kkt wait, await (...); ..."
// gives "wait, await".
std::string firstItems(std::string_view text) {
  text = text.substr(0, text.find(';'));
  text = text.substr(0, text.find(" ("));
  for (std::string_view m : {"kb ", "kkt ", "kki ", "ks ", "kk ", "kd ", "ksam "})
    if (text.starts_with(m)) {
      text.remove_prefix(m.size());
      break;
    }
  std::vector<std::string> items;
  while (!text.empty() && items.size() < 2) {
    const std::size_t comma = text.find(", ");
    items.emplace_back(text.substr(0, comma));
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 2);
  }
  return join(items, ", ");
}

}  // namespace

std::vector<IndonesianText> rootEntries(const std::vector<IndonesianText>& entries,
                                        const std::function<int(std::string_view)>& rank) {
  constexpr std::size_t kMinRoot = 4, kFormsShown = 4;
  std::unordered_map<std::string, std::size_t> headwords;
  for (std::size_t i = 0; i < entries.size(); ++i) headwords.emplace(entries[i].headword, i);
  struct Forms {
    std::vector<std::size_t> forms;
    bool plain = false;
  };
  std::unordered_map<std::string, Forms> roots;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string& word = entries[i].headword;
    const std::vector<std::string> candidates = indonesianRootCandidates(word);
    // A form whose root is a headword is explained: it says nothing of
    // its other candidates (berdamai is damai, not "dama").
    if (std::any_of(candidates.begin(), candidates.end(),
                    [&](const std::string& c) { return headwords.contains(c); }))
      continue;
    for (const std::string& root : candidates) {
      if (root.size() < kMinRoot || !rootShaped(root)) continue;
      Forms& f = roots[root];
      if (std::find(f.forms.begin(), f.forms.end(), i) == f.forms.end()) f.forms.push_back(i);
      if (plainDerivation(word, root)) f.plain = true;
    }
  }
  std::vector<IndonesianText> out;
  for (auto& [root, f] : roots) {
    if (!f.plain || f.forms.size() < 2) continue;
    std::stable_sort(f.forms.begin(), f.forms.end(), [&](std::size_t a, std::size_t b) {
      return std::make_pair(rank(entries[a].headword), entries[a].headword) <
             std::make_pair(rank(entries[b].headword), entries[b].headword);
    });
    std::vector<std::string> parts;
    for (std::size_t i : f.forms) {
      if (parts.size() == kFormsShown) break;
      const std::string first = firstItems(entries[i].text);
      if (!first.empty()) parts.push_back(entries[i].headword + ": " + first);
    }
    if (parts.size() >= 2) out.push_back({root, "root of " + join(parts, "; ")});
  }
  return out;
}

}  // namespace tavro2
