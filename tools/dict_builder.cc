#include "tools/dict_builder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "engine/cp1252.h"
#include "tools/data_writer.h"

namespace tavro2 {
namespace {

// Plain letters for U+0100..U+017F; '*' marks the few that need two
// characters (see standIn) or that 1252 holds itself.
constexpr std::string_view kLatinExtendedA =
    "AaAaAaCcCcCcCcDd"
    "DdEeEeEeEeEeGgGg"
    "GgGgHhHhIiIiIiIi"
    "Ii**JjKkkLlLlLlL"
    "lLlNnNnNn***OoOo"
    "OoOoRrRrRrSsSsSs"
    "SsTtTtTtUuUuUuUu"
    "UuUuWwYyYZzZzZzs";

struct Greek {
  char32_t cp;
  const char* name;
};
constexpr Greek kGreek[] = {
    {0x0391, "Alpha"}, {0x0392, "Beta"},    {0x0393, "Gamma"},  {0x0394, "Delta"},
    {0x03A0, "Pi"},    {0x03A3, "Sigma"},   {0x03A9, "Omega"},  {0x03B1, "alpha"},
    {0x03B2, "beta"},  {0x03B3, "gamma"},   {0x03B4, "delta"},  {0x03B5, "epsilon"},
    {0x03B8, "theta"}, {0x03BB, "lambda"},  {0x03BC, "mu"},     {0x03C0, "pi"},
    {0x03C1, "rho"},   {0x03C3, "sigma"},   {0x03C4, "tau"},    {0x03C6, "phi"},
    {0x03C9, "omega"},
};

// The closest plain text for a code point that 1252 lacks, or nullptr.
// The result may be empty (marks that only modify the letter before them).
const char* standIn(char32_t cp) {
  static thread_local char one[2];
  auto single = [](char c) {
    one[0] = c;
    one[1] = 0;
    return static_cast<const char*>(one);
  };
  if (cp >= 0x0100 && cp <= 0x017F) {
    switch (cp) {
      case 0x0132: return "IJ";
      case 0x0133: return "ij";
      case 0x0149: return "'n";
      case 0x014A: return "NG";
      case 0x014B: return "ng";
      default: return single(kLatinExtendedA[cp - 0x0100]);
    }
  }
  if (cp >= 0x01CD && cp <= 0x01DC) return single("AaIiOoUuUuUuUuUu"[cp - 0x01CD]);  // pinyin
  if (cp >= 0x0218 && cp <= 0x021B) return single("SsTt"[cp - 0x0218]);  // comma below
  if (cp >= 0x0300 && cp <= 0x036F) return "";  // combining accents: keep the base letter
  if (cp >= 0x2080 && cp <= 0x2089) return single(static_cast<char>('0' + (cp - 0x2080)));
  if (cp >= 0x2074 && cp <= 0x2079) return single(static_cast<char>('0' + (cp - 0x2070)));
  switch (cp) {
    case 0x0180: return "b";
    case 0x0111: return "d";
    case 0x02B9: case 0x02BB: case 0x02BC: case 0x02BD: case 0x2032: return "'";
    case 0x02BA: case 0x2033: return "\"";
    case 0x2010: case 0x2011: case 0x2012: case 0x2015: case 0x2043: case 0x2212: return "-";
    case 0x2044: case 0x2215: return "/";
    case 0x2070: return "0";
    case 0x200B: case 0x200C: case 0x200D: case 0x2060: case 0xFEFF: case 0x00AD: return "";
    default: break;
  }
  for (const Greek& g : kGreek)
    if (g.cp == cp) return g.name;
  return nullptr;
}

bool isSpaceCode(char32_t cp) {
  return cp < 0x20 || (cp >= 0x7F && cp < 0xA1) || (cp >= 0x2000 && cp <= 0x200A) ||
         cp == 0x2028 || cp == 0x2029 || cp == 0x202F || cp == 0x205F || cp == 0x3000;
}

// Strict UTF-8: the next code point, or nothing for a malformed sequence.
std::optional<char32_t> nextCodePoint(std::string_view s, std::size_t& i) {
  const auto b = static_cast<unsigned char>(s[i]);
  if (b < 0x80) {
    ++i;
    return b;
  }
  int extra;
  char32_t cp, min;
  if ((b & 0xE0) == 0xC0) {
    extra = 1, cp = b & 0x1F, min = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    extra = 2, cp = b & 0x0F, min = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    extra = 3, cp = b & 0x07, min = 0x10000;
  } else {
    return std::nullopt;
  }
  if (i + static_cast<std::size_t>(extra) >= s.size()) return std::nullopt;  // cut short
  for (int k = 1; k <= extra; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if ((c & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  i += extra + 1;
  return cp;
}

std::string join(const std::vector<std::string>& parts, std::string_view sep) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) out += sep;
    out += parts[i];
  }
  return out;
}

void addUnique(std::vector<std::string>& list, const std::string& item) {
  if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

std::string collapseSpaces(std::string_view s) {
  std::string out;
  bool space = false;
  for (char c : s) {
    if (c == ' ') {
      space = !out.empty();
      continue;
    }
    if (space) out += ' ';
    space = false;
    out += c;
  }
  return out;
}

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

// An Indonesian term (already 1252) as a headword of dataid.dat or
// datapr.dat: bracketed optional parts dropped ("(orang) brengsek" ->
// "brengsek"), a lone word's "!" or "?" dropped, A-Z lowered. Empty when
// nothing usable is left.
std::string indonesianHeadword(std::string_view term) {
  std::string text;
  int depth = 0;
  for (char c : term) {
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth > 0) --depth;
    } else if (depth == 0) {
      text += c;
    }
  }
  if (depth > 0) text = std::string(term);  // unbalanced: keep the term as written
  text = collapseSpaces(text);
  if (text.find(' ') == std::string::npos)
    while (!text.empty() && (text.back() == '!' || text.back() == '?')) text.pop_back();
  if (text.find('=') != std::string::npos) return {};
  if (std::none_of(text.begin(), text.end(),
                   [](char c) { return isAlnum1252(static_cast<unsigned char>(c)); }))
    return {};
  return foldAscii(text);
}

struct EnglishGroup {
  std::string marker;
  std::vector<std::string> senses;  // rendered: "a, b (gloss; gloss)"
};

// An English headword that the WordNet join gives an Indonesian word, kept
// until all are known: only the best ranked make the line.
struct Candidate {
  std::pair<int, int> rank;  // the headword's sense number, then its tags negated
  std::string marker;
  std::string display;
};

struct IndonesianLine {
  std::string headword;
  std::vector<EnglishGroup> groups;  // senses here are English headwords
  std::vector<Candidate> candidates;
};

struct PhraseLine {
  std::string phrase;
  std::vector<std::string> english;
  std::vector<Candidate> candidates;
};

// The candidates of a line, best first; those shown already are skipped.
template <typename Add>
void addCandidates(std::vector<Candidate>& candidates, std::size_t most, Add&& add) {
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const Candidate& a, const Candidate& b) { return a.rank < b.rank; });
  std::size_t added = 0;
  for (const Candidate& c : candidates) {
    if (added == most) break;
    if (add(c)) ++added;
  }
  candidates.clear();
}

