// ClipboardMonitor: PollClipboard, run by the main window's 100 ms clipboard
// timer, looks up every new text the user copies while the clipboard button
// is down; a second monitor over the PRIMARY selection does the same for
// text the user merely selects (select-to-translate, while UseSelection is
// on), showing the entry in the popup near the mouse pointer.
//
// Reading never blocks: the text is fetched by a SelectionReader, which
// answers later (an owner that does not answer in time reads as no text),
// and only after the platform has signalled a change (on every tick only on
// platforms that send no such signal). A tick between readings costs a few
// comparisons: each reading is judged once, and again only when the setting
// it was judged under (AutoRemAlpha) changes, so a long text left on the
// clipboard is not cleaned over and over. The acceptance rules themselves
// are those of PollClipboard below.
//
// The PRIMARY selection changes at every step of a mouse drag, so it is read
// only once it has been left alone for kSettleTicks ticks; selections made
// in this program's own windows are not looked up.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/selection_reader.h"

namespace tavro2 {

class HistoryHost;

class ClipboardMonitor : public QObject {
  Q_OBJECT
 public:
  static constexpr std::size_t kMaxWordLength = 32;
  static constexpr int kSettleTicks = 3;  // PRIMARY: 300 ms without a change

  // Starts a read and hands the reading to the callback, now or later.
  using Reader = std::function<void(SelectionDone)>;

  // Watches the application's clipboard, or its PRIMARY selection.
  explicit ClipboardMonitor(HistoryHost& host, SelectionKind kind = SelectionKind::kClipboard,
                            QObject* parent = nullptr);
  // Reads through `reader`. With `signalsChanges`, the text is read again
  // only after markChanged(); without, on every tick.
  ClipboardMonitor(HistoryHost& host, Reader reader, bool signalsChanges,
                   SelectionKind kind = SelectionKind::kClipboard, QObject* parent = nullptr);
  ~ClipboardMonitor() override;

  // One tick (for the clipboard while its button is down; for PRIMARY
  // while UseSelection is on, and once the selection has settled): starts a
  // read when the text may have changed and no read is under way, then
  // judges a reading not judged yet under the current AutoRemAlpha:
  //  2. C = the text (empty when there is none), K = trim(lower(C));
  //  3. K equal to the last accepted text: nothing;
  //  4. W = K, or filterLetters(K) when AutoRemAlpha is on (not trimmed again);
  //  5. W longer than 32 characters: nothing;
  //  6. no text: the clipboard-hit flag is cleared;
  //  7. W goes into the search box, lower(W) becomes the fallback word and K
  //     the last accepted text;
  //  8. lookupWord(W);
  //  9. found: the clipboard-hit flag is set and the word recorded in the
  //     history (which shows the popup when the history window exists); a
  //     selected word's popup then shows near the mouse pointer;
  // 10. not found: FindBaseForm; a base form found so is shown but neither
  //     recorded nor popped up, and the flag keeps its value.
  void pollClipboard();

  // The platform said the text changed: a later tick reads it.
  void markChanged() {
    stale_ = true;
    quietTicks_ = 0;
  }

  const std::string& lastClipboardText() const { return lastText_; }
  // How many reads were started (tests check they stay rare).
  int readCount() const { return reads_; }
  // How many readings were judged (tests check idle ticks judge nothing).
  int judgeCount() const { return judged_; }
  bool readPending() const { return reading_; }
  bool signalsChanges() const { return signalsChanges_; }
  // Whether other programs' new texts reach this monitor while the window
  // is not focused (not so on Wayland's own clipboard without data-control).
  bool readsWithoutFocus() const;

  // Whether this platform's clipboard reports changes made by other
  // programs through QClipboard::changed.
  static bool platformSignalsChanges();

 private:
  bool enabled() const;
  void received(ClipboardReading reading);
  void judge();
  void accept(std::string key, std::string word);

  HistoryHost& host_;
  SelectionKind kind_;
  std::unique_ptr<SelectionReader> systemReader_;
  Reader reader_;
  bool signalsChanges_;
  bool stale_;
  int quietTicks_ = kSettleTicks;
  bool reading_ = false;
  ClipboardReading current_;
  std::uint64_t serial_ = 0;  // bumped whenever current_ changes
  std::uint64_t judgedSerial_ = 0;
  bool judgedAutoRemAlpha_ = false;
  std::string lastText_;
  int reads_ = 0;
  int judged_ = 0;
};

}  // namespace tavro2
