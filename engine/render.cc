#include "engine/render.h"

#include <array>
#include <string>
#include <utility>

#include "engine/text_search.h"

namespace tavro2 {

namespace {

// The pane's formatting, one entry per character. kNone stands for "the
// pane's default" (font colour) or "the pane's own colour" (background).
constexpr std::uint32_t kNone = 0xFFFFFFFFu;

struct Formatting {
  std::vector<bool> bold;
  std::vector<std::uint32_t> color;
  std::vector<std::uint32_t> background;

  explicit Formatting(std::size_t n) : bold(n, false), color(n, kNone), background(n, kNone) {}
};

struct Marker {
  std::string_view text;
  std::uint32_t color;
  std::uint32_t background;  // kNone: the display's own colour, no highlight
};

// Applied in this order; later rows win where matches overlap.
constexpr std::array<Marker, 11> kMarkers = {{
    {"kb", 0x0000FF, kNone},
    {"kkt", 0x800000, kNone},
    {"kki", 0x008000, kNone},
    {"ks", 0xFF0000, kNone},
    {"kd", 0xFF00FF, kNone},
    {"kk", 0x008080, kNone},
    {"Sl", 0x800000, 0xA6CAF0},
    {"Inf", 0x0000FF, 0xC0C0C0},
    {"RR", 0x0000FF, 0xC0C0C0},
    {"ksam", 0x008000, 0xC0C0C0},
    {"ksamb", 0x008000, 0xC0C0C0},
}};

constexpr std::array<std::string_view, 9> kNoteTexts = {
    "j. -ries", "j. -nies", "j. -cies", "j. -ties", "j. -bies",
    "j. -fies", "j. -lies", "j. -men",  "-kseru",
};

// Every whole-word match of `needle`, each search starting one character
// after the previous match (not after its end), so matches may overlap.
template <class Apply>
void markAll(std::string_view text, std::string_view needle, Apply&& apply) {
  if (needle.empty()) return;
  for (std::size_t pos = findWholeWord(text, needle, 0); pos != std::string_view::npos;
       pos = findWholeWord(text, needle, pos + 1))
    apply(pos, needle.size());
}

void markAllBold(Formatting& f, std::string_view text, std::string_view needle) {
  markAll(text, needle, [&](std::size_t pos, std::size_t n) {
    for (std::size_t i = pos; i < pos + n; ++i) f.bold[i] = true;
  });
}

void markAllColored(Formatting& f, std::string_view text, const Marker& m) {
  markAll(text, m.text, [&](std::size_t pos, std::size_t n) {
    for (std::size_t i = pos; i < pos + n; ++i) {
      f.color[i] = m.color;
      f.background[i] = m.background;
      f.bold[i] = true;
    }
  });
}

// The fourteen inflected forms of `word`, in marking order.
std::array<std::string, 14> derivedForms(std::string_view word) {
  const std::string w(word);  // not empty
  const std::string w1 = w.substr(0, 1);
  const std::string s = w.substr(0, w.size() - 1);
  const std::string d = w + w.back();
  return {w + "ly",   w1,        w + "ing", w + "ings", w + "ed",  w + "d",    w + "s",
          d + "ings", d + "ing", s + "ing", s + "ied",  s + "ier", s + "iest", s + "ily"};
}

}  // namespace

std::vector<FormatRun> renderEntryText(std::string_view text, std::string_view word,
                                       bool foundInIndonesian) {
  // The pane text has just been replaced, so formatting starts plain: no
  // colour of an earlier rendering can survive, and bold starts off.
  if (text.empty()) return {};
  Formatting f(text.size());

  if (!foundInIndonesian) {
    for (const Marker& m : kMarkers) markAllColored(f, text, m);
    // An empty word (a history item shown while the search box is empty) has
    // no inflected forms; its bare endings ("s", "ing"...) are not marked.
    if (!word.empty())
      for (const std::string& form : derivedForms(word)) markAllBold(f, text, form);
    for (std::string_view note : kNoteTexts) markAllBold(f, text, note);
  }
  markAllBold(f, text, word);

  std::vector<FormatRun> runs;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t j = i + 1;
    while (j < text.size() && f.bold[j] == f.bold[i] && f.color[j] == f.color[i] &&
           f.background[j] == f.background[i])
      ++j;
    if (f.bold[i] || f.color[i] != kNone || f.background[i] != kNone) {
      FormatRun run;
      run.start = i;
      run.length = j - i;
      run.bold = f.bold[i];
      if (f.color[i] != kNone) run.color = f.color[i];
      if (f.background[i] != kNone) run.background = f.background[i];
      runs.push_back(run);
    }
    i = j;
  }
  return runs;
}

std::string_view markerMeaning(std::string_view marker) {
  static constexpr std::pair<std::string_view, std::string_view> kMeanings[] = {
      {"kb", "kata benda, noun"},
      {"kkt", "kata kerja transitif, transitive verb"},
      {"kki", "kata kerja intransitif, intransitive verb"},
      {"ks", "kata sifat, adjective"},
      {"kk", "kata keterangan, adverb"},
      {"kd", "kata depan, preposition"},
      {"ksam", "kata sambung, conjunction"},
  };
  for (const auto& [m, meaning] : kMeanings)
    if (m == marker) return meaning;
  return {};
}

std::size_t posWholeWord(std::string_view needle, std::string_view haystack) {
  if (haystack.empty()) return 0;
  if (needle.empty()) return 1;
  const std::size_t pos = findWholeWord(haystack, needle, 0);
  return pos == std::string_view::npos ? 0 : pos + 1;
}

}  // namespace tavro2
