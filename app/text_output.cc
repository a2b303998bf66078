#include "app/text_output.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/cp1252.h"
#include "engine/query_text.h"

namespace tavro2 {

namespace {

constexpr char kReset[] = "\x1b[0m";
constexpr char kBold[] = "\x1b[1m";
constexpr char kDim[] = "\x1b[2m";

std::string sgrOf(const FormatRun& run) {
  std::string codes;
  if (run.bold) codes = "1";
  if (run.color) {
    if (!codes.empty()) codes += ';';
    codes += std::to_string(ansiColorOf(*run.color));
  }
  return codes.empty() ? std::string() : "\x1b[" + codes + "m";
}

// A heading ("Related:") in bold when coloured.
std::string heading(std::string_view text, bool color) {
  return color ? kBold + std::string(text) + kReset : std::string(text);
}

// The runs over text[from, to), moved to start at `from`.
std::vector<FormatRun> runsWithin(const std::vector<FormatRun>& runs, std::size_t from,
                                  std::size_t to) {
  std::vector<FormatRun> out;
  for (FormatRun run : runs) {
    const std::size_t start = std::max(run.start, from);
    const std::size_t end = std::min(run.start + run.length, to);
    if (start >= end) continue;
    run.start = start - from;
    run.length = end - start;
    out.push_back(run);
  }
  return out;
}

}  // namespace

// The translation pane's text with the transcription after its headword:
// "house /haʊs/ kb rumah, ...", the transcription dim when coloured.
std::string entryText(const LookupState& state, bool color) {
  const std::string& text = state.translationText();
  const std::size_t head = state.shownHeadword().size();
  if (state.ipa().empty() || head > text.size())
    return styledText(text, state.translationRuns(), color);
  const std::string ipa = " /" + state.ipa() + "/";
  return styledText(text.substr(0, head), runsWithin(state.translationRuns(), 0, head), color) +
         (color ? kDim + ipa + kReset : ipa) +
         styledText(text.substr(head), runsWithin(state.translationRuns(), head, text.size()),
                    color);
}

bool colorWanted(int fd) {
  if (::isatty(fd) != 1) return false;
  const char* noColor = std::getenv("NO_COLOR");
  if (noColor != nullptr && noColor[0] != '\0') return false;
  const char* term = std::getenv("TERM");
  return term == nullptr || std::strcmp(term, "dumb") != 0;
}

int ansiColorOf(std::uint32_t rgb) {
  const unsigned r = (rgb >> 16) & 0xFF;
  const unsigned g = (rgb >> 8) & 0xFF;
  const unsigned b = rgb & 0xFF;
  const int base = ((r > 0x40) ? 1 : 0) | ((g > 0x40) ? 2 : 0) | ((b > 0x40) ? 4 : 0);
  const bool bright = r >= 0xC0 || g >= 0xC0 || b >= 0xC0;
  return (bright ? 90 : 30) + base;
}

std::string styledText(std::string_view cp1252, const std::vector<FormatRun>& runs, bool color) {
  if (!color || runs.empty()) return cp1252ToUtf8(cp1252);
  // Runs may overlap (a later one wins); each byte takes the last run over it.
  std::vector<int> styleOf(cp1252.size(), -1);
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const std::size_t end = std::min(cp1252.size(), runs[r].start + runs[r].length);
    for (std::size_t i = std::min(runs[r].start, end); i < end; ++i)
      styleOf[i] = static_cast<int>(r);
  }
  std::string out;
  std::size_t i = 0;
  while (i < cp1252.size()) {
    std::size_t j = i;
    while (j < cp1252.size() && styleOf[j] == styleOf[i]) ++j;
    const std::string sgr = styleOf[i] < 0 ? std::string() : sgrOf(runs[styleOf[i]]);
    out += sgr;
    out += cp1252ToUtf8(cp1252.substr(i, j - i));
    if (!sgr.empty()) out += kReset;
    i = j;
  }
  return out;
}

std::string lookupAsText(const LookupState& state, bool found,
                         const std::vector<HeadwordEntry>& suggestions, bool color) {
  std::string out;
  const std::string status = cp1252ToUtf8(trimView(state.statusText()));
  if (!status.empty()) out += (color ? kDim + status + kReset : status) + "\n";
  if (!found) {
    if (!suggestions.empty()) {
      out += heading("Did you mean:", color) + " ";
      for (std::size_t i = 0; i < suggestions.size(); ++i) {
        if (i) out += ", ";
        out += cp1252ToUtf8(suggestions[i].word);
      }
      out += "\n";
    }
    return out;
  }
  out += entryText(state, color) + "\n";
  const WordList& related = state.relatedWords();
  if (related.count() > 0) {
    out += "\n" + heading("Related:", color) + " ";
    for (std::size_t i = 0; i < related.count(); ++i) {
      if (i) out += ", ";
      out += cp1252ToUtf8(related.line(i));
    }
    out += "\n";
  }
  if (!state.phrases().empty()) {
    out += heading("Phrases:", color) + "\n";
    for (const auto& [phrase, translation] : state.phrases())
      out += "  " + cp1252ToUtf8(phrase) + "  " + cp1252ToUtf8(translation) + "\n";
  }
  return out;
}

}  // namespace tavro2
