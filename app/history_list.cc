#include "app/history_list.h"

#include <algorithm>
#include <deque>
#include <optional>

#include "app/atomic_file.h"
#include "engine/cp1252.h"

namespace tavro2 {
namespace {

// The newest `keep` lines of the history file, read from its last
// kMaxHistoryBytes only (the line those cut short is dropped), holding no
// more than `keep` lines at any time: a file of a hundred million line ends
// costs what a normal one does. Nothing when the file cannot be read.
std::optional<std::vector<std::string>> newestHistoryLines(const std::string& path,
                                                           std::size_t keep) {
  bool cut = false;
  const auto bytes = readFileTail(path, kMaxHistoryBytes, &cut);
  if (!bytes) return std::nullopt;
  std::string_view text(*bytes);
  text = text.substr(0, text.find('\0'));
  std::size_t pos = 0;
  if (cut) {
    pos = text.find('\r');
    pos = pos == std::string_view::npos ? text.size() : pos + 1;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  std::deque<std::string_view> newest;
  while (pos < text.size()) {
    std::size_t end = text.find('\r', pos);
    if (end == std::string_view::npos) end = text.size();
    if (newest.size() == keep) newest.pop_front();
    newest.push_back(text.substr(pos, end - pos));
    pos = end + 1;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  if (keep == 0) newest.clear();
  return std::vector<std::string>(newest.begin(), newest.end());
}

}  // namespace

HistoryList::HistoryList(std::string path) : path_(std::move(path)) {}

const std::vector<std::string>& HistoryList::lines() const { return lines_; }

void HistoryList::load() {
  // The newest lines are the last ones; keeping the first would drop every
  // word recorded since the file reached the cap, run after run.
  lines_ = newestHistoryLines(path_, kLoadCap).value_or(std::vector<std::string>());
}

std::string_view HistoryList::wordOf(std::string_view line) {
  return line.substr(0, line.find('='));
}

std::string_view HistoryList::translationOf(std::string_view line) {
  const auto eq = line.find('=');
  return eq == std::string_view::npos ? std::string_view() : line.substr(eq + 1);
}

std::string HistoryList::historyTranslation(std::string_view word) const {
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

// Called right after a word was appended. Another window on the same file
// may have recorded words since this one read it: the newest of those are
// kept, just before the new word, so neither writer loses the other's.
bool HistoryList::save() {
  std::vector<std::string> others;
  if (auto onDisk = newestHistoryLines(path_, kLoadCap)) {
    for (std::string& line : *onDisk)
      if (!contains(wordOf(line))) others.push_back(std::move(line));
  }
  std::size_t size = 0;
  for (const auto& line : lines_) size += line.size() + 2;
  for (const auto& line : others) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (std::size_t i = 0; i + 1 < lines_.size(); ++i) text.append(lines_[i]).append("\r\n");
  for (const auto& line : others) text.append(line).append("\r\n");
  if (!lines_.empty()) text.append(lines_.back()).append("\r\n");
  return writeFileAtomically(path_, text);
}

HistoryList::AddResult HistoryList::addToHistory(std::string_view word,
                                                 std::string_view translation) {
  if (translation.empty()) return AddResult::kIgnored;
  if (word.find('\0') != std::string_view::npos || translation.find('\0') != std::string_view::npos)
    return AddResult::kIgnored;
  if (contains(word)) {
    if (observer_) observer_->highlightHistoryWord(word);
    return AddResult::kAlreadyPresent;
  }
  std::string line;
  line.reserve(word.size() + 1 + translation.size());
  line.append(word).append("=").append(translation);
  lines_.push_back(std::move(line));
  lastWriteFailed_ = !save();
  if (observer_) observer_->pushHistoryItem(word);
  return AddResult::kAppended;
}

void HistoryList::sortByName() {
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
