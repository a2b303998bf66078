#include "engine/base_form_stages.h"

#include <algorithm>
#include <iterator>

#include "engine/indonesian_affixes.h"
#include "engine/irregular_forms.h"
#include "engine/query_text.h"
#include "engine/stemmer.h"
#include "engine/word_ranks.h"

namespace tavro2 {

std::vector<std::string> furtherBaseFormCandidates(std::string_view word,
                                                   const std::vector<std::string>& tried,
                                                   Direction direction, Stemmer* stemmer) {
  std::vector<std::string> out;
  if (word.empty()) return out;
  auto add = [&](std::string_view candidate) {
    if (candidate.empty() || candidate == word) return;
    const auto same = [&](const std::string& s) { return s == candidate; };
    if (std::any_of(tried.begin(), tried.end(), same) || std::any_of(out.begin(), out.end(), same))
      return;
    out.emplace_back(candidate);
  };
  const bool english = direction != Direction::kIndonesianEnglish;
  const bool indonesian = direction != Direction::kEnglishIndonesian;
  // Both dictionaries load at once, the Indonesian while the English is
  // waited for.
  if (stemmer && english) stemmer->prepare(StemLanguage::kEnglish);
  if (stemmer && indonesian) stemmer->prepare(StemLanguage::kIndonesian);
  if (english) {
    // Written with hyphens or apostrophes, an English word may be a headword
    // without them (e-mail, co-operate, mid-day) or an inflected one (dog's).
    if (word.find_first_of("-'") != std::string_view::npos) {
      std::string joined;
      std::copy_if(word.begin(), word.end(), std::back_inserter(joined),
                   [](char c) { return c != '-' && c != '\''; });
      add(joined);
      for (const std::string& base : baseFormCandidates(joined)) add(base);
    }
    for (const std::string& base : irregularBaseForms(word)) add(base);
    if (stemmer)
      for (const std::string& s : stemmer->stems(StemLanguage::kEnglish, word)) add(s);
  }
  if (indonesian) {
    for (const std::string& root : indonesianCliticRoots(word)) add(root);
    if (stemmer)
      for (const std::string& s : stemmer->stems(StemLanguage::kIndonesian, word)) add(s);
    for (const std::string& root : indonesianRootCandidates(word)) add(root);
  }
  return out;
}

bool inCommonUse(std::string_view word) {
  if (WordRanks::listed(word)) return true;
  for (const std::string& base : baseFormCandidates(word))
    if (WordRanks::listed(base)) return true;
  for (const std::string& base : irregularBaseForms(word))
    if (WordRanks::listed(base)) return true;
  return false;
}

}  // namespace tavro2
