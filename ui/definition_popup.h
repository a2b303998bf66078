// FDef: the definition popup, a small borderless window beside the history
// window (or, for a selected word, near the mouse pointer) showing one
// word's formatted entry.
//
// It is created hidden at start-up and lives for the whole run. A clipboard
// hit (the clipboard-hit flag) makes it fade out: the countdown timer counts
// whole seconds up to AutoCloseTime, then the fade timer lowers the opacity
// by 10 every 100 ms from 255 until it reaches 0 or below (26 ticks), hides
// the popup and resets the opacity and the flag. Hiding the popup any other
// way leaves a running fade to finish on its own. Each opacity step is sent
// to the window system at once, so the fade is seen as it is made.
#pragma once

#include <QTimer>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class QMenu;
class QTextEdit;

namespace tavro2 {

class FHistory;
class HistoryHost;
class HistoryItem;

// The popup's size for a text of `lineCount` lines wrapped at 250 pixels,
// `textWidth` pixels wide in the popup's font and `textLength` characters
// long. One line: width w + w * 0.5 for fewer than 20 characters, else
// w + w * 0.23, the product rounded to the nearest integer with halves going
// to the even neighbour. Several lines: width 250. Height 14 * lines + 6.
QSize definitionPopupSize(int lineCount, int textWidth, std::size_t textLength);

class FDef : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kCountdownInterval = 1000;  // ms
  static constexpr int kFadeInterval = 100;        // ms
  static constexpr int kFadeStep = 10;
  static constexpr int kWrapWidth = 250;
  static constexpr int kFontHeight = 14;
  static constexpr int kSideThreshold = 300;  // pixels from the screen's left edge

  explicit FDef(HistoryHost& host);
  ~FDef() override;

  // Shows the popup beside `item` of the history window and fills it with
  // the item's entry (see the .cc for the steps).
  void showDefinitionPopup(FHistory& history, HistoryItem& item);
  // Shows the entry the translation pane holds near `pointer` (below and
  // right of it, or above and left where the screen ends there), kept on
  // the screen under the pointer.
  void showNearPointer(QPoint pointer);
  // The same place for a text of its own (rich text): what a copied word
  // not found may have meant.
  void showTextNearPointer(QPoint pointer, const QString& richText);
  // Makes the popup invisible; a running fade goes on.
  void hideNow();
  // Hides a popup shown beside the history window (which is going away).
  void hideBesideHistory();
  // The word whose entry the popup was last given.
  const std::string& word() const { return word_; }
  // The text area's menu: Pronounce (when the host can; the popup holds the
  // main window's entry), then the usual Copy and Select All.
  std::unique_ptr<QMenu> createContextMenu(QPoint pos);

  // Timer ticks (public so tests drive them without waiting).
  void countdownTick();
  void fadeTick();

  int opacity() const { return opacity_; }
  std::uint32_t countdown() const { return countdown_; }
  bool countdownTimerActive() const { return countdownTimer_.isActive(); }
  bool fadeTimerActive() const { return fadeTimer_.isActive(); }
  QTextEdit* textArea() const { return textArea_; }
  // The number of lines of the popup's text wrapped at the text area's
  // width for a popup 250 pixels wide.
  int wrappedLineCount() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void applyColors();
  void applyOpacity();
  // Copies the translation pane's formatted text in and sizes the popup
  // for it (steps 7 and 8 of ShowDefinitionPopup).
  void fillFromPane(QTextEdit* pane);
  // Sizes the popup for the text it holds (DefinitionPopupSize).
  void fitToText();
  // Moves the popup near `pointer` and shows it (showNearPointer).
  void placeNearPointer(QPoint pointer);

  HistoryHost& host_;
  QTextEdit* textArea_ = nullptr;
  QTimer countdownTimer_;
  QTimer fadeTimer_;
  std::uint32_t countdown_ = 0;
  int opacity_ = 255;
  bool besideHistory_ = false;
  bool menuOpen_ = false;  // the pointer leaving for the menu keeps the popup
  std::string word_;
};

}  // namespace tavro2
