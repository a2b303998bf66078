#include "tools/english_entries.h"

#include <algorithm>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "engine/irregular_forms.h"
#include "tools/text_1252.h"
#include "tools/word_usage.h"

namespace tavro2 {

namespace {

// What WordNet's senses add to one entry at most: senses per part of
// speech and Indonesian words per sense.
constexpr std::size_t kWordnetSensesPerPart = 4;
constexpr std::size_t kWordnetWordsPerSense = 3;
// The place of a FreeDict sense that no WordNet sense confirms: after them.
constexpr int kUnmatched = 1000;

int partIndex(char part) {
  const std::size_t at = kTagParts.find(part);
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

// FreeDict's senses take the number of the WordNet sense of the same part of
// speech that shares their most telling words: a word that many of the
// lemma's senses hold ("rumah" for house) tells less than one only a single
// sense holds ("wangsa"). 0 when no WordNet sense shares a word.
int matchedSense(const EnglishSense& sense, const std::vector<const EnglishSense*>& wordnet,
                 const TermKey& key) {
  std::unordered_map<std::string, int> spread;  // key -> how many senses hold it
  std::vector<std::unordered_set<std::string>> keys(wordnet.size());
  for (std::size_t i = 0; i < wordnet.size(); ++i) {
    for (const std::string& t : wordnet[i]->terms) keys[i].insert(key(t));
    for (const std::string& k : keys[i]) ++spread[k];
  }
  double best = 0;
  int bestSense = 0;
  for (std::size_t i = 0; i < wordnet.size(); ++i) {
    double score = 0;
    for (const std::string& t : sense.terms) {
      const std::string k = key(t);
      if (keys[i].contains(k)) score += 1.0 / spread[k];
    }
    const int number = wordnet[i]->sense;
    if (score > best || (score > 0 && score == best && number < bestSense)) {
      best = score;
      bestSense = number;
    }
  }
  return bestSense;
}

}  // namespace

char partOfMarker(std::string_view marker) {
  if (marker == "kb") return 'n';
  if (marker == "kkt" || marker == "kki") return 'v';
  if (marker == "ks") return 'a';
  if (marker == "kk") return 'r';
  return 0;
}

void markVerbSenses(std::vector<EnglishSense>& senses, bool intransitive, const TermKey& key) {
  std::vector<const EnglishSense*> wordnet;
  for (const EnglishSense& w : senses)
    if (w.source == SenseSource::kWordnet && partOfMarker(w.marker) == 'v') wordnet.push_back(&w);
  for (EnglishSense& s : senses) {
    if (s.source != SenseSource::kFreeDict || partOfMarker(s.marker) != 'v') continue;
    const int matched = matchedSense(s, wordnet, key);
    const auto w = std::find_if(wordnet.begin(), wordnet.end(), [&](const EnglishSense* x) {
      return matched && x->sense == matched;
    });
    if (w != wordnet.end()) {
      s.marker = (*w)->marker;
    } else if (intransitive) {
      s.marker = "kki";
    }
  }
}

namespace {

// A sense's place in its part of speech: the word lists' first, then by
// WordNet's sense number; a FreeDict sense takes the number of the WordNet
// sense it matches, and one that no WordNet sense confirms follows them all.
int placeOf(const EnglishSense& s, std::size_t index, const std::vector<EnglishSense>& senses,
            const TermKey& key) {
  switch (s.source) {
    case SenseSource::kFunctionWord: return -2;
    case SenseSource::kEveryday: return -1;
    case SenseSource::kWordnet: return s.sense;
    case SenseSource::kFreeDict: break;
  }
  const char part = partOfMarker(s.marker);
  std::vector<const EnglishSense*> wordnet;
  for (const EnglishSense& w : senses)
    if (part && w.source == SenseSource::kWordnet && partOfMarker(w.marker) == part)
      wordnet.push_back(&w);
  const int matched = matchedSense(s, wordnet, key);
  return matched ? matched : kUnmatched + static_cast<int>(index);
}

// A sense's terms with their ranks, in the order to show them. Words in
// alphabetical order (FreeDict's first groups) say nothing of which is
// common: the frequency list orders them. Otherwise the source's order
// stands (the builder has ordered WordNet's) with the rare words last; the
// word lists' are taken as written.
std::vector<std::pair<int, std::string>> rankedTerms(const EnglishSense& s, const TermRank& rank) {
  const bool curated = s.source == SenseSource::kFunctionWord || s.source == SenseSource::kEveryday;
  std::vector<std::pair<int, std::string>> ranked;
  for (const std::string& t : s.terms) ranked.emplace_back(curated ? 0 : rank(t), t);
  const bool alphabetical =
      s.source == SenseSource::kFreeDict &&
      std::is_sorted(s.terms.begin(), s.terms.end(), [](const std::string& a, const std::string& b) {
        return sortKey1252(a) < sortKey1252(b);
      });
  std::stable_sort(ranked.begin(), ranked.end(), [&](const auto& a, const auto& b) {
    if (alphabetical) return a.first < b.first;
    return a.first < kRareTerm && b.first >= kRareTerm;
  });
  return ranked;
}

ArrangedEntry arrange(const std::vector<EnglishSense>& senses, const std::array<int, 4>& tags,
                      const TermJudge& judge, bool strict) {
  const TermKey& key = judge.key;
  // The groups: the function words' markers, the closed-class markers, then
  // the parts of speech by use; each kind in the order the sources gave it,
  // and the groups of one part of speech (kkt, kki) by their first sense.
  using Place = std::array<int, 3>;
  struct Group {
    std::string marker;
    std::array<int, 3> order;  // kind, use, the first group of its part
    Place first;               // the place of its first sense
    std::vector<std::pair<Place, const EnglishSense*>> senses;
  };
  std::vector<Group> groups;
  auto groupOf = [&](const EnglishSense& s) -> Group& {
    for (Group& g : groups)
      if (g.marker == s.marker) return g;
    const char part = partOfMarker(s.marker);
    const int kind = s.source == SenseSource::kFunctionWord ? 0 : part ? 2 : 1;
    // The function-word list's groups keep its order (about: tentang first).
    const int tagged = part && kind ? tags[static_cast<std::size_t>(partIndex(part))] : 0;
    int at = static_cast<int>(groups.size());  // where its part's first group was made
    for (const Group& g : groups)
      if (kind == 2 && g.order[0] == 2 && partOfMarker(g.marker) == part)
        at = std::min(at, g.order[2]);
    groups.push_back({s.marker, {kind, -tagged, at}, {}, {}});
    return groups.back();
  };
  for (const EnglishSense& s : senses)
    if (s.source == SenseSource::kFunctionWord) groupOf(s);

  const bool known = std::any_of(senses.begin(), senses.end(), [](const EnglishSense& s) {
    return s.source != SenseSource::kWordnet;
  });
  std::vector<const EnglishSense*> untagged;
  for (std::size_t i = 0; i < senses.size(); ++i) {
    const EnglishSense& s = senses[i];
    // A word the other sources know gets only the senses that WordNet's
    // corpus attests: the rare ones ("can", the buttocks; "out" in cricket)
    // would crowd out what it is looked up for.
    if (known && s.source == SenseSource::kWordnet && s.tags == 0) {
      // Its first sense's words (the joss stick's "colok") are still found
      // on the Indonesian side, as they were before they were left out here.
      if (s.sense == 1) untagged.push_back(&s);
      continue;
    }
    const int fromWordnet = s.source == SenseSource::kWordnet ? 1 : 0;
    groupOf(s).senses.push_back({{placeOf(s, i, senses, key), fromWordnet, static_cast<int>(i)}, &s});
  }
  const auto byPlace = [](const auto& a, const auto& b) { return a.first < b.first; };
  for (Group& g : groups)
    if (!g.senses.empty())
      g.first = std::min_element(g.senses.begin(), g.senses.end(), byPlace)->first;
  std::stable_sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) {
    return std::tie(a.order, a.first) < std::tie(b.order, b.first);
  });

