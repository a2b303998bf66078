#include "tools/dict_builder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "engine/cp1252.h"
#include "tools/data_writer.h"
#include "tools/english_entries.h"
#include "tools/indonesian_entries.h"

namespace tavro2 {
namespace {

// "D.C." and the like: an abbreviation that belongs to the term before it.
bool isInitials(std::string_view s) {
  if (s.size() < 2 || s.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < s.size(); i += 2)
    if (s[i] < 'A' || s[i] > 'Z' || s[i + 1] != '.') return false;
  return true;
}

std::string_view trimSpaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// The senses the sources give one Indonesian word or phrase.
struct IndonesianLine {
  std::string headword;
  std::vector<IndonesianSense> senses;
  // How the sources other than Wordnet Bahasa write it: in lower case, as
  // a name (FreeDict writes "maret" and "Maret").
  bool lowerCase = false;
  bool asName = false;
  bool name() const { return asName || !lowerCase; }
};

void appendLine(DataTexts& texts, std::string_view headword, std::string_view translation) {
  texts.headwords.append(headword).append("\r\n");
  texts.translations.append(translation).append("\r\n");
  ++texts.count;
}

template <typename Line>
void sortByKey(std::vector<Line>& lines, std::string Line::*field) {
  std::vector<std::pair<std::string, std::size_t>> keys;
  keys.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) keys.emplace_back(sortKey1252(lines[i].*field), i);
  std::sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first < b.first;
    return lines[a.second].*field < lines[b.second].*field;
  });
  std::vector<Line> sorted;
  sorted.reserve(lines.size());
  for (const auto& k : keys) sorted.push_back(std::move(lines[k.second]));
  lines = std::move(sorted);
}

}  // namespace

std::string_view markerOf(std::string_view pos) {
  if (pos == "n" || pos == "pn") return "kb";
  if (pos == "v") return "kkt";
  if (pos == "adj") return "ks";
  if (pos == "adv") return "kk";
  if (pos == "preposition" || pos == "prep") return "kd";
  if (pos == "conjunction" || pos == "conj") return "ksam";
  return {};
}

std::vector<std::string> splitTranslations(std::string_view line) {
  // Wiki links first: "[[a|b]]" shows b, "[[a]]" shows a.
  std::string text;
  for (std::size_t i = 0; i < line.size();) {
    if (line.compare(i, 2, "[[") == 0) {
      const std::size_t close = line.find("]]", i + 2);
      if (close != std::string_view::npos) {
        std::string_view inner = line.substr(i + 2, close - i - 2);
        const std::size_t bar = inner.rfind('|');
        text += bar == std::string_view::npos ? inner : inner.substr(bar + 1);
        i = close + 2;
        continue;
      }
      i += 2;  // an unclosed link mark
      continue;
    }
    if (line.compare(i, 2, "]]") == 0) {
      i += 2;
      continue;
    }
    text += line[i++];
  }
  std::vector<std::string> terms;
  std::string current;
  int depth = 0;
  auto finish = [&] {
    const std::string_view t = trimSpaces(current);
    if (!t.empty()) {
      if (isInitials(t) && !terms.empty()) {
        terms.back() += ", " + std::string(t);
      } else {
        terms.emplace_back(t);
      }
    }
    current.clear();
  };
  for (char c : text) {
    if (c == '(') ++depth;
    if (c == ')' && depth > 0) --depth;
    if (c == ',' && depth == 0) {
      finish();
      continue;
    }
    current += c;
  }
  finish();
  return terms;
}

