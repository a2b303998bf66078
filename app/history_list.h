// The word history: every word looked up that showed a translation, with
// that translation, oldest first, kept in memory for the whole run and in the
// history file "History.txt" in the user directory.
//
// History file. Plain Windows-1252 text, one line per word, each line "word"
// "=" "translation" followed by CR LF (the last one too). Reading: a line ends
// at CR LF or at a lone CR; a lone LF stays inside its line (so a translation
// whose line breaks are LFs, as a plain-text pane gives them, survives a
// restart as one line); reading stops at the first NUL byte. No header, no
// count, no escaping.
//
// At load only the newest kLoadCap lines are kept. While the program runs the
// list grows without bound, and each appended word rewrites the whole file
// atomically: the list, plus the newest words another window on the same
// file recorded meanwhile (placed before the new word), so two writers never
// drop each other's words.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavro2 {

inline constexpr char kHistoryFileName[] = "History.txt";

// Only the last this many bytes of a history file are read (at most 50 lines
// of words with their translations are kept of it).
inline constexpr std::size_t kMaxHistoryBytes = std::size_t{16} << 20;

// What the history window hooks into to follow AddToHistory. HistoryList
// calls PushHistoryItem after appending a new word and HighlightHistoryWord
// when the word was already there; an empty pane calls neither. The window
// attaches itself while it exists (HistoryList::setObserver) and must detach
// before it is destroyed.
class HistoryObserver {
 public:
  virtual void pushHistoryItem(std::string_view word) = 0;
  virtual void highlightHistoryWord(std::string_view word) = 0;

 protected:
  ~HistoryObserver() = default;
};

class HistoryList {
 public:
  static constexpr std::size_t kLoadCap = 50;

  explicit HistoryList(std::string path);  // program dir + "History.txt"

  // Replaces the list with the file's lines, keeping the last kLoadCap (the
  // newest). A missing or unreadable file gives an empty list.
  void load();
  const std::vector<std::string>& lines() const;
  const std::string& path() const { return path_; }

  // Translation of the first line whose word equals `word` with ASCII case
  // ignored: the text after its first '='. Empty when there is none.
  std::string historyTranslation(std::string_view word) const;

  // AddToHistory: word = search box text unchanged, translation = pane text.
  // kIgnored: the pane is empty (or either text holds a NUL byte, which would
  // cut the file short at the next start); nothing changes.
  // kAlreadyPresent: a line already records the word (ASCII case ignored);
  // list and file stay as they are.
  // kAppended: "word=translation" is appended and the whole list written to
  // the file, CR LF after every line. After a refused write the list still
  // keeps the word; lastWriteFailed() tells, and path() names the file.
  enum class AddResult { kIgnored, kAppended, kAlreadyPresent };
  AddResult addToHistory(std::string_view word, std::string_view translation);

  // "Short by name": sorts with A-Z folded to a-z, ties by unsigned bytes.
  // Not written until the next append.
  void sortByName();

  void setObserver(HistoryObserver* observer) { observer_ = observer; }
  bool lastWriteFailed() const { return lastWriteFailed_; }

  // Text before the first '=' (the whole line when it has none).
  static std::string_view wordOf(std::string_view line);
  // Text after the first '=' (empty when it has none).
  static std::string_view translationOf(std::string_view line);

 private:
  bool contains(std::string_view word) const;
  bool save();

  std::string path_;
  std::vector<std::string> lines_;
  HistoryObserver* observer_ = nullptr;
  bool lastWriteFailed_ = false;
};

}  // namespace tavro2
