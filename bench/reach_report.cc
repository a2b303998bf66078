// Reach report: how many of a corpus's most frequent word forms the lookup
// finds, with every base-form fallback, as the search box would.
//
//   reach_report --lang en|id [--top N] [--dir DATADIR] [--markup] CORPUS...
//
// CORPUS files are UTF-8 text ("-" reads standard input). With --markup
// they are HTML or XML documentation: tags and entities are dropped, and so
// is the text of the elements that hold code, commands, keys, file names,
// links, tables and page credits rather than prose. A word form is a
// run of letters, with an apostrophe between two letters kept inside it;
// forms are counted with A-Z lowered. Left out are the forms capitalised in
// more than half of their occurrences (names, acronyms) and, in an
// Indonesian corpus, the English words: forms that the English Hunspell
// dictionary knows and the Indonesian one does not. Each of the N
// most frequent forms goes through SearchFromBox with the direction of its
// language ("English - Indonesian" or "Indonesian - English"), default
// settings and no user word lists. Prints the share found, how many each
// stage found (the query itself, the ending rules, the further stages), and
// the misses with their counts. Run by hand; no test runs it.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/cp1252.h"
#include "engine/dictionary_store.h"
#include "engine/loader.h"
#include "engine/lookup_state.h"
#include "engine/query_text.h"
#include "engine/stemmer.h"

namespace {

using tavro2::isCapital1252;
using tavro2::isLetter1252;

struct FormCount {
  std::size_t total = 0;
  std::size_t capitalised = 0;
};

bool isApostrophe(unsigned char c) { return c == '\'' || c == 0x92; }  // ' and the right quote

// Counts the word forms of a 1252 text into `forms`.
void countForms(std::string_view text, std::map<std::string, FormCount>& forms) {
  std::size_t i = 0;
  const auto letter = [&](std::size_t k) {
    return k < text.size() && isLetter1252(static_cast<unsigned char>(text[k]));
  };
  while (i < text.size()) {
    if (!letter(i)) {
      ++i;
      continue;
    }
    std::size_t e = i;
    while (letter(e) || (isApostrophe(static_cast<unsigned char>(text[e])) && letter(e + 1) &&
                         e > i && letter(e - 1)))
      ++e;
    std::string form(text.substr(i, e - i));
    for (char& c : form)
      if (static_cast<unsigned char>(c) == 0x92) c = '\'';
    FormCount& f = forms[tavro2::foldAscii(form)];
    ++f.total;
    if (isCapital1252(static_cast<unsigned char>(text[i]))) ++f.capitalised;
    i = e;
  }
}

// The prose of an HTML or XML text.
std::string proseOf(std::string_view text) {
  static const std::set<std::string, std::less<>> kSkipped = {
      "a",   "app",    "cmd",    "code",  "info", "input", "key",  "keyseq",
      "pre", "screen", "script", "style", "sys",  "table", "file", "output"};
  std::string out;
  std::size_t depth = 0;  // inside this many skipped elements
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '&') {  // an entity: a space in its place
      const std::size_t end = text.find_first_of("; <", i);
      i = end != std::string_view::npos && text[end] == ';' ? end + 1 : i + 1;
      out.push_back(' ');
      continue;
    }
    if (c != '<') {
      if (depth == 0) out.push_back(c);
      ++i;
      continue;
    }
    const std::size_t end = text.find('>', i);
    if (end == std::string_view::npos) break;
    const std::string_view tag = text.substr(i + 1, end - i - 1);
    i = end + 1;
    out.push_back(' ');
    const bool closing = tag.starts_with('/');
    const std::string_view body = closing ? tag.substr(1) : tag;
    const std::string_view name = body.substr(0, body.find_first_of(" \t\r\n/"));
    if (!kSkipped.contains(name) || tag.ends_with('/')) continue;
    if (closing)
      depth -= depth > 0;
    else
      ++depth;
  }
  return out;
}

std::string readAll(const std::string& path) {
  if (path == "-") return {std::istreambuf_iterator<char>(std::cin), {}};
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "reach_report: cannot read %s\n", path.c_str());
    std::exit(2);
  }
  return {std::istreambuf_iterator<char>(in), {}};
}