void appendLine(DataTexts& texts, std::string_view headword, std::string_view translation) {
  texts.headwords.append(headword).append("\r\n");
  texts.translations.append(translation).append("\r\n");
  ++texts.count;
}

std::string renderGroups(const std::vector<EnglishGroup>& groups, std::string_view innerSep) {
  std::vector<std::string> parts;
  for (const EnglishGroup& g : groups) {
    std::string body = join(g.senses, innerSep);
    parts.push_back(g.marker.empty() ? body : g.marker + " " + body);
  }
  return join(parts, "; ");
}

// The group of `marker` among groups[from...], made at the end if none.
EnglishGroup& groupFor(std::vector<EnglishGroup>& groups, std::string_view marker,
                       std::size_t from = 0) {
  for (std::size_t i = from; i < groups.size(); ++i)
    if (groups[i].marker == marker) return groups[i];
  groups.push_back({std::string(marker), {}});
  return groups.back();
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

std::optional<std::string> plainText1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto cp = nextCodePoint(utf8, i);
    if (!cp) return std::nullopt;
    if (isSpaceCode(*cp)) {
      out += ' ';
      continue;
    }
    const char c = cp1252Of(*cp);
    if (c != '?' || *cp == U'?') {
      out += c;
      continue;
    }
    const char* plain = standIn(*cp);
    if (!plain) return std::nullopt;
    out += plain;
  }
  return collapseSpaces(out);
}

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

