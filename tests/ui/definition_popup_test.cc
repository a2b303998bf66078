// The definition popup; its countdown and fade timers are driven by their ticks.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontMetrics>

#include "fake_history_host.h"
#include "ui/definition_popup.h"
#include "skin/skin.h"

namespace tavro2::test {
namespace {

struct GeometryLog : QObject {  // the popup's geometry at every move and resize
  explicit GeometryLog(QWidget* watched) : watched(watched) { watched->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
      rects.push_back(watched->geometry());
    return false;
  }
  QWidget* watched;
  std::vector<QRect> rects;
};

FHistory& openWithEntries(FakeHistoryHost& host) {
  host.list.addToHistory("cat", "kucing");
  host.list.addToHistory("book", "book buku; books");
  host.list.addToHistory("lines", "satu\ndua\ntiga");
  host.list.addToHistory("long", std::string(40, 'x') + " " + std::string(200, 'y'));
  host.historyCommand();
  host.slideUntilSettled();
  return *host.historyWindow();
}

class DefinitionPopupTest : public ::testing::Test {
 protected:
  void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  HistoryItem& item(const std::string& word) {
    for (HistoryItem* i : history.items())
      if (i->word() == word) return *i;
    throw std::runtime_error("no item " + word);
  }
  void show(const std::string& word) { popup.showDefinitionPopup(history, item(word)); }

  FakeHistoryHost host;
  FHistory& history = openWithEntries(host);
  FDef& popup = *host.definitionPopup();
};

// Sized by its text, it stands left of a history window on the right and right of one on the left.
TEST_F(DefinitionPopupTest, EntriesAreSizedByTheirTextAndStandBesideTheHistoryWindow) {
  ASSERT_GT(history.x(), 300);
  show("cat");
  ASSERT_EQ(popup.textArea()->toPlainText(), "kucing");
  const int w = QFontMetrics(appFont(14)).horizontalAdvance("kucing");
  EXPECT_EQ(popup.size(), definitionPopupSize(1, w, 6));
  EXPECT_TRUE(item("cat").isMarked() && popup.isVisible());
  const int top = history.y() + item("cat").mapTo(&history, QPoint(0, 0)).y() + 1;
  EXPECT_EQ(popup.pos(), QPoint(history.x() - popup.width(), top));
  show("lines");
  EXPECT_EQ(popup.size(), QSize(250, 48));
  GeometryLog log(&popup);  // growing never reaches over the history window (it would unmark)
  show("long");
  const int lines = popup.wrappedLineCount();
  EXPECT_GE(lines, 3);
  EXPECT_EQ(popup.size(), QSize(250, 14 * lines + 6));
  for (const QRect& r : log.rects) EXPECT_LE(r.x() + r.width(), history.x());
  EXPECT_EQ(popup.x() + popup.width(), history.x());
  history.setWindowRect(QRect(300, history.y(), history.width(), history.height()));
  show("cat");
  EXPECT_EQ(popup.pos(), QPoint(300 + history.width(), top));
}

// A clipboard hit fades the popup in 26 steps after AutoCloseTime seconds, at
// once for zero or less; hovering alone never fades, and hiding stops no fade.
TEST_F(DefinitionPopupTest, ClipboardHitFadesAfterAutoCloseTimeIn26Steps) {
  host.settingsValue.AutoCloseTime = 0;
  show("cat");
  for (int i = 0; i < 20; ++i) popup.countdownTick();  // hovering only: no hit, no fade
  EXPECT_TRUE(popup.countdown() == 0u && !popup.fadeTimerActive());
  for (int autoClose : {7, 0, -3}) {
    SCOPED_TRACE(autoClose);
    host.settingsValue.AutoCloseTime = autoClose;
    show("cat");
    host.setClipboardHit(true);
    for (int tick = 0; tick < autoClose; ++tick) popup.countdownTick();
    EXPECT_TRUE(popup.countdown() == std::max(autoClose, 0) + 0u && !popup.fadeTimerActive());
    popup.countdownTick();  // the next second starts the fade
    EXPECT_TRUE(popup.countdown() == 0u && popup.fadeTimerActive());
    for (int tick = 1; tick <= 25; ++tick) {
      popup.fadeTick();
      if (autoClose < 0) popup.hideNow();
      EXPECT_EQ(std::pair(popup.opacity(), popup.isVisible()),
                std::pair(255 - 10 * tick, autoClose >= 0));
    }
    if (autoClose >= 0) { EXPECT_NEAR(popup.windowOpacity(), 5 / 255.0, 0.01); }
    popup.fadeTick();  // 26th: -5
    EXPECT_FALSE(popup.isVisible() || popup.fadeTimerActive() || host.clipboardHit());
    EXPECT_TRUE(popup.opacity() == 255 && popup.windowOpacity() == 1.0);
  }
}

TEST_F(DefinitionPopupTest, NearThePointerItStaysOnTheScreen) {
  host.showHistoryEntry("cat", "cat");  // the pane holds the entry, as after a lookup
  const QSize size = definitionPopupSize(1, QFontMetrics(appFont(14)).horizontalAdvance("kucing"), 6);
  const int w = size.width(), h = size.height();
  const struct { QPoint pointer, expected; } cases[] = {
      {{600, 400}, {616, 416}},                  // below and right
      {{1270, 400}, {1270 - 16 - w, 416}},       // right edge: left of the pointer
      {{600, 795}, {616, 795 - 16 - h}},         // bottom: above it
  };
  for (const auto& c : cases) {
    popup.showNearPointer(c.pointer);
    EXPECT_EQ(popup.geometry(), QRect(c.expected, size)) << c.pointer.x() << "," << c.pointer.y();
    EXPECT_TRUE(popup.isVisible() && popup.word() == "cat");
  }
  // Beside the history window it goes with it; near the pointer it stays.
  popup.hideBesideHistory();
  EXPECT_TRUE(popup.isVisible());
  show("book");
  host.historyCommand();  // the docked window starts sliding out
  EXPECT_FALSE(popup.isVisible());
  show("book");
  history.close();
  EXPECT_FALSE(popup.isVisible());
}

}  // namespace
}  // namespace tavro2::test