  // The parts of speech the other sources give: there WordNet's words must
  // be confirmed; in the others (implement, a verb FreeDict lacks) they
  // need only not be contradicted.
  std::string covered;
  for (const EnglishSense& s : senses)
    if (s.source != SenseSource::kWordnet) covered += partOfMarker(s.marker);
  const auto confirmNeeded = [&](const EnglishSense& s) {
    return covered.find(partOfMarker(s.marker)) != std::string::npos;
  };
  std::unordered_set<std::string> given;
  ArrangedEntry arranged;
  for (const EnglishSense* s : untagged) arranged.unshown.push_back({s, {}, s->terms});
  for (Group& g : groups) {
    std::stable_sort(g.senses.begin(), g.senses.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    ShownGroup out{g.marker, {}};
    std::size_t wordnetShown = 0;
    for (const auto& [unused, s] : g.senses) {
      const bool wordnet = s->source == SenseSource::kWordnet;
      if (wordnet && wordnetShown == kWordnetSensesPerPart) continue;
      const std::vector<std::pair<int, std::string>> ranked = rankedTerms(*s, judge.rank);
      const bool hasCommon = !ranked.empty() && ranked.front().first < kRareTerm;
      std::vector<std::string> terms, hidden;
      for (const auto& [r, t] : ranked) {
        if (given.contains(key(t))) continue;
        const Pairing pairing = wordnet ? judge.confirmed(*s, t) : Pairing::kConfirmed;
        // A word another source gives for other English words only is
        // wrong here (Wordnet Bahasa's "aku" for Maine): neither shown nor
        // inverted, unless nothing else is left of the entry.
        if (strict && pairing == Pairing::kContradicted) continue;
        const bool hide = (hasCommon && r >= kRareTerm) ||
                          (wordnet && terms.size() == kWordnetWordsPerSense) ||
                          (wordnet && pairing != Pairing::kConfirmed && confirmNeeded(*s));
        if (!hide) given.insert(key(t));
        (hide ? hidden : terms).push_back(t);
      }
      if (terms.empty()) {
        if (!hidden.empty()) arranged.unshown.push_back({s, {}, std::move(hidden)});
        continue;
      }
      if (wordnet) ++wordnetShown;
      out.senses.push_back({s, std::move(terms), std::move(hidden)});
    }
    if (!out.senses.empty()) arranged.groups.push_back(std::move(out));
  }
  return arranged;
}

}  // namespace

ArrangedEntry arrangeEntry(const std::vector<EnglishSense>& senses,
                           const std::array<int, 4>& tags, const TermJudge& judge) {
  ArrangedEntry arranged = arrange(senses, tags, judge, true);
  // A word only WordNet gives keeps its words rather than its entry; a name
  // (Pine Tree State: aku, saya) does not.
  const bool word = std::any_of(senses.begin(), senses.end(), [](const EnglishSense& s) {
    return std::none_of(s.display.begin(), s.display.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
  });
  if (arranged.groups.empty() && word) arranged = arrange(senses, tags, judge, false);
  return arranged;
}

std::string renderEntry(const std::vector<ShownGroup>& groups, std::string_view lead) {
  std::string text(lead);
  for (std::size_t g = 0; g < groups.size(); ++g) {
    if (g) text += "; ";
    if (!groups[g].marker.empty()) text += groups[g].marker + " ";
    for (std::size_t i = 0; i < groups[g].senses.size(); ++i) {
      const ShownSense& s = groups[g].senses[i];
      if (i) text += "; ";
      text += join(s.terms, ", ");
      if (!s.sense->gloss.empty()) text += " (" + s.sense->gloss + ")";
    }
  }
  return text;
}

std::vector<InflectionBase> inflectionBases(std::string_view word) {
  std::vector<InflectionBase> out;
  auto add = [&](std::string base, char part) {
    if (base.size() < 2 || base == word) return;
    for (const InflectionBase& b : out)
      if (b.base == base && b.part == part) return;
    out.push_back({std::move(base), part});
  };
  for (const std::string& base : irregularBaseForms(word)) add(base, 0);
  // WordNet's detachment rules, and a doubled last consonant for verbs and
  // adjectives (stopped, running, bigger).
  struct Rule {
    char part;
    std::string_view ending, replacement;
  };
  static constexpr Rule kRules[] = {
      {'n', "s", ""},    {'n', "ses", "s"}, {'n', "xes", "x"}, {'n', "zes", "z"},
      {'n', "ches", "ch"}, {'n', "shes", "sh"}, {'n', "men", "man"}, {'n', "ies", "y"},
      {'v', "s", ""},    {'v', "ies", "y"}, {'v', "es", "e"},  {'v', "es", ""},
      {'v', "ed", "e"},  {'v', "ed", ""},   {'v', "ing", "e"}, {'v', "ing", ""},
      {'a', "er", ""},   {'a', "est", ""},  {'a', "er", "e"},  {'a', "est", "e"},
      {'a', "ier", "y"}, {'a', "iest", "y"},
  };
  for (const Rule& r : kRules) {
    if (word.size() <= r.ending.size() || !word.ends_with(r.ending)) continue;
    const std::string_view stem = word.substr(0, word.size() - r.ending.size());
    add(std::string(stem) + std::string(r.replacement), r.part);
    const bool doubled = r.replacement.empty() && r.part != 'n' && stem.size() >= 3 &&
                         stem.back() == stem[stem.size() - 2] &&
                         std::string_view("aeiouy").find(stem.back()) == std::string_view::npos;
    if (doubled) add(std::string(stem.substr(0, stem.size() - 1)), r.part);
  }
  return out;
}

std::string inflectionLead(
    std::string_view headword,
    const std::function<const std::vector<ShownGroup>*(const std::string&)>& groupsOf,
    const std::function<std::array<int, 4>(const std::string&)>& tagsOf) {
  // A base's tags count all its forms: a verb's four (go, goes, went,
  // gone, going share them), a noun's and an adverb's two, an adjective's three.
  static constexpr int kForms[] = {2, 4, 3, 2};
  const std::array<int, 4> own = tagsOf(std::string(headword));
  int ownTotal = 0;
  for (int t : own) ownTotal += t;
  for (const InflectionBase& b : inflectionBases(headword)) {
    const std::vector<ShownGroup>* groups = groupsOf(b.base);
    if (!groups) continue;
    const std::array<int, 4> tags = tagsOf(b.base);
    char part = b.part;
    if (!part) {  // the exception lists: the base's most used part that it has a group of
      int most = 0;
      for (const ShownGroup& g : *groups) {
        const char p = partOfMarker(g.marker);
        if (p && tags[static_cast<std::size_t>(partIndex(p))] > most) {
          most = tags[static_cast<std::size_t>(partIndex(p))];
          part = p;
        }
      }
      if (!part) continue;
    }
    const int index = partIndex(part);
    const int used = tags[static_cast<std::size_t>(index)];
    int baseTotal = 0;
    for (int t : tags) baseTotal += t;
    // "goods" is no form of good's rare noun, "glasses" may be of glass's.
    if (used == 0 || used / kForms[index] <= ownTotal || 3 * used < baseTotal) continue;
    for (const ShownGroup& g : *groups) {
      if (partOfMarker(g.marker) != part || g.senses.empty()) continue;
      std::vector<std::string> terms = g.senses.front().terms;
      if (terms.size() > 3) terms.resize(3);
      return "form of " + b.base + ": " + g.marker + " " + join(terms, ", ") + "; ";
    }
  }
  return {};
}

}  // namespace tavro2