std::string sortKey1252(std::string_view text) {
  // Plain letters for 0xC0..0xFF; two-letter ones are spelled out below.
  static constexpr std::string_view kLatin1 =
      "aaaaaa*ceeeeiiiidnooooo\xD7ouuuuy**aaaaaa*ceeeeiiiidnooooo\xF7ouuuuy*y";
  static_assert(kLatin1.size() == 64);
  std::string key;
  key.reserve(text.size());
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 'A' && c <= 'Z') {
      key += static_cast<char>(c - 'A' + 'a');
    } else if (c == 0xC6 || c == 0xE6) {
      key += "ae";
    } else if (c == 0xDE || c == 0xFE) {
      key += "th";
    } else if (c == 0xDF) {
      key += "ss";
    } else if (c >= 0xC0) {
      key += kLatin1[c - 0xC0];
    } else if (c == 0x8A || c == 0x9A) {
      key += 's';
    } else if (c == 0x8E || c == 0x9E) {
      key += 'z';
    } else if (c == 0x8C || c == 0x9C) {
      key += "oe";
    } else if (c == 0x9F) {
      key += 'y';
    } else {
      key += ch;
    }
  }
  return key;
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

std::string_view markerOfWordnet(char pos) {
  switch (pos) {
    case 'n': return "kb";
    case 'v': return "kkt";
    case 'a': return "ks";
    default: return "kk";
  }
}

class Builder {
 public:
  BuiltDictionary built;

  void addFreeDict(const std::vector<DictdEntry>& entries);
  void addWordnet(const std::vector<WordnetSynset>& synsets);
  void addFunctionWords(const std::vector<FunctionWord>& words);
  void nextSource() { ++source_; }
  void finish();

 private:
  struct Line {
    std::string headword;
    std::vector<EnglishGroup> groups;
    std::unordered_set<std::string> given;  // folded Indonesian words of the entry
    int source = 0;                // the source that added the last groups,
    std::size_t sourceGroups = 0;  // which start here
  };

  // An Indonesian term's folded form, for telling whether an entry has it.
  static std::string givenKey(std::string_view term) {
    const std::string head = indonesianHeadword(term);
    return head.empty() ? foldAscii(term) : head;
  }

  Line& lineFor(const std::string& key) {
    auto [it, fresh] = englishAt_.try_emplace(key, english_.size());
    if (fresh) english_.push_back({key, {}, {}});
    return english_[it->second];
  }

  // Lists `display` under the term in dataid.dat or datapr.dat; with a rank,
  // as a candidate for the best ranked few.
  void invert(const std::string& term, std::string_view marker, const std::string& display,
              const std::pair<int, int>* rank = nullptr) {
    const std::string head = indonesianHeadword(term);
    if (head.empty()) return;
    if (head.find(' ') != std::string::npos) {
      auto [it, fresh] = phraseAt_.try_emplace(head, phrases_.size());
      if (fresh) phrases_.push_back({head, {}, {}});
      PhraseLine& line = phrases_[it->second];
      if (rank) line.candidates.push_back({*rank, std::string(marker), display});
      else addUnique(line.english, display);
    } else {
      auto [it, fresh] = indonesianAt_.try_emplace(head, indonesian_.size());
      if (fresh) indonesian_.push_back({head, {}, {}});
      IndonesianLine& line = indonesian_[it->second];
      if (rank) line.candidates.push_back({*rank, std::string(marker), display});
      else addUnique(groupFor(line.groups, marker).senses, display);
    }
  }

  // Adds a sense of the terms the entry lacks; false when it lacks none.
  bool addSense(Line& line, std::string_view marker, const std::vector<std::string>& terms,
                std::size_t most, const std::string& gloss, const std::string& display,
                const std::pair<int, int>* rank = nullptr) {
    std::vector<std::string> fresh;
    for (const std::string& term : terms) {
      if (fresh.size() == most) break;
      if (line.given.insert(givenKey(term)).second) fresh.push_back(term);
    }
    if (fresh.empty()) return false;
    std::string rendered = join(fresh, ", ");
    if (!gloss.empty()) rendered += " (" + gloss + ")";
    // Each source's text follows the text of the sources before it whole.
    if (line.source != source_) {
      line.source = source_;
      line.sourceGroups = line.groups.size();
    }
    addUnique(groupFor(line.groups, marker, line.sourceGroups).senses, rendered);
    for (const std::string& term : fresh) invert(term, marker, display, rank);
    return true;
  }

