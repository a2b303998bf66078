#include "tools/transcriptions.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "engine/cp1252.h"
#include "engine/word_list.h"
#include "tools/data_writer.h"
#include "tools/text_1252.h"

#if TAVRO2_WITH_ESPEAK
#include <espeak-ng/speak_lib.h>
#endif

namespace tavro2 {
namespace {

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// "//haʊs//" -> "haʊs", "/[ˈæɾm̩]/" -> "ˈæɾm̩".
std::string_view withoutMarks(std::string_view p) {
  while (!p.empty() && p.front() == '/') p.remove_prefix(1);
  while (!p.empty() && p.back() == '/') p.remove_suffix(1);
  if (p.size() >= 2 && p.front() == '[' && p.back() == ']') p = p.substr(1, p.size() - 2);
  return trimBlanks(p);
}

// A phonetic transcription ("/[ˈæɾm̩]/") rather than a phonemic one.
bool isPhonetic(std::string_view p) {
  while (p.starts_with('/')) p.remove_prefix(1);
  return p.starts_with('[');
}

// The characters of a transcription that tell its sounds apart: stress
// marks (placed differently by each source), syllable dots, brackets,
// hyphens and blanks left out. Each is one UTF-8 sequence.
std::vector<std::string_view> comparedSounds(std::string_view ipa) {
  std::vector<std::string_view> out;
  for (std::size_t i = 0; i < ipa.size();) {
    std::size_t n = 1;
    while (i + n < ipa.size() && (static_cast<unsigned char>(ipa[i + n]) & 0xC0) == 0x80) ++n;
    const std::string_view c = ipa.substr(i, n);
    if (c != "\u02C8" && c != "\u02CC" && c.find_first_of(".()[]- ") == std::string_view::npos)
      out.push_back(c);
    i += n;
  }
  return out;
}

std::size_t editDistance(const std::vector<std::string_view>& a,
                         const std::vector<std::string_view>& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// The key the builder gives a FreeDict entry's headword in dataen.dat (as
// Builder::addFreeDict does), or nothing when it has none.
std::optional<std::string> englishKey(const DictdEntry& entry, bool& lowerCase) {
  const auto shown = plainText1252(entry.headword);
  if (!shown || shown->empty()) return std::nullopt;
  const std::string display =
      entry.partOfSpeech == "suffix" && shown->front() != '-' ? "-" + *shown : *shown;
  std::string key = foldAscii(display);
  lowerCase = key == display;
  return key;
}

}  // namespace

std::vector<std::string> freeDictTranscriptions(const std::vector<std::string>& pronunciations,
                                                bool phonetic) {
  std::vector<std::string> out;
  for (const std::string& p : pronunciations)
    if (isPhonetic(p) == phonetic && !withoutMarks(p).empty()) out.emplace_back(withoutMarks(p));
  return out;
}

std::string nearestTranscription(const std::vector<std::string>& variants,
                                 std::string_view reference) {
  if (variants.empty()) return {};
  if (reference.empty() || variants.size() == 1) return variants.front();
  const std::vector<std::string_view> want = comparedSounds(reference);
  std::size_t best = 0, bestDistance = SIZE_MAX;
  for (std::size_t i = 0; i < variants.size(); ++i) {
    const std::size_t d = editDistance(comparedSounds(variants[i]), want);
    if (d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return variants[best];
}

namespace {

// UTF-8 to code points and back; a byte that starts no valid sequence
// stands for itself (espeak-ng writes valid UTF-8).
std::u32string codePointsOf(std::string_view utf8) {
  std::u32string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (i + length > utf8.size() || length == 1) {
      out += static_cast<char32_t>(lead);
      ++i;
      continue;
    }
    char32_t cp = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    out += cp;
    i += static_cast<std::size_t>(length);
  }
  return out;
}

std::string utf8Of(std::u32string_view cps) {
  std::string out;
  for (const char32_t cp : cps) appendUtf8(out, cp);
  return out;
}

constexpr char32_t kPrimary = U'\u02C8', kSecondary = U'\u02CC', kSyllabic = U'\u0329';

bool isVowel(char32_t c) {
  static constexpr std::u32string_view kVowels = U"aeiouyæɑɒɐəɚɛɜɝɪɔʊʌᵻøœɵɘɤɯɨʉɞɶ";
  return kVowels.find(c) != std::u32string_view::npos;
}
bool isStress(char32_t c) { return c == kPrimary || c == kSecondary; }
// Length, nasal and other marks that ride on the sound before them.
bool isModifier(char32_t c) {
  return c == U'ː' || c == U'ˑ' || (c >= 0x02B0 && c <= 0x02FF && !isStress(c)) ||
         (c >= 0x0300 && c <= 0x036F);
}

// The consonants a syllable may begin with in English: one (but ŋ), s and
// a stop, nasal, l, w or f, an obstruent or nasal and an approximant, or s,
// a voiceless stop and an approximant. "tʃ" and "dʒ" count as one.
bool legalOnset(const std::vector<std::u32string_view>& units) {
  static constexpr std::u32string_view kApproximants = U"ɹlwj";
  const auto in = [](std::u32string_view unit, std::u32string_view set) {
    return unit.size() == 1 && set.find(unit[0]) != std::u32string_view::npos;
  };
  switch (units.size()) {
    case 1: return units[0] != U"ŋ";
    case 2:
      return (units[0] == U"s" && in(units[1], U"ptkmnlwf")) ||
             (in(units[0], U"pbtdkɡfvθʃhmn") && in(units[1], kApproximants) &&
              (!in(units[0], U"mnh") || units[1] == U"j"));
    case 3: return units[0] == U"s" && in(units[1], U"ptk") && in(units[2], kApproximants);
    default: return false;
  }
}

// One word of espeak-ng's IPA with its stress marks where a dictionary puts
// them: espeak-ng writes them before the stressed vowel (ɪɡzˈæmpəl), a
// dictionary before the syllable (ɪɡˈzæmpəl), taking into the syllable the
// most consonants English lets a syllable begin with. A word of one
// syllable takes none (haʊs).
std::u32string placeStress(std::u32string word) {
  int nuclei = 0;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const bool nucleus = isVowel(word[i]) || (i + 1 < word.size() && word[i + 1] == kSyllabic);
    const bool continues = i > 0 && isVowel(word[i - 1]) && isVowel(word[i]);  // a diphthong
    if (nucleus && !continues) ++nuclei;
  }
  if (nuclei <= 1) {
    std::erase_if(word, isStress);
    return word;
  }
  for (std::size_t mark = 0; mark < word.size(); ++mark) {
    if (!isStress(word[mark])) continue;
    // The consonants before the mark, back to a vowel, a mark or the start.
    std::vector<std::u32string_view> run;
    std::size_t start = mark;
    while (start > 0) {
      const char32_t c = word[start - 1];
      if (isVowel(c) || isStress(c) || isModifier(c) || c == ' ') break;
      std::size_t unit = start - 1;
      if (unit > 0 && ((c == U'ʃ' && word[unit - 1] == U't') || (c == U'ʒ' && word[unit - 1] == U'd')))
        --unit;
      run.insert(run.begin(), std::u32string_view(word).substr(unit, start - unit));
      start = unit;
    }
    std::size_t to = mark;
    if (start == 0) {
      to = 0;  // the word's first syllable: all of them
    } else {
      std::size_t take = 0;
      for (std::size_t n = 1; n <= run.size(); ++n) {
        const std::vector<std::u32string_view> tail(run.end() - static_cast<std::ptrdiff_t>(n), run.end());
        if (legalOnset(tail)) take = n;
      }
      for (std::size_t n = 0; n < take; ++n) to -= run[run.size() - 1 - n].size();
    }
    const char32_t stress = word[mark];
    word.erase(mark, 1);
    word.insert(to, 1, stress);
  }
  return word;
}

}  // namespace

std::string placeStressMarks(std::string_view ipa) {
  std::u32string out;
  std::u32string cps = codePointsOf(ipa);
  std::size_t begin = 0;
  while (begin <= cps.size()) {
    const std::size_t end = std::min(cps.find(U' ', begin), cps.size());
    out += placeStress(cps.substr(begin, end - begin));
    if (end < cps.size()) out += U' ';
    begin = end + 1;
  }
  return utf8Of(out);
}

std::string cleanEspeakIpa(std::string_view ipa) {
  std::string out;
  for (std::size_t i = 0; i < ipa.size(); ++i) {
    const char c = ipa[i];
    if (c == '(') {  // a language switch: "(fr)", "(en-us)"
      const std::size_t close = ipa.find(')', i);
      if (close != std::string_view::npos &&
          std::all_of(ipa.begin() + i + 1, ipa.begin() + close,
                      [](char l) { return (l >= 'a' && l <= 'z') || l == '-'; })) {
        i = close;
        out += ' ';
        continue;
      }
    }
    if (c == '_') {  // a pause, and its length mark
      if (ipa.substr(i + 1).starts_with("\xCB\x90"))
        i += 2;
      else if (i + 1 < ipa.size() && (ipa[i + 1] == ':' || ipa[i + 1] == '!'))
        ++i;
      out += ' ';
      continue;
    }
    if (c == '-' || c == '\t' || c == '\n' || c == '\r') {
      out += ' ';
      continue;
    }
    out += c;
  }
  std::string collapsed;
  for (const char c : trimBlanks(out))
    if (c != ' ' || collapsed.empty() || collapsed.back() != ' ') collapsed += c;
  return placeStressMarks(collapsed);
}

Transcriber espeakTranscriber() {
#if TAVRO2_WITH_ESPEAK
  static const bool ready =
      espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT) > 0 &&
      espeak_SetVoiceByName("en-us") == EE_OK;
  if (!ready) return {};
  return [](std::string_view utf8) {
    const std::string text(utf8);
    const void* at = text.c_str();
    std::string ipa;
    // One clause a call; `at` becomes null after the last.
    while (at != nullptr) {
      const char* clause = espeak_TextToPhonemes(&at, espeakCHARS_UTF8, espeakPHONEMES_IPA);
      if (clause != nullptr) ipa.append(ipa.empty() ? "" : " ").append(clause);
    }
    return cleanEspeakIpa(ipa);
  };
#else
  return {};
#endif
}

Transcriptions buildTranscriptions(const std::vector<DictdEntry>& entries,
                                   std::string_view englishHeadwords,
                                   const std::unordered_set<std::string>& lowerCase,
                                   const Transcriber& fill) {
  // The transcriptions of each key's first entry that has some, of each
  // kind (phonemic or phonetic; from entries written in lower case or as
  // names).
  using Variants = std::vector<std::string>;
  std::array<std::unordered_map<std::string, Variants>, 4> first;
  std::unordered_set<std::string> writtenLower;
  for (const DictdEntry& entry : entries) {
    bool lower = false;
    const std::optional<std::string> key = englishKey(entry, lower);
    if (!key) continue;
    if (lower) writtenLower.insert(*key);
    for (const bool phonetic : {false, true}) {
      Variants found = freeDictTranscriptions(entry.pronunciations, phonetic);
      if (!found.empty()) first[phonetic * 2 + !lower].try_emplace(*key, std::move(found));
    }
  }
  const auto freeDict = [&](const std::string& key, bool phonetic) -> const Variants* {
    const bool namesCount = !writtenLower.contains(key) && !lowerCase.contains(key);
    for (const bool asName : {false, true}) {
      if (asName && !namesCount) break;
      const auto& of = first[phonetic * 2 + asName];
      if (const auto it = of.find(key); it != of.end()) return &it->second;
    }
    return nullptr;
  };

  struct Row {
    std::string headword;
    std::string ipa;
    bool freeDict;
  };
  std::vector<Row> rows;
  for (const std::string_view head : splitLineViews(englishHeadwords)) {
    if (head.empty()) continue;
    const std::string key(head);
    const std::string utf8 = cp1252ToUtf8(head);
    const std::string filled = fill ? fill(utf8) : std::string();
    const Variants* given = freeDict(key, false);
    if (!given && filled.empty()) given = freeDict(key, true);
    const std::string ipa = given ? nearestTranscription(*given, filled) : filled;
    // A line end inside would break the file's lines.
    if (ipa.empty() || ipa.find_first_of("\r\n") != std::string::npos) continue;
    rows.push_back({utf8, ipa, given != nullptr});
  }
  // Sorted for the reader's binary search (std::string compares bytes as
  // unsigned char); dataen.dat names each headword once.
  std::stable_sort(rows.begin(), rows.end(),
                   [](const Row& a, const Row& b) { return a.headword < b.headword; });
  Transcriptions out;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i > 0 && rows[i].headword == rows[i - 1].headword) continue;
    out.headwords.append(rows[i].headword).append("\r\n");
    out.transcriptions.append(rows[i].ipa).append("\r\n");
    out.freeDict.push_back(rows[i].freeDict);
    ++(rows[i].freeDict ? out.fromFreeDict : out.fromEspeak);
  }
  return out;
}

