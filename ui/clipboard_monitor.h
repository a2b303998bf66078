// ClipboardMonitor: PollClipboard, run by the main window's 100 ms clipboard
// timer, looks up every new text the user copies while the clipboard button
// is down.
//
// Reading the clipboard can be slow: on X11 the text has to be fetched from
// the program that owns the selection, and Qt waits up to 5 s for it. So the
// text is read only when the platform has signalled a change since the last
// read (QClipboard::changed), and on every tick only on platforms that send
// no such signal. Between reads each tick works on the text read last, which
// is what the clipboard still holds; the acceptance rules are unchanged by
// this (a text equal to the last accepted one is still ignored).
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <string>

namespace tavro2 {

class HistoryHost;

// The clipboard's content as PollClipboard sees it: whether it holds text,
// and that text as Windows-1252 bytes.
struct ClipboardReading {
  bool hasText = false;
  std::string text;
};

// A text as the 8-bit clipboard format gives it: each character's
// Windows-1252 byte, '?' for one that 1252 cannot hold, ending at the first
// NUL (the format is a C string).
std::string ClipboardTextTo1252(const QString& text);

class ClipboardMonitor : public QObject {
  Q_OBJECT
 public:
  static constexpr std::size_t kMaxWordLength = 32;

  using Reader = std::function<ClipboardReading()>;

  // Watches the application's clipboard.
  explicit ClipboardMonitor(HistoryHost& host, QObject* parent = nullptr);
  // Reads through `reader`. With `signalsChanges`, the text is read again
  // only after markChanged(); without, on every tick.
  ClipboardMonitor(HistoryHost& host, Reader reader, bool signalsChanges,
                   QObject* parent = nullptr);

  // One tick:
  //  1. the clipboard button is up: nothing;
  //  2. C = the clipboard text (empty when it holds none), K = Trim(Lower(C));
  //  3. K equal to the last accepted text: nothing;
  //  4. W = K, or FilterLetters(K) when AutoRemAlpha is on (not trimmed again);
  //  5. W longer than 32 characters: nothing (so it is ignored at every tick
  //     while it stays on the clipboard);
  //  6. the clipboard holds no text: the clipboard-hit flag is cleared;
  //  7. W goes into the search box, Lower(W) becomes the fallback word and K
  //     the last accepted text;
  //  8. LookupWord(W);
  //  9. found: the clipboard-hit flag is set and the word recorded in the
  //     history (which shows the popup when the history window exists);
  // 10. not found: FindBaseForm; a base form found so is shown but neither
  //     recorded nor popped up, and the flag keeps its value.
  void PollClipboard();

  // The platform said the clipboard changed: the next tick reads it.
  void markChanged() { stale_ = true; }

  const std::string& lastClipboardText() const { return lastText_; }
  // How many times the clipboard was read (tests check reads stay rare).
  int readCount() const { return reads_; }
  bool signalsChanges() const { return signalsChanges_; }

  // The application's clipboard text (the standard clipboard, not the
  // selection).
  static ClipboardReading ReadSystemClipboard();
  // Whether this platform's clipboard reports changes made by other
  // programs through QClipboard::changed.
  static bool PlatformSignalsChanges();

 private:
  HistoryHost& host_;
  Reader reader_;
  bool signalsChanges_;
  bool stale_ = true;  // the first tick always reads
  ClipboardReading current_;
  std::string lastText_;
  int reads_ = 0;
};

}  // namespace tavro2