  // A headword in 1252, or nothing (counted) when it has no usable form.
  std::optional<std::string> headwordOf(std::string_view utf8) {
    const auto shown = plainText1252(utf8);
    if (!shown) ++built.droppedTerms;
    if (!shown || shown->empty() || shown->find('=') != std::string::npos) return std::nullopt;
    return shown;
  }

  std::vector<Line> english_;
  std::unordered_map<std::string, std::size_t> englishAt_;
  std::size_t freeDictLines_ = 0;
  int source_ = 0;  // counts the sources added so far
  std::vector<IndonesianLine> indonesian_;
  std::unordered_map<std::string, std::size_t> indonesianAt_;
  std::vector<PhraseLine> phrases_;
  std::unordered_map<std::string, std::size_t> phraseAt_;
};

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

    std::vector<std::string> senses, allTerms;
    for (const DictdSense& sense : entry.senses) {
      std::vector<std::string> terms;
      for (const std::string& raw : splitTranslations(sense.translations)) {
        const auto term = plainText1252(raw);
        if (!term) {
          ++built.droppedTerms;
          continue;
        }
        if (term->empty()) continue;
        addUnique(terms, *term);
      }
      if (terms.empty()) continue;  // a gloss alone translates nothing
      std::vector<std::string> glosses;
      for (const std::string& raw : sense.glosses) {
        const auto gloss = plainText1252(raw);
        if (!gloss) {
          ++built.droppedTerms;
          continue;
        }
        if (!gloss->empty()) addUnique(glosses, *gloss);
      }
      std::string rendered = join(terms, ", ");
      if (!glosses.empty()) rendered += " (" + join(glosses, "; ") + ")";
      senses.push_back(std::move(rendered));
      for (const std::string& term : terms) {
        invert(term, marker, display);
        allTerms.push_back(term);
      }
    }
    if (senses.empty()) {
      ++built.skippedEntries;
      continue;
    }
    Line& line = lineFor(foldAscii(display));
    EnglishGroup& group = groupFor(line.groups, marker);
    for (std::string& s : senses) addUnique(group.senses, s);
    for (const std::string& term : allTerms) line.given.insert(givenKey(term));
  }
  freeDictLines_ = english_.size();
}

void Builder::addWordnet(const std::vector<WordnetSynset>& synsets) {
  // Each synset's Indonesian words in 1252, the most common first: by the
  // word's count in that synset, then its counts summed over the join, then
  // how many synsets list it.
  std::vector<std::vector<std::string>> words(synsets.size());
  std::vector<std::vector<int>> counts(synsets.size());
  std::vector<std::string> glosses(synsets.size());
  std::unordered_map<std::string, std::pair<long, int>> common;
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
  for (std::size_t i = 0; i < synsets.size(); ++i) {
    std::vector<std::size_t> order(words[i].size());
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
    const auto rank = [&](std::size_t k) {
      const auto& c = common[givenKey(words[i][k])];
      return std::make_tuple(counts[i][k], c.first, c.second);
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return rank(a) > rank(b); });
    std::vector<std::string> sorted;
    for (std::size_t k : order) sorted.push_back(std::move(words[i][k]));
    words[i] = std::move(sorted);
  }

  struct Use {
    std::size_t synset;
    int sense, tags;
    std::string display;
  };
  std::unordered_map<std::string, std::vector<Use>> uses;
  std::vector<std::pair<std::string, std::string>> keys;  // index key, headword
  for (std::size_t i = 0; i < synsets.size(); ++i) {
    if (words[i].empty()) continue;
    for (const WordnetLemma& l : synsets[i].english) {
      const auto shown = headwordOf(l.lemma);
      if (!shown) continue;
      const std::string key = foldAscii(*shown);
      auto& list = uses[key];
      if (list.empty()) keys.emplace_back(indexKey(key), key);
      list.push_back({i, l.sense, l.tags, *shown});
    }
  }
  std::sort(keys.begin(), keys.end());

  for (const auto& [unused, key] : keys) {
    std::vector<Use>& list = uses[key];
    std::stable_sort(list.begin(), list.end(), [](const Use& a, const Use& b) {
      return std::make_pair(a.sense, -a.tags) < std::make_pair(b.sense, -b.tags);
    });
    // Parts of speech in the order of their most tagged sense.
    std::string parts;
    std::unordered_map<char, int> mostTags;
    for (const Use& u : list) {
      const char pos = synsets[u.synset].pos;
      if (parts.find(pos) == std::string::npos) parts += pos;
      mostTags[pos] = std::max(mostTags[pos], u.tags);
    }
    std::stable_sort(parts.begin(), parts.end(), [&](char a, char b) {
      if (mostTags[a] != mostTags[b]) return mostTags[a] > mostTags[b];
      return std::string_view("nvar").find(a) < std::string_view("nvar").find(b);
    });
    Line& line = lineFor(key);
    // A word the other sources know gets only WordNet's senses that its
    // corpus attests (and the first of each part of speech): the rare ones
    // ("can", the buttocks) would crowd out what the entry is looked up for.
    const bool known = !line.groups.empty();
    for (char pos : parts) {
      std::size_t added = 0;
      std::vector<std::size_t> done;
      for (const Use& u : list) {
        if (added == kWordnetSensesPerPart) break;
        if (synsets[u.synset].pos != pos ||
            std::find(done.begin(), done.end(), u.synset) != done.end() ||
            (known && u.tags == 0 && u.sense > 1))
          continue;
        done.push_back(u.synset);
        const std::pair<int, int> rank(u.sense, -u.tags);
        if (addSense(line, markerOfWordnet(pos), words[u.synset], kWordnetWordsPerSense,
                     glosses[u.synset], u.display, &rank))
          ++added;
      }
    }
  }
}