int usage() {
  std::fprintf(stderr,
               "usage: reach_report --lang en|id [--top N] [--dir DATADIR] [--markup] CORPUS...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string lang;
  std::string dataDir = "./";
  std::size_t top = 0;
  bool markup = false;
  std::vector<std::string> corpora;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if ((a == "--lang" || a == "--top" || a == "--dir") && i + 1 < argc) {
      const std::string v = argv[++i];
      if (a == "--lang") lang = v;
      if (a == "--dir") dataDir = v.ends_with('/') ? v : v + "/";
      if (a == "--top") top = std::strtoul(v.c_str(), nullptr, 10);
    } else if (a == "--markup") {
      markup = true;
    } else if (a.starts_with("--")) {
      return usage();
    } else {
      corpora.push_back(a);
    }
  }
  if ((lang != "en" && lang != "id") || corpora.empty()) return usage();
  const bool english = lang == "en";
  if (top == 0) top = english ? 3000 : 1000;

  std::map<std::string, FormCount> forms;
  for (const std::string& path : corpora) {
    const std::string text = readAll(path);
    countForms(tavro2::utf8To1252(markup ? proseOf(text) : text), forms);
  }
  const std::shared_ptr<tavro2::Stemmer> stemmer = tavro2::Stemmer::shared();
  std::vector<std::pair<std::string, std::size_t>> ranked;
  std::size_t names = 0, foreign = 0;
  for (const auto& [form, count] : forms) {
    if (2 * count.capitalised > count.total) {
      ++names;
    } else if (!english && stemmer->knows(tavro2::StemLanguage::kEnglish, form) &&
               !stemmer->knows(tavro2::StemLanguage::kIndonesian, form)) {
      ++foreign;
    } else {
      ranked.emplace_back(form, count.total);
    }
  }
  std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
    return a.second != b.second ? a.second > b.second : a.first < b.first;
  });
  if (ranked.size() > top) ranked.resize(top);

  tavro2::DictionaryStore store;
  tavro2::loadDictionary(store, dataDir);
  if (store.count(english ? tavro2::DataKind::kEnglish : tavro2::DataKind::kIndonesian) <= 0) {
    std::fprintf(stderr, "reach_report: no dictionary data in %s\n", dataDir.c_str());
    return 2;
  }
  // No user word lists: an empty scratch directory stands for the user's.
  std::string userDir = (std::filesystem::temp_directory_path() / "tavro2-reach-XXXXXX").string();
  if (!mkdtemp(userDir.data())) return 2;
  userDir += "/";
  tavro2::LookupState state(store, userDir, stemmer);
  tavro2::LookupSettings settings;
  settings.direction =
      english ? tavro2::Direction::kEnglishIndonesian : tavro2::Direction::kIndonesianEnglish;
  state.setSettings(settings);

  std::size_t direct = 0, byRules = 0, further = 0;
  std::vector<std::pair<std::string, std::size_t>> misses;
  for (const auto& [form, count] : ranked) {
    state.searchFromBox(form);
    if (!state.queryFound()) {
      misses.emplace_back(form, count);
      continue;
    }
    // Which stage found it: the cleaned query, an ending rule, or later.
    const std::string q = tavro2::trim(tavro2::lower(tavro2::filterLetters(form)));
    if (state.lookupWord(q)) {
      ++direct;
      continue;
    }
    bool rule = false;
    for (const std::string& c : tavro2::baseFormCandidates(q))
      if ((rule = state.lookupWord(c))) break;
    ++(rule ? byRules : further);
  }
  std::filesystem::remove_all(userDir);

  const std::size_t n = ranked.size();
  const std::size_t found = n - misses.size();
  std::printf(
      "%s corpus: %zu word forms, %zu names and %zu English words left out; "
      "the %zu most frequent:\n",
      english ? "English" : "Indonesian", forms.size(), names, foreign, n);
  std::printf(
      "found %zu (%.1f%%): %zu as typed, %zu by the ending rules, %zu by the further "
      "stages\n",
      found, n ? 100.0 * found / n : 0.0, direct, byRules, further);
  std::printf("before the further stages: %.1f%%\n", n ? 100.0 * (direct + byRules) / n : 0.0);
  std::printf("misses (%zu):\n", misses.size());
  for (const auto& [form, count] : misses)
    std::printf("  %s %zu\n", tavro2::cp1252ToUtf8(form).c_str(), count);
  return 0;
}