std::string transcriptionReport(const Transcriptions& t, std::string_view englishHeadwords,
                                std::string_view frequencyList, std::size_t top) {
  const std::vector<std::string_view> heads = splitLineViews(englishHeadwords);
  const std::unordered_set<std::string_view> isHeadword(heads.begin(), heads.end());
  std::unordered_map<std::string, bool> source;  // UTF-8 headword -> from FreeDict
  const std::vector<std::string_view> lines = splitLineViews(t.headwords);
  for (std::size_t i = 0; i < lines.size() && i < t.freeDict.size(); ++i)
    source.emplace(lines[i], t.freeDict[i]);

  std::size_t words = 0, headwords = 0, freeDict = 0, espeak = 0, missing = 0;
  std::string without;  // the first few
  std::size_t start = 0;
  while (words < top && start < frequencyList.size()) {
    std::size_t end = frequencyList.find('\n', start);
    if (end == std::string_view::npos) end = frequencyList.size();
    std::string_view word = frequencyList.substr(start, end - start);
    if (word.ends_with('\r')) word.remove_suffix(1);
    word = trimBlanks(word);
    start = end + 1;
    if (word.empty()) continue;
    ++words;
    const std::string utf8(word);
    if (!isHeadword.contains(utf8To1252(utf8))) continue;
    ++headwords;
    const auto it = source.find(utf8);
    if (it == source.end()) {
      if (++missing <= 20) without.append(without.empty() ? "" : ", ").append(utf8);
    } else {
      ++(it->second ? freeDict : espeak);
    }
  }
  const auto percent = [&](std::size_t n) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f%%", headwords ? 100.0 * n / headwords : 0.0);
    return std::string(text);
  };
  return "of the " + std::to_string(words) + " commonest words, " + std::to_string(headwords) +
         " English headwords: " + std::to_string(freeDict + espeak) + " transcribed (" +
         percent(freeDict + espeak) + "), " + std::to_string(freeDict) + " by FreeDict (" +
         percent(freeDict) + "), " + std::to_string(espeak) + " by espeak-ng (" + percent(espeak) +
         ")" + (without.empty() ? "" : "; none: " + without) +
         (missing > 20 ? " and " + std::to_string(missing - 20) + " more" : "");
}

bool writeTranscriptionFile(const std::string& path, const Transcriptions& t, double dataDate,
                            int level) {
  return writeDataFile(path, t.headwords, t.transcriptions, dataDate, level);
}

}  // namespace tavro2