void Builder::addFunctionWords(const std::vector<FunctionWord>& words) {
  for (const FunctionWord& w : words) {
    const auto shown = headwordOf(w.headword);
    if (!shown) continue;
    std::vector<std::string> terms;
    for (const std::string& raw : w.terms) {
      const auto term = plainText1252(raw);
      if (!term) ++built.droppedTerms;
      if (term && !term->empty()) addUnique(terms, *term);
    }
    const auto gloss = plainText1252(w.gloss);
    addSense(lineFor(foldAscii(*shown)), w.marker, terms, terms.size(), gloss ? *gloss : "",
             *shown);
  }
}

void Builder::finish() {
  // FreeDict's lines keep the source's order; the headwords only the other
  // sources give are merged in by the same index order.
  std::vector<std::pair<std::string, std::size_t>> added;
  for (std::size_t i = freeDictLines_; i < english_.size(); ++i)
    if (!english_[i].groups.empty()) added.emplace_back(indexKey(english_[i].headword), i);
  std::sort(added.begin(), added.end());
  std::size_t next = 0;
  auto emit = [&](const Line& line) {
    appendLine(built.english, line.headword, renderGroups(line.groups, "; "));
  };
  for (std::size_t i = 0; i < freeDictLines_; ++i) {
    const std::string key = indexKey(english_[i].headword);
    for (; next < added.size() && added[next].first < key; ++next) emit(english_[added[next].second]);
    emit(english_[i]);
  }
  for (; next < added.size(); ++next) emit(english_[added[next].second]);

  // WordNet's English headwords of an Indonesian word: those for which it
  // is the most frequent sense come first, and only a few are kept.
  for (IndonesianLine& line : indonesian_)
    addCandidates(line.candidates, kWordnetEnglishPerWord, [&](const Candidate& c) {
      for (const EnglishGroup& g : line.groups)
        if (std::find(g.senses.begin(), g.senses.end(), c.display) != g.senses.end()) return false;
      groupFor(line.groups, c.marker).senses.push_back(c.display);
      return true;
    });
  for (PhraseLine& line : phrases_)
    addCandidates(line.candidates, kWordnetEnglishPerWord, [&](const Candidate& c) {
      if (std::find(line.english.begin(), line.english.end(), c.display) != line.english.end())
        return false;
      line.english.push_back(c.display);
      return true;
    });

  sortByKey(indonesian_, &IndonesianLine::headword);
  for (const IndonesianLine& line : indonesian_)
    appendLine(built.indonesian, line.headword, renderGroups(line.groups, ", "));
  sortByKey(phrases_, &PhraseLine::phrase);
  for (const PhraseLine& line : phrases_)
    appendLine(built.phrases, line.phrase, join(line.english, ", "));
}

}  // namespace

BuiltDictionary buildDictionary(const std::vector<DictdEntry>& entries, const ExtraSources& extra) {
  Builder builder;
  builder.addFreeDict(entries);
  builder.nextSource();
  builder.addFunctionWords(extra.functionWords);
  builder.nextSource();
  builder.addWordnet(extra.wordnet);
  builder.finish();
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
