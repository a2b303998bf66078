#include "app/history_list.h"

#include <algorithm>

#include "app/atomic_file.h"
#include "app/program_dir.h"
#include "engine/cp1252.h"
#include "engine/word_list.h"

namespace tavro2 {
namespace {

// The history's lines: the data line rules, with reading stopping at a NUL.
std::vector<std::string_view> historyLines(std::string_view text) {
  return SplitLineViews(text.substr(0, text.find('\0')));
}

}  // namespace

std::string HistoryFilePath() { return ProgramDirectory() + kHistoryFileName; }

HistoryList::HistoryList(std::string path) : path_(std::move(path)) {}

const std::vector<std::string>& HistoryList::lines() const { return lines_; }

std::vector<std::string> HistoryList::SplitHistoryText(std::string_view text) {
  const auto views = historyLines(text);
  return std::vector<std::string>(views.begin(), views.end());
}

void HistoryList::load() {
  lines_.clear();
  const auto text = readFileBytes(path_);
  if (!text) return;
  const auto views = historyLines(*text);
  // The newest lines are the last ones; keeping the first would drop every
  // word recorded since the file reached the cap, run after run.
  const std::size_t first = views.size() > kLoadCap ? views.size() - kLoadCap : 0;
  lines_.assign(views.begin() + static_cast<std::ptrdiff_t>(first), views.end());
}

std::string_view HistoryList::wordOf(std::string_view line) {
  return line.substr(0, line.find('='));
}

std::string_view HistoryList::translationOf(std::string_view line) {
  const auto eq = line.find('=');
  return eq == std::string_view::npos ? std::string_view() : line.substr(eq + 1);
}

std::string HistoryList::HistoryTranslation(std::string_view word) const {
  for (const auto& line : lines_)
    if (equalsFolded(wordOf(line), word)) return std::string(translationOf(line));
  return {};
}

// A line records `word` when it starts with it (ASCII case ignored) followed
// by '=' or the line's end. For an ordinary word this is exactly "its word
// equals `word`"; unlike asking whether HistoryTranslation is empty, it also
// recognises a line with an empty translation and a word that itself holds
// '=', which would otherwise be appended again on every lookup.
bool HistoryList::contains(std::string_view word) const {
  return std::any_of(lines_.begin(), lines_.end(), [word](const std::string& line) {
    return line.size() >= word.size() &&
           equalsFolded(std::string_view(line).substr(0, word.size()), word) &&
           (line.size() == word.size() || line[word.size()] == '=');
  });
}

bool HistoryList::save() {
  std::size_t size = 0;
  for (const auto& line : lines_) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const auto& line : lines_) text.append(line).append("\r\n");
  return WriteFileAtomically(path_, text);
}

HistoryList::AddResult HistoryList::AddToHistory(std::string_view word,
                                                 std::string_view translation) {
  if (translation.empty()) return AddResult::kIgnored;
  if (word.find('\0') != std::string_view::npos || translation.find('\0') != std::string_view::npos)
    return AddResult::kIgnored;
  if (contains(word)) {
    if (observer_) observer_->HighlightHistoryWord(word);
    return AddResult::kAlreadyPresent;
  }
  std::string line;
  line.reserve(word.size() + 1 + translation.size());
  line.append(word).append("=").append(translation);
  lines_.push_back(std::move(line));
  lastWriteFailed_ = !save();
  if (observer_) observer_->PushHistoryItem(word);
  return AddResult::kAppended;
}

void HistoryList::SortByName() {
  std::stable_sort(lines_.begin(), lines_.end(), [](const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
      const auto fa = static_cast<unsigned char>(foldAscii(a[i]));
      const auto fb = static_cast<unsigned char>(foldAscii(b[i]));
      if (fa != fb) return fa < fb;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    // Same text but for case: upper case (the lower byte) first.
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
  });
}

}  // namespace tavro2
