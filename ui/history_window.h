// FHistory: the history window, a narrow borderless strip that slides in
// from the left or right edge of the work area and lists the newest words of
// the history, newest at the top.
//
// Pointing at an item marks it and shows its stored translation in the
// definition popup; clicking it puts the word and its translation back into
// the main window without a new lookup. By keyboard (F6 from the main
// window): an item with the focus is pointed at, Up and Down move, Enter
// clicks, the Menu key or Shift+F10 opens the menu, Escape or F6 go back. The window is created on first use
// by the History command and forgotten when it closes.
//
// Geometry rules (W the window's width, A the work area, right and bottom
// exclusive):
//  - sliding in, from A.right (or A.left - W) it moves 5 pixels every 40 ms
//    tick and docks flush with the edge it came from;
//  - sliding out, it moves 5 pixels a tick towards its edge and closes once
//    wholly beyond it; a window left away from both edges closes at once;
//  - while not sliding every move or resize snaps to a work-area edge within
//    15 pixels and then stays inside the work area (SnapToWorkArea).
#pragma once

#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <string>
#include <string_view>
#include <vector>

#include "app/history_list.h"

class QMenu;
class QAction;

namespace tavro2 {

class FHistory;
class GradientPanel;
class HistoryHost;

// The work area with exclusive right and bottom, as the slide rules use it.
struct WorkArea {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  static WorkArea of(const QRect& rect) {
    return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
  }
};

inline constexpr int kSnapDistance = 15;

// The window rectangle after the snap rule: an edge within 15 pixels of the
// work area's edge moves onto it, and when any edge snapped the rectangle is
// then kept inside the work area (for a rectangle bigger than the work area
// the right and bottom edges win, being applied last).
QRect snapToWorkArea(const QRect& proposed, const WorkArea& area);

// One history item: a label " word" (Windows-1252 kept alongside the shown
// text so comparisons are byte for byte).
class HistoryItem : public QLabel {
 public:
  HistoryItem(FHistory* window, QWidget* parent);

  void setItemText(std::string text);  // " " + word
  const std::string& itemText() const { return text_; }
  // The item's text with its leading and trailing blanks (codes up to 32)
  // removed: the word as it is looked up and shown.
  std::string word() const;
  // The word as the history keeps it (the text after the item's one
  // leading space), blanks and all: the key of its stored translation.
  std::string historyWord() const;

  // Marked: opaque, `background` behind bold text. Unmarked: transparent,
  // normal weight.
  void setMarked(bool marked, const QColor& background = {});
  bool isMarked() const { return marked_; }

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  FHistory* window_;
  std::string text_;
  bool marked_ = false;
  bool pressed_ = false;
};

class FHistory : public QWidget, public HistoryObserver {
  Q_OBJECT
 public:
  static constexpr int kSlideInterval = 40;  // ms
  static constexpr int kSlideStep = 5;       // pixels a tick
  static constexpr int kItemHeight = 16;
  static constexpr int kItemPitch = 15;
  static constexpr int kLabelWidth = 64;     // a new label's standard width

  // Created with the slide timer running, hidden; the first show builds the
  // items and places the window just beyond its edge.
  explicit FHistory(HistoryHost& host);
  ~FHistory() override;

  // The History command: with an empty history nothing happens; otherwise
  // creates the window when `window` is null, shows it, asks a docked window
  // that is not sliding to slide out, and starts the slide timer. Returns
  // the window (null when there is none).
  static FHistory* historyCommand(HistoryHost& host, FHistory* window);

  // HistoryObserver: a new word was recorded / a known word looked up again.
  void pushHistoryItem(std::string_view word) override;
  void highlightHistoryWord(std::string_view word) override;

  // Puts the item's word and stored translation into the main window; no
  // lookup, no history change.
  void chooseHistoryItem(HistoryItem* item);
  // Marks the item (the definition popup calls this when it loads an item).
  void markItem(HistoryItem* item);
  // The popup menu's commands.
  void toggleMainWindow();   // item 1
  void shortByName();        // item 2
  // The main window was minimised: item 1 reads "Show main window".
  void mainWindowMinimized();
  // Takes the skin's colours (first show, and whenever settings are read).
  void applyColors();

  // The slide timer's tick (public so tests drive it without waiting).
  void slideTick();

  // Mouse on items (the items call these; tests may too).
  void itemMouseMove(HistoryItem* item);
  void itemMouseLeave(HistoryItem* item);
  // The keyboard: the focus goes to the first item (from the main window),
  // moves `step` items from `item` (staying at the ends), or goes back to
  // the main window.
  void focusFirstItem();
  void moveItemFocus(HistoryItem* item, int step);
  void returnFocus();
  void openMenuAt(HistoryItem* item);

  // --- State, for the owner and for tests --------------------------------
  const std::vector<HistoryItem*>& items() const { return items_; }
  bool isDocked() const { return docked_; }
  bool isSliding() const { return sliding_; }
  bool closeRequested() const { return closeRequest_; }
  bool slideTimerActive() const { return slideTimer_.isActive(); }
  const std::string& lastWord() const { return lastWord_; }
  QMenu* popupMenu() const { return menu_; }
  QAction* showHideAction() const { return showHideAction_; }
  QLabel* title() const { return title_; }
  GradientPanel* itemPanel() const { return panel_; }
  // Moves and resizes the window as the platform would: snapped to the work
  // area while not sliding.
  void setWindowRect(const QRect& rect);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void firstShow();
  void buildHistoryItems();
  HistoryItem* createItem(const std::string& text, int top);
  void finishShow();
  void finishHide();
  void layoutChildren();
  // Marks exactly the items showing one of `texts` (marks follow words).
  void markTexts(const std::vector<std::string>& texts);
  std::vector<std::string> markedTexts() const;
  // Manual caption drag: the window follows the mouse through the snap rule.
  bool dragPress(QMouseEvent* event);
  bool dragMove(QMouseEvent* event);
  bool dragRelease(QMouseEvent* event);

  HistoryHost& host_;
  GradientPanel* panel_ = nullptr;
  QLabel* title_ = nullptr;
  QMenu* menu_ = nullptr;
  QAction* showHideAction_ = nullptr;
  std::vector<HistoryItem*> items_;
  QTimer slideTimer_;

  int width_ = 0;   // computed by BuildHistoryItems
  int height_ = 0;
  bool docked_ = false;
  bool sliding_ = false;
  bool closeRequest_ = false;
  bool closing_ = false;
  std::string lastWord_;

  bool dragging_ = false;
  QPoint dragOffset_;
};

}  // namespace tavro2