namespace {

// The order of dictd's index: letters, digits and spaces only, folded.
std::string indexKey(std::string_view headword) {
  std::string key;
  for (char c : sortKey1252(headword))
    if (c == ' ' || static_cast<unsigned char>(c) >= 0x80 || isAlnum1252(static_cast<unsigned char>(c)))
      key += c;
  return key;
}

// A WordNet gloss made short: bracketed asides dropped, then cut at a word
// end with "..." when still long.
std::string shortGloss(std::string_view gloss) {
  std::string text;
  int depth = 0;
  for (char c : gloss) {
    if (c == '(') ++depth;
    if (depth == 0) text += c;
    if (c == ')' && depth > 0) --depth;
  }
  text = collapseSpaces(text);
  while (!text.empty() && (text.back() == ',' || text.back() == ' ')) text.pop_back();
  if (text.size() <= kGlossLength) return text;
  std::size_t cut = text.rfind(' ', kGlossLength - 3);
  if (cut == std::string::npos || cut == 0) cut = kGlossLength - 3;
  text.resize(cut);
  while (!text.empty() && (text.back() == ',' || text.back() == ' ' || text.back() == ';'))
    text.pop_back();
  return text + "...";
}

// A WordNet lemma written as a name: a capital anywhere (names, acronyms,
// chemical symbols), or a single letter.
bool looksLikeName(std::string_view lemma) {
  if (lemma.size() == 1) return true;
  return std::any_of(lemma.begin(), lemma.end(),
                     [](char c) { return isCapital1252(static_cast<unsigned char>(c)); });
}

bool hasCapital(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// Letters and digits only, folded: "Sana'a" repeats "sanaa".
std::string bareKey(std::string_view text) {
  std::string key;
  for (char c : foldAscii(text))
    if (isAlnum1252(static_cast<unsigned char>(c))) key += c;
  return key;
}

// A term that only repeats a name, whole or in part: "Goldsboro" for
// Goldsboro, "Bertram Brockhouse" for Brockhouse.
bool repeatsName(std::string_view term, const std::string& nameKey) {
  const std::string key = bareKey(term);
  if (key.empty() || nameKey.empty()) return false;
  return key.find(nameKey) != std::string::npos ||
         (key.size() >= 3 && nameKey.find(key) != std::string::npos);
}

// An affix's translation is an affix too: the suffix "-ic" is "-is", which
// must not pose as the word "is".
std::string affix(const std::string& term, std::string_view partOfSpeech) {
  if (term.find(' ') != std::string::npos || term.find('-') != std::string::npos) return term;
  if (partOfSpeech == "suffix") return "-" + term;
  if (partOfSpeech == "prefix") return term + "-";
  return term;
}

bool isAcronym(std::string_view text) {
  return std::none_of(text.begin(), text.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// A name sense that WordNet's corpus tags this often is a word in its own
// right (God, March, May) and keeps its place.
constexpr int kNameTags = 3;

class Builder {
 public:
  explicit Builder(const ExtraSources& extra) : extra_(extra) {}

  BuiltDictionary built;

  void learnWords(const std::vector<DictdEntry>& entries);
  void addFreeDict(const std::vector<DictdEntry>& entries);
  void addWordnet(const std::vector<WordnetSynset>& synsets);
  void addWordList(const std::vector<FunctionWord>& words, SenseSource source);
  void addSpokenWords(const std::vector<FunctionWord>& words);
  void finish();
  const std::unordered_set<std::string>& lowerCaseEnglish() const { return lowerCaseEnglish_; }

 private:
  struct Line {
    std::string headword;
    std::vector<EnglishSense> senses;
  };
  // An Indonesian word's counts summed over the join, and its synsets.
  using WordCounts = std::unordered_map<std::string, std::pair<long, int>>;

  void addWordnetSenses(const WordnetSynset& synset, const std::vector<std::string>& words,
                        const std::vector<int>& counts, const std::string& gloss,
                        const WordCounts& common);

  // An Indonesian term's folded form, for telling whether an entry has it.
  static std::string givenKey(std::string_view term) {
    const std::string head = indonesianHeadword(term);
    return head.empty() ? foldAscii(term) : head;
  }

  Line& lineFor(const std::string& key) {
    auto [it, fresh] = englishAt_.try_emplace(key, english_.size());
    if (fresh) english_.push_back({key, {}});
    return english_[it->second];
  }

  // How common a term is (see TermRank). Without a frequency list every
  // term counts as common.
  int termRank(std::string_view term) const {
    if (!extra_.usage.hasIndonesianRanks()) return 0;
    const std::string key = givenKey(term);
    if (extra_.rareWords.contains(key)) return kRareTerm;  // whatever the source
    const int rank = extra_.usage.indonesianRank(key);
    if (rank != WordUsage::kUnranked) return rank;
    return freeDictIndonesian_.contains(key) ? kRareTerm - 1 : kRareTerm;
  }

  // A common word of either language: an Indonesian word some source writes
  // in lower case, or a common English word some source writes so.
  bool commonWord(const std::string& folded) const {
    return lowerCaseIndonesian_.contains(folded) ||
           (extra_.usage.commonEnglish(folded) && lowerCaseEnglish_.contains(folded));
  }

  // The line of an Indonesian term in dataid.dat or datapr.dat, made when
  // new; null when the term makes no headword. Wordnet Bahasa writes names
  // in lower case too ("januari"), so only the other sources tell a word
  // written in lower case.
  IndonesianLine* indonesianLine(const std::string& term, bool fromWordnet = false) {
    const std::string head = indonesianHeadword(term);
    if (head.empty()) return nullptr;
    auto [it, fresh] = indonesianAt_.try_emplace(head, indonesian_.size());
    if (fresh) indonesian_.push_back({head, {}, false});
    IndonesianLine& line = indonesian_[it->second];
    if (!fromWordnet) (writtenAsName(term) ? line.asName : line.lowerCase) = true;
    return &line;
  }
  static bool writtenAsName(std::string_view term) { return hasCapital(term.substr(0, 1)); }

  // "wells" is the plural of well before it is H. G. Wells.
  bool inflectsCommonWord(const std::string& folded) const {
    for (const InflectionBase& b : inflectionBases(folded))
      if (commonWord(b.base)) return true;
    return false;
  }

  bool wrongFor(const std::string& englishKey, std::string_view term) const {
    return wrongPairs_.contains(givenKey(term) + '\t' + englishKey);
  }

  // A headword in 1252, or nothing (counted) when it has no usable form.
  std::optional<std::string> headwordOf(std::string_view utf8) {
    const auto shown = plainText1252(utf8);
    if (!shown) ++built.droppedTerms;
    if (!shown || shown->empty() || shown->find('=') != std::string::npos) return std::nullopt;
    return shown;
  }

  const ExtraSources& extra_;
  std::vector<Line> english_;
  std::unordered_map<std::string, std::size_t> englishAt_;
  std::size_t freeDictLines_ = 0;
  std::unordered_set<std::string> freeDictIndonesian_;  // givenKey of FreeDict's terms
  std::unordered_set<std::string> lowerCaseIndonesian_;  // written in lower case by some source
  // "term<TAB>english" for every pair FreeDict and the word lists give.
  std::unordered_set<std::string> pairs_;
  std::unordered_set<std::string> pairedTerms_;  // the terms of those pairs
  std::unordered_set<std::string> wrongPairs_;   // "term<TAB>english" a reviewer struck
  std::vector<std::vector<std::string>> synsetLemmas_;  // folded, by the join's index
  std::unordered_set<std::string> lowerCaseEnglish_;
  std::unordered_set<std::string> namesLeftOut_;        // headwords that lost a name sense
  std::vector<IndonesianLine> indonesian_;  // words and phrases, in no order
  std::unordered_map<std::string, std::size_t> indonesianAt_;
};

// The words every source knows, before any entry is made: a name must not
// take the place of a common word of either language, whichever source
// gives that word.
void Builder::learnWords(const std::vector<DictdEntry>& entries) {
  // `english` is the folded headword that a source pairs the term with.
  auto learn = [&](std::string_view utf8, const std::string& english, bool fromFreeDict) {
    const auto term = plainText1252(utf8);
    if (!term || term->empty()) return;
    const std::string key = givenKey(*term);
    if (!hasCapital(*term)) lowerCaseIndonesian_.insert(key);
    if (fromFreeDict) freeDictIndonesian_.insert(key);
    if (english.empty()) return;
    pairs_.insert(key + '\t' + english);
    pairedTerms_.insert(key);
  };
  for (const DictdEntry& entry : entries) {
    const auto head = plainText1252(entry.headword);
    const std::string english = head ? foldAscii(*head) : std::string();
    if (head && *head == english) lowerCaseEnglish_.insert(*head);
    for (const DictdSense& sense : entry.senses)
      for (const std::string& raw : splitTranslations(sense.translations))
        learn(raw, english, true);
  }
  for (const auto* list : {&extra_.functionWords, &extra_.everydayWords})
    for (const FunctionWord& w : *list) {
      const auto head = plainText1252(w.headword);
      const std::string english = head ? foldAscii(*head) : std::string();
      if (head) lowerCaseEnglish_.insert(english);
      for (const std::string& raw : w.terms) learn(raw, english, false);
    }
  for (const FunctionWord& w : extra_.wrongSenses) {
    const auto head = plainText1252(w.headword);
    for (const std::string& raw : w.terms)
      if (const auto term = plainText1252(raw); head && term)
        wrongPairs_.insert(givenKey(*term) + '\t' + foldAscii(*head));
  }
  for (const WordnetSynset& s : extra_.wordnet) {
    for (const WordnetWord& w : s.indonesian) learn(w.word, {}, false);
    for (const WordnetLemma& l : s.english)
      if (!looksLikeName(l.lemma) || l.lemma.size() == 1) lowerCaseEnglish_.insert(l.lemma);
  }
}

void Builder::addFreeDict(const std::vector<DictdEntry>& entries) {
  for (const DictdEntry& entry : entries) {
    const auto shown = plainText1252(entry.headword);
    if (!shown || shown->empty() || shown->find('=') != std::string::npos) {
      if (!shown) ++built.droppedTerms;
      ++built.skippedEntries;
      continue;
    }
    // The source drops the hyphen of suffixes ("ation"); a suffix is shown,
    // and found, as "-ation" so that it does not pose as the word "ation".
    const std::string display = entry.partOfSpeech == "suffix" && shown->front() != '-'
                                    ? "-" + *shown
                                    : *shown;
    const std::string_view marker = markerOf(entry.partOfSpeech);
    const bool name = entry.partOfSpeech == "pn";
    // An acronym that spells a common word ("US" for us) is no entry of
    // that word; a name (China, Turkey) joins the word's entry.
    if (display.size() > 1 && isAcronym(display) && commonWord(foldAscii(display))) {
      namesLeftOut_.insert(foldAscii(display));
      ++built.skippedEntries;
      continue;
    }

    std::vector<EnglishSense> senses;
    for (const DictdSense& sense : entry.senses) {
      EnglishSense s{SenseSource::kFreeDict, std::string(marker), {}, {}, display};
      for (const std::string& raw : splitTranslations(sense.translations)) {
        const auto term = plainText1252(raw);
        if (!term) {
          ++built.droppedTerms;
          continue;
        }
        // A name whose Indonesian is the same name translates nothing.
        if (term->empty() || (name && bareKey(*term) == bareKey(display)) ||
            wrongFor(foldAscii(display), *term))
          continue;
        addUnique(s.terms, affix(*term, entry.partOfSpeech));
      }
      if (s.terms.empty()) continue;  // a gloss alone translates nothing
      // A common word's sense given only in capitals is a name or an
      // acronym (sound: Øresund, us: AS).
      if (!name && !hasCapital(display) &&
          std::all_of(s.terms.begin(), s.terms.end(), [](const std::string& t) {
            return looksLikeName(t.substr(0, 1)) && t.substr(0, 1) != foldAscii(t.substr(0, 1));
          }))
        continue;
      std::vector<std::string> glosses;
      for (const std::string& raw : sense.glosses) {
        const auto gloss = plainText1252(raw);
        if (!gloss) {
          ++built.droppedTerms;
          continue;
        }
        if (!gloss->empty()) addUnique(glosses, *gloss);
      }
      s.gloss = join(glosses, "; ");
      senses.push_back(std::move(s));
    }
    if (senses.empty()) {
      ++built.skippedEntries;
      continue;
    }
    Line& line = lineFor(foldAscii(display));
    for (EnglishSense& s : senses) line.senses.push_back(std::move(s));
  }
  freeDictLines_ = english_.size();
}

void Builder::addWordnet(const std::vector<WordnetSynset>& synsets) {
  // Each synset's Indonesian words in 1252, with their counts in it, their
  // counts summed over the join and how many synsets list them.
  std::vector<std::vector<std::string>> words(synsets.size());
  std::vector<std::vector<int>> counts(synsets.size());
  std::vector<std::string> glosses(synsets.size());
  WordCounts common;
  for (std::size_t i = 0; i < synsets.size(); ++i) {
    for (const WordnetWord& w : synsets[i].indonesian) {
      const auto term = plainText1252(w.word);
      if (!term) ++built.droppedTerms;
      // A word holding the marks that separate senses and glosses
      // ("York, Inggris") would read as several.
      if (!term || term->empty() || term->find_first_of(",;()") != std::string::npos ||
          std::find(words[i].begin(), words[i].end(), *term) != words[i].end())
        continue;
      words[i].push_back(*term);
      counts[i].push_back(w.count);
      auto& c = common[givenKey(*term)];
      c.first += w.count;
      ++c.second;
    }
    const auto gloss = plainText1252(synsets[i].gloss);
    if (gloss) glosses[i] = shortGloss(*gloss);
    else ++built.droppedTerms;
  }
  // A synset's words: those Wordnet Bahasa counts in it first, then those
  // of the frequency list, then the rest; within each, by their counts over
  // the join, then by the frequency list.
  for (std::size_t i = 0; i < synsets.size(); ++i) {
    std::vector<std::size_t> order(words[i].size());
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
    const auto rank = [&](std::size_t k) {
      const auto& c = common[givenKey(words[i][k])];
      const int listed = termRank(words[i][k]);
      return std::make_tuple(-counts[i][k], listed >= kRareTerm - 1, -c.first, listed);
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return rank(a) < rank(b); });
    std::vector<std::string> sorted;
    std::vector<int> sortedCounts;
    for (std::size_t k : order) {
      sorted.push_back(std::move(words[i][k]));
      sortedCounts.push_back(counts[i][k]);
    }
    words[i] = std::move(sorted);
    counts[i] = std::move(sortedCounts);
  }

  // The headwords WordNet adds are merged into FreeDict's order at the end,
  // so the order they come in here does not matter.
  synsetLemmas_.assign(synsets.size(), {});
  for (std::size_t i = 0; i < synsets.size(); ++i) {
    // An Indonesian term that spells one of the synset's abbreviations ("ME"
    // or "Me" for Maine, "X" for ten) is no translation.
    std::vector<std::string> nameKeys, acronyms;
    for (const WordnetLemma& l : synsets[i].english) {
      const auto shown = plainText1252(l.lemma);
      if (!shown) continue;
      if (looksLikeName(*shown)) nameKeys.push_back(bareKey(*shown));
      // An abbreviation confirms nothing: "ME" is no "me".
      if (isAcronym(*shown)) acronyms.push_back(foldAscii(*shown));
      else synsetLemmas_[i].push_back(foldAscii(*shown));
    }
    const std::size_t before = words[i].size();
    std::erase_if(words[i], [&](const std::string& t) {
      return std::find(acronyms.begin(), acronyms.end(), foldAscii(t)) != acronyms.end();
    });
    if (before && words[i].empty())  // only spelt its abbreviation: a name left out
      for (const WordnetLemma& l : synsets[i].english)
        if (const auto shown = plainText1252(l.lemma); shown && looksLikeName(*shown)) {
          namesLeftOut_.insert(foldAscii(*shown));
          ++built.droppedNameSenses;
        }
    // A place or person whose Indonesian only repeats one of its names
    // (Iowa for IA, Hawkeye State and Iowa) is translated by none of them.
    const bool untranslated =
        !nameKeys.empty() && std::all_of(words[i].begin(), words[i].end(), [&](const std::string& t) {
          return std::any_of(nameKeys.begin(), nameKeys.end(),
                             [&](const std::string& k) { return repeatsName(t, k); });
        });
    if (words[i].empty()) continue;
    addWordnetSenses(synsets[i], words[i], counts[i], glosses[i], common);
    for (const WordnetLemma& l : synsets[i].english) {
      const auto shown = headwordOf(l.lemma);
      if (!shown) continue;
      const std::string key = foldAscii(*shown);
      const bool name = looksLikeName(*shown);
      // A name that is a word of its own in the frequency lists (Indiana,
      // Arthur, NJ) is looked up as itself: it keeps its entry even when its
      // Indonesian is the same name. Other names whose Indonesian only
      // repeats them are left out (Goldsboro).
      const bool wellKnown = name && extra_.usage.commonEnglish(key) && !commonWord(key) &&
                             !inflectsCommonWord(key);
      if (untranslated && name && !wellKnown && l.tags < kNameTags) {
        namesLeftOut_.insert(key);
        ++built.droppedNameSenses;
        continue;
      }
      std::vector<std::string> terms = words[i];
      // An Indonesian word that repeats a name ("Goldsboro", "KAMI" for
      // kami) is no translation of it, nor is an acronym that spells a
      // common word ("DIA" for the Defense Intelligence Agency).
      std::erase_if(terms, [&](const std::string& t) {
        return wrongFor(key, t) ||
               (!wellKnown && name && repeatsName(t, bareKey(*shown))) ||
               (!wellKnown && hasCapital(t) && bareKey(t) == bareKey(*shown)) ||
               (name && hasCapital(t) && lowerCaseIndonesian_.contains(foldAscii(t)));
      });
      // Names, acronyms, symbols and letters do not stand for a common word
      // of either language: "he" is no helium, "dia" no intelligence agency.
      if (name && l.tags < kNameTags && (terms.empty() || commonWord(key))) {
        namesLeftOut_.insert(key);
        ++built.droppedNameSenses;
        continue;
      }
      if (terms.empty()) continue;
      const char kind = synsets[i].pos == 'v' ? extra_.verbFrames.kind(key, l.sense) : 0;
      lineFor(key).senses.push_back({SenseSource::kWordnet,
                                     std::string(wordnetMarker(synsets[i].pos, kind)),
                                     std::move(terms), glosses[i], *shown, l.sense, l.tags, i});
    }
  }
}

// The synset as a sense of each of its Indonesian words. A word is one of
// the synset's common words when Wordnet Bahasa counts it there; a word it
// never counts anywhere, when it is among the synset's first few.
void Builder::addWordnetSenses(const WordnetSynset& synset, const std::vector<std::string>& words,
                               const std::vector<int>& counts, const std::string& gloss,
                               const WordCounts& common) {
  constexpr std::size_t kFirstFew = 3;
  IndonesianSense sense;
  sense.source = IndonesianSource::kWordnet;
  sense.marker = wordnetMarker(synset.pos, extra_.verbFrames.synsetKind(synset));
  sense.gloss = gloss;
  sense.sense = std::numeric_limits<int>::max();
  std::vector<std::string> keys;
  for (const WordnetLemma& l : synset.english) {
    const auto shown = plainText1252(l.lemma);
    if (!shown || shown->empty()) continue;
    sense.english.push_back(*shown);
    sense.lemmaSenses.push_back(l.sense);
    keys.push_back(foldAscii(*shown));
    sense.tags = std::max(sense.tags, l.tags);
    sense.sense = std::min(sense.sense, l.sense);
  }
  for (std::size_t k = 0; k < words.size(); ++k) {
    IndonesianLine* line = indonesianLine(words[k], true);
    if (!line) continue;
    IndonesianSense own = sense;
    own.count = counts[k];
    const auto c = common.find(givenKey(words[k]));
    const bool counted = c != common.end() && c->second.first > 0;
    own.membership = counts[k] > 0 ? Membership::kCounted
                     : !counted && k < kFirstFew ? Membership::kFirstFew
                                                 : Membership::kTail;
    own.name = writtenAsName(words[k]);
    // A pair a reviewer struck stays out here too.
    for (std::size_t e = own.english.size(); e-- > 0;)
      if (wrongFor(keys[e], words[k])) {
        const auto at = static_cast<std::ptrdiff_t>(e);
        own.english.erase(own.english.begin() + at);
        own.lemmaSenses.erase(own.lemmaSenses.begin() + at);
      }
    if (!own.english.empty()) line->senses.push_back(std::move(own));
  }
}

void Builder::addSpokenWords(const std::vector<FunctionWord>& words) {
  for (const FunctionWord& w : words) {
    const auto head = plainText1252(w.headword);
    if (!head) ++built.droppedTerms;
    if (!head || head->empty()) continue;
    IndonesianSense s;
    s.source = IndonesianSource::kSpoken;
    s.marker = w.marker;
    for (const std::string& raw : w.terms) {
      const auto term = plainText1252(raw);
      if (!term) ++built.droppedTerms;
      if (term && !term->empty()) addUnique(s.english, *term);
    }
    if (const auto note = plainText1252(w.gloss)) s.gloss = *note;
    if (s.english.empty()) continue;
    s.name = writtenAsName(*head);
    if (IndonesianLine* line = indonesianLine(*head)) line->senses.push_back(std::move(s));
  }
}

void Builder::addWordList(const std::vector<FunctionWord>& words, SenseSource source) {
  for (const FunctionWord& w : words) {
    const auto shown = headwordOf(w.headword);
    if (!shown) continue;
    EnglishSense s{source, w.marker, {}, {}, *shown};
    for (const std::string& raw : w.terms) {
      const auto term = plainText1252(raw);
      if (!term) ++built.droppedTerms;
      if (term && !term->empty()) addUnique(s.terms, *term);
    }
    if (const auto gloss = plainText1252(w.gloss)) s.gloss = *gloss;
    if (!s.terms.empty()) lineFor(foldAscii(*shown)).senses.push_back(std::move(s));
  }
}

void Builder::finish() {
  const TermJudge judge{
      [this](std::string_view t) { return termRank(t); },
      [](std::string_view t) { return givenKey(t); },
      [this](const EnglishSense& sense, std::string_view t) {
        const std::string term = givenKey(t);
        for (const std::string& lemma : synsetLemmas_[sense.synset])
          if (pairs_.contains(term + '\t' + lemma)) return Pairing::kConfirmed;
        return pairedTerms_.contains(term) ? Pairing::kContradicted : Pairing::kUnknown;
      }};
  std::vector<ArrangedEntry> shown(english_.size());
  for (std::size_t i = 0; i < english_.size(); ++i) {
    markVerbSenses(english_[i].senses, extra_.verbFrames.onlyIntransitive(english_[i].headword),
                   judge.key);
    shown[i] = arrangeEntry(english_[i].senses, extra_.usage.englishTags(english_[i].headword),
                            judge);
  }
  for (const std::string& name : namesLeftOut_) {
    const auto it = englishAt_.find(name);
    if (it == englishAt_.end() || shown[it->second].groups.empty()) ++built.droppedNameHeadwords;
  }

  // The Indonesian side is the inverse of the senses the English entries
  // show, with the words they leave out of them: a rare word ("tekan",
  // "sunting") is still looked up, and found, as a root.
  // Each pair keeps where the English entry shows the word: the words of
  // its first sense are strong pairs (kStrongPair), those it hides (rare, or
  // over the cap) weak ones. WordNet's senses are the synsets' own.
  for (const ArrangedEntry& entry : shown) {
    int place = 0;
    auto invertSense = [&](const ShownSense& s, const std::string& marker) {
      if (s.sense->source == SenseSource::kWordnet) return;
      for (std::size_t j = 0; j < s.terms.size() + s.hidden.size(); ++j) {
        const bool hidden = j >= s.terms.size();
        const std::string& term = hidden ? s.hidden[j - s.terms.size()] : s.terms[j];
        IndonesianLine* line = indonesianLine(term);
        if (!line) continue;
        const int strength = place * kStrongPair + static_cast<int>(std::min<std::size_t>(j, 7)) +
                             (hidden ? kFairPair : 0);
        IndonesianSense pair;
        pair.marker = marker;
        pair.english = {s.sense->display};
        pair.name = writtenAsName(term);
        pair.strength = strength;
        line->senses.push_back(std::move(pair));
      }
    };
    for (const ShownGroup& g : entry.groups)
      for (const ShownSense& s : g.senses) {
        invertSense(s, g.marker);
        ++place;
      }
  }

  const auto groupsOf = [&](const std::string& word) -> const std::vector<ShownGroup>* {
    const auto it = englishAt_.find(word);
    return it == englishAt_.end() || shown[it->second].groups.empty() ? nullptr
                                                                      : &shown[it->second].groups;
  };
  const auto tagsOf = [&](const std::string& word) { return extra_.usage.englishTags(word); };
  auto emit = [&](std::size_t i) {
    const Line& line = english_[i];
    if (shown[i].groups.empty()) return;
    // The word lists' entries say what the word is used for (is, has, us,
    // supposed): no inflection to explain.
    const bool curated =
        std::any_of(line.senses.begin(), line.senses.end(), [](const EnglishSense& s) {
          return s.source == SenseSource::kFunctionWord || s.source == SenseSource::kEveryday;
        });
    const std::string lead = curated ? std::string() : inflectionLead(line.headword, groupsOf, tagsOf);
    appendLine(built.english, line.headword, renderEntry(shown[i].groups, lead));
    built.intransitiveEntries += std::any_of(shown[i].groups.begin(), shown[i].groups.end(),
                                             [](const ShownGroup& g) { return g.marker == "kki"; });
  };
  // FreeDict's lines keep the source's order; the headwords only the other
  // sources give are merged in by the same index order.
  std::vector<std::pair<std::string, std::size_t>> added;
  for (std::size_t i = freeDictLines_; i < english_.size(); ++i)
    added.emplace_back(indexKey(english_[i].headword), i);
  std::sort(added.begin(), added.end());
  std::size_t next = 0;
  for (std::size_t i = 0; i < freeDictLines_; ++i) {
    const std::string k = indexKey(english_[i].headword);
    for (; next < added.size() && added[next].first < k; ++next) emit(added[next].second);
    emit(i);
  }
  for (; next < added.size(); ++next) emit(added[next].second);

  const EnglishChoice choice{
      [this](std::string_view w) {
        const int rank = extra_.usage.englishRank(w);
        return rank == WordUsage::kUnranked ? kUncommon : rank;
      },
      [this](std::string_view w) { return extra_.excludedEnglish.contains(foldAscii(w)); }};
  std::vector<IndonesianText> words, phrases;
  for (const IndonesianLine& line : indonesian_) {
    const bool phrase = line.headword.find(' ') != std::string::npos;
    std::string text = phrase ? phraseEntryText(line.headword, line.senses, line.name(), choice)
                              : indonesianEntryText(line.headword, line.senses, line.name(), choice);
    if (!text.empty()) (phrase ? phrases : words).push_back({line.headword, std::move(text)});
  }
  // A root the sources lack is found, and explained, through its forms.
  std::vector<IndonesianText> roots =
      rootEntries(words, [this](std::string_view w) { return extra_.usage.indonesianRank(w); });
  built.rootEntries = roots.size();
  words.insert(words.end(), std::make_move_iterator(roots.begin()),
               std::make_move_iterator(roots.end()));
  for (auto* list : {&words, &phrases}) {
    sortByKey(*list, &IndonesianText::headword);
    for (const IndonesianText& t : *list)
      appendLine(list == &words ? built.indonesian : built.phrases, t.headword, t.text);
  }
}

}  // namespace

BuiltDictionary buildDictionary(const std::vector<DictdEntry>& entries, const ExtraSources& extra) {
  Builder builder(extra);
  builder.learnWords(entries);
  builder.addFreeDict(entries);
  builder.addWordList(extra.functionWords, SenseSource::kFunctionWord);
  builder.addWordList(extra.everydayWords, SenseSource::kEveryday);
  builder.addWordnet(extra.wordnet);
  builder.addSpokenWords(extra.spokenWords);
  builder.finish();
  builder.built.lowerCaseEnglish = builder.lowerCaseEnglish();
  return std::move(builder.built);
}

bool readDictdSource(const std::string& indexPath, const std::string& dictPath, DictdSource& source,
                     std::string& error) {
  std::string indexText, dictText;
  if (!readWholeFile(indexPath, indexText, error) || !readDictdText(dictPath, dictText, error))
    return false;
  const DictdIndex index = parseDictdIndex(indexText);
  source = DictdSource{};
  source.badIndexLines = index.badLines;
  std::unordered_set<std::uint64_t> seen;  // one entry listed under several keys counts once
  std::optional<EditionDate> fromInfo, fromOther;
  for (const DictdIndexLine& line : index.lines) {
    if (line.offset > dictText.size() || line.length > dictText.size() - line.offset) {
      ++source.badIndexLines;
      continue;
    }
    const std::string_view text = std::string_view(dictText).substr(line.offset, line.length);
    if (isDictdHeaderKey(line.key)) {
      auto& slot = line.key.find("info") != std::string::npos ? fromInfo : fromOther;
      if (!slot) slot = findEditionDate(text);
      continue;
    }
    if (!seen.insert(line.offset).second) continue;
    source.entries.push_back(parseDictdEntry(text));
  }
  source.edition = fromInfo ? fromInfo : fromOther;
  if (source.entries.empty()) {
    error = indexPath + " lists no entries";
    return false;
  }
  return true;
}

bool writeDictionaryFiles(const std::string& dir, const BuiltDictionary& dict, double dataDate,
                          int level, std::string& error) {
  const std::filesystem::path base(dir);
  const std::pair<const char*, const DataTexts*> files[] = {
      {"dataen.dat", &dict.english}, {"dataid.dat", &dict.indonesian}, {"datapr.dat", &dict.phrases}};
  for (const auto& [name, texts] : files) {
    const std::string path = (base / name).string();
    if (!writeDataFile(path, texts->headwords, texts->translations, dataDate, level)) {
      error = "cannot write " + path;
      return false;
    }
  }
  return true;
}

}  // namespace tavro2
